// The about box: the effect of each opening, the marquee's measuring, and its timer.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

#include "app/about_dialog.h"
#include "app/qt_text.h"
#include "common/messages.h"

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

TEST(AboutDialog, ShowsOurVersionAndTheAttributionLine) {
    CAboutDlg dialog;
    EXPECT_EQ(dialog.findChild<QLabel*>("productLine")->text(),
              QString("トリムレット HTML！ V") + TRIMLET_VERSION);
    EXPECT_EQ(dialog.findChild<QLabel*>("attributionLine")->text(), Qs(TXT_ABOUT_ATTRIBUTION));
}

// Every effect, ticked to its end in the real widget, leaves the attribution line whole,
// and the timer stops by itself.
TEST(MarqueeLabel, EveryEffectEndsOnTheAttributionLine) {
    for (int value = 0; value < kMarqueeEffectCount; ++value) {
        SCOPED_TRACE(value);
        CAboutDlg dialog;
        dialog.show();
        CMarqueeLabel* marquee = dialog.Marquee();
        marquee->Stop();
        marquee->Start(MarqueeEffectFor(value), TXT_ABOUT_ATTRIBUTION);
        for (int i = 0; i < 5000 && marquee->Running(); ++i)
            marquee->Advance();
        EXPECT_FALSE(marquee->Running());
        EXPECT_EQ(marquee->text(), Qs(TXT_ABOUT_ATTRIBUTION));
        EXPECT_GE(marquee->width(), marquee->fontMetrics().horizontalAdvance(marquee->text()));
    }
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
