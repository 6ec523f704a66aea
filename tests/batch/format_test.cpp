#include "batch/format.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <time.h>

#include <cstdint>
#include <limits>
#include <string>

namespace trimlet {
namespace {

constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();

TEST(FormatSizeTest, GroupsDigitsByThree) {
    const struct {
        std::uint64_t size;
        const char* expected;
    } cases[] = {
        {0, "0"},
        {7, "7"},
        {100, "100"},
        {999, "999"},
        {1000, "1,000"},
        {12345, "12,345"},
        {999999, "999,999"},
        {1000000, "1,000,000"},
        {2147483648u, "2,147,483,648"},  // 2 GiB is not negative
        {5000000000u, "5,000,000,000"},  // above 4 GiB keeps its high bits
        {kMax, "18,446,744,073,709,551,615"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(FormatSize(c.size), c.expected);
    }
}

TEST(FormatPercentTest, RoundsDownAndAligns) {
    const struct {
        std::uint64_t trimmed, source;
        const char* expected;
    } cases[] = {
        {0, 0, "(100%)"},
        {5, 0, "(100%)"},
        {0, 10, "(  0%)"},
        {7, 100, "(  7%)"},
        {850, 1000, "( 85%)"},
        {999, 1000, "( 99%)"},
        {1000, 1000, "(100%)"},
        {1040, 1000, "(104%)"},
        {25, 1, "(2500%)"},
        // products beyond 64 bits
        {50000000, 60000000, "( 83%)"},
        {kMax - 1, kMax, "( 99%)"},
        {kMax, kMax, "(100%)"},
        {kMax, 1, "(1844674407370955161500%)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(FormatPercent(c.trimmed, c.source), c.expected);
    }
}

// Sets TZ for the test and restores it afterwards.
class ScopedTimeZone {
  public:
    explicit ScopedTimeZone(const char* zone) : old_(getenv("TZ") ? getenv("TZ") : "") {
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone() {
        old_.empty() ? unsetenv("TZ") : setenv("TZ", old_.c_str(), 1);
        tzset();
    }

  private:
    std::string old_;
};

TEST(FormatListTimeTest, LocalTimeText) {
    constexpr std::int64_t k20060206_0905Utc = 1139216700;
    {
        ScopedTimeZone zone("UTC");
        EXPECT_EQ(FormatListTime(FileTimeFromUnix(k20060206_0905Utc, 0)), "2006/02/06 9:05");
        EXPECT_EQ(FormatListTime(FileTimeFromUnix(k20060206_0905Utc + 14 * 3600 + 59, 0)),
                  "2006/02/06 23:05");
    }
    {
        ScopedTimeZone zone("JST-9");
        EXPECT_EQ(FormatListTime(FileTimeFromUnix(k20060206_0905Utc, 0)), "2006/02/06 18:05");
    }
    EXPECT_EQ(FormatListTime(kMax), kTimePlaceholder);
}

TEST(FormatSummaryTest, NothingMeasured) {
    const SummaryTexts texts = FormatSummary({0, 3, 0, 0});
    EXPECT_EQ(texts.successText, "0 個");
    EXPECT_EQ(texts.skipText, "3 個");
    EXPECT_EQ(texts.sourceText, "***,***");
    EXPECT_EQ(texts.trimmedText, "***,***");
    EXPECT_EQ(texts.rateText, "");
    EXPECT_FALSE(texts.enabled);
}

TEST(FormatSummaryTest, Totals) {
    SummaryTexts texts = FormatSummary({2, 1, 1000, 859});
    EXPECT_EQ(texts.successText, "2 個");
    EXPECT_EQ(texts.skipText, "1 個");
    EXPECT_EQ(texts.sourceText, "1,000");
    EXPECT_EQ(texts.trimmedText, "859");
    EXPECT_EQ(texts.rateText, "85 %");
    EXPECT_TRUE(texts.enabled);

    // Totals beyond 32 bits, and a product beyond 64 bits.
    texts = FormatSummary({4294967295u, 0, kMax, kMax - 1});
    EXPECT_EQ(texts.successText, "4294967295 個");
    EXPECT_EQ(texts.sourceText, "18,446,744,073,709,551,615");
    EXPECT_EQ(texts.rateText, "99 %");
}

}  // namespace
}  // namespace trimlet
