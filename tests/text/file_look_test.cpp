// One read of a file must tell what the separate looks tell: the text test, the find record
// and the trim, and the same failure codes.

#include "text/file_look.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/codepage.h"
#include "test_support.h"
#include "text/text_loading.h"
#include "text/trim_file.h"

namespace trimlet {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using test::TempDir;

constexpr std::string_view kScripts = "JS:VBS";
constexpr std::size_t kTestBytes = 1024;

std::string Wide(std::string_view utf8, std::size_t repeat) {
    std::string text;
    for (std::size_t i = 0; i < repeat; ++i)
        text += utf8;
    std::string wide;
    EXPECT_RESULT(Utf8ToUtf16(text, false, wide), RESULT_OK);
    return wide;
}

// Makes the file a case names and returns its path.
using Maker = std::string (*)(const TempDir&);

TEST(LookAtFile, AgreesWithTheTextTestTheRecordAndTheTrim) {
    struct Case {
        const char* name;
        Maker make;
    };
    const Case cases[] = {
        {"page", [](const TempDir& d) { return d.Write("a.htm", "<p>   a  </p>\n\n<!-- x -->"); }},
        {"script", [](const TempDir& d) { return d.Write("b.js", "var a = 1 ;  // n\n"); }},
        {"empty", [](const TempDir& d) { return d.Write("e.htm", ""); }},
        {"binary", [](const TempDir& d) { return d.Write("g.htm", "GIF89a\0\0\x01\x02"s); }},
        {"NUL just past the tested bytes",
         [](const TempDir& d) { return d.Write("late.htm", std::string(1024, 'a') + "\0\0"s); }},
        {"NUL as the last tested byte",
         [](const TempDir& d) { return d.Write("edge.htm", std::string(1023, 'a') + "\0b"s); }},
        {"UTF-16 without mark, longer than the tested bytes",
         [](const TempDir& d) { return d.Write("w1.htm", Wide("<p>季節</p>\n", 200)); }},
        {"UTF-16 without mark, short",
         [](const TempDir& d) { return d.Write("w2.htm", Wide("<p>季節</p>\n", 3)); }},
        {"UTF-16 with mark",
         [](const TempDir& d) { return d.Write("w3.htm", "\xFF\xFE" + Wide("<b> x </b>", 2)); }},
        {"UTF-16 mark, odd length",
         [](const TempDir& d) { return d.Write("w4.htm", "\xFF\xFE<\0p\0>"s); }},
        {"link to a page",
         [](const TempDir& d) {
             const std::string target = d.Write("t.htm", "<p>  t </p>");
             fs::create_symlink(target, d.path() / "link.htm");
             return d.File("link.htm");
         }},
        {"missing", [](const TempDir& d) { return d.File("missing.htm"); }},
        {"below a file", [](const TempDir& d) { return d.Write("f.htm", "x") + "/inner.htm"; }},
        {"dangling link",
         [](const TempDir& d) {
             fs::create_symlink(d.File("nowhere.htm"), d.path() / "dangling.htm");
             return d.File("dangling.htm");
         }},
        {"folder",
         [](const TempDir& d) {
             fs::create_directory(d.path() / "folder.htm");
             return d.File("folder.htm");
         }},
        {"fifo",
         [](const TempDir& d) {
             EXPECT_EQ(::mkfifo(d.File("pipe.htm").c_str(), 0644), 0);
             return d.File("pipe.htm");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string path = c.make(dir);

        FindRecord record;
        const bool found = GetFindRecord(path, record) == RESULT_OK;
        FileLook look;
        LookAtFile(path, kDefaultTrimMode, kScripts, kTestBytes, true, look);
        bool nonText = false;
        const Result tested = LooksLikeNonText(path, kTestBytes, nonText);
        std::string bytes;
        std::uint64_t inputSize = 0, outputSize = 0;
        const Result trimmed =
            TrimFile(path, kDefaultTrimMode, kScripts, bytes, inputSize, outputSize);

        EXPECT_EQ(look.nonText, tested == RESULT_OK && nonText);
        if (look.nonText) {
            EXPECT_RESULT(look.result, RESULT_OK);
            EXPECT_TRUE(look.read);
            EXPECT_EQ(look.outputSize, 0u);
        } else {
            EXPECT_RESULT(look.result, trimmed);
            EXPECT_EQ(look.inputSize, inputSize);
            EXPECT_EQ(look.outputSize, outputSize);
            EXPECT_EQ(look.bytes, trimmed == RESULT_OK ? bytes : "");
            // Read means opened as a regular file: whatever the trim then made of it.
            EXPECT_EQ(look.read, trimmed == RESULT_OK || trimmed == RESULT_INVALID_UTF16 ||
                                     trimmed == RESULT_UNCLEAR_UTF16);
        }
        if (!look.read) continue;
        ASSERT_TRUE(found);
        EXPECT_EQ(look.record.attributes, record.attributes);
        EXPECT_EQ(look.record.lastWriteTime, record.lastWriteTime);
        EXPECT_EQ(look.record.creationTime, record.creationTime);
        EXPECT_EQ(look.record.size, record.size);
        EXPECT_EQ(look.record.name, record.name);
        EXPECT_EQ(look.record.identity, record.identity);
        FileReadStamp now;
        ASSERT_TRUE(CurrentReadStamp(path, now));
        EXPECT_TRUE(look.stamp == now);
    }
}

TEST(LookAtFile, WithoutTheTextTestEveryReadableFileIsTrimmedAndBytesAreDroppedOnRequest) {
    TempDir dir;
    const std::string path = dir.Write("g.htm", "GIF89a\0\0 x  y"s);
    FileLook look;
    LookAtFile(path, kDefaultTrimMode, kScripts, 0, false, look);
    std::string bytes;
    std::uint64_t inputSize = 0, outputSize = 0;
    ASSERT_RESULT(TrimFile(path, kDefaultTrimMode, kScripts, bytes, inputSize, outputSize),
                  RESULT_OK);
    EXPECT_FALSE(look.nonText);
    EXPECT_RESULT(look.result, RESULT_OK);
    EXPECT_EQ(look.outputSize, outputSize);
    EXPECT_TRUE(look.bytes.empty());
}

}  // namespace
}  // namespace trimlet
