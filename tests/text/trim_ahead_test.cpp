#include "text/trim_ahead.h"

#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/codepage.h"
#include "test_support.h"
#include "text/trim_file.h"

namespace trimlet {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

constexpr std::string_view kScripts = "JS:VBS";

struct Trimmed {
    Result result = RESULT_OK;
    std::string bytes;
    std::uint64_t inputSize = 0;
    std::uint64_t outputSize = 0;
    friend bool operator==(const Trimmed&, const Trimmed&) = default;
};

Trimmed Direct(const std::string& path, TrimMode mode = kDefaultTrimMode) {
    Trimmed t;
    t.result = TrimFile(path, mode, kScripts, t.bytes, t.inputSize, t.outputSize);
    return t;
}

Trimmed Ahead(TrimAhead& ahead, const std::string& path, TrimMode mode = kDefaultTrimMode) {
    Trimmed t;
    t.result = ahead.Trim(path, mode, t.bytes, t.inputSize, t.outputSize);
    return t;
}

std::string Page(int i) {
    std::string page = "<html>\n  <!-- page " + std::to_string(i) + " -->\n  <p>  text  </p>\n";
    page.append(static_cast<std::size_t>(i) * 37, ' ');
    return page + "\n</html>\n";
}

// Files the workers trim under the test's eyes: settled at once, two workers.
TrimAheadOptions Eager() {
    TrimAheadOptions options;
    options.threads = 2;
    options.maxFilesAhead = 64;
    options.settledSeconds = 0;
    return options;
}

// Waits (a few seconds at most) until the workers have trimmed `count` files.
void WaitForWorkers(TrimAhead& ahead, std::size_t count) {
    for (int i = 0; i < 500 && ahead.TrimmedAheadCount() < count; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_GE(ahead.TrimmedAheadCount(), count);
}

class TrimAheadTest : public ::testing::Test {
  protected:
    // Every kind of file TrimFile tells apart, and every way it fails.
    std::vector<std::string> Mixed() {
        std::string wide = "\xFF\xFE";
        EXPECT_RESULT(Utf8ToUtf16("<p>\n   季節  </p>\n", false, wide), RESULT_OK);
        return {dir.Write("a.htm", Page(1)),
                dir.Write("b.js", "var a = 1 ;   // note\n\n\nf( a );\n"),
                dir.File("missing.htm"),
                dir.Write("c.vbs", "' remark\nx = 1   \n"),
                dir.Write("d-utf16.htm", wide),
                dir.Write("empty.htm", ""),
                (fs::create_directory(dir.path() / "folder.htm"), dir.File("folder.htm")),
                dir.Write("e.htm", Page(2))};
    }
    TempDir dir;
};

TEST_F(TrimAheadTest, GivesWhatTrimFileGivesInListOrder) {
    const std::vector<std::string> paths = Mixed();
    TrimAhead ahead(paths, kDefaultTrimMode, std::string(kScripts), Eager());
    EXPECT_EQ(ahead.WorkerCount(), 2u);
    WaitForWorkers(ahead, paths.size());
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        EXPECT_EQ(Ahead(ahead, path), Direct(path));
    }
    // The six files trimmed well came from the workers; failures are tried again.
    EXPECT_EQ(ahead.UsedCount(), 6u);
}

TEST_F(TrimAheadTest, SkippedUnknownAndRepeatedPathsStillGetTheirOwnTrim) {
    const std::vector<std::string> paths = Mixed();
    TrimAhead ahead(paths, kDefaultTrimMode, std::string(kScripts), Eager());
    const std::string other = dir.Write("other.htm", Page(7));
    for (const std::string& path :
         {paths[1], paths[4], other, paths[0], paths[4], paths[7], paths[7]}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(Ahead(ahead, path), Direct(path));
    }
    // Another mode than the list's is never served from it.
    const TrimMode collapseOnly = TM_COLLAPSE_SPACES;
    EXPECT_EQ(Ahead(ahead, paths[7], collapseOnly), Direct(paths[7], collapseOnly));
}

TEST_F(TrimAheadTest, FilesChangedAfterTheyWereReadAreTrimmedAsTheyAreNow) {
    std::vector<std::string> paths;
    for (int i = 0; i < 6; ++i)
        paths.push_back(dir.Write("p" + std::to_string(i) + ".htm", Page(i)));
    TrimAhead ahead(paths, kDefaultTrimMode, std::string(kScripts), Eager());
    WaitForWorkers(ahead, paths.size());

    dir.Write("p1.htm", Page(1) + "<!-- longer -->");  // in place, another size
    const std::string replacement = dir.Write("new.htm", Page(2).replace(0, 6, "<HTML>"));
    fs::rename(replacement, paths[2]);  // replaced, the same size
    fs::remove(paths[3]);
    dir.Write("p3.htm", "<p>  back  </p>");  // deleted and made again
    fs::remove(paths[4]);                    // gone

    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        EXPECT_EQ(Ahead(ahead, path), Direct(path));
    }
    EXPECT_EQ(ahead.UsedCount(), 2u);  // p0 and p5
}

