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

// The default button comes first in `texts`; Esc gives the answer of the box's cancel role.
TEST(QtDialogsMessage, EachButtonGivesItsAnswer) {
    struct Case {
        MessageButtons buttons;
        const char* press;  // button text to click; nullptr: press Esc
        const char* texts;
        MessageAnswer expected;
    };
    const Case cases[] = {
        {MessageButtons::Ok, nullptr, "OK", MessageAnswer::Ok},
        {MessageButtons::OkCancel, "キャンセル", "OK|キャンセル", MessageAnswer::Cancel},
        {MessageButtons::OkCancel, nullptr, "OK|キャンセル", MessageAnswer::Cancel},
        {MessageButtons::YesNo, "はい", "はい|いいえ", MessageAnswer::Yes},
        {MessageButtons::YesNo, nullptr, "はい|いいえ", MessageAnswer::No},
        {MessageButtons::YesNoCancel, "いいえ", "はい|いいえ|キャンセル", MessageAnswer::No},
        {MessageButtons::YesNoCancel, nullptr, "はい|いいえ|キャンセル", MessageAnswer::Cancel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.texts) + (c.press ? " press " : " esc"));
        MemoryProfile profile;
        QtDialogs dialogs(profile);
        QStringList seen;
        QString text;
        WhenModal([&](QWidget* window) {
            auto* box = qobject_cast<QMessageBox*>(window);
            ASSERT_NE(box, nullptr);
            text = box->text();
            ASSERT_NE(box->defaultButton(), nullptr);
            seen << box->defaultButton()->text();
            for (QAbstractButton* b : box->buttons())
                if (b != box->defaultButton()) seen << b->text();
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
        EXPECT_EQ(seen.front(), QString::fromUtf8(c.texts).split(QLatin1Char('|')).front());
        std::sort(seen.begin(), seen.end());
        QStringList expectedTexts = QString::fromUtf8(c.texts).split(QLatin1Char('|'));
        std::sort(expectedTexts.begin(), expectedTexts.end());
        EXPECT_EQ(seen, expectedTexts);
        EXPECT_EQ(text, QStringLiteral("リストをクリアしますか？"));
    }
    EXPECT_EQ(test::VisibleTopLevelCount(), 0);
}

}  // namespace
}  // namespace trimlet
