// The about box: the effect of each opening, the marquee's measuring, and its timer.
#include <gtest/gtest.h>

#include "app/about_dialog.h"
#include "app/command_table.h"
#include "app/main_frame.h"
#include "app/qt_dialogs.h"
#include "app_test_support.h"
#include "settings/memory_profile.h"

namespace trimlet {
namespace {

// The order of the effects is the counter's; here each opening takes the next one.
TEST(AboutDialog, EachOpeningPlaysTheNextEffectAndClosingStopsIt) {
    MarqueeEffectCounter counter;
    std::vector<int> effects;
    for (int i = 0; i < 2; ++i) {
        CAboutDlg dialog(nullptr, counter);
        dialog.show();
        EXPECT_TRUE(dialog.Marquee()->Running());
        EXPECT_EQ(dialog.Marquee()->IntervalMs(), MarqueeEffectFor(dialog.Effect()).intervalMs);
        effects.push_back(dialog.Effect());
        dialog.close();
        EXPECT_FALSE(dialog.Marquee()->Running());
    }
    EXPECT_EQ(effects[1], (effects[0] + 1) % 4);
}

TEST(AboutDialog, TheAboutCommandOpensItOverTheWindow) {
    MemoryProfile profile;
    QtDialogs dialogs(profile);
    CMainFrame frame(dialogs, profile);
    dialogs.SetParent(&frame);
    QString name;
    bool running = false;
    QWidget* parent = nullptr;
    test::WhenModal([&](QWidget* window) {
        name = window->objectName();
        parent = window->parentWidget();
        if (auto* about = dynamic_cast<CAboutDlg*>(window)) running = about->Marquee()->Running();
        window->close();
    });
    frame.OnCommand(CMD_ABOUT);
    EXPECT_EQ(name, "aboutDialog");
    EXPECT_EQ(parent, &frame);
    EXPECT_TRUE(running);
    dialogs.SetParent(nullptr);
}

TEST(MarqueeLabel, FitCountDividesTheWidthByTheTextWidth) {
    CMarqueeLabel label;
    label.resize(0, 20);
    EXPECT_EQ(label.FitCount(" "), -1);
    const int dash = label.fontMetrics().horizontalAdvance(QStringLiteral("--"));
    ASSERT_GT(dash, 0);
    label.resize(dash * 7 + dash / 2, 20);
    EXPECT_EQ(label.FitCount("--"), 7);
    EXPECT_EQ(label.FitCount(""), -1);
}

}  // namespace
}  // namespace trimlet
