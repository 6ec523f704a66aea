// Leftovers of the durable writer: a later write into a folder removes only files whose
// maker record proves we made them and that their maker is gone; a stopped program leaves
// no named temporary file.

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <set>
#include <string>

#include "platform/descriptor.h"
#include "platform/durable_write.h"
#include "platform/maker_record.h"
#include "test_support.h"

namespace trimlet {
namespace {

namespace fs = std::filesystem;
using test::NamesIn;
using test::TempDir;
using Names = std::set<std::string>;

// A process id that no longer exists: a child that has ended and been waited for.
std::int64_t GonePid() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

// Makes a file with `record` as its maker attribute.
void WriteWithRecord(const TempDir& dir, const std::string& name, const MakerRecord& record) {
    const std::string path = dir.Write(name, "complete new content");
    Descriptor fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    ASSERT_TRUE(SetMakerRecord(fd.get(), record)) << "no user attributes here";
}

TEST(MakerRecord, ReadsBackWhatItWroteAndNothingElse) {
    const MakerRecord ours = OurMakerRecord(MakerRecord::Kind::Recovery, "a\nb.html", ".x.tmp-1");
    EXPECT_FALSE(ours.bootId.empty());
    EXPECT_NE(ours.pidNamespace, 0u);
    EXPECT_NE(ours.startTime, 0u);
    EXPECT_EQ(ParseMakerRecord(FormatMakerRecord(ours)), ours);
    EXPECT_EQ(StateOfMaker(ours), MakerState::Alive);
    const std::string bytes = FormatMakerRecord(ours);
    for (const std::string& bad : {std::string(), bytes.substr(0, bytes.size() - 9), "x" + bytes,
                                   bytes + std::string(1, '\0') + "extra"}) {
        EXPECT_FALSE(ParseMakerRecord(bad)) << bad;
    }
}

TEST(CheckFolder, RemovesOnlyLeftoversProvedOursWithTheirMakerGone) {
    struct Case {
        const char* name;
        const char* file;
        void (*change)(MakerRecord& record);  // nullptr: the file has no record
        bool removed;
        bool noticed;
    };
    const auto gone = [](MakerRecord& r) { r.pid = GonePid(); };
    const Case cases[] = {
        // names alone decide nothing
        {"a draft named like an old leftover", ".chapter3.tmp-31337-2-ff", nullptr, false, false},
        {"a notes file named like ours", ".notes.tmp-0123456789abcdef", nullptr, false, false},
        // the record decides
        {"ours, maker gone", ".page.html.tmp-0123456789abcdef", gone, true, false},
        {"ours, PID reused by a newer process", ".page.html.tmp-1111111111111111",
         [](MakerRecord& r) {
             r.pid = getppid();
             r.startTime += 1;
         },
         true, false},
        {"ours, maker still running (another process)", ".page.html.tmp-2222222222222222", nullptr,
         false, false},
        {"this process's own", ".page.html.tmp-3333333333333333", [](MakerRecord&) {}, false,
         false},
        {"another PID namespace (a sandboxed run)", ".a.htm.tmp-4444444444444444",
         [](MakerRecord& r) {
             r.pid = GonePid();
             r.pidNamespace += 1;
         },
         false, true},
        {"another boot or machine", ".a.htm.tmp-5555555555555555",
         [](MakerRecord& r) {
             r.pid = GonePid();
             r.bootId = "00000000-0000-0000-0000-000000000000";
         },
         false, true},
        {"a record carried to another name", ".copy-of-leftover", gone, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        pid_t maker = -1;
        if (std::string_view(c.file) == ".page.html.tmp-2222222222222222") {
            // A live writer: a child that made its file and waits.
            int up[2];
            ASSERT_EQ(pipe(up), 0);
            maker = fork();
            if (maker == 0) {
                WriteWithRecord(dir, c.file,
                                OurMakerRecord(MakerRecord::Kind::Temporary, "page.html", c.file));
                char ready = 1;
                if (write(up[1], &ready, 1) != 1) _exit(2);
                pause();
                _exit(0);
            }
            close(up[1]);
            char ready = 0;
            EXPECT_EQ(read(up[0], &ready, 1), 1);
            close(up[0]);
        } else if (c.change) {
            MakerRecord record = OurMakerRecord(MakerRecord::Kind::Temporary, "page.html",
                                                std::string(c.file) == ".copy-of-leftover"
                                                    ? ".page.html.tmp-6666666666666666"
                                                    : c.file);
            c.change(record);
            WriteWithRecord(dir, c.file, record);
        } else {
            dir.Write(c.file, "the user's own words");
        }
        TakeWriteNotices();
        ForgetCheckedFolders();
        ASSERT_RESULT(WriteFileAtomically(dir.File("index.htm"), "new"), RESULT_OK);
        EXPECT_EQ(NamesIn(dir.path()).count(c.file), c.removed ? 0u : 1u);
        EXPECT_EQ(NamesIn(dir.path()).size(), c.removed ? 1u : 2u);
        if (maker > 0) {
            kill(maker, SIGKILL);
            waitpid(maker, nullptr, 0);
        }
        const std::vector<WriteNotice> notices = TakeWriteNotices();
        EXPECT_EQ(notices.size(), c.noticed ? 1u : 0u);
        if (c.noticed && !notices.empty()) {
            EXPECT_EQ(notices[0].kind, WriteNotice::Kind::Kept);
            EXPECT_EQ(fs::path(notices[0].path).filename(), c.file);
        }
    }
}

// A replaced file keeps the record its temporary file had; it names the temporary name, so
// neither a look at the folder after its maker ended nor a later write mistakes the file.
TEST(CheckFolder, KeepsAFileWrittenByAnEndedProcess) {
    TempDir dir;
    const std::string page = dir.Write("page.html", "old");
    const std::string fresh = dir.File("fresh.html");
    const pid_t child = fork();
    if (child == 0) {
        const bool written = WriteFileAtomically(page, "new") == RESULT_OK &&
                             WriteFileAtomically(fresh, "fresh") == RESULT_OK;
        _exit(written ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    CheckFolder(dir.path());
    EXPECT_EQ(NamesIn(dir.path()), (Names{"fresh.html", "page.html"}));
    EXPECT_EQ(test::ReadAll(page), "new");
    // Written over by this process, then looked at as if by the next one: still kept.
    ASSERT_RESULT(WriteFileAtomically(page, "newer"), RESULT_OK);
    if (const std::optional<MakerRecord> record = ReadMakerRecord(page)) {
        EXPECT_NE(record->ownName, "page.html");
        EXPECT_EQ(record->pid, getpid());  // its own record, not the one it replaced
    }
    CheckFolder(dir.path());
    EXPECT_EQ(test::ReadAll(page), "newer");
    EXPECT_EQ(test::ReadAll(fresh), "fresh");
}

TEST(CheckFolder, LooksOncePerFolderUntilForgotten) {
    TempDir dir;
    MakerRecord record = OurMakerRecord(MakerRecord::Kind::Temporary, "a.html", ".a.html.tmp-1");
    record.pid = GonePid();
    ForgetCheckedFolders();
    ASSERT_RESULT(WriteFileAtomically(dir.File("b.html"), "b"), RESULT_OK);
    WriteWithRecord(dir, ".a.html.tmp-1", record);
    ASSERT_RESULT(WriteFileAtomically(dir.File("b.html"), "b"), RESULT_OK);
    EXPECT_EQ(NamesIn(dir.path()).count(".a.html.tmp-1"), 1u) << "looked twice in one run";
    ForgetCheckedFolders();
    ASSERT_RESULT(WriteFileAtomically(dir.File("b.html"), "b"), RESULT_OK);
    EXPECT_EQ(NamesIn(dir.path()), Names{"b.html"});
}

TEST(RemoveTemporaryFilesOnSignals, AStoppedWriteLeavesNoNamedFileAndPipesFailWrites) {
    struct Case {
        const char* name;
        int signal;
        bool ends;  // the process ends by it
    };
    const Case cases[] = {
        {"Ctrl+C", SIGINT, true},
        {"stop request", SIGTERM, true},
        {"terminal or session gone", SIGHUP, true},
        {"reader of a pipe gone", SIGPIPE, false},
        {"file-size limit", SIGXFSZ, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string target = dir.Write("page.html", "old");
        int up[2];
        ASSERT_EQ(pipe(up), 0);
        const pid_t pid = fork();
        if (pid == 0) {
            RemoveTemporaryFilesOnSignals();
            WriteOptions options;
            // Stopped at the moment the content has a name of its own.
            options.fault.atStep = [&](WriteStep step) {
                if (step == WriteStep::Linked) {
                    char ready = 1;
                    if (write(up[1], &ready, 1) != 1) _exit(2);
                    raise(c.signal);
                    _exit(3);  // an ignored signal comes back here
                }
                return 0;
            };
            static_cast<void>(WriteFileAtomically(target, "new", options));
            _exit(4);
        }
        close(up[1]);
        char ready = 0;
        EXPECT_EQ(read(up[0], &ready, 1), 1);
        close(up[0]);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        if (c.ends) {
            ASSERT_TRUE(WIFSIGNALED(status)) << status;
            EXPECT_EQ(WTERMSIG(status), c.signal);
            EXPECT_EQ(NamesIn(dir.path()), Names{"page.html"});
        } else {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3) << status;
        }
        EXPECT_EQ(test::ReadAll(target), "old");
    }
}

}  // namespace
}  // namespace trimlet
