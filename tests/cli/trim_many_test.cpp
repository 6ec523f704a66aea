// Runs "trimlet trim" on many files, folders and standard input, and the command line's
// pipeline features: what is refused, where outputs go, JSON, named options, task lists
// from pipes, and that no command reads or writes the user's profile.

#include <gmock/gmock.h>

#include <filesystem>

#include "cli/option_names.h"
#include "cli_runner.h"
#include "common/messages.h"

namespace trimlet::test {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr std::string_view kPage = "<p>  a   b  </p>\n\n\n<!-- note -->\n";
constexpr std::string_view kScript = "var s = 'a   b';   // note\n";
const std::string kPng("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\t\t  x", 20);

// Every regular file below `root`, as paths relative to it, sorted.
std::vector<std::string> FilesBelow(const std::string& root) {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(root, error)) {
        if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), root).string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

class TrimManyTest : public ::testing::Test {
  protected:
    CliOutcome Cli(const std::vector<std::string>& args, const CliPlace& place = {}) {
        return RunCli(dir, args, place);
    }
    TempDir dir;
};

// Nothing that is not a page or a script is trimmed unless --type says what it is; the
// file is left as it was.
TEST_F(TrimManyTest, RefusesWhatIsNotAPageOrAScriptUnlessTypeSaysWhatItIs) {
    const struct {
        const char* name;
        std::string bytes;
        const char* words;
    } cases[] = {
        {"img.png", kPng, "is not a page or a script"},
        {"data.json", "{\"a\":   \"x   y\"}\n", "is not a page or a script"},
        {"app.mjs", std::string(kScript), "is not a page or a script"},
        {"notes.md", "```\n  code   here\n```\n", "is not a page or a script"},
        {"Makefile", "all:\n\tcc   -o x\n", "is not a page or a script"},
        {"binary.html", kPng, "does not look like a text file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.Write(c.name, c.bytes);
        CliOutcome outcome = Cli({"trim", "-o", path, path});
        EXPECT_EQ(outcome.status, 1);
        EXPECT_THAT(outcome.err, HasSubstr(c.words));
        EXPECT_THAT(outcome.err, HasSubstr("--type"));
        EXPECT_EQ(ReadAll(path), c.bytes);
        // Among many files it counts as failed, and the others are trimmed.
        const std::string page = dir.Write("page.html", kPage);
        outcome = Cli({"trim", "--in-place", path, page});
        EXPECT_EQ(outcome.status, 1);
        EXPECT_THAT(outcome.err, HasSubstr("--type"));
        EXPECT_EQ(ReadAll(path), c.bytes);
        EXPECT_EQ(ReadAll(page), Trimmed(dir.Write("expected.html", kPage)));
    }
    // Named, it is trimmed as that kind: the string literal keeps its blanks.
    const std::string script = dir.Write("app.mjs", kScript);
    const CliOutcome typed = Cli({"trim", "--type", "js", script});
    EXPECT_EQ(typed.status, 0) << typed.err;
    EXPECT_EQ(typed.out, "var s='a   b';\n");
    EXPECT_EQ(Cli({"trim", "--type", "html", dir.Write("notes.md", "<p>a   b</p>")}).out,
              "<p>a b</p>");
}

TEST_F(TrimManyTest, StandardInputToStandardOutputOrAFile) {
    const std::string in = dir.Write("in", "<p>a   b</p>");
    CliOutcome outcome = Cli({"trim", "-"}, {.standardInput = in});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "<p>a b</p>");
    EXPECT_EQ(Cli({"trim", "-o", "-", "-"}, {.standardInput = in}).out, "<p>a b</p>");
    const std::string script = dir.Write("script", "x = 1   // c\n");
    EXPECT_EQ(Cli({"trim", "--type=js", "-"}, {.standardInput = script}).out, "x=1\n");
    outcome = Cli({"trim", "-", "-o", dir.File("out.html")}, {.standardInput = in});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(ReadAll(dir.File("out.html")), "<p>a b</p>");
}

