// The comparison of a text with its trim: rows, marks, joined lines, charsets and limits.
#include "compare/text_compare.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <string_view>

#include "test_support.h"

namespace trimlet {
namespace {

using namespace std::string_literals;
using namespace std::string_view_literals;

// One side of a row with its marks in brackets: "<p> [ ]a".
std::string Marked(const std::string& text, const std::vector<CompareSpan>& marks, char open,
                   char close) {
    std::string shown;
    std::size_t at = 0;
    for (const CompareSpan& span : marks) {
        shown += text.substr(at, span.begin - at);
        shown += open;
        shown += text.substr(span.begin, span.end - span.begin);
        shown += close;
        at = span.end;
    }
    return shown + text.substr(at);
}

// The rows as "left|right", one a line: "~" marks a removed line break, "->1:2" a line
// joined into the trimmed line 1 at byte 2; a side without a line is empty.
std::string Render(const Comparison& c) {
    std::string out;
    for (const CompareRow& row : c.rows) {
        if (row.leftLine >= 0) out += Marked(row.leftText, row.leftMarks, '[', ']');
        if (row.leftBreakRemoved) out += "~";
        out += "|";
        if (row.rightLine >= 0) out += Marked(row.rightText, row.rightMarks, '{', '}');
        if (row.joinedLine >= 0)
            out += "->" + std::to_string(row.joinedLine) + ":" + std::to_string(row.joinedColumn);
        out += "\n";
    }
    return out;
}

struct Case {
    const char* name;
    Charset charset;
    std::string_view before;
    std::string_view after;
    std::string_view rows;
    std::size_t changes;
};

const Case kCases[] = {
    // deletions only
    {"Unchanged", Charset::Utf8, "<p>a</p>\n", "<p>a</p>\n", "<p>a</p>|<p>a</p>\n", 0},
    {"CollapsedBlanks", Charset::Utf8, "<p>  a  </p>\n", "<p> a </p>\n",
     "<p> [ ]a [ ]</p>|<p> a </p>\n", 2},
    {"IndentRemoved", Charset::Utf8, "<ul>\n  <li>x\n</ul>\n", "<ul>\n<li>x\n</ul>\n",
     "<ul>|<ul>\n[  ]<li>x|<li>x\n</ul>|</ul>\n", 1},
    {"TabBecomesSpace", Charset::Utf8, "a\tb\n", "a b\n", "a[\t]b|a{ }b\n", 1},
    {"BlankLinesRemoved", Charset::Utf8, "a\n\n  \nb\n", "a\nb\n", "a|a\n~|\n[  ]~|\nb|b\n", 1},
    {"FinalBreakRemoved", Charset::Utf8, "a\n", "a", "a~|a\n", 1},
    // joined lines: every original line tells where its text went
    {"JoinedLines", Charset::Utf8, "a\n  b\n  c\n", "a b c\n",
     "a~|a b c\n [ ]b~|->0:2\n [ ]c|->0:4\n", 4},
    {"JoinedIntoTwoLines", Charset::Utf8, "<p>\nx\n</p>\n<pre>\n1\n</pre>\n",
     "<p> x </p>\n<pre>\n1\n</pre>\n",
     "<p>~|<p>{ }x{ }</p>\nx~|->0:4\n</p>|->0:6\n<pre>|<pre>\n1|1\n</pre>|</pre>\n", 2},
    // removed comments
    {"CommentInLine", Charset::Utf8, "a<!-- x -->b\n", "ab\n", "a[<!-- x -->]b|ab\n", 1},
    {"CommentLine", Charset::Utf8, "a\n<!-- c -->\nb\n", "a\nb\n", "a|a\n[<!-- c -->]~|\nb|b\n", 1},
    {"ScriptLineComment", Charset::Utf8, "x = 1; // one\ny = 2;\n", "x=1;\ny=2;\n",
     "x[ ]=[ ]1;[ // one]|x=1;\ny[ ]=[ ]2;|y=2;\n", 5},
    // Shift_JIS: whole characters only, also with a trail byte that is a backslash
    {"ShiftJisBlank", Charset::Cp932, "\x82\xA0  \x82\xA2\n", "\x82\xA0 \x82\xA2\n",
     "あ [ ]い|あ い\n", 1},
    {"ShiftJisTrailBackslash", Charset::Cp932, "\x95\x5C \n", "\x95\x5C\n", "表[ ]|表\n", 1},
    {"ShiftJisNoSplitCharacter", Charset::Cp932, "\x82\xA0\x82\xA2\n", "\x82\xA2\n", "[あ]い|い\n",
     1},
    {"ShiftJisFullWidthBlank", Charset::Cp932, "\x81\x40\x82\xA0\n", "\x82\xA0\n",
     "[\xE3\x80\x80]あ|あ\n", 1},
    {"ShiftJisLoneLeadByte", Charset::Cp932, "\x82\n", "\x82\n", "\xEF\x9E\x82|\xEF\x9E\x82\n", 0},
    {"HalfWidthKatakana", Charset::Cp932, "\xB1 \n", "\xB1\n", "\xEF\xBD\xB1[ ]|\xEF\xBD\xB1\n", 1},
    // UTF-8
    {"Utf8Blank", Charset::Utf8, "\xE3\x81\x82  \xE3\x81\x84\n", "\xE3\x81\x82 \xE3\x81\x84\n",
     "あ [ ]い|あ い\n", 1},
    // what cannot be shown as it is
    {"ControlCharacter", Charset::Utf8, "a\x01  b\n", "a\x01 b\n",
     "a\xE2\x90\x81 [ ]b|a\xE2\x90\x81 b\n", 1},
    {"Nul", Charset::Utf8, "a\0 \n"sv, "a\0\n"sv, "a\xE2\x90\x80[ ]|a\xE2\x90\x80\n", 1},
    {"LineSeparators", Charset::Utf8, "a\u2029b  c\u2028d\u0085e\n", "a\u2029b c\u2028d\u0085e\n",
     "a\u2424b [ ]c\u2424d\u2424e|a\u2424b c\u2424d\u2424e\n", 1},
    {"CarriageReturnLineFeed", Charset::Utf8, "a \r\nb\r\n", "a\r\nb\r\n", "a[ ]|a\nb|b\n", 1},
    // an empty result
    {"EmptyResult", Charset::Utf8, "   \n\n", "", "[   ]~|\n~|\n", 1},
    {"EmptyBoth", Charset::Utf8, "", "", "", 0},
};

TEST(CompareTexts, Table) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        Comparison comparison;
        ASSERT_RESULT(CompareTexts(c.before, c.after, c.charset, {}, comparison), RESULT_OK);
        EXPECT_EQ(Render(comparison), c.rows);
        EXPECT_EQ(comparison.changes.size(), c.changes);
        EXPECT_EQ(comparison.cut, CompareCut::None);
    }
}

