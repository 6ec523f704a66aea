// A run trims the next file on another thread while it writes the one before: what it
// writes must be what a run of one file at a time writes, also when a file is the output
// of an earlier one or changes while the run goes on.

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "batch/run_files.h"
#include "batch/run_step.h"
#include "scripted_dialogs.h"
#include "settings/memory_profile.h"
#include "test_support.h"
#include "text/trim_file.h"

namespace trimlet {
namespace {

using test::ReadAll;
using test::TempDir;

std::string Trimmed(std::string_view bytes) {
    std::string out;
    std::uint64_t size = 0;
    EXPECT_RESULT(TrimBytesAs(FileKind::Html, kDefaultTrimMode, std::string(bytes), out, size),
                  RESULT_OK);
    return out;
}

RunTally RunAll(const std::vector<std::string>& paths, ScriptedDialogs& dialogs,
                const FileDoneHook& fileDone = nullptr) {
    MemoryProfile profile;
    RunRequest request;
    request.runFlags = kDefaultTrimMode;
    request.scriptExtensions = "JS:VBS";
    request.outputFolderName = "out";
    std::size_t next = 0;
    RunTally tally;
    const RunEnd end = RunFiles(
        dialogs, profile, request,
        [&]() -> std::optional<RunFile> {
            if (next == paths.size()) return std::nullopt;
            ++next;
            return RunFile{next - 1, paths[next - 1]};
        },
        nullptr, fileDone, tally);
    EXPECT_EQ(end, RunEnd::Finished);
    EXPECT_TRUE(dialogs.AllAnswersUsed());
    return tally;
}

RunTally RunAll(const std::vector<std::string>& paths) {
    ScriptedDialogs dialogs;
    dialogs.AnswerOutputExists({OutputExistsClose::ForAll, OVERWRITE_CHOICE_OVERWRITE});
    return RunAll(paths, dialogs);
}

TEST(RunFiles, AFileThatIsTheOutputOfAnEarlierOneIsTrimmedFromThatOutput) {
    for (const char* ahead : {"0", "1"}) {
        SCOPED_TRACE(ahead);
        test::ScopedEnv setting("TRIMLET_TRIM_AHEAD", ahead);
        TempDir dir;
        const std::string page = "<p>  a  </p>\n\n\n<!-- x -->\n<p>  b  </p>\n";
        const std::string first = dir.Write("a.html", page);
        // The second file is the first one's output, there already from an earlier run.
        const std::string second = dir.Write("out/a.html", "<p>  old  </p>");
        const std::string middle = dir.Write("m.html", "<i>  m  </i>");
        const RunTally tally = RunAll({first, middle, second});
        EXPECT_EQ(tally.summary.succeededCount, 3u);
        EXPECT_EQ(ReadAll(second), Trimmed(page));
        EXPECT_EQ(ReadAll(dir.File("out/out/a.html")), Trimmed(Trimmed(page)));
    }
}

TEST(RunFiles, APageIsTrimmedWithWhatTheRunWroteIntoASheetItLinks) {
    for (const char* ahead : {"0", "1"}) {
        SCOPED_TRACE(ahead);
        test::ScopedEnv setting("TRIMLET_TRIM_AHEAD", ahead);
        TempDir dir;
        // out/s.css is the output of s.css, and the page beside it links it. Its write waits
        // until the question about the page's own output, just before the page's turn.
        const std::string sheet = dir.Write("s.css", ".k  {  white-space:  pre  }");
        dir.Write("out/s.css", "");
        const std::string middle = dir.Write("m.html", std::string(1 << 20, 'm'));
        const std::string body = "<p class=k>  a  \n\n  b  </p>";
        const std::string page =
            dir.Write("out/page.html", "<link rel=stylesheet href=s.css>" + body);
        dir.Write("out/out/page.html", "");
        ScriptedDialogs dialogs;
        dialogs.AnswerOutputExists({OutputExistsClose::Ok, OVERWRITE_CHOICE_OVERWRITE})
            .AnswerOutputExists({OutputExistsClose::Ok, OVERWRITE_CHOICE_OVERWRITE});
        EXPECT_EQ(RunAll({sheet, middle, page}, dialogs).summary.succeededCount, 3u);
        EXPECT_NE(ReadAll(dir.File("out/out/page.html")).find("  a  \n\n  b  "), std::string::npos);
    }
}

TEST(RunFiles, FilesTheRunSkipsAreNotTrimmedAhead) {
    test::ScopedEnv setting("TRIMLET_TRIM_AHEAD", "1");
    TempDir dir;
    std::vector<std::string> pages;
    for (const char* name : {"a.html", "b.html", "c.html", "d.html"}) {
        pages.push_back(dir.Write(name, std::string(1 << 20, ' ') + "<p>  x  </p>"));
        dir.Write(std::string("out/") + name, "old");
    }
    ScriptedDialogs dialogs;
    dialogs.AnswerOutputExists({OutputExistsClose::ForAll, OVERWRITE_CHOICE_SKIP});
    // Each file's row takes a while to show: time enough for a worker to begin a trim.
    const RunTally tally = RunAll(pages, dialogs, [] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return false;
    });
    EXPECT_EQ(tally.summary.skippedCount, 4u);
    EXPECT_EQ(tally.trimmedAheadCount, 0u);
    EXPECT_EQ(ReadAll(dir.File("out/d.html")), "old");
}

}  // namespace
}  // namespace trimlet