TEST_F(TrimAheadTest, AFileChangedJustBeforeItWasReadIsNotTrustedEvenAtTheSameSize) {
    // With the default margin a fresh file is trimmed again when asked for, so a rewrite
    // within the same tick of the clock cannot go unseen.
    std::vector<std::string> paths = {dir.Write("a.htm", Page(1)), dir.Write("b.htm", Page(2))};
    TrimAheadOptions options = Eager();
    options.settledSeconds = 2;
    TrimAhead ahead(paths, kDefaultTrimMode, std::string(kScripts), options);
    WaitForWorkers(ahead, paths.size());
    std::string same = Page(2);
    same[0] = ' ';
    dir.Write("b.htm", same);
    EXPECT_EQ(Ahead(ahead, paths[0]), Direct(paths[0]));
    EXPECT_EQ(Ahead(ahead, paths[1]), Direct(paths[1]));
    EXPECT_EQ(ahead.UsedCount(), 0u);
}

TEST_F(TrimAheadTest, LooksMadeAheadServeLooksWhileCurrentAndNeverStandInForATrim) {
    const std::vector<std::string> paths = {
        dir.Write("a.htm", Page(1)), dir.Write("g.htm", std::string("GIF89a\0\0  x   y", 16)),
        dir.Write("c.htm", Page(3))};
    TrimAheadOptions options = Eager();
    options.textTestBytes = 1024;
    TrimAhead ahead(paths, kDefaultTrimMode, std::string(kScripts), options);
    WaitForWorkers(ahead, paths.size());
    dir.Write("c.htm", Page(4));

    FileLook look;
    ASSERT_RESULT(ahead.Look(paths[0], kDefaultTrimMode, look), RESULT_OK);
    EXPECT_EQ(look.bytes, Direct(paths[0]).bytes);
    // Left untrimmed for its first bytes: trimmed when a trim is asked for.
    EXPECT_EQ(Ahead(ahead, paths[1]), Direct(paths[1]));
    ASSERT_RESULT(ahead.Look(paths[2], kDefaultTrimMode, look), RESULT_OK);
    EXPECT_EQ(look.record.size, Page(4).size());
    EXPECT_EQ(look.bytes, Direct(paths[2]).bytes);
    EXPECT_EQ(ahead.UsedCount(), 1u);
}

TEST_F(TrimAheadTest, MeasureAfterTrimOfTheSameUnchangedFileReusesItsSizes) {
    std::vector<std::string> paths = {dir.Write("a.htm", Page(1)), dir.Write("b.htm", Page(2))};
    TrimAheadOptions options = Eager();
    options.keepBytes = false;
    TrimAhead ahead(paths, kDefaultTrimMode, std::string(kScripts), options);
    const Trimmed expected = Direct(paths[0]);
    std::uint64_t in = 0, out = 0;
    ASSERT_RESULT(ahead.Measure(paths[0], kDefaultTrimMode, in, out), RESULT_OK);
    EXPECT_EQ(in, expected.inputSize);
    EXPECT_EQ(out, expected.outputSize);
    // Written over since: measured anew.
    dir.Write("a.htm", "<p>x</p>");
    ASSERT_RESULT(ahead.Measure(paths[0], kDefaultTrimMode, in, out), RESULT_OK);
    EXPECT_EQ(in, 8u);
    EXPECT_EQ(out, 8u);
}

