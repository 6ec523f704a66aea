// Runs "trimlet task create": the task file it writes, and what it refuses.

#include <gmock/gmock.h>

#include <filesystem>

#include "cli_runner.h"

namespace trimlet::test {
namespace {

using ::testing::HasSubstr;

class TaskCreateCommandTest : public ::testing::Test {
  protected:
    CliOutcome Create(std::vector<std::string> args) {
        args.insert(args.begin(), {"task", "create", "--profile", profile});
        return RunCliIn(dir, args, dir.File("site"));
    }
    TempDir dir;
    std::string profile =
        dir.Write("p.ini", "[Settings]\nVERSION=150\nMODE=44\nOUTPUT_FOLDER_NAME=min\n");
    std::string a = dir.Write("site/a.html", "<p>a</p>");
    std::string b = dir.Write("site/b.js", "var b;");
};

TEST_F(TaskCreateCommandTest, WritesAbsolutePathsWithTheProfilesOrTheGivenSettings) {
    const std::string both = a + "\r\n" + b + "\r\n";
    const struct {
        const char* name;
        std::vector<std::string> args;
        std::string lines;  // from the third line on
    } cases[] = {
        {"ProfileSettings", {"t.trh", "a.html", "./b.js"}, "44\r\nmin\r\n" + both},
        // A file named twice is kept once; ".." is kept, as a link before it decides its
        // meaning.
        {"EmptyFolderAndDuplicates",
         {"--output-folder= ", "--mode=0xFFFFFFFF", "t.trh", "a.html", b, a, "../site/a.html"},
         "-1\r\n\r\n" + both + dir.File("site") + "/../site/a.html\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CliOutcome outcome = Create(c.args);
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(ReadAll(dir.File("site/t.trh")),
                  "TrimletHTML TASK FILE\r\n1.50.00\r\n" + c.lines);
    }
}

TEST_F(TaskCreateCommandTest, RefusesWhatATaskFileCannotHold) {
    const struct {
        const char* name;
        std::vector<std::string> args;
        int status;
        const char* error;
    } cases[] = {
        {"LineBreakInPath", {"t.trh", a, "x\ny.html"}, 2, "line break"},
        {"CarriageReturnInPath", {"t.trh", "x\r.html"}, 2, "line break"},
        {"LineBreakInFolderName", {"--output-folder", "a\nb", "t.trh", a}, 2, "line break"},
        {"BadFolderCharacter", {"--output-folder", "a*b", "t.trh", a}, 2, "not allowed"},
        {"NoFile", {"t.trh"}, 2, "missing FILE"},
        {"MissingFile", {"t.trh", a, "gone.html"}, 1, "gone.html: RESULT_NOT_FOUND"},
        {"Folder", {"t.trh", "."}, 1, "RESULT_IS_FOLDER"},
        {"TaskFolderMissing", {"none/t.trh", a}, 1, "cannot write"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CliOutcome outcome = Create(c.args);
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_THAT(outcome.err, HasSubstr(c.error));
        EXPECT_FALSE(std::filesystem::exists(dir.File("site/t.trh")));
    }
    CliOutcome other = RunCliIn(dir, {"task", "list", "t.trh"});
    EXPECT_EQ(other.status, 2);
    EXPECT_THAT(other.err, HasSubstr("usage: trimlet task create"));
}

}  // namespace
}  // namespace trimlet::test
