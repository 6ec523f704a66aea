// A run's writes grouped: outcomes and questions keep the list's order, a question sees the
// files written before it, and a stop leaves later files as they were.

#include "batch/grouped_writes.h"

#include <errno.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "scripted_dialogs.h"
#include "settings/memory_profile.h"
#include "test_support.h"
#include "text/trim_file.h"

namespace trimlet {
namespace {

namespace fs = std::filesystem;
using test::ReadAll;
using test::TempDir;

constexpr std::string_view kPage = "<html>\n  <body>\n    <p>  a  </p>\n</html>\n";

std::string Trim(const std::string& path) {
    std::string out;
    std::uint64_t in = 0, size = 0;
    EXPECT_RESULT(TrimFile(path, kDefaultTrimMode, "JS:VBS", out, in, size), RESULT_OK);
    return out;
}

class Grouped : public testing::Test {
  protected:
    // Runs the files through the step as a run does; false when the run was stopped.
    bool Run(const std::vector<std::string>& inputs, std::string_view folderName = "Trimlet") {
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            std::uint64_t source = 0, trimmed = 0;
            const Result r = TrimFileToOutput(ctx, inputs[i], folderName, source, trimmed, flags);
            if (r == RESULT_STOPPED || !writes.Add(i, inputs[i], r, source, trimmed)) return false;
        }
        return writes.Finish();
    }

    TempDir dir;
    MemoryProfile profile;
    ScriptedDialogs dialogs;
    struct Reported {
        std::size_t index;
        Result result;
        std::size_t questionsBefore;  // dialogs shown before it was reported
    };
    std::vector<Reported> reported;
    GroupedRunWrites writes{
        dialogs, [this](const FileOutcome& done) {
            reported.push_back({done.index, done.result, dialogs.Calls().size()});
        }};
    RunContext ctx{writes, profile, "JS:VBS"};
    std::uint32_t flags = kDefaultTrimMode;

