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
        {"utf-8 with a NUL", "\xE3\x81\x82\0"sv, Charset::Utf8},
        {"shift_jis", "<p>\x93\xFA\x96\x7B</p>"sv, Charset::Cp932},
        {"truncated sequence", "ok\xE3\x81"sv, Charset::Cp932},
        {"overlong slash", "\xC0\xAF"sv, Charset::Cp932},
        {"one bad byte after a long ascii run", "\xE3\x81\x82 0123456789abcdef\xFF"sv,
         Charset::Cp932},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DetectCharset(c.bytes), c.expected);
    }
}

// UTF-16 texts with content are trimmed and written back in the TrimFile tests.
TEST(FileText, AMarkAloneComesBackAsItWas) {
    const std::string mark = "\xFF\xFE";
    FileText fileText;
    ASSERT_RESULT(DecodeFileText(mark, fileText), RESULT_OK);
    EXPECT_EQ(fileText.text, "");
    EXPECT_EQ(fileText.mark, ByteOrderMark::LittleEndian);
    std::string bytes;
    ASSERT_RESULT(EncodeFileText(fileText, fileText.text, bytes), RESULT_OK);
    EXPECT_EQ(bytes, mark);
}

TEST(FileText, MarkedUtf16ThatIsNotUtf16IsRefusedAsSuch) {
    struct Case {
        const char* name;
        std::string_view bytes;
    };
    const Case cases[] = {
        {"lone high surrogate", "\xFF\xFE<\0\x3D\xD8>\0"sv},
        {"lone low surrogate, big-endian", "\xFE\xFF\0<\xDE\x00\0>"sv},
        {"high surrogate last", "\xFF\xFE<\0\x3D\xD8"sv},
        {"odd length", "\xFE\xFF\0<\0"sv},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FileText fileText;
        EXPECT_RESULT(DecodeFileText(std::string(c.bytes), fileText), RESULT_INVALID_UTF16);
    }
    std::string wide = "stale";
    EXPECT_RESULT(ToWideText("\x82\xA0"sv, ByteOrderMark::LittleEndian, wide),
                  RESULT_OUT_OF_MEMORY);
    EXPECT_TRUE(wide.empty());
}

// Japanese prose in UTF-16LE without a mark, and byte texts with NUL bytes in them.
TEST(FileText, UnmarkedUtf16IsTakenByItsUnitsAndBrokenUtf16IsRefused) {
    std::string prose;  // 三上さんは, ten times: no zero high byte among them
    for (int i = 0; i < 10; ++i)
        prose += "\x09\x4E\x0A\x4E\x55\x30\x93\x30\x6F\x30"s;
    const std::string page = "<\0p\0>\0"s + prose + "<\0/\0p\0>\0\r\0\n\0"s;
    struct Case {
        const char* name;
        std::string bytes;
        Result result;
        bool utf16;
        Charset charset;
    };
    const Case cases[] = {
        // UTF-16LE
        {"prose between tags", page, RESULT_OK, true, Charset::Utf8},
        {"prose and line breaks only", prose + "\r\0\n\0"s, RESULT_OK, true, Charset::Utf8},
        // NUL bytes where UTF-16 puts them, but not UTF-16
        {"lone surrogate in prose", page.substr(0, 6) + "\x3D\xD8"s + page.substr(6),
         RESULT_UNCLEAR_UTF16, false, Charset::Cp932},
        {"odd length", page + "x", RESULT_UNCLEAR_UTF16, false, Charset::Cp932},
        // stray NUL bytes: read as before
        {"shift_jis with a NUL after <", "\x82\xA0<\0\x82\xA2\x82\xA4<p>\r\n"s, RESULT_OK, false,
         Charset::Cp932},
        {"utf-8 with NULs after < and >", "<\0p>\0\xE3\x81\x82</p>\r\n"s, RESULT_OK, false,
         Charset::Utf8},
        {"binary", "\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\0\x10"s, RESULT_OK, false, Charset::Cp932},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FileText fileText;
        ASSERT_RESULT(DecodeFileText(c.bytes, fileText), c.result);
        if (c.result != RESULT_OK) continue;
        EXPECT_EQ(fileText.utf16, c.utf16);
        EXPECT_EQ(fileText.charset, c.charset);
        if (!c.utf16) {
            EXPECT_EQ(fileText.text, c.bytes);
        }
    }
}

std::string SwapUnits(std::string bytes) {
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        std::swap(bytes[i], bytes[i + 1]);
    return bytes;
}

// Both byte orders without a mark, and units whose bytes all lie below 0x80.
TEST(FileText, UnmarkedUtf16IsFoundInEitherByteOrder) {
    // "<p>三上さんは  テスト</p>" and "<p>ぁあぃいぅ</p>\r\n" and Cyrillic "Привет".
    const std::string prose =
        "<\0p\0>\0\x09\x4E\x0A\x4E\x55\x30\x93\x30\x6F\x30 \0 \0\xC6\x30\xB9\x30\xC8\x30"
        "<\0/\0p\0>\0"s;
    const std::string hiragana =
        "<\0p\0>\0\x41\x30\x42\x30\x43\x30\x44\x30\x45\x30<\0/\0p\0>\0\r\0\n\0"s;
    const std::string cyrillic =
        "<\0b\0>\0\x1F\x04\x40\x04\x38\x04\x32\x04\x35\x04\x42\x04"
        "<\0/\0b\0>\0"s;
    struct Case {
        const char* name;
        std::string bytes;
        ByteOrderMark mark;
        std::string_view text;
    };
    const Case cases[] = {
        {"little-endian prose", prose, ByteOrderMark::None, "<p>三上さんは  テスト</p>"},
        {"big-endian prose", SwapUnits(prose), ByteOrderMark::NoneBigEndian,
         "<p>三上さんは  テスト</p>"},
        {"hiragana, bytes below 0x80", hiragana, ByteOrderMark::None, "<p>ぁあぃいぅ</p>\r\n"},
        {"hiragana, big-endian", SwapUnits(hiragana), ByteOrderMark::NoneBigEndian,
         "<p>ぁあぃいぅ</p>\r\n"},
        {"cyrillic", cyrillic, ByteOrderMark::None, "<b>Привет</b>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FileText fileText;
        ASSERT_RESULT(DecodeFileText(c.bytes, fileText), RESULT_OK);
        EXPECT_TRUE(fileText.utf16);
        EXPECT_EQ(fileText.mark, c.mark);
        EXPECT_EQ(fileText.text, c.text);
        std::string bytes;
        ASSERT_RESULT(EncodeFileText(fileText, fileText.text, bytes), RESULT_OK);
        EXPECT_EQ(bytes, c.bytes) << "written back in its own byte order, without a mark";
    }
    // A lone surrogate in big-endian units: refused, never trimmed as bytes.
    FileText fileText;
    EXPECT_RESULT(
        DecodeFileText(SwapUnits(prose.substr(0, 6) + "\x3D\xD8"s + prose.substr(6)), fileText),
        RESULT_UNCLEAR_UTF16);
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
