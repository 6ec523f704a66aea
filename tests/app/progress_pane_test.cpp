// The progress pane lets the window catch up with long work after the first and the last
// file (and a few times a second between), and passes a stop request on at once.
#include <gtest/gtest.h>

#include <QProgressBar>
#include <QTimer>

#include "app/progress_pane.h"

namespace trimlet {
namespace {

TEST(ProgressPane, CatchesUpAfterTheFirstAndTheLastFileAndPassesAStopOn) {
    QWidget window;
    CProgressPane pane(&window);
    pane.WorkBegins(3);
    int caughtUp = 0;
    QTimer::singleShot(0, &pane, [&] { ++caughtUp; });
    EXPECT_FALSE(pane.FileDone(1, 3));
    EXPECT_EQ(caughtUp, 1);

    pane.RequestStop();
    EXPECT_TRUE(pane.FileDone(2, 3));  // whether or not the window caught up

    QTimer::singleShot(0, &pane, [&] { ++caughtUp; });
    EXPECT_TRUE(pane.FileDone(3, 3));
    EXPECT_EQ(caughtUp, 2);
    EXPECT_EQ(pane.findChild<QProgressBar*>("progressBar")->value(), 3);
    pane.WorkEnds();
    EXPECT_FALSE(pane.Working());
}

TEST(ProgressPane, TheCountIsCurrentBetweenCatchUps) {
    QWidget window;
    CProgressPane pane(&window);
    auto* bar = pane.findChild<QProgressBar*>("progressBar");
    pane.WorkBegins(10);
    for (std::size_t done = 1; done <= 4; ++done) {
        EXPECT_FALSE(pane.FileDone(done, 10));
        // A question shown now (its own event loop repaints) shows this count.
        EXPECT_EQ(bar->value(), static_cast<int>(done));
        EXPECT_EQ(bar->text(), QStringLiteral("%1 / 10").arg(done));
    }
    pane.WorkEnds();
}

}  // namespace
}  // namespace trimlet
