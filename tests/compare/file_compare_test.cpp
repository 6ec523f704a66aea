// A file beside its trim: read and trimmed as a run does, in the file's own charset.
#include "compare/file_compare.h"

#include <gtest/gtest.h>

#include <string>

#include "common/messages.h"
#include "test_support.h"

namespace trimlet {
namespace {

using namespace std::string_literals;

constexpr TrimMode kBlanks = TM_COLLAPSE_SPACES | TM_TRIM_LINE_ENDS;

TEST(CompareFile, ShowsTheTrimInTheFilesCharset) {
    test::TempDir dir;
    struct Case {
        const char* name;
        std::string bytes;
        TrimMode mode;
        Charset charset;
        bool utf16;
        std::uint64_t bytesAfter;
        const char* firstLeft;
        const char* firstRight;
    };
    const Case cases[] = {
        {"page.htm", "  <p>a</p>\n", kBlanks, Charset::Cp932, false, 9, "  <p>a</p>", "<p>a</p>"},
        // UTF-16LE with its mark: shown as text, the sizes those of the UTF-16 bytes
        {"wide.htm", "\xFF\xFE \0 \0<\0p\0>\0\n\0"s, kBlanks, Charset::Utf8, true, 10, "  <p>",
         "<p>"},
        {"sjis.htm", "\x82\xA0  \x82\xA2\n", kBlanks, Charset::Cp932, false, 6, "あ  い", "あ い"},
        {"utf8.htm", "\xE3\x81\x82  x\n", kBlanks, Charset::Utf8, false, 6, "あ  x", "あ x"},
        // the script rules for a script, by its extension
        {"code.js", "a = 1; // c\n", TM_SCRIPT_COMMENT_DEL | TM_SCRIPT_LINE_COMMENT | kBlanks,
         Charset::Cp932, false, 5, "a = 1; // c", "a=1;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.Write(c.name, c.bytes);
        const FileComparison file = CompareFile(path, c.mode, "JS:VBS");
        ASSERT_RESULT(file.result, RESULT_OK);
        EXPECT_EQ(file.bytesBefore, c.bytes.size());
        EXPECT_EQ(file.bytesAfter, c.bytesAfter);
        EXPECT_EQ(file.charset, c.charset);
        EXPECT_EQ(file.utf16, c.utf16);
        ASSERT_FALSE(file.comparison.rows.empty());
        EXPECT_EQ(file.comparison.rows[0].leftText, c.firstLeft);
        EXPECT_EQ(file.comparison.rows[0].rightText, c.firstRight);
        EXPECT_FALSE(file.comparison.changes.empty());
    }
}

TEST(CompareFile, FailureTellsItsReason) {
    test::TempDir dir;
    struct Case {
        const char* name;
        std::string path;
        Result result;
        int message;
    };
    const Case cases[] = {
        {"missing", dir.File("missing.htm"), RESULT_NOT_FOUND, MSG_FILE_DOES_NOT_EXIST},
        {"folder", dir.path().string(), RESULT_IS_FOLDER, MSG_INPUT_IS_FOLDER},
        {"bad UTF-16", dir.Write("odd.htm", "\xFF\xFE<\0p"s), RESULT_INVALID_UTF16,
         MSG_INVALID_UTF16},
        {"empty path", "", RESULT_INVALID_ARGUMENT, MSG_FILE_PROCESSING_ERROR},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FileComparison file = CompareFile(c.path, kDefaultTrimMode, "JS");
        EXPECT_RESULT(file.result, c.result);
        EXPECT_TRUE(file.comparison.rows.empty());
        EXPECT_EQ(CompareFailureMessage(file.result), c.message);
    }
}

// Of a page over the limit both sides show the same start of the page: the trim's start,
// which reaches further, shows no lines of its own.
TEST(CompareFile, PageOverTheLimitShowsTheSameStartOnBothSides) {
    test::TempDir dir;
    std::string page = "<html><body><table>\n";
    for (int i = 0; i < 1000; ++i)
        page += "<tr>\n  <td>  cell " + std::to_string(i) + "  </td>\n  <!-- row " +
                std::to_string(i) + " -->\n</tr>\n";
    CompareLimits limits;
    limits.maxTextBytes = 4000;
    limits.previewBytes = 2000;
    limits.maxLineCells = 1000;  // lines found once on each side split the page
    const FileComparison file =
        CompareFile(dir.Write("big.htm", page), kDefaultTrimMode, "JS", limits);
    ASSERT_RESULT(file.result, RESULT_OK);
    EXPECT_EQ(file.comparison.cut, CompareCut::PageTooLarge);
    EXPECT_EQ(file.bytesBefore, page.size());
    ASSERT_GT(file.comparison.rows.size(), 30u);
    for (const CompareRow& row : file.comparison.rows) {
        SCOPED_TRACE(row.rightText);
        EXPECT_GE(row.leftLine, 0);
        EXPECT_TRUE(row.rightMarks.empty());
    }
}

// Asked for, the check of the result comes with the comparison, as a run would make it.
TEST(CompareFile, VerifyingGivesTheChecksVerdict) {
    test::TempDir dir;
    const std::string good = dir.Write("good.htm", "<p>  a  </p>\n");
    const std::string bad = dir.Write("bad.htm", test::kPageTheCheckRejects);
    EXPECT_FALSE(CompareFile(good, kDefaultTrimMode, "JS").verdict) << "not asked for";

    const FileComparison same = CompareFile(good, kDefaultTrimMode, "JS", {}, true);
    ASSERT_TRUE(same.verdict);
    EXPECT_EQ(same.verdict->status, VerifyStatus::Same);

    const FileComparison differs = CompareFile(bad, test::kModeTheCheckRejects, "JS", {}, true);
    ASSERT_RESULT(differs.result, RESULT_OK);
    ASSERT_TRUE(differs.verdict);
    ASSERT_EQ(differs.verdict->status, VerifyStatus::Differs) << "the page no longer fails";
    EXPECT_NE(differs.verdict->difference.find("p"), std::string::npos)
        << differs.verdict->difference;
    EXPECT_FALSE(differs.comparison.changes.empty()) << "the changes still show";

    EXPECT_FALSE(CompareFile(dir.File("gone.htm"), kDefaultTrimMode, "JS", {}, true).verdict);
}

TEST(CompareFile, EmptyFileHasNothingToShow) {
    test::TempDir dir;
    const FileComparison file = CompareFile(dir.Write("empty.htm", ""), kDefaultTrimMode, "JS");
    ASSERT_RESULT(file.result, RESULT_OK);
    EXPECT_EQ(file.bytesBefore, 0u);
    EXPECT_EQ(file.bytesAfter, 0u);
    EXPECT_TRUE(file.comparison.rows.empty());
}

}  // namespace
}  // namespace trimlet