TEST(CompareTexts, ChangesPointAtTheirRowsInOrder) {
    Comparison c;
    ASSERT_RESULT(CompareTexts("a\n<!-- c -->\nb  x\n\tc\n", "a\nb x\nc\n", Charset::Utf8, {}, c),
                  RESULT_OK);
    ASSERT_EQ(c.changes.size(), 3u);
    EXPECT_EQ(c.changes[0].row, 1u);
    EXPECT_TRUE(c.changes[0].onLeft);
    EXPECT_EQ(c.changes[0].column, 0u);
    EXPECT_EQ(c.changes[1].row, 2u);
    EXPECT_EQ(c.changes[1].column, 2u);
    EXPECT_EQ(c.changes[2].row, 3u);
}

// A long text in which every line was joined: with small limits the characters are aligned
// piece by piece at the lines found on both sides, and every line still points at its place.
TEST(CompareTexts, LargeJoinedGroupIsSplitAtItsLines) {
    std::string before, after;
    for (int i = 0; i < 400; ++i) {
        const std::string word = "<b>w" + std::to_string(i) + "</b>";
        before += "    " + word + "\n";
        after += (i ? " " : "") + word;
    }
    CompareLimits limits;
    limits.maxAlignCells = 4096;
    Comparison c;
    ASSERT_RESULT(CompareTexts(before, after, Charset::Utf8, limits, c), RESULT_OK);
    ASSERT_EQ(c.rows.size(), 400u);
    EXPECT_EQ(c.cut, CompareCut::None);
    std::uint32_t previous = 0;
    for (std::size_t i = 1; i < c.rows.size(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(c.rows[i].joinedLine, 0);
        EXPECT_GT(c.rows[i].joinedColumn, previous);
        previous = c.rows[i].joinedColumn;
        const std::string word = "<b>w" + std::to_string(i) + "</b>";
        EXPECT_EQ(c.rows[0].rightText.substr(c.rows[i].joinedColumn, word.size()), word);
        EXPECT_TRUE(c.rows[i].leftBreakRemoved);
    }
}

// Many lines changed beyond their blanks: lines found once on each side split the work.
TEST(CompareTexts, ManyLinesAreSplitAtUniqueLines) {
    std::string before, after;
    for (int i = 0; i < 3000; ++i) {
        before += "v" + std::to_string(i) + " = " + std::to_string(i) + "; // note\n";
        after += "v" + std::to_string(i) + "=" + std::to_string(i) + ";\n";
        if (i % 10 == 0) {
            before += "line" + std::to_string(i) + "\n";
            after += "line" + std::to_string(i) + "\n";
        }
    }
    CompareLimits limits;
    limits.maxLineCells = 10000;
    limits.timeLimit = std::chrono::minutes(1);  // the split is tested, not the time (ASan, load)
    Comparison c;
    ASSERT_RESULT(CompareTexts(before, after, Charset::Utf8, limits, c), RESULT_OK);
    EXPECT_EQ(c.cut, CompareCut::None);
    ASSERT_EQ(c.rows.size(), 3300u);
    for (const CompareRow& row : c.rows)
        ASSERT_EQ(row.leftLine, row.rightLine);
    EXPECT_EQ(Render(Comparison{{c.rows[0]}, {}, {}}), "v0[ ]=[ ]0;[ // note]|v0=0;\n");
}

// A line far longer than the worst case allows, changed beyond its blanks (a comment in
// it): as a trim keeps nearly all of it in order, it is still aligned character by
// character. Two unrelated long lines are not.
TEST(CompareTexts, LongLineOfATrimIsAlignedCharacterByCharacter) {
    std::string half, trimmedHalf;
    for (int i = 0; i < 600; ++i) {
        half += "ab  ";
        trimmedHalf += "ab ";
    }
    const std::string before = half + "<!-- " + std::string(500, 'c') + " -->" + half + "\n";
    const std::string after = trimmedHalf + trimmedHalf + "\n";
    Comparison c;
    ASSERT_RESULT(CompareTexts(before, after, Charset::Utf8, {}, c), RESULT_OK);
    ASSERT_EQ(c.rows.size(), 1u);
    EXPECT_TRUE(c.rows[0].rightMarks.empty());
    std::size_t marked = 0;
    for (const CompareSpan& span : c.rows[0].leftMarks)
        marked += span.end - span.begin;
    EXPECT_EQ(marked, before.size() - after.size());
    EXPECT_GE(c.changes.size(), 1200u);

    std::string first, second;
    for (int i = 0; i < 3000; ++i) {
        first += static_cast<char>('a' + (i * 7) % 26);
        second += static_cast<char>('a' + (i * 11 + 3) % 23);
    }
    ASSERT_RESULT(CompareTexts(first, second, Charset::Utf8, {}, c), RESULT_OK);
    EXPECT_EQ(c.rows.size(), 2u);  // one removed, one added: too costly to align
}

TEST(CompareTexts, PageOverTheLimitShowsItsStart) {
    std::string before, after;
    for (int i = 0; i < 1000; ++i) {
        before += "  <p>line " + std::to_string(i) + "</p>\n";
        after += "<p>line " + std::to_string(i) + "</p>\n";
    }
    CompareLimits limits;
    limits.maxTextBytes = 4000;
    limits.previewBytes = 1000;
    Comparison c;
    ASSERT_RESULT(CompareTexts(before, after, Charset::Utf8, limits, c), RESULT_OK);
    EXPECT_EQ(c.cut, CompareCut::PageTooLarge);
    ASSERT_GT(c.rows.size(), 10u);
    EXPECT_LT(c.rows.size(), 60u);
    EXPECT_EQ(c.changes.size(), c.rows.size());
    for (const CompareRow& row : c.rows) {
        ASSERT_EQ(row.leftLine, row.rightLine);
        EXPECT_EQ(Render(Comparison{{row}, {}, {}}),
                  "[  ]" + row.rightText + "|" + row.rightText + "\n");
    }
}

// A page of one line over the limit is cut after a whole character.
TEST(CompareTexts, OneLinePageOverTheLimitIsCutBetweenCharacters) {
    struct Case {
        const char* name;
        Charset charset;
        std::string word;
    };
    const Case cases[] = {
        {"utf8", Charset::Utf8, "\xE3\x81\x82"},
        {"cp932", Charset::Cp932, "\x95\x5C"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        std::string before, after;
        for (int i = 0; i < 3000; ++i) {
            before += k.word + "  ";
            after += k.word + " ";
        }
        CompareLimits limits;
        limits.maxTextBytes = 4000;
        limits.previewBytes = 1001;
        Comparison c;
        ASSERT_RESULT(CompareTexts(before, after, k.charset, limits, c), RESULT_OK);
        EXPECT_EQ(c.cut, CompareCut::PageTooLarge);
        ASSERT_FALSE(c.rows.empty());
        // "あ  " or "表  " whole, never a part of one
        ASSERT_FALSE(c.rows[0].leftText.empty());
        EXPECT_EQ(c.rows[0].leftText.back(), ' ');
    }
}

TEST(CompareTexts, OutOfTimeKeepsTheRowsSoFar) {
    std::string before, after;
    for (int i = 0; i < 500; ++i) {
        before += "a" + std::to_string(i) + "\n\nb  " + std::to_string(i) + "\n";
        after += "a" + std::to_string(i) + "\nb " + std::to_string(i) + "\n";
    }
    CompareLimits limits;
    limits.timeLimit = std::chrono::milliseconds(0);
    Comparison c;
    ASSERT_RESULT(CompareTexts(before, after, Charset::Utf8, limits, c), RESULT_OK);
    EXPECT_EQ(c.cut, CompareCut::TimeLimit);
    // The first rows come however little time there is.
    EXPECT_GE(c.rows.size(), 500u);
    EXPECT_LT(c.rows.size(), 1500u);
    for (const CompareChange& change : c.changes)
        EXPECT_LT(change.row, c.rows.size());
}

TEST(CompareTexts, OutOfTimeInAJoinedGroupShowsItsStart) {
    std::string before, after;
    for (int i = 0; i < 3000; ++i) {
        before += "  <i>" + std::to_string(i) + "</i>\n";
        after += (i ? " <i>" : "<i>") + std::to_string(i) + "</i>";
    }
    CompareLimits limits;
    limits.maxAlignCells = 4096;
    limits.timeLimit = std::chrono::milliseconds(0);
    Comparison c;
    ASSERT_RESULT(CompareTexts(before, after, Charset::Utf8, limits, c), RESULT_OK);
    EXPECT_EQ(c.cut, CompareCut::TimeLimit);
    ASSERT_GE(c.rows.size(), 500u);
    EXPECT_LT(c.rows.size(), 3000u);
    // The trimmed line shows as far as it was compared.
    EXPECT_LT(c.rows[0].rightText.size(), after.size());
    for (std::size_t i = 1; i < c.rows.size(); ++i)
        ASSERT_LT(c.rows[i].joinedColumn, c.rows[0].rightText.size()) << i;
}

}  // namespace
}  // namespace trimlet