    void SetUp() override { writes.Attach(ctx); }
};

TEST_F(Grouped, OutcomesInOrderAndEveryQuestionAfterTheWritesBeforeIt) {
    const std::string a = dir.Write("a.html", kPage);
    const std::string b = dir.Write("b.html", kPage);
    const std::string c = dir.Write("c.html", kPage);
    dir.Write("Trimlet/b.html", "old b");
    // The question about b describes the outputs as they are: a is already written.
    dialogs.AnswerOutputExists({OutputExistsClose::Ok, OVERWRITE_CHOICE_SKIP});

    ASSERT_TRUE(Run({a, b, c}));
    // index, result, questions shown before: a is reported before the question about b.
    std::vector<std::array<int, 3>> outcomes;
    for (const Reported& r : reported)
        outcomes.push_back({int(r.index), int(r.result), int(r.questionsBefore)});
    EXPECT_EQ(outcomes, (std::vector<std::array<int, 3>>{
                            {0, RESULT_OK, 0}, {1, RESULT_SKIPPED, 1}, {2, RESULT_OK, 1}}));
    EXPECT_EQ(ReadAll(dir.File("Trimlet/a.html")), Trim(a));
    EXPECT_EQ(ReadAll(dir.File("Trimlet/b.html")), "old b");
    EXPECT_EQ(ReadAll(dir.File("Trimlet/c.html")), Trim(c));
}

TEST_F(Grouped, AFileReadAfterAnEarlierWriteOfItSeesTheNewContent) {
    // The second file is the output of the first: it must be trimmed as the first left it.
    const std::string page = dir.Write("x.html", kPage);
    const std::string output = dir.Write("Trimlet/x.html", "<p>   stale   </p>");
    flags |= RUN_CHOICE_FIXED | RUN_OVERWRITE_ALL;
    ASSERT_TRUE(Run({page, output}));
    EXPECT_EQ(ReadAll(dir.File("Trimlet/Trimlet/x.html")), Trim(dir.File("Trimlet/x.html")));
    EXPECT_EQ(ReadAll(dir.File("Trimlet/x.html")), Trim(page));
}

TEST_F(Grouped, AnInputChangedBeforeItsWriteIsReportedAndKept) {
    const std::string first = dir.Write("first.html", kPage);
    const std::string second = dir.Write("second.html", kPage);
    flags |= RUN_CHOICE_FIXED | RUN_OVERWRITE_ALL;
    for (MessageAnswer answer : {MessageAnswer::Ok, MessageAnswer::Cancel}) {
        SCOPED_TRACE(answer == MessageAnswer::Ok ? "OK" : "Cancel");
        dir.Write("first.html", kPage);
        dir.Write("second.html", kPage);
        reported.clear();
        dialogs.AnswerMessage(MSG_FILE_CHANGED_SINCE_READ, answer);
        for (std::size_t i = 0; i < 2; ++i) {
            const std::string& input = i == 0 ? first : second;
            std::uint64_t source = 0, trimmed = 0;
            const Result r = TrimFileToOutput(ctx, input, "", source, trimmed, flags);
            ASSERT_TRUE(writes.Add(i, input, r, source, trimmed));
        }
        // Another program rewrites the first file while its trimmed form waits.
        std::ofstream(first, std::ios::app) << "<p>theirs</p>";
        EXPECT_EQ(writes.Finish(), answer == MessageAnswer::Ok);
        EXPECT_EQ(dialogs.Calls().back().text, FormatMessage(MSG_FILE_CHANGED_SINCE_READ, first));
        EXPECT_EQ(ReadAll(first), std::string(kPage) + "<p>theirs</p>");
        if (answer == MessageAnswer::Ok) {
            ASSERT_EQ(reported.size(), 2u);
            EXPECT_RESULT(reported[0].result, RESULT_FILE_CHANGED);
            EXPECT_RESULT(reported[1].result, RESULT_OK);
            EXPECT_NE(ReadAll(second), kPage);
        } else {
            EXPECT_TRUE(reported.empty());
            EXPECT_EQ(ReadAll(second), kPage) << "written after the stop";
        }
        EXPECT_EQ(test::NamesIn(dir.path()).size(), 2u) << "temporary file left";
    }
}

TEST_F(Grouped, ALaterInputIsKnownByIdentityNotBySpelling) {
    struct Case {
        const char* name;
        const char* second;  // the first file's output, named another way
        const char* output;  // where the second file's output goes
    };
    const Case cases[] = {
        {"through a linked folder", "link/Trimlet/a.html", "real/Trimlet/Trimlet/a.html"},
        {"with a dot", "real/./Trimlet/a.html", "real/Trimlet/Trimlet/a.html"},
        {"with a step back", "real/sub/../Trimlet/a.html", "real/Trimlet/Trimlet/a.html"},
        {"another hard link of it", "real/hard.html", "real/Trimlet/hard.html"},
    };
    flags |= RUN_CHOICE_FIXED | RUN_OVERWRITE_ALL;
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string base = "case" + std::to_string(n++) + "/";
        const std::string page = dir.Write(base + "real/a.html", kPage);
        const std::string output = dir.Write(base + "real/Trimlet/a.html", "<p>   stale   </p>");
        fs::create_directory(dir.File(base + "real/sub"));
        fs::create_directory_symlink("real", dir.File(base + "link"));
        ASSERT_EQ(link(output.c_str(), dir.File(base + "real/hard.html").c_str()), 0);
        ASSERT_TRUE(Run({page, dir.File(base + c.second)}));
        EXPECT_EQ(ReadAll(output), Trim(page));
        EXPECT_EQ(ReadAll(dir.File(base + c.output)), Trim(page)) << "trimmed from the stale file";
    }
}

