// Runs "trimlet task create": the task file it writes, and what it refuses.

#include <gmock/gmock.h>

#include <filesystem>

#include "cli_runner.h"

namespace trimlet::test {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

constexpr std::string_view kHeader = "TrimletHTML TASK FILE\r\n1.50.00\r\n";

class TaskCreateCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        profile = dir.Write("p.ini", "[Settings]\nVERSION=150\nMODE=44\nOUTPUT_FOLDER_NAME=min\n");
        a = dir.Write("site/a.html", "<p>a</p>");
        b = dir.Write("site/b.js", "var b;");
    }
    CliOutcome Create(std::vector<std::string> args, const std::string& folder = {}) {
        args.insert(args.begin(), {"task", "create", "--profile", profile});
        return RunCliIn(dir, args, folder);
    }

    TempDir dir;
    std::string profile, a, b;
};

TEST_F(TaskCreateCommandTest, WritesAbsolutePathsWithTheProfilesOrTheGivenSettings) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::string expected;  // after the first two lines
    };
    const std::string site = dir.File("site");
    const std::string both = a + "\r\n" + b + "\r\n";
    const Case cases[] = {
        {"ProfileSettings", {"t.trh", "a.html", "./b.js"}, "44\r\nmin\r\n" + both},
        {"GivenSettings",
         {"--mode", "0x0F81782C", "--output-folder", " ../out ", "t.trh", "a.html", "b.js"},
         "260143148\r\n../out\r\n" + both},
        // A file named twice is kept once; ".." stays as given, since a link before it
        // decides where it leads.
        {"EmptyFolderAndDuplicates",
         {"--output-folder=", "--mode=4294967295", "t.trh", "a.html", "b.js", "../site/a.html", a},
         "-1\r\n\r\n" + both + site + "/../site/a.html\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CliOutcome outcome = Create(c.args, site);
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(ReadAll(dir.File("site/t.trh")), std::string(kHeader) + c.expected);
    }
}

TEST_F(TaskCreateCommandTest, RefusesWhatATaskFileCannotHold) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int status;
        const char* error;
    };
    const Case cases[] = {
        {"LineBreakInPath", {"t.trh", a, "x\ny.html"}, 2, "line break"},
        {"CarriageReturnInPath", {"t.trh", "x\r.html"}, 2, "line break"},
        {"LineBreakInFolderName", {"--output-folder", "a\nb", "t.trh", a}, 2, "line break"},
        {"BadFolderCharacter", {"--output-folder", "a*b", "t.trh", a}, 2, "not allowed"},
        {"BadMode", {"--mode", "-3", "t.trh", a}, 2, "MODE"},
        {"NoFile", {"t.trh"}, 2, "missing FILE"},
        {"NoTask", {}, 2, "missing TASK.trh"},
        {"MissingFile", {"t.trh", a, dir.File("gone.html")}, 1, "gone.html: RESULT_NOT_FOUND"},
        {"Folder", {"t.trh", dir.File("site")}, 1, "RESULT_IS_FOLDER"},
        {"TaskFolderMissing", {dir.File("none/t.trh"), a}, 1, "cannot write"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CliOutcome outcome = Create(c.args);
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_THAT(outcome.err, HasSubstr(c.error));
        EXPECT_FALSE(fs::exists(dir.File("t.trh")));
    }
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"task"}, {"task", "list", "t.trh"}}) {
        CliOutcome outcome = RunCliIn(dir, args);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_THAT(outcome.err, HasSubstr("usage: trimlet task create"));
    }
}

}  // namespace
}  // namespace trimlet::test