// -r mirrors the pages and scripts below the folder into the output folder, leaving
// everything else, the excluded files and the output folder itself alone.
TEST_F(TrimManyTest, RecursiveTrimMirrorsPagesAndScriptsIntoTheOutputFolder) {
    const std::string page = dir.Write("site/index.html", kPage);
    const std::string script = dir.Write("site/js/app.js", kScript);
    dir.Write("site/js/lib.min.js", kScript);
    dir.Write("site/img/x.png", kPng);
    dir.Write("site/data.json", "{\"a\":   1}");
    dir.Write("site/Trimlet/old.html", kPage);  // an output folder of the window's runs
    dir.Write("site/deep/er/p.HTM", kPage);

    CliOutcome outcome = Cli({"trim", "-r", "site", "-o", "mirror/", "--exclude", "*.min.js"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "3 trimmed, 0 skipped, 0 failed: " +
                               std::to_string(2 * kPage.size() + kScript.size()) + " -> " +
                               std::to_string(2 * Trimmed(page).size() + Trimmed(script).size()) +
                               " bytes\n");
    EXPECT_THAT(FilesBelow(dir.File("mirror")),
                ::testing::ElementsAre("deep/er/p.HTM", "index.html", "js/app.js"));
    EXPECT_EQ(ReadAll(dir.File("mirror/index.html")), Trimmed(page));
    EXPECT_EQ(ReadAll(dir.File("mirror/js/app.js")), Trimmed(script));
    EXPECT_EQ(ReadAll(dir.File("site/img/x.png")), kPng);

    // An output folder inside the tree is never walked, also on the second call.
    for (int call = 0; call < 2; ++call) {
        outcome = Cli({"trim", "-q", "-r", "site", "-o", "site/min"});
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(outcome.out, "");
    }
    EXPECT_FALSE(fs::exists(dir.File("site/min/min")));
    EXPECT_EQ(ReadAll(dir.File("site/min/index.html")), Trimmed(page));

    // In place: every page and script over itself, nothing else touched.
    outcome = Cli({"trim", "-v", "-r", "--in-place", "--exclude", "min", "site"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_THAT(outcome.out, HasSubstr("ok " + page + " ("));
    EXPECT_EQ(ReadAll(page), ReadAll(dir.File("mirror/index.html")));
    EXPECT_EQ(ReadAll(dir.File("site/js/lib.min.js")), Trimmed(dir.File("site/js/lib.min.js")));
    EXPECT_EQ(ReadAll(dir.File("site/data.json")), "{\"a\":   1}");
}

// Two files that would write one output: the later is skipped with its own message and
// counts as failed, found before anything is written; in a run of a task as well.
TEST_F(TrimManyTest, SameNamedOutputsAreFoundBeforeAnythingIsWritten) {
    const std::string a = dir.Write("a/index.html", "<p>a   </p>");
    const std::string b = dir.Write("b/index.html", "<p>b   </p>");
    const std::string out = dir.File("outputs");
    const CliOutcome outcome = Cli({"trim", "--json", a, b, "-o", out});
    EXPECT_EQ(outcome.status, 1);
    const std::string message = FormatMessage(MSG_SAME_OUTPUT, b, out + "/index.html", a);
    EXPECT_THAT(outcome.err, HasSubstr(message));
    EXPECT_EQ(ReadAll(out + "/index.html"), "<p>a </p>");
    EXPECT_THAT(outcome.out, HasSubstr("\"result\": \"failed\", \"messageId\": 20047"));
    EXPECT_THAT(outcome.out, HasSubstr("\"ok\": 1, \"skipped\": 0, \"failed\": 1"));

    const std::string task =
        dir.Write("t.trh", "TrimletHTML TASK FILE\r\n1.50.00\r\n0x0F81782C\r\n" + dir.File("run") +
                               "\r\n" + a + "\r\n" + b + "\r\n");
    const CliOutcome run = Cli({"run", "--json", "--yes", task});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(
        run.err,
        HasSubstr(FormatMessage(MSG_SAME_OUTPUT, b, dir.File("run/index.html"), a).substr(0, 40)));
    EXPECT_EQ(ReadAll(dir.File("run/index.html")), "<p>a </p>");
    EXPECT_THAT(run.out, HasSubstr("{\"schemaVersion\": 1, \"command\": \"run\""));
    EXPECT_THAT(run.out, HasSubstr("\"path\": \"" + a + "\", \"size\": 11, \"trimmedSize\": 9"));
}

TEST_F(TrimManyTest, BadUsageExitsWithTwoAndWritesNothing) {
    const std::string page = dir.Write("page.html", kPage);
    const struct {
        const char* name;
        std::vector<std::string> args;
        const char* error;
    } cases[] = {
        {"ManyWithoutOutput", {"trim", page, page}, "need -o DIR or --in-place"},
        {"FolderWithoutOutput", {"trim", "-r", "."}, "need -o DIR or --in-place"},
        {"StdinWithOthers", {"trim", "-", page, "-o", "x/"}, "standard input"},
        {"StdinInPlace", {"trim", "--in-place", "-"}, "standard input"},
        {"InPlaceAndOutput", {"trim", "--in-place", "-o", "x", page}, "--in-place and -o"},
        {"ManyToStdout", {"trim", "-o", "-", page, page}, "standard output"},
        {"ModeAndNames", {"trim", "--mode", "4", "--options", "none", page}, "together"},
        {"UnknownName", {"trim", "--options", "default,+tidy", page}, "'+tidy'"},
        {"ValueMissing", {"trim", "--options", "blank-lines", page}, "'blank-lines'"},
        {"BadType", {"trim", "--type", "css", page}, "--type must be"},
        {"QuietVerbose", {"trim", "-q", "-v", page}, "-q and -v"},
        {"JsonToStdout", {"trim", "--json", page}, "--json needs -o"},
        {"UnknownHelp", {"help", "frobnicate"}, "unknown command"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CliOutcome outcome = Cli(c.args);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_THAT(outcome.err, HasSubstr(c.error));
    }
    EXPECT_EQ(ReadAll(page), kPage);
    EXPECT_FALSE(fs::exists(dir.File("x")));
}

TEST_F(TrimManyTest, NamedOptionsMakeTheModeAndArePrinted) {
    const CliOutcome listed = Cli({"options"});
    EXPECT_EQ(listed.status, 0);
    for (const cli::OptionName& option : cli::OptionNames())
        EXPECT_THAT(listed.out, HasSubstr(std::string(option.name)));
    EXPECT_THAT(listed.out, HasSubstr("blank-lines=delete|merge|keep  0x00000060  delete"));
    EXPECT_THAT(listed.out, HasSubstr("between-inline-tags            0x00040000  off"));

    const TrimMode expected = (kDefaultTrimMode & ~TM_BETWEEN_TAGS) | TM_BETWEEN_INLINE_TAGS;
    for (const char* command : {"options", "trim", "preview"}) {
        SCOPED_TRACE(command);
        const CliOutcome printed = Cli(
            {command, "--options", "default,-between-tags,+between-inline-tags", "--print-mode"});
        EXPECT_EQ(printed.status, 0) << printed.err;
        EXPECT_EQ(printed.out, std::to_string(expected) + "\n");
    }
    EXPECT_EQ(Cli({"options", "--mode", "0x44"}).out, "none,+collapse-spaces,blank-lines=merge\n");

    const std::string page = dir.Write("page.html", "<b>a</b>   <i>b</i>\n\n\n<p>c</p>");
    EXPECT_EQ(Cli({"trim", "--options", "none", page}).out, ReadAll(page));
    EXPECT_EQ(Cli({"trim", "--options", "none,collapse-spaces,blank-lines=merge", page}).out,
              "<b>a</b> <i>b</i>\n\n<p>c</p>");
    EXPECT_EQ(Cli({"trim", "--options=default,+between-inline-tags", page}).out,
              Trimmed(page, kDefaultTrimMode | TM_BETWEEN_INLINE_TAGS));
}

TEST_F(TrimManyTest, PreviewJsonHasEveryFileAndTheTotals) {
    const std::string page = dir.Write("p\"age.html", "<p>a   b</p>");
    const std::string missing = dir.File("missing.html");
    const CliOutcome outcome = Cli({"preview", "--json", page, missing});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_THAT(outcome.out, HasSubstr("{\"schemaVersion\": 1, \"command\": \"preview\""));
    EXPECT_THAT(outcome.out, HasSubstr("{\"path\": \"" + dir.File("p\\\"age.html") +
                                       "\", \"size\": 12, \"trimmedSize\": 10, \"result\": \"ok\", "
                                       "\"messageId\": null, \"message\": null}"));
    EXPECT_THAT(outcome.out, HasSubstr("\"result\": \"failed\", \"messageId\": 20000"));
    EXPECT_THAT(outcome.out, HasSubstr("\"totals\": {\"files\": 2, \"ok\": 1, \"skipped\": 0, "
                                       "\"failed\": 1, \"size\": 12, \"trimmedSize\": 10}}\n"));
}

// The built-in defaults unless a profile is named; no command writes one, and without
// HOME nothing is made at the root.
TEST_F(TrimManyTest, NoCommandReadsTheUsersProfileOrWritesAny) {
    const std::string home = dir.File("home");
    fs::create_directories(home + "/.config/VARD APP");
    dir.Write("home/.config/VARD APP/Trimlet HTML!.conf", "[Settings]\nVERSION=150\nMODE=0\n");
    const std::string page = dir.Write("site/page.html", kPage);
    const std::string env = "env -u TRIMLET_PROFILE HOME='" + home + "' XDG_CONFIG_HOME= ";
    const auto before = FilesBelow(home);

    CliOutcome outcome = Cli({"trim", page}, {.environment = env});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, Trimmed(page));  // not MODE=0 of the window's profile
    EXPECT_EQ(Cli({"task", "create", dir.File("t.trh"), page}, {.environment = env}).status, 0);
    EXPECT_EQ(Cli({"run", "--yes", dir.File("t.trh")}, {.environment = env}).status, 0);
    EXPECT_EQ(ReadAll(dir.File("site/Trimlet/page.html")), Trimmed(page));
    EXPECT_EQ(FilesBelow(home), before);
    EXPECT_EQ(Cli({"preview", page}, {.environment = "env -u TRIMLET_PROFILE -u HOME"}).status, 0);

    // Named, the window's profile gives the window's settings, and stays as it was.
    const std::string profile = dir.Write("p.ini", "[Settings]\nVERSION=150\nMODE=0\n");
    for (const std::string& environment :
         {"TRIMLET_PROFILE='" + profile + "'", std::string("env -u TRIMLET_PROFILE")}) {
        std::vector<std::string> args = {"trim", page};
        if (environment.starts_with("env")) args.insert(args.end(), {"--profile", profile});
        outcome = Cli(args, {.environment = environment});
        EXPECT_EQ(outcome.out, kPage);
    }
    EXPECT_EQ(ReadAll(profile), "[Settings]\nVERSION=150\nMODE=0\n");
}

// xargs splits a long list into several calls: --append keeps every part, and without it
// a second call refuses rather than dropping the first part.
TEST_F(TrimManyTest, TaskListsFromPipesAreNeverLostSilently) {
    const std::string a = dir.Write("s/a.html", kPage), b = dir.Write("s/b.html", kPage);
    const std::string c = dir.Write("s/c d.html", kPage);
    const std::string task = dir.File("s/t.trh");
    const std::string header = "TrimletHTML TASK FILE\r\n1.50.00\r\n";

    EXPECT_EQ(Cli({"task", "create", "--append", task, a}).status, 0);
    EXPECT_EQ(Cli({"task", "create", "--append", "--mode", "4", task, b, a}).status, 0);
    EXPECT_EQ(ReadAll(task), header + "4\r\nTrimlet\r\n" + a + "\r\n" + b + "\r\n");

    const CliOutcome refused = Cli({"task", "create", task, c});
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.err, HasSubstr("--append adds to it"));
    EXPECT_EQ(ReadAll(task), header + "4\r\nTrimlet\r\n" + a + "\r\n" + b + "\r\n");

    // One path per line (CR LF too) from a file, or NUL-separated from standard input.
    const std::string lines = dir.Write("list", a + "\r\n\n" + c + "\n");
    EXPECT_EQ(Cli({"task", "create", "--replace", "--files-from", lines, task}).status, 0);
    EXPECT_EQ(ReadAll(task), header + std::to_string(kDefaultTrimMode) + "\r\nTrimlet\r\n" + a +
                                 "\r\n" + c + "\r\n");
    const std::string nul = dir.Write("nul", b + std::string(1, '\0') + a + std::string(1, '\0'));
    const CliOutcome fromStdin = Cli(
        {"task", "create", "--append", "-0", "--files-from", "-", task}, {.standardInput = nul});
    EXPECT_EQ(fromStdin.status, 0) << fromStdin.err;
    EXPECT_EQ(ReadAll(task), header + std::to_string(kDefaultTrimMode) + "\r\nTrimlet\r\n" + a +
                                 "\r\n" + c + "\r\n" + b + "\r\n");
    EXPECT_EQ(Cli({"task", "create", "--append", "--replace", task, a}).status, 2);
}

// A hand-written task: a hexadecimal mode runs, letters are refused; relative paths lie
// beside the task file, wherever the run starts.
TEST_F(TrimManyTest, HandWrittenTasksRunFromAnyFolder) {
    dir.Write("w/s/a.html", "<p>a   </p>");
    const std::string hex = dir.Write(
        "w/hex.trh", "TrimletHTML TASK FILE\r\n1.50.00\r\n 0x0F81782C \r\nout\r\ns/a.html\r\n\r\n");
    const CliOutcome ran = Cli({"run", "-q", hex});
    EXPECT_EQ(ran.status, 0) << ran.err;
    EXPECT_EQ(ran.out, "");
    EXPECT_EQ(ReadAll(dir.File("w/s/out/a.html")), "<p>a </p>");

    const std::string letters = dir.Write(
        "w/letters.trh", "TrimletHTML TASK FILE\r\n1.50.00\r\nfast\r\nout2\r\ns/a.html\r\n");
    const CliOutcome refused = Cli({"run", "--yes", letters});
    EXPECT_EQ(refused.status, 1);
    const std::string message = FormatMessage(MSG_TASK_READ_ERROR, letters);
    EXPECT_THAT(refused.err, HasSubstr(message.substr(0, message.find('\n'))));
    EXPECT_FALSE(fs::exists(dir.File("w/s/out2")));
}

}  // namespace
}  // namespace trimlet::test
