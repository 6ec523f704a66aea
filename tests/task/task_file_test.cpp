#include "task/task_file.h"

#include <unistd.h>

#include <string>
#include <vector>

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

TEST(TaskHeader, TrimModeLineIsASigned32BitNumberClampedAtItsEnds) {
    const std::pair<std::string_view, TrimMode> cases[] = {
        {"260143148", 260143148},    {" \t +2092", 2092}, {"44abc7", 44},
        {"-1", 0xFFFFFFFF},          {"abc", 0},          {"2147483648", 0x7FFFFFFF},
        {"-2147483649", 0x80000000},
    };
    for (const auto& [line, mode] : cases) {
        SCOPED_TRACE(line);
        EXPECT_EQ(ParseTaskTrimMode(line), mode);
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
