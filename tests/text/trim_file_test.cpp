#include "text/trim_file.h"

#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <string>
#include <string_view>
#include <vector>

#include "engine/trim_engine.h"
#include "platform/codepage.h"
#include "test_support.h"

namespace trimlet {
namespace {

using namespace std::string_literals;
using namespace std::string_view_literals;
using test::TempDir;

constexpr std::string_view kScripts = "JS:VBS";

// A text that every trimmer changes in its own way once the engine trims: HTML comments,
// script line and block comments, VBScript remarks, indentation.
constexpr std::string_view kMixed =
    "<p>\n    <!-- note -->  text  \n    // line comment\n    ' remark\n"
    "    x = 1 ; /* block */\n</p>\n";

std::string Expected(FileKind kind, std::string_view text, TrimMode mode, Charset charset) {
    std::string out;
    Result r = kind == FileKind::Html
                   ? TrimHtmlText(text, out, mode, charset)
                   : TrimScriptText(text, out, mode, kind == FileKind::VbScript, charset);
    EXPECT_RESULT(r, RESULT_OK);
    return out;
}

std::string Utf16(std::string_view utf8, bool bigEndian) {
    std::string out;
    EXPECT_RESULT(Utf8ToUtf16(utf8, bigEndian, out), RESULT_OK);
    return out;
}

struct Trimmed {
    Result result;
    std::string out = "untouched";
    std::uint64_t inputSize = 1, outputSize = 1;
};

Trimmed Trim(const std::string& path, TrimMode mode = kDefaultTrimMode) {
    Trimmed t;
    t.result = TrimFile(path, mode, kScripts, t.out, t.inputSize, t.outputSize);
    return t;
}

TEST(KindOfPath, Table) {
    struct Case {
        const char* path;
        std::string_view list;
        FileKind expected;
    };
    const Case cases[] = {
        // basic; see also the files trimmed below
        {"/site/page.HTM", kScripts, FileKind::Html},
        // whole entries only
        {"/site/a.jsx", kScripts, FileKind::Html},
        {"/site/a.js:vbs", kScripts, FileKind::Html},
        // no extension, or a dot only in a folder name
        {"/site/dir.v/file", kScripts, FileKind::Html},
        // other lists
        {"/site/app.ts", "JS:TS", FileKind::JavaScript},
        {"/site/x.vbs", "JS", FileKind::Html},
        {"/site/x.js", "", FileKind::Html},
        {"/site/x.", "JS::VBS", FileKind::JavaScript},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " in " + std::string(c.list));
        EXPECT_EQ(KindOfPath(c.path, c.list), c.expected);
    }
}

TEST(TrimFile, TrimsBytesInTheirOwnCharsetByTheKindOfTheirName) {
    TempDir dir;
    struct Case {
        const char* name;
        std::string_view bytes;
        Charset charset;
        FileKind kind;
    };
    const Case cases[] = {
        {"shift_jis.html", "<p>\x93\xFA\x96\x7B  \x81\x40 </p>\r\n"sv, Charset::Cp932,
         FileKind::Html},
        {"utf-8.html", "<p>\xE6\x97\xA5\xE6\x9C\xAC  \xE3\x80\x80 </p>\n"sv, Charset::Utf8,
         FileKind::Html},
        {"signature.html", "\xEF\xBB\xBF<p>  x  </p>\n"sv, Charset::Utf8, FileKind::Html},
        {"nul.html", "<p>a\0b</p>  \n  <!-- c -->\0\n"sv, Charset::Cp932, FileKind::Html},
        {"empty.html", ""sv, Charset::Cp932, FileKind::Html},
        {"lib.JS", kMixed, Charset::Cp932, FileKind::JavaScript},
        {"x.Vbs", kMixed, Charset::Cp932, FileKind::VbScript},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = dir.Write(c.name, c.bytes);
        Trimmed t = Trim(path);
        ASSERT_RESULT(t.result, RESULT_OK);
        EXPECT_EQ(t.out, Expected(c.kind, c.bytes, kDefaultTrimMode, c.charset));
        EXPECT_EQ(t.inputSize, c.bytes.size());
        EXPECT_EQ(t.outputSize, t.out.size());

        // With nothing to do the bytes come back exactly, NUL included.
        EXPECT_EQ(Trim(path, 0).out, c.bytes);
    }
}

// The user's beginnings are UTF-8 texts; a Shift_JIS file compares them in its own bytes.
TEST(TrimFile, KeptCommentsMatchInTheFilesOwnCharset) {
    TempDir dir;
    const std::vector<std::string> kept = {"日本", "keep", "\xE2\x82\xAC"};  // no CP932 euro
    struct Case {
        const char* name;
        std::string_view bytes;
        std::string_view expected;
    };
    const Case cases[] = {
        {"sjis.html", "<body><!-- \x93\xFA\x96\x7B --><!-- \x96\x7B --><!-- keep -->x"sv,
         "<body><!-- \x93\xFA\x96\x7B --><!-- keep -->x"sv},
        {"utf8.html", "<body><!-- \xE6\x97\xA5\xE6\x9C\xAC --><!-- \xE2\x82\xAC -->\xE2\x82\xAC"sv,
         "<body><!-- \xE6\x97\xA5\xE6\x9C\xAC --><!-- \xE2\x82\xAC -->\xE2\x82\xAC"sv},
        {"x.js", "a(); // keep \x93\xFA\n/* \x93\xFA\x96\x7B */ b(); // c\n"sv,
         "a();// keep \x93\xFA\n/* \x93\xFA\x96\x7B */b();\n"sv},
        {"x.vbs", "' keep\nx = 1 ' \x93\xFA\x96\x7B\n' go\n"sv,
         "' keep\nx=1 ' \x93\xFA\x96\x7B\n"sv},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.Write(c.name, c.bytes);
        Trimmed t;
        t.result = TrimFile(path, kDefaultTrimMode, kScripts, t.out, t.inputSize, t.outputSize,
                            nullptr, kept);
        ASSERT_RESULT(t.result, RESULT_OK);
        EXPECT_EQ(t.out, c.expected);
        EXPECT_EQ(Trim(path).out.find("keep"), std::string::npos) << "without the list";
    }
}

TEST(TrimFile, Utf16IsTrimmedAsUtf8AndWrittenBackWithItsMark) {
    TempDir dir;
    const std::string text =
        "<p>\n  \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80  </p>\r\n" + std::string(kMixed);
    const std::string trimmed = Expected(FileKind::Html, text, kDefaultTrimMode, Charset::Utf8);
    struct Case {
        const char* name;
        std::string mark;
        bool bigEndian;
    };
    const Case cases[] = {
        {"FF FE", "\xFF\xFE", false},
        {"FE FF", "\xFE\xFF", true},
        {"no mark", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string bytes = c.mark + Utf16(text, c.bigEndian);
        std::string path = dir.Write("page.html", bytes);
        Trimmed t = Trim(path);
        ASSERT_RESULT(t.result, RESULT_OK);
        EXPECT_EQ(t.out, c.mark + Utf16(trimmed, c.bigEndian));
        EXPECT_EQ(t.inputSize, bytes.size());
        EXPECT_EQ(t.outputSize, t.out.size());
        EXPECT_EQ(Trim(path, 0).out, bytes);
    }
}

TEST(TrimFile, ReportsFilesThatCannotBeTrimmed) {
    TempDir dir;
    ASSERT_EQ(mkdir(dir.File("folder.html").c_str(), 0755), 0);
    ASSERT_EQ(mkfifo(dir.File("pipe.html").c_str(), 0644), 0);
    std::string large = dir.Write("large.html", "");
    ASSERT_EQ(truncate(large.c_str(), off_t{1} << 32), 0);  // sparse: takes no space
    std::string locked = dir.Write("locked.html", "<p>x</p>");
    ASSERT_EQ(chmod(locked.c_str(), 0), 0);

    struct Case {
        const char* name;
        std::string path;
        Result expected;
        std::uint64_t inputSize;
    };
    std::vector<Case> cases = {
        {"no path", "", RESULT_INVALID_ARGUMENT, 0},
        {"missing", dir.File("missing.html"), RESULT_NOT_FOUND, 0},
        {"folder", dir.File("folder.html"), RESULT_IS_FOLDER, 0},
        {"fifo", dir.File("pipe.html"), RESULT_FILE_ERROR, 0},
        {"4 GiB", large, RESULT_TOO_LARGE, 0},
        {"read fails", "/proc/self/mem", RESULT_ACCESS_ERROR, 0},
        {"marked utf-16 with a lone surrogate", dir.Write("bad.html", "\xFF\xFE<\0p\0\x3D\xD8>\0"s),
         RESULT_INVALID_UTF16, 10},
        {"marked utf-16 of odd length", dir.Write("odd.html", "\xFF\xFE<\0p\0>"s),
         RESULT_INVALID_UTF16, 7},
        {"unmarked utf-16 with a lone surrogate",
         dir.Write("unsure.html", "<\0p\0>\0\x09\x4E\x3D\xD8\x0A\x4E<\0/\0p\0>\0\r\0\n\0"s),
         RESULT_UNCLEAR_UTF16, 24},
    };
    if (geteuid() != 0) {  // root can open any file
        cases.push_back({"cannot be opened", locked, RESULT_FILE_ERROR, 0});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Trimmed t = Trim(c.path);
        EXPECT_RESULT(t.result, c.expected);
        EXPECT_EQ(t.out, "untouched");
        EXPECT_EQ(t.inputSize, c.inputSize);
        EXPECT_EQ(t.outputSize, 0u);
    }
}

}  // namespace
}  // namespace trimlet
