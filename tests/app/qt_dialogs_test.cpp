// The message boxes of QtDialogs: the buttons each kind offers and the answer each gives.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "app/qt_dialogs.h"
#include "app/qt_text.h"
#include "app_test_support.h"
#include "qstring_printer.h"
#include "settings/memory_profile.h"

namespace trimlet {
namespace {

using test::WhenModal;

struct Press {
    const char* name;
    MessageButtons buttons;
    const char* press;  // button text to click; nullptr: press Esc
    QStringList expectedTexts;
    MessageAnswer expected;
};

TEST(QtDialogsMessage, EachButtonGivesItsAnswer) {
    const Press cases[] = {
        {"ok", MessageButtons::Ok, "OK", {"OK"}, MessageAnswer::Ok},
        {"ok by esc", MessageButtons::Ok, nullptr, {"OK"}, MessageAnswer::Ok},
        {"ok of ok/cancel",
         MessageButtons::OkCancel,
         "OK",
         {"OK", "キャンセル"},
         MessageAnswer::Ok},
        {"cancel",
         MessageButtons::OkCancel,
         "キャンセル",
         {"OK", "キャンセル"},
         MessageAnswer::Cancel},
        {"esc is cancel",
         MessageButtons::OkCancel,
         nullptr,
         {"OK", "キャンセル"},
         MessageAnswer::Cancel},
        {"yes", MessageButtons::YesNo, "はい", {"はい", "いいえ"}, MessageAnswer::Yes},
        {"no", MessageButtons::YesNo, "いいえ", {"はい", "いいえ"}, MessageAnswer::No},
        {"esc is no without cancel",
         MessageButtons::YesNo,
         nullptr,
         {"はい", "いいえ"},
         MessageAnswer::No},
        {"no of three",
         MessageButtons::YesNoCancel,
         "いいえ",
         {"はい", "いいえ", "キャンセル"},
         MessageAnswer::No},
        {"esc of three",
         MessageButtons::YesNoCancel,
         nullptr,
         {"はい", "いいえ", "キャンセル"},
         MessageAnswer::Cancel},
    };
    for (const Press& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryProfile profile;
        QtDialogs dialogs(profile);
        QStringList seen;
        QString text;
        WhenModal([&](QWidget* window) {
            auto* box = qobject_cast<QMessageBox*>(window);
            ASSERT_NE(box, nullptr);
            text = box->text();
            for (QAbstractButton* b : box->buttons())
                seen << b->text();
            ASSERT_NE(box->defaultButton(), nullptr);
            EXPECT_EQ(box->defaultButton()->text(), c.expectedTexts.front());
            if (!c.press) {
                QTest::keyClick(box, Qt::Key_Escape);
                return;
            }
            for (QAbstractButton* b : box->buttons())
                if (b->text() == QString::fromUtf8(c.press)) b->click();
        });
        const MessageAnswer answer = dialogs.ShowMessage(MessageRequest{
            MSG_CONFIRM_CLEAR, "リストをクリアしますか？", MessageIcon::Question, c.buttons});
        EXPECT_EQ(answer, c.expected);
        std::sort(seen.begin(), seen.end());
        QStringList expectedTexts = c.expectedTexts;
        std::sort(expectedTexts.begin(), expectedTexts.end());
        EXPECT_EQ(seen, expectedTexts);
        EXPECT_EQ(text, QStringLiteral("リストをクリアしますか？"));
    }
    EXPECT_EQ(test::VisibleTopLevelCount(), 0);
}

}  // namespace
}  // namespace trimlet
