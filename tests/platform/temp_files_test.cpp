// Temporary files of the safe writer: removed when the program is stopped by a signal, and
// leftovers of processes that no longer exist removed by a later write into their folder.

#include "platform/temp_files.h"

#include <errno.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <set>
#include <string>

#include "platform/atomic_write.h"
#include "test_support.h"

namespace trimlet {
namespace {

namespace fs = std::filesystem;
using test::NamesIn;
using test::TempDir;
using Names = std::set<std::string>;

// A process id that no longer exists: a child that has ended and been waited for.
int GonePid() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return static_cast<int>(child);
}

TEST(TemporaryFileOwner, ReadsOnlyOurNaming) {
    struct Case {
        const char* name;
        int owner;
    };
    const Case cases[] = {
        {".page.html.tmp-1234-0-1f3a", 1234},
        {".a.tmp-b.html.tmp-77-12-0", 77},
        {".page.html.tmp-1234-0-", 0},
        {".page.html.tmp-1234-0-xyz", 0},
        {".page.html.tmp--0-1f", 0},
        {"page.html.tmp-1234-0-1f", 0},
        {".page.html.bak-1234-0-1f", 0},
        {".page.html.tmp-99999999999999999999-0-1", 0},
        {".tmp-1-0-1", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TemporaryFileOwner(c.name), c.owner);
    }
}

TEST(RemoveStaleTemporaryFiles, AWriteRemovesLeftoversOfEndedProcessesOnly) {
    TempDir dir;
    const std::string gone = ".page.html.tmp-" + std::to_string(GonePid()) + "-3-ab";
    const std::string running = ".page.html.tmp-" + std::to_string(getppid()) + "-3-ab";
    const std::string mine = ".page.html.tmp-" + std::to_string(getpid()) + "-999-ab";
    const std::string foreign = ".page.html.tmp-backup";
    for (const std::string& name : {gone, running, mine, foreign})
        dir.Write(name, "partial");
    fs::create_directories(dir.File(".sub.tmp-" + std::to_string(GonePid()) + "-1-1"));
    dir.Write("sub.tmp-" + std::to_string(GonePid()) + "-1-1", "not hidden: not ours");

    ASSERT_RESULT(WriteFileAtomically(dir.File("other.html"), "new"), RESULT_OK);
    Names names = NamesIn(dir.path());
    EXPECT_EQ(names.count(gone), 0u);
    for (const std::string& kept : {running, mine, foreign, std::string("other.html")})
        EXPECT_EQ(names.count(kept), 1u) << kept;
    EXPECT_EQ(names.size(), 6u) << "a folder or a name not ours was removed";
}

// A child that makes a temporary file beside `target`, reports its path through a pipe
// and waits; with `deferred` it does so inside a SignalDeferral and, once told to go on,
// leaves a mark before the deferral ends.
struct Child {
    pid_t pid = -1;
    std::string tempPath;
    int toChild = -1;
};

Child StartChild(const std::string& target, bool deferred) {
    int up[2], down[2];
    EXPECT_EQ(pipe(up), 0);
    EXPECT_EQ(pipe(down), 0);
    const pid_t pid = fork();
    if (pid == 0) {
        RemoveTemporaryFilesOnSignals();
        std::optional<SignalDeferral> deferral;
        if (deferred) deferral.emplace();
        TemporaryFile temp;
        if (temp.Create(target) != RESULT_OK) _exit(2);
        const std::string line = temp.path() + "\n";
        if (write(up[1], line.data(), line.size()) < 0) _exit(2);
        char go = 0;
        while (read(down[0], &go, 1) < 0)
            if (errno != EINTR) _exit(2);
        if (deferred) {
            const std::string mark = target + ".finished";
            FILE* file = fopen(mark.c_str(), "w");
            if (file) fclose(file);
        }
        deferral.reset();
        pause();
        _exit(0);
    }
    close(up[1]);
    close(down[0]);
    Child child{pid, {}, down[1]};
    char c = 0;
    while (read(up[0], &c, 1) == 1 && c != '\n')
        child.tempPath += c;
    close(up[0]);
    return child;
}

TEST(RemoveTemporaryFilesOnSignals, AStoppedProgramLeavesNoTemporaryFile) {
    struct Case {
        const char* name;
        int signal;
        bool deferred;
    };
    const Case cases[] = {
        {"Ctrl+C", SIGINT, false},
        {"stop request", SIGTERM, false},
        {"terminal gone", SIGHUP, false},
        {"during a step that must finish", SIGTERM, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string target = dir.File("page.html");
        Child child = StartChild(target, c.deferred);
        ASSERT_FALSE(child.tempPath.empty());
        EXPECT_TRUE(fs::exists(child.tempPath));
        ASSERT_EQ(kill(child.pid, c.signal), 0);
        if (c.deferred) {
            usleep(100000);
            EXPECT_TRUE(fs::exists(child.tempPath)) << "removed before the step finished";
        }
        if (c.deferred) {
            char go = 1;
            EXPECT_EQ(write(child.toChild, &go, 1), 1);
        }
        close(child.toChild);
        int status = 0;
        ASSERT_EQ(waitpid(child.pid, &status, 0), child.pid);
        ASSERT_TRUE(WIFSIGNALED(status)) << status;
        EXPECT_EQ(WTERMSIG(status), c.signal);
        EXPECT_FALSE(fs::exists(child.tempPath));
        EXPECT_EQ(fs::exists(target + ".finished"), c.deferred);
    }
}

}  // namespace
}  // namespace trimlet
