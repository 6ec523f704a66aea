#include "task/task_file.h"

#include <unistd.h>

#include <string>
#include <vector>

#include "common/messages.h"
#include "platform/file_info.h"
#include "test_support.h"

namespace trimlet {
namespace {

using test::ReadAll;
using test::TempDir;

TEST(TaskLineReader, SplitsAtLfAndCrLf) {
    struct Case {
        const char* name;
        std::string_view bytes;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"Empty", "", {}},
        {"CrLfAndLf", "a\r\nb\nc\r\n", {"a", "b", "c"}},
        {"LastLineWithoutEnd", "a\r\nlast", {"a", "last"}},
        {"EmptyLines", "\r\n\nx", {"", "", "x"}},
        {"LoneCrStaysInLine", "a\rb\r\r\n", {"a\rb\r"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TaskLineReader reader(c.bytes);
        std::vector<std::string> lines;
        while (auto line = reader.Next())
            lines.emplace_back(*line);
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(reader.Next(), std::nullopt);
    }
}

TEST(TaskHeader, TrimModeLineIsADecimalOrHexadecimalNumberAndNothingElse) {
    const std::pair<std::string_view, std::optional<TrimMode>> cases[] = {
        // decimal, clamped at the ends of the signed range
        {"260143148", 260143148},
        {" \t +2092 ", 2092},
        {"-1", 0xFFFFFFFF},
        {"2147483648", 0x7FFFFFFF},
        {"-2147483649", 0x80000000},
        {"99999999999999999999", 0x7FFFFFFF},
        // hexadecimal, as written by hand
        {"0x0F81782C", 0x0F81782C},
        {"0XffffFFFF", 0xFFFFFFFF},
        {" 0x1 ", 1},
        // not a number: refused, never read as 0
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"44abc7", std::nullopt},
        {"-", std::nullopt},
        {"0x", std::nullopt},
        {"0x0F81782G", std::nullopt},
        {"0x100000000", std::nullopt},
        {"-0x1", std::nullopt},
        {"1 2", std::nullopt},
    };
    for (const auto& [line, mode] : cases) {
        SCOPED_TRACE(line);
        EXPECT_EQ(ParseTaskTrimMode(line), mode);
    }
    TaskLineReader lines("TrimletHTML TASK FILE\r\n1.50.00\r\n0x0F8G\r\nout\r\n");
    TaskHeader header;
    ASSERT_EQ(ReadTaskSignatureAndVersion(lines, header), TaskHeaderStatus::Ok);
    EXPECT_EQ(ReadTaskSettings(lines, header), TaskHeaderStatus::BadTrimModeLine);
    EXPECT_EQ(TaskHeaderMessageId(TaskHeaderStatus::BadTrimModeLine), MSG_TASK_READ_ERROR);
}

TEST(TaskPathLines, TrailingEmptyLinesGoAndRelativeLinesLieBesideTheTask) {
    const struct {
        const char* name;
        std::string_view bytes;
        std::vector<std::string_view> lines;
    } cases[] = {
        {"None", "", {}},
        {"TrailingEmpty", "/a\r\n\r\n\r\n", {"/a"}},
        {"EmptyInside", "/a\r\n\r\n/b\r\n", {"/a", "", "/b"}},
        {"OnlyEmpty", "\r\n\n", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TaskPathLines(TaskLineReader(c.bytes)), c.lines);
    }
    const struct {
        PathStyle style;
        std::string_view task, line, path;
    } paths[] = {
        {PathStyle::Posix, "/w/t.trh", "a.htm", "/w/a.htm"},
        {PathStyle::Posix, "/w/t.trh", "../s/a.htm", "/w/../s/a.htm"},
        {PathStyle::Posix, "/w/t.trh", "/abs/a.htm", "/abs/a.htm"},
        {PathStyle::Posix, "/t.trh", "a.htm", "/a.htm"},
        {PathStyle::Posix, "/w/t.trh", "", ""},
        {PathStyle::Windows, "C:\\w\\t.trh", "s\\a.htm", "C:\\w\\s\\a.htm"},
        {PathStyle::Windows, "C:\\w\\t.trh", "\\a.htm", "\\a.htm"},
        {PathStyle::Windows, "C:\\w\\t.trh", "D:\\a.htm", "D:\\a.htm"},
    };
    for (const auto& c : paths) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(TaskLinePath(c.style, c.task, c.line), c.path);
    }
}

TEST(TaskFileContent, ModeAsSignedDecimalAndRowPathsWithOneSeparator) {
    EXPECT_EQ(BuildTaskFileContent(0xFFFFFFFE, "", {}),
              "TrimletHTML TASK FILE\r\n1.50.00\r\n-2\r\n\r\n");
    EXPECT_EQ(TaskRowPath(PathStyle::Posix, "/", "a.htm"), "/a.htm");
    EXPECT_EQ(TaskRowPath(PathStyle::Posix, "/site//", "a.htm"), "/site/a.htm");
    EXPECT_EQ(TaskRowPath(PathStyle::Windows, "C:\\", "a.htm"), "C:\\a.htm");
    EXPECT_EQ(TaskRowPath(PathStyle::Windows, "C:\\site\\ \x81\x40", "a.htm"), "C:\\site\\a.htm");

    TempDir dir;
    const std::string path = dir.Write("task.trh", "old task\r\n");
    ASSERT_RESULT(SaveTaskFile(path, 7, "new", std::vector<std::string>{"/y/b"}), RESULT_OK);
    EXPECT_EQ(ReadAll(path), BuildTaskFileContent(7, "new", std::vector<std::string>{"/y/b"}));
}

TEST(WriteTaskFile, CreationFailuresAreFileErrors) {
    TempDir dir;
    const std::string readOnly = dir.Write("locked.trh", "kept");
    ASSERT_TRUE(SetReadOnly(readOnly, true));
    std::filesystem::create_directory(dir.File("folder.trh"));
    for (const std::string& path :
         {dir.File("missing/task.trh"), dir.File("folder.trh"), readOnly}) {
        SCOPED_TRACE(path);
        EXPECT_RESULT(WriteTaskFileContent(path, "x"), RESULT_FILE_ERROR);
    }
    EXPECT_EQ(ReadAll(readOnly), "kept");
    EXPECT_RESULT(SaveTaskFile("", 0, "", {}), RESULT_INVALID_ARGUMENT);

    if (geteuid() != 0) {  // root may write anywhere
        std::filesystem::create_directory(dir.File("closed"));
        std::filesystem::permissions(dir.File("closed"), std::filesystem::perms(0555));
        EXPECT_RESULT(WriteTaskFileContent(dir.File("closed/task.trh"), "x"), RESULT_FILE_ERROR);
    }
}

TEST(ReadTaskFile, DistinguishesOpenFromReadFailures) {
    TempDir dir;
    std::string bytes;
    ASSERT_RESULT(ReadTaskFileBytes(dir.Write("task.trh", "abc"), bytes), RESULT_OK);
    EXPECT_EQ(bytes, "abc");
    EXPECT_RESULT(ReadTaskFileBytes(dir.File("missing.trh"), bytes), RESULT_FILE_ERROR);
    EXPECT_RESULT(ReadTaskFileBytes(dir.path().string(), bytes), RESULT_FILE_ERROR);
    // Opens, but its first page is not mapped, so reading fails.
    EXPECT_RESULT(ReadTaskFileBytes("/proc/self/mem", bytes), RESULT_ACCESS_ERROR);
    EXPECT_EQ(bytes, "");
}

}  // namespace
}  // namespace trimlet
