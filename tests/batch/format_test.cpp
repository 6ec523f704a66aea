#include "batch/format.h"

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "test_support.h"

namespace trimlet {
namespace {

constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();

TEST(FormatSizeTest, GroupsDigitsByThree) {
    // 2 GiB and more is not negative, and a size above 4 GiB keeps its high bits.
    const std::pair<std::uint64_t, const char*> cases[] = {
        {0, "0"},
        {999, "999"},
        {1000, "1,000"},
        {5000000000u, "5,000,000,000"},
        {kMax, "18,446,744,073,709,551,615"},
    };
    for (const auto& [size, expected] : cases) {
        SCOPED_TRACE(expected);
        EXPECT_EQ(FormatSize(size), expected);
    }
}

TEST(FormatPercentTest, RoundsDownAndAligns) {
    const struct {
        std::uint64_t trimmed, source;
        const char* expected;
    } cases[] = {
        {5, 0, "(100%)"},
        {0, 10, "(  0%)"},
        {999, 1000, "( 99%)"},
        {1040, 1000, "(104%)"},
        {25, 1, "(2500%)"},
        // products beyond 64 bits
        {kMax - 1, kMax, "( 99%)"},
        {kMax, kMax, "(100%)"},
        {kMax, 1, "(1844674407370955161500%)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(FormatPercent(c.trimmed, c.source), c.expected);
    }
}

TEST(FormatListTimeTest, LocalTimeText) {
    constexpr std::int64_t k20060206_0905Utc = 1139216700;
    test::ScopedEnv zone("TZ", "UTC");
    EXPECT_EQ(FormatListTime(FileTimeFromUnix(k20060206_0905Utc, 0)), "2006/02/06 9:05");
    EXPECT_EQ(FormatListTime(FileTimeFromUnix(k20060206_0905Utc + 14 * 3600 + 59, 0)),
              "2006/02/06 23:05");
    zone.Set("JST-9");
    EXPECT_EQ(FormatListTime(FileTimeFromUnix(k20060206_0905Utc, 0)), "2006/02/06 18:05");
    EXPECT_EQ(FormatListTime(kMax), kTimePlaceholder);
}

TEST(FormatSummaryTest, CountsTotalsAndRateOrGreyedFields) {
    const struct {
        ResultSummary summary;
        std::vector<std::string> texts;  // success, skip, source, trimmed, rate
        bool enabled;
    } cases[] = {
        {{0, 3, 0, 0}, {"0 個", "3 個", "***,***", "***,***", ""}, false},
        {{2, 1, 1000, 859}, {"2 個", "1 個", "1,000", "859", "85 %"}, true},
        // totals beyond 32 bits, and a product beyond 64 bits
        {{4294967295u, 0, kMax, kMax - 1},
         {"4294967295 個", "0 個", "18,446,744,073,709,551,615", "18,446,744,073,709,551,614",
          "99 %"},
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.texts[0]);
        const SummaryTexts t = FormatSummary(c.summary);
        EXPECT_EQ((std::vector{t.successText, t.skipText, t.sourceText, t.trimmedText, t.rateText}),
                  c.texts);
        EXPECT_EQ(t.enabled, c.enabled);
    }
}

TEST(SkipReasonTest, EachCodeHasItsReasonAndUnknownOnesTheirName) {
    struct Case {
        Result result;
        std::string_view reason;
    };
    const Case cases[] = {
        {RESULT_SKIPPED, TXT_SKIP_REASON_CHOSEN},
        {RESULT_NOT_FOUND, TXT_SKIP_REASON_NOT_FOUND},
        {RESULT_ACCESS_ERROR, TXT_SKIP_REASON_ACCESS},
        {RESULT_READ_ONLY_KEPT, TXT_SKIP_REASON_READ_ONLY},
        {RESULT_FOLDER_BLOCKED, TXT_SKIP_REASON_FOLDER},
        {RESULT_INVALID_UTF16, TXT_SKIP_REASON_UTF16},
        {RESULT_FILE_CHANGED, TXT_SKIP_REASON_CHANGED},
        {RESULT_OUT_OF_MEMORY, TXT_SKIP_REASON_MEMORY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ResultName(c.result));
        EXPECT_EQ(SkipReason(c.result), c.reason);
    }
    EXPECT_NE(SkipReason(RESULT_BAD_PATH).find("RESULT_BAD_PATH"), std::string::npos);
    EXPECT_EQ(SkippedFilesText({}), "");
    EXPECT_EQ(SkippedFilesText({{"/a b/c.htm", RESULT_NOT_FOUND}, {"/d.js", RESULT_SKIPPED}}),
              std::string("/a b/c.htm\t") + TXT_SKIP_REASON_NOT_FOUND.Get() + "\n/d.js\t" +
                  TXT_SKIP_REASON_CHOSEN.Get() + "\n");
}

// A result the check rejected names where it differs, on the file's one line.
TEST(SkipReasonTest, ADifferingResultGivesWhereOnOneLine) {
    const std::string reason = TXT_SKIP_REASON_NOT_EQUIVALENT.Get();
    EXPECT_EQ(SkipReason(SkippedFile{"/p.htm", RESULT_NOT_EQUIVALENT, ""}), reason);
    const SkippedFile file{"/p.htm", RESULT_NOT_EQUIVALENT, "pre: text differs: \"a\n\tb\""};
    EXPECT_EQ(SkipReason(file),
              FormatText(TXT_SKIP_REASON_DIFFERENCE, {reason, "pre: text differs: \"a  b\""}));
    EXPECT_EQ(SkippedFilesText({file}), "/p.htm\t" + SkipReason(file) + "\n");
    // Other codes have no detail to give.
    EXPECT_EQ(SkipReason(SkippedFile{"/p.htm", RESULT_NOT_FOUND, "x"}),
              TXT_SKIP_REASON_NOT_FOUND.Get());
}

}  // namespace
}  // namespace trimlet
