// Runs "trimlet task create" and "trimlet run" in a temporary folder: the task file written,
// what it refuses, the run's summary, the safe answers without a terminal, --overwrite, and
// the exit status.

#include <errno.h>
#include <gmock/gmock.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "batch/format.h"
#include "cli_runner.h"
#include "common/messages.h"
#include "platform/system_error.h"

namespace trimlet::test {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

constexpr std::string_view kPage = "<p>  a  </p>\n\n\n<!-- note -->\n";
constexpr std::string_view kScript = "var a = 1;   // note\n";
constexpr TrimMode kProfileMode = 44;

// The summary as the run prints it.
std::string Summary(std::uint32_t succeeded, std::uint32_t skipped, std::uint64_t source,
                    std::uint64_t trimmed) {
    const SummaryTexts t = FormatSummary(ResultSummary{succeeded, skipped, source, trimmed});
    std::string summary = std::string(TXT_SUMMARY_HEADING.Get()) + "\n";
    summary += TXT_SUMMARY_SUCCEEDED.Get() + t.successText + "\n";
    summary += TXT_SUMMARY_SKIPPED.Get() + t.skipText + " " + TXT_SUMMARY_SKIPPED_NOTE.Get() + "\n";
    summary += TXT_SUMMARY_SOURCE_TOTAL.Get() + t.sourceText + "\n";
    summary += TXT_SUMMARY_TRIMMED_TOTAL.Get() + t.trimmedText + "\n";
    summary += TXT_SUMMARY_RATE.Get() + t.rateText + "\n";
    return summary;
}

class TaskAndRunTest : public ::testing::Test {
  protected:
    // "trimlet COMMAND... --profile PROFILE ARGS..." in the folder site/.
    CliOutcome Cli(std::vector<std::string> command, const std::vector<std::string>& args) {
        command.insert(command.end(), {"--profile", profile});
        command.insert(command.end(), args.begin(), args.end());
        return RunCli(dir, command, {.folder = dir.File("site")});
    }
    CliOutcome Create(const std::vector<std::string>& args) {
        return Cli({"task", "create"}, args);
    }
    CliOutcome Run(const std::vector<std::string>& args) { return Cli({"run"}, args); }

