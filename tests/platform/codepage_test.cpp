#include "platform/codepage.h"

#include <string>
#include <string_view>

#include "test_support.h"

namespace trimlet {
namespace {

using namespace std::string_view_literals;

TEST(LooksLikeUtf16Le, Table) {
    struct Case {
        const char* name;
        std::string_view bytes;
        bool complete;
        bool expected;
    };
    const Case cases[] = {
        // UTF-16LE markup
        {"ascii markup", "<\0p\0>\0x\0"sv, true, true},
        {"surrogate pair", "<\0p\0>\0\x3D\xD8\x00\xDE"sv, true, true},
        {"exactly a third zero", "a\0b\0\x42\x30\x44\x30\x46\x30\x48\x30"sv, true, true},
        {"high surrogate last, start of a file", "<\0p\0>\0\x3D\xD8"sv, false, true},
        // not UTF-16
        {"empty", ""sv, true, false},
        {"odd length", "<\0p\0>"sv, true, false},
        {"zero unit", "<\0\0\0p\0>\0"sv, true, false},
        {"below a third zero", "a\0\x42\x30\x44\x30\x46\x30\x48\x30"sv, true, false},
        {"lone high surrogate", "<\0p\0\x3D\xD8>\0"sv, true, false},
        {"lone low surrogate", "<\0p\0\x00\xDE>\0"sv, true, false},
        {"high surrogate last", "<\0p\0>\0\x3D\xD8"sv, true, false},
        // byte texts with a stray NUL
        {"ascii with a NUL", "<p>\0hello</p>!"sv, true, false},
        {"cp932 with a NUL, even place", "\x82\xA0\0<\x82\xA2\x82\xA4"sv, true, false},
        {"cp932 with a NUL, odd place", "\x82\xA0<\0\x82\xA2\x82\xA4"sv, true, false},
        {"utf-8 with a NUL", "\xE3\x81\x82\0\xE3\x81\x84<b>!"sv, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LooksLikeUtf16Le(c.bytes, c.complete), c.expected);
    }
}

TEST(MeasureUtf16Le, CountsZeroHighAndMarkupUnits) {
    struct Case {
        const char* name;
        std::string_view bytes;
        bool wellFormed;
        std::size_t zeroHighUnits, markupUnits;
    };
    const Case cases[] = {
        {"markup and a kanji", "<\0p\0>\0\x09\x4E\r\0\n\0"sv, true, 5, 4},
        {"LF byte inside a kanji is no unit", "\x0A\x4E\x3C\x30\x3E\x30"sv, true, 0, 0},
        {"zero unit", "<\0\0\0"sv, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Utf16LeShape shape = MeasureUtf16Le(c.bytes);
        EXPECT_EQ(shape.wellFormed, c.wellFormed);
        if (!c.wellFormed) continue;
        EXPECT_EQ(shape.zeroHighUnits, c.zeroHighUnits);
        EXPECT_EQ(shape.markupUnits, c.markupUnits);
    }
}

TEST(HasUtf16NulPattern, Table) {
    struct Case {
        const char* name;
        std::string_view bytes;
        bool expected;
    };
    const Case cases[] = {
        {"utf-16le ascii units", "<\0p\0"sv, true},
        {"utf-16le with an odd byte at the end", "<\0p\0>"sv, true},
        {"one stray NUL", "<p>\0x"sv, false},
        {"NULs at even places", "\0<\0p"sv, false},
        {"NUL after a lead byte", "\x82\0\x82\0"sv, false},
        {"mostly zero runs", "<\0p\0\0\0\0\0\0\0"sv, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(HasUtf16NulPattern(c.bytes), c.expected);
    }
}

TEST(Utf16Conversion, RoundTripsEveryCharacter) {
    // "<p>", U+3042, U+FEFF inside the text, U+1F600, a NUL unit, "\r\n"
    const std::string_view le = "<\0p\0>\0\x42\x30\xFF\xFE\x3D\xD8\x00\xDE\0\0\r\0\n\0"sv;
    const std::string_view utf8 = "<p>\xE3\x81\x82\xEF\xBB\xBF\xF0\x9F\x98\x80\0\r\n"sv;
    std::string out = "kept:";
    ASSERT_RESULT(Utf16ToUtf8(le, false, out), RESULT_OK);
    EXPECT_EQ(out, "kept:" + std::string(utf8));
    std::string back;
    ASSERT_RESULT(Utf8ToUtf16(utf8, false, back), RESULT_OK);
    EXPECT_EQ(back, le);
}

TEST(Utf16Conversion, RefusesWhatCannotBeConvertedAndLeavesOutputAlone) {
    struct Case {
        const char* name;
        std::string_view in;
        bool fromUtf16;
    };
    const Case cases[] = {
        {"lone high surrogate", "a\0\x3D\xD8z\0"sv, true},
        {"lone low surrogate", "a\0\x00\xDEz\0"sv, true},
        {"high surrogate at the end", "a\0\x3D\xD8"sv, true},
        {"odd trailing byte", "a\0b"sv, true},
        {"truncated utf-8", "a\xE3\x81"sv, false},
        {"utf-8 surrogate", "\xED\xA0\x80"sv, false},
        {"shift_jis", "\x82\xA0"sv, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string out = "before";
        EXPECT_RESULT(c.fromUtf16 ? Utf16ToUtf8(c.in, false, out) : Utf8ToUtf16(c.in, false, out),
                      RESULT_OUT_OF_MEMORY);
        EXPECT_EQ(out, "before");
    }
}

TEST(Cp932Conversion, FromUtf8AndBackOrRefused) {
    std::string out = "x";
    ASSERT_RESULT(Utf8ToCp932("\xE8\xA1\xA8\xE3\x82\xBD a\xEF\xBD\xB1", out), RESULT_OK);
    EXPECT_EQ(out, "x\x95\x5C\x83\x5C a\xB1");  // 表ソ and a half-width katakana
    std::string back;
    ASSERT_RESULT(Cp932ToUtf8(out.substr(1), back), RESULT_OK);
    EXPECT_EQ(back, "\xE8\xA1\xA8\xE3\x82\xBD a\xEF\xBD\xB1");
    for (std::string_view in : {"\xE2\x82\xAC"sv, "a\xE3\x81"sv, "\x82\xA0"sv}) {
        out = "before";
        EXPECT_RESULT(Utf8ToCp932(in, out), RESULT_OUT_OF_MEMORY);  // euro, cut, not UTF-8
        EXPECT_EQ(out, "before");
    }
}

}  // namespace
}  // namespace trimlet
