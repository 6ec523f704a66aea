// A run trims the next file on another thread while it writes the one before: what it
// writes must be what a run of one file at a time writes, also when a file is the output
// of an earlier one or changes while the run goes on.

#include <filesystem>
#include <string>
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

RunTally RunAll(const std::vector<std::string>& paths) {
    MemoryProfile profile;
    ScriptedDialogs dialogs;
    dialogs.AnswerOutputExists({OutputExistsClose::ForAll, OVERWRITE_CHOICE_OVERWRITE});
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
        nullptr, nullptr, tally);
    EXPECT_EQ(end, RunEnd::Finished);
    EXPECT_TRUE(dialogs.AllAnswersUsed());
    return tally;
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

}  // namespace
}  // namespace trimlet
