#include "app_test_support.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QTimer>
#include <memory>

namespace trimlet::test {
namespace {

// One QApplication for the whole test program, made before the first test.
class QtEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_app";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance()) m_app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { m_app.reset(); }

  private:
    std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

void Poll(std::function<void(QWidget*)> action, int remainingMs) {
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible()) {
        action(modal);
        return;
    }
    if (remainingMs <= 0) return;
    QTimer::singleShot(
        10, [action = std::move(action), remainingMs] { Poll(action, remainingMs - 10); });
}

}  // namespace

void WhenModal(std::function<void(QWidget*)> action, int timeoutMs) {
    QTimer::singleShot(0, [action = std::move(action), timeoutMs] { Poll(action, timeoutMs); });
}

void ClickChild(QWidget* window, const char* name) {
    auto* button = window->findChild<QAbstractButton*>(QLatin1String(name));
    ASSERT_NE(button, nullptr) << name;
    button->click();
}

int VisibleTopLevelCount() {
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) ++count;
    return count;
}

void ExpectNothingCutOff(QWidget* window) {
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window)) continue;
        QString text;
        if (auto* label = qobject_cast<QLabel*>(w)) {
            if (label->objectName() == "marquee") continue;  // shows what fits, by design
            text = label->text();
            if (label->wordWrap()) {
                EXPECT_GE(w->height(), w->heightForWidth(w->width())) << text.toStdString();
                continue;
            }
            if (label->textFormat() != Qt::RichText && !text.isEmpty()) {
                // The text's own width against the room the label gives it.
                const QRect needed = label->fontMetrics().boundingRect(
                    QRect(), Qt::TextShowMnemonic | Qt::AlignLeft, text);
                EXPECT_GE(label->contentsRect().width(), needed.width()) << text.toStdString();
            }
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            text = button->text();
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            text = group->title();
            const int needed = group->fontMetrics().horizontalAdvance(text);
            EXPECT_GE(group->width(), needed) << text.toStdString();
            continue;
        } else {
            continue;
        }
        if (text.isEmpty()) continue;
        EXPECT_GE(w->width(), w->sizeHint().width()) << text.toStdString();
        EXPECT_GE(w->height(), w->sizeHint().height()) << text.toStdString();
    }
}

}  // namespace trimlet::test
