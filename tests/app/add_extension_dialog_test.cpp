// The add-extension dialog: what its button accepts, refuses and hands back.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>

#include "app/add_extension_dialog.h"
#include "scripted_dialogs.h"

namespace trimlet {
namespace {

TEST(AddExtensionDialog, CleansOrRefusesWhatWasTyped) {
    struct Case {
        const char* name;
        const char* typed;
        int refusal;  // 0: accepted
        const char* extension;
    };
    const Case cases[] = {
        {"dot and blanks cut", " .shtml\t", 0, "shtml"},
        {"period inside", "tar.gz", MSG_EXTENSION_BAD_CHARACTERS, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedDialogs dialogs;
        CAddExtensionDlg dialog(dialogs);
        dialog.show();
        auto* field = dialog.findChild<QLineEdit*>("extension");
        auto* add = dialog.findChild<QPushButton*>("add");
        EXPECT_TRUE(add->isDefault());
        EXPECT_EQ(dialog.focusWidget(), field);
        field->setText(QString::fromUtf8(c.typed));
        add->click();
        if (c.refusal != 0) {
            EXPECT_EQ(dialogs.MessageIds(), (std::vector<int>{c.refusal}));
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_EQ(dialog.focusWidget(), field);
            dialog.reject();
        } else {
            EXPECT_TRUE(dialogs.MessageIds().empty());
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
            EXPECT_EQ(dialog.Extension(), c.extension);
            EXPECT_EQ(field->text(), QString::fromUtf8(c.extension));
        }
    }
}

}  // namespace
}  // namespace trimlet
