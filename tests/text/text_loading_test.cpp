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

TEST(DetectCharset, Table) {
    struct Case {
        const char* name;
        std::string_view bytes;
        Charset expected;
    };
    const Case cases[] = {
        {"ascii", "<p>hello</p>"sv, Charset::Cp932},
        {"signature before invalid bytes", "\xEF\xBB\xBF\x82\xA0"sv, Charset::Utf8},
        {"japanese utf-8", "<p>\xE6\x97\xA5\xE6\x9C\xAC</p>"sv, Charset::Utf8},
        {"four-byte character after ascii", "0123456789\xF0\x9F\x98\x80"sv, Charset::Utf8},
        {"utf-8 with a NUL", "\xE3\x81\x82\0"sv, Charset::Utf8},
        {"shift_jis", "<p>\x93\xFA\x96\x7B</p>"sv, Charset::Cp932},
        {"truncated sequence", "ok\xE3\x81"sv, Charset::Cp932},
        {"overlong slash", "\xC0\xAF"sv, Charset::Cp932},
        {"overlong three bytes", "\xE0\x80\xAF"sv, Charset::Cp932},
        {"surrogate", "\xED\xA0\x80"sv, Charset::Cp932},
        {"above U+10FFFF", "\xF4\x90\x80\x80"sv, Charset::Cp932},
        {"one bad byte after a long ascii run", "\xE3\x81\x82 0123456789abcdef\xFF"sv,
         Charset::Cp932},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DetectCharset(c.bytes), c.expected);
    }
}

// UTF-16 only: the other charsets pass through as the TrimFile tests show.
TEST(FileText, Utf16DecodesToUtf8AndEncodesBackByteForByte) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string_view text;  // what the engine sees
        ByteOrderMark mark;
    };
    const std::string_view utf8 = "<p>\xE3\x81\x82</p>"sv;
    const Case cases[] = {
        {"FE FF", "\xFE\xFF\0<\0p\0>\x30\x42\0<\0/\0p\0>"s, utf8, ByteOrderMark::BigEndian},
        {"no mark", std::string(kWideMarkup), utf8, ByteOrderMark::None},
        {"mark only", "\xFF\xFE", "", ByteOrderMark::LittleEndian},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FileText fileText;
        ASSERT_RESULT(DecodeFileText(c.bytes, fileText), RESULT_OK);
        EXPECT_EQ(fileText.text, c.text);
        EXPECT_EQ(fileText.charset, Charset::Utf8);
        EXPECT_EQ(fileText.mark, c.mark);
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
    std::string wide = "stale";
    EXPECT_RESULT(ToWideText("\x82\xA0"sv, ByteOrderMark::LittleEndian, wide),
                  RESULT_OUT_OF_MEMORY);
    EXPECT_TRUE(wide.empty());
}

TEST(LooksLikeNonText, Table) {
    std::string binary(1024, 'a');
    binary[700] = '\0';
    std::string wideLong;
    for (int i = 0; i < 511; ++i)
        wideLong += "<\0"sv;
    wideLong += "\x3D\xD8\x00\xDE<\0"sv;  // a surrogate pair split by the 1024-byte start
    struct Case {
        const char* name;
        std::string bytes;
        bool expected;
    };
    const Case cases[] = {
        {"text", "<p>hello</p>", false},
        {"NUL in the start", binary, true},
        {"NUL after the start", std::string(1024, 'a') + '\0', false},
        {"NUL with FF FE", "\xFF\xFE" + binary.substr(2), false},
        {"utf-16le without mark", std::string(kWideMarkup), false},
        {"utf-16le cut inside a pair", wideLong, false},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool nonText = !c.expected;
        ASSERT_RESULT(LooksLikeNonText(dir.Write("file", c.bytes), 1024, nonText), RESULT_OK);
        EXPECT_EQ(nonText, c.expected);
    }
    bool nonText = true;
    for (const std::string& path : {dir.File("missing"), dir.path().string()}) {
        SCOPED_TRACE(path);
        EXPECT_RESULT(LooksLikeNonText(path, 1024, nonText), RESULT_ACCESS_ERROR);
        EXPECT_FALSE(nonText);
        nonText = true;
    }
}

}  // namespace
}  // namespace trimlet