TEST_F(Grouped, AFullDiskWhileWritesWaitCompletesThemFirst) {
    std::vector<std::string> pages;
    for (const char* name : {"a.html", "b.html", "c.html", "d.html"})
        pages.push_back(dir.Write(name, kPage));
    int written = 0;
    ctx.writeFault.atStep = [&written](WriteStep step) {
        return step == WriteStep::ContentWritten && ++written == 3 ? ENOSPC : 0;
    };
    ASSERT_TRUE(Run(pages));
    EXPECT_TRUE(dialogs.Calls().empty()) << dialogs.Calls()[0].text;
    ASSERT_EQ(reported.size(), 4u);
    for (const Reported& r : reported)
        EXPECT_RESULT(r.result, RESULT_OK);
    for (const std::string& page : pages)
        EXPECT_EQ(ReadAll(dir.File("Trimlet/" + fs::path(page).filename().string())), Trim(page));
}

TEST_F(Grouped, ACopyCutShortIsRolledBackBeforeItsFileIsReadAndTheUserTold) {
    std::string page(70000, ' ');
    page += "<p>  end  </p>";
    const std::string path = dir.Write("page.html", page);
    ASSERT_EQ(link(path.c_str(), dir.File("second-name.html").c_str()), 0);
    // A run killed while it copied into the linked file: half new, half old.
    const pid_t child = fork();
    if (child == 0) {
        WriteOptions options;
        options.fault.atStep = [](WriteStep step) {
            if (step == WriteStep::CopyChunk) raise(SIGKILL);
            return 0;
        };
        static_cast<void>(WriteFileAtomically(path, std::string(90000, 'n'), options));
        _exit(0);
    }
    waitpid(child, nullptr, 0);
    ASSERT_NE(ReadAll(path), page);

    flags |= RUN_CHOICE_FIXED | RUN_OVERWRITE_ALL;
    ForgetCheckedFolders();
    ASSERT_TRUE(Run({path}, ""));
    TempDir elsewhere;
    const std::string expected = Trim(elsewhere.Write("page.html", page));
    EXPECT_EQ(ReadAll(path), expected) << "trimmed from the half-copied file";
    EXPECT_EQ(ReadAll(dir.File("second-name.html")), expected);
    ASSERT_EQ(dialogs.Calls().size(), 1u);
    EXPECT_EQ(dialogs.Calls()[0].text,
              FormatMessage(MSG_RESTORED_OLD_CONTENT, fs::canonical(path).string()));
    EXPECT_EQ(test::NamesIn(dir.path()).size(), 2u) << "recovery file left";
}

// A small file system, where the waiting temporary files would fill the disk.
TEST_F(Grouped, ASmallDiskTrimsAllItsPagesInPlace) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to mount a small file system";
    const std::string mount = dir.File("small");
    fs::create_directory(mount);
    if (std::system(("mount -t tmpfs -o size=160k tmpfs '" + mount + "' 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "cannot mount a file system here";
    std::string page;
    while (page.size() < 8400)
        page += "<p>   a   line   of   text   </p>\n      ";
    std::vector<std::string> pages;
    for (int i = 0; i < 10; ++i)
        pages.push_back(dir.Write("small/page" + std::to_string(i) + ".html", page));
    const std::string expected = Trim(pages[0]);
    flags |= RUN_CHOICE_FIXED | RUN_OVERWRITE_ALL;
    const bool finished = Run(pages, "");
    std::vector<std::string> contents;
    for (const std::string& path : pages)
        contents.push_back(ReadAll(path));
    EXPECT_EQ(std::system(("umount '" + mount + "'").c_str()), 0);
    EXPECT_TRUE(finished);
    EXPECT_TRUE(dialogs.Calls().empty()) << dialogs.Calls()[0].text;
    ASSERT_EQ(reported.size(), 10u);
    for (std::size_t i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        EXPECT_RESULT(reported[i].result, RESULT_OK);
        EXPECT_EQ(contents[i], expected);
    }
}

}  // namespace
}  // namespace trimlet
