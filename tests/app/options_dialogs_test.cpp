// The options sheet and its small dialogs as the window shows them through QtDialogs: real
// modal windows, each message over the window that asked for it.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>

#include "app/options_sheet.h"
#include "app/qt_dialogs.h"
#include "app_test_support.h"
#include "settings/memory_profile.h"

namespace trimlet {
namespace {

using test::ClickChild;
using test::WhenModal;

// Answers the next message box: records its name, text and parent window, presses OK.
void AnswerNextMessage(QString& name, QString& text, QWidget*& over) {
    WhenModal([&](QWidget* window) {
        auto* box = qobject_cast<QMessageBox*>(window);
        ASSERT_NE(box, nullptr);
        name = box->objectName();
        text = box->text();
        over = box->parentWidget();
        box->button(QMessageBox::Ok)->click();
    });
}

TEST(OptionsSheetWindow, AddingDotHtmIsRefusedOverTheSheetAndCancelStoresNothing) {
    MemoryProfile profile;
    QtDialogs dialogs(profile);
    QString name, text;
    QWidget* over = nullptr;
    QWidget* sheetWindow = nullptr;
    QStringList listed;
    WhenModal([&](QWidget* sheet) {
        sheetWindow = sheet;
        sheet->findChild<QTabWidget*>("optionsTabs")->setCurrentIndex(kPageOutput);
        WhenModal([&](QWidget* add) {
            EXPECT_EQ(add->objectName(), "addExtensionDialog");
            add->findChild<QLineEdit*>("extension")->setText(" .HTM");
            AnswerNextMessage(name, text, over);
            ClickChild(add, "add");
        });
        ClickChild(sheet, "addHtml");
        auto* list = sheet->findChild<QListWidget*>("htmlExtensions");
        for (int i = 0; i < list->count(); ++i)
            listed << list->item(i)->text();
        ClickChild(sheet, "cancel");
    });
    EXPECT_FALSE(dialogs.OptionsSheet());
    EXPECT_EQ(name, "message40008");
    EXPECT_EQ(text, "拡張子 HTM は既に登録されています。");
    EXPECT_EQ(over, sheetWindow);
    EXPECT_EQ(listed, (QStringList{"HTM", "HTML"}));
    EXPECT_EQ(profile.ChangeCount(), 0);
    EXPECT_EQ(dialogs.Parent(), nullptr);
    EXPECT_EQ(test::VisibleTopLevelCount(), 0);
}

}  // namespace
}  // namespace trimlet
