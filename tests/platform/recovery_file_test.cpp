// Copies into an existing file (other hard links, another owner) under a recovery file: a
// copy cut short is rolled back before the next write into the folder, and a file with no
// place for a recovery file is never copied into.

#include "platform/recovery_file.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/durable_write.h"
#include "platform/system_error.h"
#include "test_support.h"

namespace trimlet {
namespace {

namespace fs = std::filesystem;
using test::NamesIn;
using test::ReadAll;
using test::TempDir;

const std::string kOld(150000, 'o');
const std::string kNew(140000, 'n');

// Starts a child process writing `bytes` into `path`, killed at the `count`th `step`.
pid_t StartWriterKilledAt(const std::string& path, WriteStep step, int count,
                          const std::string& bytes) {
    const pid_t child = fork();
    if (child == 0) {
        // A process of its own: nothing open in the parent (its locks) is shared.
        close_range(3, ~0u, 0);
        WriteOptions options;
        options.fault.atStep = [&](WriteStep at) {
            if (at == step && --count == 0) raise(SIGKILL);
            return 0;
        };
        static_cast<void>(WriteFileAtomically(path, bytes, options));
        _exit(0);
    }
    return child;
}

// Writes kNew into `path` in a child process killed at the `count`th `step`.
void KillWriterAt(const std::string& path, WriteStep step, int count) {
    const pid_t child = fork();
    if (child == 0) {
        WriteOptions options;
        options.fault.atStep = [&](WriteStep at) {
            if (at == step && --count == 0) raise(SIGKILL);
            return 0;
        };
        static_cast<void>(WriteFileAtomically(path, kNew, options));
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer was not stopped";
}

std::string RecoveryFileIn(const TempDir& dir) {
    for (const std::string& name : NamesIn(dir.path()))
        if (name.starts_with(".page.html.recover-")) return dir.File(name);
    return {};
}

// Another user's recovery file, as one left in a folder others may write.
void GiveToNobody(const std::string& recovery, const std::string&) {
    ASSERT_EQ(chown(recovery.c_str(), 65534, 65534), 0);
}

TEST(RecoveryFile, ACopyCutShortIsRolledBackBeforeTheNextWriteIntoItsFolder) {
    struct Case {
        const char* name;
        WriteStep step;  // where the writer was killed
        int count;
        void (*change)(const std::string& recovery, const std::string& page);
        const std::string* expected;  // the page afterwards
        bool recoveryKept;
        bool restoredNotice;
    };
    const auto none = [](const std::string&, const std::string&) {};
    const Case cases[] = {
        {"killed part-way through the copy", WriteStep::CopyChunk, 1, none, &kOld, false, true},
        {"killed once the copy was flushed", WriteStep::Copied, 1, none, &kOld, false, true},
        {"killed before the copy began", WriteStep::JournalMade, 1, none, &kOld, false, true},
        {"recovery file incomplete: the copy never began", WriteStep::JournalMade, 1,
         [](const std::string& recovery, const std::string&) {
             ASSERT_EQ(truncate(recovery.c_str(), 1000), 0);
         },
         &kOld, false, false},
        {"recovery file damaged", WriteStep::JournalMade, 1,
         [](const std::string& recovery, const std::string&) {
             const int fd = open(recovery.c_str(), O_WRONLY);
             ASSERT_EQ(pwrite(fd, "x", 1, 5000), 1);
             close(fd);
         },
         &kOld, false, false},
        {"left by another user", WriteStep::CopyChunk, 1, GiveToNobody, nullptr, true, false},
        {"its file was replaced since", WriteStep::CopyChunk, 1,
         [](const std::string&, const std::string& page) {
             const std::string other = page + ".theirs";
             std::ofstream(other) << "theirs";
             ASSERT_EQ(rename(other.c_str(), page.c_str()), 0);
         },
         nullptr, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.change == GiveToNobody && geteuid() != 0) continue;  // needs root to give it away
        TempDir dir;
        const std::string page = dir.Write("page.html", kOld);
        ASSERT_EQ(link(page.c_str(), dir.File("other-name.html").c_str()), 0);
        KillWriterAt(page, c.step, c.count);
        const std::string recovery = RecoveryFileIn(dir);
        ASSERT_FALSE(recovery.empty()) << "no recovery file beside the file";
        c.change(recovery, page);
        const std::string before = ReadAll(page);

        TakeWriteNotices();
        ForgetCheckedFolders();
        ASSERT_RESULT(WriteFileAtomically(dir.File("unrelated.html"), "x"), RESULT_OK);

        EXPECT_EQ(ReadAll(page), c.expected ? *c.expected : before);
        EXPECT_EQ(fs::exists(recovery), c.recoveryKept);
        const std::vector<WriteNotice> notices = TakeWriteNotices();
        ASSERT_EQ(notices.size(), c.restoredNotice || c.recoveryKept ? 1u : 0u);
        if (!notices.empty()) {
            EXPECT_EQ(notices[0].kind,
                      c.restoredNotice ? WriteNotice::Kind::Restored : WriteNotice::Kind::Kept);
            EXPECT_EQ(notices[0].path, c.restoredNotice ? fs::canonical(page).string() : recovery);
        }
    }
}

TEST(RecoveryFile, ARecoveryFileInUseIsLeftAlone) {
    TempDir dir;
    const std::string page = dir.Write("page.html", kOld);
    ASSERT_EQ(link(page.c_str(), dir.File("other-name.html").c_str()), 0);
    KillWriterAt(page, WriteStep::CopyChunk, 1);
    const std::string recovery = RecoveryFileIn(dir);
    ASSERT_FALSE(recovery.empty());
    const std::string half = ReadAll(page);
    // A copy that still runs holds its recovery file.
    const int held = open(recovery.c_str(), O_RDWR);
    struct flock lock {};
    lock.l_type = F_WRLCK;
    ASSERT_EQ(fcntl(held, F_OFD_SETLK, &lock), 0);
    CheckFolder(dir.path().string());
    EXPECT_EQ(ReadAll(page), half);
    EXPECT_TRUE(fs::exists(recovery));
    close(held);
    CheckFolder(dir.path().string());
    EXPECT_EQ(ReadAll(page), kOld);
    EXPECT_FALSE(fs::exists(recovery));
    TakeWriteNotices();
}

TEST(RecoveryFile, TwoCopiesIntoOneFileNeverSaveAHalfCopiedFile) {
    TempDir dir;
    const std::string page = dir.Write("page.html", kOld);
    ASSERT_EQ(link(page.c_str(), dir.File("other-name.html").c_str()), 0);
    const std::string kOther(145000, 'x');
    // While this copy is half done, another process copies into the same file and is killed
    // part-way; its recovery file must hold a whole version.
    pid_t other = -1;
    bool otherEndedEarly = false;
    WriteOptions options;
    options.fault.atStep = [&](WriteStep at) {
        if (at != WriteStep::CopyChunk || other != -1) return 0;
        other = StartWriterKilledAt(page, WriteStep::CopyChunk, 1, kOther);
        for (int i = 0; i < 40 && !otherEndedEarly; ++i) {
            int status = 0;
            otherEndedEarly = waitpid(other, &status, WNOHANG) == other;
            usleep(10000);
        }
        return 0;
    };
    ASSERT_RESULT(WriteFileAtomically(page, kNew, options), RESULT_OK);
    ASSERT_NE(other, -1);
    if (!otherEndedEarly) waitpid(other, nullptr, 0);
    EXPECT_FALSE(otherEndedEarly) << "the second copy did not wait for the first";

    TakeWriteNotices();
    CheckFolder(dir.path().string());
    TakeWriteNotices();
    EXPECT_TRUE(ReadAll(page) == kNew) << "the file is not one whole version";
    EXPECT_TRUE(RecoveryFileIn(dir).empty());
}

TEST(RecoveryFile, AFileWithNoPlaceForARecoveryFileIsNeverCopiedInto) {
    TempDir dir;
    const std::string page = dir.Write("page.html", kOld);
    ASSERT_EQ(link(page.c_str(), dir.File("other-name.html").c_str()), 0);
    ASSERT_EQ(chmod(page.c_str(), 0666), 0);
    // The folder may not be written: as root, by a child that is nobody.
    ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
    const int status = test::RunInChild(geteuid() == 0, [&] {
        // Refused before any byte is copied: the folder takes no temporary file either.
        const Result r = WriteFileAtomically(page, kNew);
        return r == RESULT_ACCESS_ERROR && LastSystemError() == EACCES ? 0 : 1;
    });
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadAll(page), kOld);
    EXPECT_EQ(NamesIn(dir.path()).size(), 2u);
}

}  // namespace
}  // namespace trimlet