TEST_F(TrimAheadTest, HoldsNoMoreThanItsByteBudgetAhead) {
    std::vector<std::string> paths;
    for (int i = 0; i < 8; ++i)
        paths.push_back(dir.Write("p" + std::to_string(i) + ".htm", Page(i + 1)));
    TrimAheadOptions options = Eager();
    options.maxBytesAhead = 1;  // every file exceeds it: only the file in use may start
    TrimAhead ahead(paths, kDefaultTrimMode, std::string(kScripts), options);
    WaitForWorkers(ahead, 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(ahead.TrimmedAheadCount(), 1u);
    for (const std::string& path : paths)
        EXPECT_EQ(Ahead(ahead, path), Direct(path));
}

TEST_F(TrimAheadTest, StoppingInTheMiddleEndsTheWorkers) {
    std::vector<std::string> paths;
    for (int i = 0; i < 200; ++i)
        paths.push_back(dir.Write("p" + std::to_string(i) + ".htm", Page(i % 50)));
    TrimAhead ahead(paths, kDefaultTrimMode, std::string(kScripts), Eager());
    EXPECT_EQ(Ahead(ahead, paths[0]), Direct(paths[0]));
    EXPECT_EQ(Ahead(ahead, paths[1]), Direct(paths[1]));
    // The destructor joins the workers with files still waiting.
}

TEST_F(TrimAheadTest, WorkersStoppedByTheLimitStartAgainAsTheCallerTakesFiles) {
    std::vector<std::string> paths;
    for (int i = 0; i < 40; ++i)
        paths.push_back(dir.Write("p" + std::to_string(i) + ".htm", Page(i % 9)));
    TrimAheadOptions options = Eager();
    options.maxFilesAhead = 8;
    TrimAhead ahead(paths, kDefaultTrimMode, std::string(kScripts), options);
    WaitForWorkers(ahead, 8);
    for (std::size_t i = 0; i < 8; ++i)
        EXPECT_EQ(Ahead(ahead, paths[i]), Direct(paths[i]));
    // No further Trim call: the workers must have been woken by the files taken. They
    // start again by batches, so they may stop a little short of the limit (16).
    WaitForWorkers(ahead, 12);
    for (std::size_t i = 8; i < paths.size(); ++i) {
        SCOPED_TRACE(paths[i]);
        EXPECT_EQ(Ahead(ahead, paths[i]), Direct(paths[i]));
    }
}

TEST_F(TrimAheadTest, OffByDefaultAndSwitchedByTheEnvironment) {
    const std::vector<std::string> paths = Mixed();
    struct Case {
        const char* name;
        const char* environment;  // nullptr: unset
        std::size_t maxFilesAhead;
        std::size_t workers;
    };
    const Case cases[] = {
        {"default options", nullptr, TrimAheadOptions{}.maxFilesAhead, 0},
        {"asked for", nullptr, 64, 2},
        {"switched off", "0", 64, 0},
        {"switched on", "64", 0, 2},
        {"not a number", "on", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.environment)
            setenv("TRIMLET_TRIM_AHEAD", c.environment, 1);
        else
            unsetenv("TRIMLET_TRIM_AHEAD");
        TrimAheadOptions options = Eager();
        options.maxFilesAhead = c.maxFilesAhead;
        TrimAhead ahead(paths, kDefaultTrimMode, std::string(kScripts), options);
        EXPECT_EQ(ahead.WorkerCount(), c.workers);
        for (const std::string& path : paths)
            EXPECT_EQ(Ahead(ahead, path), Direct(path));
    }
    unsetenv("TRIMLET_TRIM_AHEAD");
}

}  // namespace
}  // namespace trimlet