    TempDir dir;
    std::string profile = dir.Write(
        "p.ini",
        "[Settings]\nVERSION=150\nMODE=44\nOUTPUT_FOLDER_NAME=min\nFILE_OVERWRITE_METHOD=1\n");
    std::string page = dir.Write("site/index.html", kPage);
    std::string script = dir.Write("site/menu.js", kScript);
    std::string task = dir.File("site/t.trh");
};

TEST_F(TaskAndRunTest, CreateWritesAbsolutePathsWithTheProfilesOrTheGivenSettings) {
    const std::string both = page + "\r\n" + script + "\r\n";
    const struct {
        const char* name;
        std::vector<std::string> args;
        std::string lines;  // from the third line on
    } cases[] = {
        {"ProfileSettings", {"t.trh", "index.html", "./menu.js"}, "44\r\nmin\r\n" + both},
        // A file named twice is kept once; ".." is kept, as a link before it decides its
        // meaning.
        {"EmptyFolderAndDuplicates",
         {"--replace", "--output-folder= ", "--mode=0xFFFFFFFF", "t.trh", "index.html", script,
          page, "../site/index.html"},
         "-1\r\n\r\n" + both + dir.File("site") + "/../site/index.html\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CliOutcome outcome = Create(c.args);
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(ReadAll(task), "TrimletHTML TASK FILE\r\n1.50.00\r\n" + c.lines);
    }
}

TEST_F(TaskAndRunTest, CreateRefusesWhatATaskFileCannotHold) {
    const struct {
        const char* name;
        std::vector<std::string> args;
        int status;
        const char* error;
    } cases[] = {
        {"LineBreakInPath", {"t.trh", page, "x\ny.html"}, 2, "line break"},
        {"CarriageReturnInPath", {"t.trh", "x\r.html"}, 2, "line break"},
        {"LineBreakInFolderName", {"--output-folder", "a\nb", "t.trh", page}, 2, "line break"},
        {"BadFolderCharacter", {"--output-folder", "a*b", "t.trh", page}, 2, "not allowed"},
        {"NoFile", {"t.trh"}, 2, "missing FILE"},
        {"MissingFile", {"t.trh", page, "gone.html"}, 1, "gone.html: no such file"},
        {"Folder", {"t.trh", "."}, 1, "is a folder"},
        {"NotText", {"t.trh", page, "image.png"}, 1, "image.png: does not look like a text file"},
        {"Device", {"t.trh", "/dev/zero"}, 1, "/dev/zero: does not look like a text file"},
        {"TaskFolderMissing", {"none/t.trh", page}, 1, "cannot write"},
    };
    dir.Write("site/image.png", std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CliOutcome outcome = Create(c.args);
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_THAT(outcome.err, HasSubstr(c.error));
        EXPECT_THAT(outcome.err, Not(HasSubstr("RESULT_")));
        EXPECT_FALSE(std::filesystem::exists(task));
    }
    const CliOutcome forced = Create({"--force", "t.trh", "image.png"});
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_THAT(ReadAll(task), HasSubstr(dir.File("site/image.png") + "\r\n"));
    const CliOutcome other = Cli({"task", "list"}, {"t.trh"});
    EXPECT_EQ(other.status, 2);
    EXPECT_THAT(other.err, HasSubstr("usage: trimlet task create"));
}

// A forgotten task name must not turn a page into a task file.
TEST_F(TaskAndRunTest, CreateReplacesOnlyATaskFileThatIsNoneOfItsFiles) {
    const std::string other = dir.Write("site/other.trh", "TrimletHTML TASK FILE\r\n1.50.00\r\n");
    const struct {
        const char* name;
        std::vector<std::string> args;
        int status;
        const char* error;
        std::string replaced;  // the file that must keep its bytes, or gets a task
    } cases[] = {
        {"PageAsTask", {"index.html", "menu.js"}, 1, "is not a task file", page},
        {"TaskListsItself",
         {"other.trh", "index.html", "./other.trh"},
         1,
         "is also one of the files to list",
         other},
        {"TaskFileReplaced", {"other.trh", "index.html"}, 0, "", other},
        {"NoExtensionWarned",
         {"list", "index.html"},
         0,
         "warning: the task file name does not end in .trh",
         dir.File("site/list")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string before = ReadAll(c.replaced);
        const CliOutcome outcome = Create(c.args);
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_THAT(outcome.err, HasSubstr(c.error));
        if (c.status == 0) {
            EXPECT_THAT(ReadAll(c.replaced), HasSubstr(page + "\r\n"));
        } else {
            EXPECT_EQ(ReadAll(c.replaced), before);
        }
    }
    EXPECT_EQ(ReadAll(page), kPage);
}

// An empty path line names no file (empty lines at the end name nothing); the summary that
// cannot be written is a failure.
TEST_F(TaskAndRunTest, RunTellsAnEmptyLineAndAFailedSummary) {
    const std::string header = "TrimletHTML TASK FILE\r\n1.50.00\r\n0\r\nout\r\n";
    const std::string taskPath = dir.Write("t.trh", header + "\r\n" + page + "\r\n\r\n\n");
    const CliOutcome emptyLine = Run({"--yes", taskPath});
    EXPECT_EQ(emptyLine.status, 1);
    EXPECT_THAT(emptyLine.err, HasSubstr(FormatMessage(MSG_FILE_NOT_FOUND, "")));
    EXPECT_EQ(emptyLine.out, Summary(1, 1, kPage.size(), Trimmed(page, 0).size()));

    const std::string good = dir.Write("good.trh", header + page + "\r\n");
    const CliOutcome full =
        RunCli(dir, {"run", "--profile", profile, "--yes", good}, {.standardOutput = "/dev/full"});
    EXPECT_EQ(full.status, 1);
    EXPECT_THAT(full.err, HasSubstr("cannot write standard output"));
    EXPECT_THAT(full.err, HasSubstr(SystemErrorText(ENOSPC, Language::English)));
}

TEST_F(TaskAndRunTest, CreatedTaskRunsThenExistingOutputsTakeTheSafeAnswer) {
    const CliOutcome created = Create({"t.trh", "index.html", script});
    ASSERT_EQ(created.status, 0) << created.err;
    const std::string profileBefore = ReadAll(profile);

    const CliOutcome run = Run({"t.trh"});
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string trimmedPage = Trimmed(page, kProfileMode);
    const std::string trimmedScript = Trimmed(script, kProfileMode);
    const std::string outPage = dir.File("site/min/index.html");
    EXPECT_EQ(ReadAll(outPage), trimmedPage);
    EXPECT_EQ(ReadAll(dir.File("site/min/menu.js")), trimmedScript);
    EXPECT_EQ(run.out, Summary(2, 0, kPage.size() + kScript.size(),
                               trimmedPage.size() + trimmedScript.size()));
    EXPECT_EQ(run.err, "");                      // the missing folder is made without a question
    EXPECT_EQ(ReadAll(profile), profileBefore);  // read, never written

    // No terminal: the preselected choice (skip) for every file; a skip is no failure.
    dir.Write("site/min/index.html", "old");
    const CliOutcome skipped = Run({"t.trh"});
    EXPECT_EQ(skipped.status, 0) << skipped.err;
    EXPECT_EQ(skipped.out, Summary(0, 2, 0, 0));
    EXPECT_THAT(skipped.err, HasSubstr(std::string("(answer: ") + TXT_OUTPUT_EXISTS_SKIP.Get() +
                                       ", " + TXT_OUTPUT_EXISTS_FOR_ALL.Get() + ")"));
    EXPECT_EQ(ReadAll(outPage), "old");

    const CliOutcome overwritten = Run({"--overwrite=all", "t.trh"});
    EXPECT_EQ(overwritten.status, 0) << overwritten.err;
    EXPECT_EQ(ReadAll(outPage), trimmedPage);
    EXPECT_EQ(ReadAll(profile), profileBefore);
}

// The summary and the messages of a run speak the locale's language; the command line's
// own words stay English.
TEST_F(TaskAndRunTest, RunSpeaksTheLanguageOfTheLocale) {
    const std::string gone = dir.File("gone.html");
    const std::string taskPath =
        dir.Write("t.trh", "TrimletHTML TASK FILE\r\n1.50.00\r\n0\r\nout\r\n" + gone + "\r\n" +
                               page + "\r\n");
    const struct {
        const char* name;
        std::string environment;
        Language language;
        const char* notFound;  // the reason line of the missing file's message
    } cases[] = {
        {"C.UTF-8", "LANG=C.UTF-8", Language::English, "The file above was not found."},
        {"Japanese", "LANG=ja_JP.UTF-8", Language::Japanese, "上記ファイルは見つかりません。"},
        {"LC_ALL over LANG", "LANG=ja_JP.UTF-8 LC_ALL=C", Language::English,
         "The file above was not found."},
        {"override", "LANG=C.UTF-8 TRIMLET_LANG=ja", Language::Japanese,
         "上記ファイルは見つかりません。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(dir.File("site/out"));
        const CliOutcome outcome = RunCli(
            dir, {"run", "--profile", profile, "--yes", taskPath},
            {.environment = "TRIMLET_LANG= LC_ALL= LC_MESSAGES= LANGUAGE= " + c.environment});
        EXPECT_EQ(outcome.status, 1);
        EXPECT_THAT(outcome.err, HasSubstr(c.notFound));
        EXPECT_THAT(outcome.err, HasSubstr(gone));
        ScopedLanguage language(c.language);
        EXPECT_EQ(outcome.out, Summary(1, 1, kPage.size(), Trimmed(page, 0).size()));
    }
}

TEST_F(TaskAndRunTest, RunFailuresExitWithOneBadUsageWithTwo) {
    const std::string header = "TrimletHTML TASK FILE\r\n1.50.00\r\n0\r\nout\r\n";
    const std::string gone = dir.File("gone.html");
    const struct {
        const char* name;
        std::string bytes;
        std::string message;  // its first line is shown on standard error
        bool summary;
    } cases[] = {
        {"MissingFileSkipped", header + gone + "\r\n" + page + "\r\n",
         FormatMessage(MSG_FILE_NOT_FOUND, gone), true},
        {"NotATaskFile", "TrimletHTML TASK FILE \r\n", FormatMessage(MSG_NOT_TASK_FILE), false},
        {"NewerVersionDeclined", "TrimletHTML TASK FILE\r\n1.60.00\r\n0\r\nout\r\n",
         FormatMessage(MSG_NEWER_TASK_VERSION, "1.60.00"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CliOutcome outcome = Run({"--yes", dir.Write("t.trh", c.bytes)});
        EXPECT_EQ(outcome.status, 1);
        EXPECT_THAT(outcome.err, HasSubstr(c.message.substr(0, c.message.find('\n'))));
        EXPECT_EQ(outcome.out.empty(), !c.summary);
    }
    for (const std::vector<std::string>& args : {std::vector<std::string>{},
                                                 {"a.trh", "b.trh"},
                                                 {"--overwrite=maybe", "a.trh"},
                                                 {"a.trh", "--overwrite"},
                                                 {"--force", "a.trh"}}) {
        const CliOutcome outcome = Run(args);
        EXPECT_EQ(outcome.status, 2) << outcome.err;
        EXPECT_THAT(outcome.err, HasSubstr("usage: trimlet run"));
    }
}

}  // namespace
}  // namespace trimlet::test

namespace trimlet::test {
namespace {

bool HasTemporaryFile(const std::filesystem::path& folder) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().filename().string().find(".tmp-") != std::string::npos) return true;
    }
    return false;
}

TEST(RunInterrupted, CtrlCRemovesTheTemporaryFilesAndEndsAsTheSignalWould) {
    TempDir dir;
    std::string lines = "TrimletHTML TASK FILE\r\n1.50.00\r\n44\r\n\r\n";
    std::vector<std::string> pages, before, after;
    for (int i = 0; i < 3000; ++i) {
        before.push_back("<p>  page  " + std::to_string(i) + "  </p>\n\n\n");
        pages.push_back(dir.Write("site/p" + std::to_string(i) + ".html", before.back()));
        after.push_back(Trimmed(pages.back(), 44));
        lines += pages.back() + "\r\n";
    }
    const std::string task = dir.Write("t.trh", lines);
    const std::string profile = dir.Write("p.ini", "[Settings]\nVERSION=150\n");
    const char* cli = getenv("TRIMLET_CLI");
    ASSERT_TRUE(cli && *cli);

    const pid_t child = fork();
    if (child == 0) {
        execl(cli, cli, "run", "--yes", "--profile", profile.c_str(), task.c_str(), nullptr);
        _exit(127);
    }
    // Stopped once its writes have begun (temporary files are unnamed until they take
    // their place, so the first written page tells).
    bool seen = false;
    for (int i = 0; i < 20000 && !seen; ++i) {
        seen = ReadAll(pages[0]) != before[0];
        if (!seen) usleep(100);
    }
    kill(child, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    if (!seen || !WIFSIGNALED(status)) GTEST_SKIP() << "the run ended before it could be stopped";
    EXPECT_EQ(WTERMSIG(status), SIGINT);
    EXPECT_FALSE(HasTemporaryFile(dir.File("site")));
    // Every page (trimmed in place) is either as it was or wholly trimmed.
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const std::string now = ReadAll(pages[i]);
        if (now != before[i]) {
            EXPECT_EQ(now, after[i]) << pages[i];
        }
    }
}

}  // namespace
}  // namespace trimlet::test
