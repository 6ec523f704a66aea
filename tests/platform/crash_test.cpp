// Crashes at every step of a write: a child process writes and is killed at step k, for
// every k until it finishes; then the folder is looked at as the next write would, and every
// target must be old or new, no file we did not make may be gone, and nothing of ours left.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "platform/durable_write.h"
#include "test_support.h"

namespace trimlet {
namespace {

namespace fs = std::filesystem;
using test::NamesIn;
using test::ReadAll;
using test::TempDir;

struct Target {
    std::string name;
    std::string oldContent;  // empty: the file does not exist before
    std::string newContent;
    const char* otherLink = nullptr;  // a second hard link
};

struct Scenario {
    const char* name;
    std::vector<Target> targets;
    bool grouped;
};

// Writes the scenario's targets; `options` carries the hook that kills the process.
void WriteTargets(const TempDir& dir, const Scenario& s, const WriteOptions& options) {
    if (!s.grouped) {
        for (const Target& t : s.targets)
            static_cast<void>(WriteFileAtomically(dir.File(t.name), t.newContent, options));
        return;
    }
    WriteBatch batch;
    for (const Target& t : s.targets)
        static_cast<void>(batch.Add(dir.File(t.name), t.newContent, options));
    batch.Commit([](std::size_t, Result) { return true; });
}

TEST(CrashAtEveryStep, EveryTargetIsOldOrNewAndNothingElseIsLost) {
    const std::string big(300000, 'b');  // copied in several pieces
    const Scenario scenarios[] = {
        {"one-file write", {{"page.html", "old page", "new page"}}, false},
        {"grouped commit",
         {{"existing.html", "old existing", "new existing"},
          {"fresh.html", "", "new fresh"},
          {"linked.html", "old linked", "new linked", "linked-too.html"}},
         true},
        {"copy into a linked file",
         {{"page.html", big, std::string(250000, 'n'), "page2.html"}},
         false},
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.name);
        int steps = 0;
        for (int k = 1; k < 100; ++k) {
            SCOPED_TRACE(k);
            TempDir dir;
            std::set<std::string> ours;
            std::map<std::string, std::string> others = {{"notes.txt", "the user's notes"},
                                                         {".draft.tmp-31337-2-ff", "a draft"}};
            for (const auto& [name, content] : others)
                dir.Write(name, content);
            for (const Target& t : s.targets) {
                ours.insert(t.name);
                if (t.oldContent.empty()) continue;
                dir.Write(t.name, t.oldContent);
                if (t.otherLink) {
                    ASSERT_EQ(link(dir.File(t.name).c_str(), dir.File(t.otherLink).c_str()), 0);
                    ours.insert(t.otherLink);
                }
            }

            const pid_t child = fork();
            if (child == 0) {
                int step = 0;
                WriteOptions options;
                options.fault.atStep = [&step, k](WriteStep) {
                    if (++step == k) raise(SIGKILL);
                    return 0;
                };
                WriteTargets(dir, s, options);
                _exit(0);
            }
            int status = 0;
            ASSERT_EQ(waitpid(child, &status, 0), child);
            const bool killed = WIFSIGNALED(status);
            ASSERT_TRUE(killed || (WIFEXITED(status) && WEXITSTATUS(status) == 0)) << status;

            // What the next run does first.
            CheckFolder(dir.path().string());
            TakeWriteNotices();

            for (const Target& t : s.targets) {
                SCOPED_TRACE(t.name);
                const std::string now =
                    fs::exists(dir.File(t.name)) ? ReadAll(dir.File(t.name)) : "";
                EXPECT_TRUE(now == t.newContent || (killed && now == t.oldContent))
                    << "neither old nor new: " << now.size() << " bytes";
                if (t.otherLink) {
                    EXPECT_EQ(ReadAll(dir.File(t.otherLink)), now);
                }
            }
            for (const auto& [name, content] : others)
                EXPECT_EQ(ReadAll(dir.File(name)), content) << name << " is gone or changed";
            for (const std::string& name : NamesIn(dir.path()))
                EXPECT_TRUE(ours.count(name) || others.count(name)) << "left behind: " << name;
            if (!killed) break;
            steps = k;
        }
        // Every step of the write was tried: the last run finished without a kill.
        EXPECT_GE(steps, 3);
        EXPECT_LT(steps, 99);
    }
}

}  // namespace
}  // namespace trimlet
