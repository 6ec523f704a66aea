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

TEST(AboutDialog, EachOpeningPlaysTheNextEffectAndClosingStopsIt) {
    MarqueeEffectCounter counter;
    std::vector<int> effects;
    for (int i = 0; i < 5; ++i) {
        CAboutDlg dialog(nullptr, counter);
        EXPECT_EQ(dialog.windowTitle(), "バージョン情報");
        dialog.show();
        const MarqueeEffect effect = MarqueeEffectFor(dialog.Effect());
        EXPECT_TRUE(dialog.Marquee()->Running());
        EXPECT_EQ(dialog.Marquee()->IntervalMs(), effect.intervalMs);
        effects.push_back(dialog.Effect());
        dialog.close();
        EXPECT_FALSE(dialog.Marquee()->Running());
    }
    const int k = effects.front();
    EXPECT_EQ(effects, (std::vector<int>{k, (k + 1) % 4, (k + 2) % 4, (k + 3) % 4, k}));
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
