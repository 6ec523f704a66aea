#include "text/text_loading.h"

#include <string>
#include <string_view>

#include "test_support.h"

namespace trimlet {
namespace {

using namespace std::string_literals;
using namespace std::string_view_literals;
using test::TempDir;

// "<p>あ</p>" in UTF-16LE, without a mark.
constexpr std::string_view kWideMarkup = "<\0p\0>\0\x42\x30<\0/\0p\0>\0"sv;

TEST(IsUnicodeText, Table) {
    struct Case {
        const char* name;
        std::string_view bytes;
        bool expected;
    };
    const Case cases[] = {
        // marks decide alone
        {"FF FE", "\xFF\xFE"sv, true},
        {"FE FF", "\xFE\xFF"sv, true},
        {"FF FE with odd text", "\xFF\xFEz"sv, true},
        // statistical
        {"utf-16le markup", kWideMarkup, true},
        {"utf-16le markup, odd length", kWideMarkup.substr(1), false},
        {"empty", ""sv, false},
        {"ascii", "<p>hello</p>"sv, false},
        {"cp932 with a NUL", "<p>\x82\xA0\0\x82\xA2</p>"sv, false},
        {"utf-8 with a NUL", "<p>\xE3\x81\x82\0</p>!"sv, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsUnicodeText(c.bytes), c.expected);
    }
}

TEST(DetectCharset, Table) {
    struct Case {
        const char* name;
        std::string_view bytes;
        Charset expected;
    };
    const Case cases[] = {
        {"empty", ""sv, Charset::Cp932},
        {"ascii", "<p>hello</p>"sv, Charset::Cp932},
        {"signature alone", "\xEF\xBB\xBF"sv, Charset::Utf8},
        {"signature before invalid bytes", "\xEF\xBB\xBF\x82\xA0"sv, Charset::Utf8},
        {"japanese utf-8", "<p>\xE6\x97\xA5\xE6\x9C\xAC</p>"sv, Charset::Utf8},
        {"four-byte character", "\xF0\x9F\x98\x80"sv, Charset::Utf8},
        {"utf-8 with a NUL", "\xE3\x81\x82\0"sv, Charset::Utf8},
        {"shift_jis", "<p>\x93\xFA\x96\x7B</p>"sv, Charset::Cp932},
        {"half-width katakana", "\xB1\xB2"sv, Charset::Cp932},
        {"truncated sequence", "ok\xE3\x81"sv, Charset::Cp932},
        {"overlong slash", "\xC0\xAF"sv, Charset::Cp932},
        {"overlong three bytes", "\xE0\x80\xAF"sv, Charset::Cp932},
        {"surrogate", "\xED\xA0\x80"sv, Charset::Cp932},
        {"above U+10FFFF", "\xF4\x90\x80\x80"sv, Charset::Cp932},
        {"one bad byte late", "\xE3\x81\x82 ... \xFF"sv, Charset::Cp932},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DetectCharset(c.bytes), c.expected);
    }
}

TEST(WideText, ConvertsWithAndWithoutMark) {
    std::string ansi;
    ASSERT_RESULT(ToAnsiText(kWideMarkup, false, ansi), RESULT_OK);
    EXPECT_EQ(ansi, "<p>\xE3\x81\x82</p>");

    std::string wide;
    ASSERT_RESULT(ToWideText(ansi, ByteOrderMark::None, wide), RESULT_OK);
    EXPECT_EQ(wide, kWideMarkup);
    ASSERT_RESULT(ToWideText(ansi, ByteOrderMark::LittleEndian, wide), RESULT_OK);
    EXPECT_EQ(wide, "\xFF\xFE" + std::string(kWideMarkup));
    ASSERT_RESULT(ToWideText(ansi, ByteOrderMark::BigEndian, wide), RESULT_OK);
    EXPECT_EQ(wide, "\xFE\xFF\0<\0p\0>\x30\x42\0<\0/\0p\0>"sv);
    ASSERT_RESULT(ToWideText("", ByteOrderMark::LittleEndian, wide), RESULT_OK);
    EXPECT_EQ(wide, "\xFF\xFE");
}

TEST(WideText, RefusesRatherThanReplacing) {
    std::string ansi = "stale";
    EXPECT_RESULT(ToAnsiText("a\0\x3D\xD8"sv, false, ansi), RESULT_OUT_OF_MEMORY);
    EXPECT_TRUE(ansi.empty());
    std::string wide = "stale";
    EXPECT_RESULT(ToWideText("\x82\xA0"sv, ByteOrderMark::LittleEndian, wide),
                  RESULT_OUT_OF_MEMORY);
    EXPECT_TRUE(wide.empty());
}

TEST(FileText, DecodesAndEncodesBackByteForByte) {
    struct Case {
        const char* name;
        std::string_view bytes;
        Charset charset;
        bool utf16;
        ByteOrderMark mark;
    };
    const std::string withMark = "\xFF\xFE" + std::string(kWideMarkup);
    const std::string bigEndian = "\xFE\xFF\0<\0p\0>\x30\x42"s;
    const Case cases[] = {
        {"utf-16 FF FE", withMark, Charset::Utf8, true, ByteOrderMark::LittleEndian},
        {"utf-16 FE FF", bigEndian, Charset::Utf8, true, ByteOrderMark::BigEndian},
        {"utf-16 no mark", kWideMarkup, Charset::Utf8, true, ByteOrderMark::None},
        {"mark only", "\xFF\xFE"sv, Charset::Utf8, true, ByteOrderMark::LittleEndian},
        {"shift_jis", "\x93\xFA\0\x96\x7B"sv, Charset::Cp932, false, ByteOrderMark::None},
        {"utf-8", "\xEF\xBB\xBF<p>"sv, Charset::Utf8, false, ByteOrderMark::None},
        {"empty", ""sv, Charset::Cp932, false, ByteOrderMark::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FileText fileText;
        ASSERT_RESULT(DecodeFileText(std::string(c.bytes), fileText), RESULT_OK);
        EXPECT_EQ(fileText.charset, c.charset);
        EXPECT_EQ(fileText.utf16, c.utf16);
        EXPECT_EQ(fileText.mark, c.mark);
        if (!c.utf16) {
            EXPECT_EQ(fileText.text, c.bytes);
        }
        std::string bytes;
        ASSERT_RESULT(EncodeFileText(fileText, fileText.text, bytes), RESULT_OK);
        EXPECT_EQ(bytes, c.bytes);
    }
}

TEST(FileText, MarkedUtf16ThatCannotBeConvertedFails) {
    for (std::string_view bytes : {"\xFF\xFE<\0\x3D\xD8>\0"sv, "\xFE\xFF\0<\0"sv}) {
        FileText fileText;
        EXPECT_RESULT(DecodeFileText(std::string(bytes), fileText), RESULT_OUT_OF_MEMORY);
    }
}

TEST(ReadFileStart, ReadsAllOrTheStart) {
    TempDir dir;
    std::string path = dir.Write("a.html", "0123456789");
    std::string bytes;
    ASSERT_RESULT(ReadFileStart(path, true, 0, bytes), RESULT_OK);
    EXPECT_EQ(bytes, "0123456789");
    ASSERT_RESULT(ReadFileStart(path, false, 4, bytes), RESULT_OK);
    EXPECT_EQ(bytes, "0123");
    ASSERT_RESULT(ReadFileStart(path, false, 1024, bytes), RESULT_OK);
    EXPECT_EQ(bytes, "0123456789");

    EXPECT_RESULT(ReadFileStart(path, false, 0, bytes), RESULT_INVALID_ARGUMENT);
    EXPECT_RESULT(ReadFileStart("", true, 0, bytes), RESULT_INVALID_ARGUMENT);
    EXPECT_RESULT(ReadFileStart(dir.File("missing"), true, 0, bytes), RESULT_ACCESS_ERROR);
    EXPECT_RESULT(ReadFileStart(dir.path().string(), true, 0, bytes), RESULT_ACCESS_ERROR);
    EXPECT_TRUE(bytes.empty());
}

TEST(LooksLikeNonText, Table) {
    std::string binary(1024, 'a');
    binary[700] = '\0';
    std::string wideLong;
    for (int i = 0; i < 511; ++i)
        wideLong += "<\0"sv;
    wideLong += "\x3D\xD8\x00\xDE"sv;  // a surrogate pair split by the 1024-byte start
    wideLong += "\x3D\xD8\x00\xDE"sv;
    struct Case {
        const char* name;
        std::string bytes;
        bool expected;
    };
    const Case cases[] = {
        {"text", "<p>hello</p>", false},
        {"empty", "", false},
        {"NUL in the start", binary, true},
        {"NUL after the start", std::string(1024, 'a') + '\0', false},
        {"NUL with FF FE", "\xFF\xFE" + binary.substr(2), false},
        {"utf-16le without mark", std::string(kWideMarkup), false},
        {"utf-16le cut inside a pair", wideLong, false},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = dir.Write("file", c.bytes);
        bool nonText = !c.expected;
        ASSERT_RESULT(LooksLikeNonText(path, 1024, nonText), RESULT_OK);
        EXPECT_EQ(nonText, c.expected);
    }
    bool nonText = true;
    EXPECT_RESULT(LooksLikeNonText(dir.File("missing"), 1024, nonText), RESULT_ACCESS_ERROR);
    EXPECT_FALSE(nonText);
}

}  // namespace
}  // namespace trimlet
