#include "platform/file_stamp.h"

#include <gtest/gtest.h>

namespace trimlet {
namespace {

// A stamp read at `when` tells whether the file changed since only if the file had been
// left alone `margin` before; a change time after `when` (a clock ahead of ours) never
// settles, so the stamp alone decides there.
TEST(FileStamp, SettledStamps) {
    using std::chrono::milliseconds;
    const struct {
        FileStamp::Time changed;
        FileStamp::Time when;
        bool changedBefore;
        bool settled;
    } rows[] = {
        {{100, 0}, {103, 0}, true, true},            // exactly the margin
        {{100, 1}, {103, 0}, false, false},          // a nanosecond short
        {{100, 999'999'999}, {104, 0}, true, true},  // across a second
        {{100, 500'000'000}, {103, 400'000'000}, false, false},
        {{100, 0}, {100, 0}, false, false},  // read as it changed
        {{200, 0}, {100, 0}, false, true},   // changed "after" the read
        {{100, 5}, {100, 4}, false, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << row.changed.seconds << "." << row.changed.nanoseconds << " read "
                     << row.when.seconds << "." << row.when.nanoseconds);
        FileStamp stamp;
        stamp.changed = row.changed;
        EXPECT_EQ(ChangedBefore(stamp, row.when, milliseconds(3000)), row.changedBefore);
        EXPECT_EQ(StampSettled(stamp, row.when, milliseconds(3000)), row.settled);
    }
}

}  // namespace
}  // namespace trimlet
