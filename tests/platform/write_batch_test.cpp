// Writes that share their flushes: nothing changes before Commit, everything is whole after.

#include "platform/durable_write.h"

#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "platform/system_error.h"
#include "test_support.h"

namespace trimlet {
namespace {

namespace fs = std::filesystem;
using test::ModeOf;
using test::NamesIn;
using test::ReadAll;
using test::TempDir;
using Names = std::set<std::string>;

class Batch : public testing::Test {
  protected:
    void SetUp() override {
        oldMask = umask(022);
        existing = dir.Write("existing.html", "old existing");
        ASSERT_EQ(chmod(existing.c_str(), 0640), 0);
        linked = dir.Write("linked.html", "old linked");
        ASSERT_EQ(link(linked.c_str(), dir.File("linked-too.html").c_str()), 0);
        fresh = dir.File("fresh.html");
        WriteOptions privateInput;
        privateInput.newFileModeLimit = 0700;
        ASSERT_RESULT(batch.Add(existing, "new existing"), RESULT_OK);
        ASSERT_RESULT(batch.Add(fresh, "new fresh", privateInput), RESULT_OK);
        ASSERT_RESULT(batch.Add(linked, "new linked"), RESULT_OK);
    }
    void TearDown() override { umask(oldMask); }

    Names Temporaries() const {
        Names names;
        for (const std::string& name : NamesIn(dir.path()))
            if (name[0] == '.') names.insert(name);
        return names;
    }
    void ExpectOld() const {
        EXPECT_EQ(ReadAll(existing), "old existing");
        EXPECT_FALSE(fs::exists(fresh));
        EXPECT_EQ(ReadAll(linked), "old linked");
    }

    mode_t oldMask = 0;
    TempDir dir;
    WriteBatch batch;
    std::string existing, linked, fresh;
};

TEST_F(Batch, NothingChangesBeforeCommitThenCommitReplacesInOrder) {
    ExpectOld();
    EXPECT_EQ(batch.Waiting(), 3u);
    EXPECT_TRUE(batch.Replaces(existing));
    // by identity: another name of a waiting file, another spelling of a waiting name
    EXPECT_TRUE(batch.Replaces(dir.File("linked-too.html")));
    EXPECT_TRUE(batch.Replaces(dir.File("./fresh.html")));
    EXPECT_FALSE(batch.Replaces(dir.File("other.html")));
    // links under other names, one of them to a file not made yet
    ASSERT_EQ(symlink("fresh.html", dir.File("alias-fresh.html").c_str()), 0);
    ASSERT_EQ(symlink(existing.c_str(), dir.File("alias-existing.html").c_str()), 0);
    EXPECT_TRUE(batch.Replaces(dir.File("alias-fresh.html")));
    EXPECT_TRUE(batch.Replaces(dir.File("alias-existing.html")));
    EXPECT_FALSE(batch.Replaces(dir.path()));
    EXPECT_TRUE(Temporaries().empty()) << "a temporary file has a name before Commit";

    std::vector<std::size_t> order;
    EXPECT_TRUE(batch.Commit([&](std::size_t i, Result r) {
        EXPECT_RESULT(r, RESULT_OK);
        order.push_back(i);
        return true;
    }));
    EXPECT_EQ(order, (std::vector<std::size_t>{0, 1, 2}));
    EXPECT_EQ(ReadAll(existing), "new existing");
    EXPECT_EQ(ModeOf(existing), 0640u);
    EXPECT_EQ(ReadAll(fresh), "new fresh");
    EXPECT_EQ(ModeOf(fresh), 0600u);
    EXPECT_EQ(ReadAll(dir.File("linked-too.html")), "new linked");
    EXPECT_TRUE(Temporaries().empty());
    EXPECT_EQ(batch.Waiting(), 0u);
}

TEST_F(Batch, AStopOrAbandonLeavesTheRestAsItWas) {
    EXPECT_FALSE(batch.Commit([](std::size_t i, Result) { return i != 0; }));
    EXPECT_EQ(ReadAll(existing), "new existing");
    EXPECT_FALSE(fs::exists(fresh));
    EXPECT_EQ(ReadAll(linked), "old linked");
    EXPECT_TRUE(Temporaries().empty());

    ASSERT_RESULT(batch.Add(fresh, "newer"), RESULT_OK);
    batch.Abandon();
    EXPECT_FALSE(fs::exists(fresh));
    EXPECT_TRUE(Temporaries().empty());
}

TEST_F(Batch, AFileChangedBeforeCommitIsNotReplaced) {
    batch.Abandon();
    const std::string input = dir.Write("input.html", "as read");
    WriteOptions inPlace;
    ASSERT_TRUE(TakeFileStamp(input, inPlace.unchangedSince.emplace()));
    ASSERT_RESULT(batch.Add(input, "trimmed", inPlace), RESULT_OK);
    ASSERT_RESULT(batch.Add(existing, "new existing"), RESULT_OK);
    std::ofstream(input, std::ios::app) << " and more";
    std::vector<Result> results;
    EXPECT_TRUE(batch.Commit([&](std::size_t, Result r) {
        results.push_back(r);
        return true;
    }));
    ASSERT_EQ(results.size(), 2u);
    EXPECT_RESULT(results[0], RESULT_FILE_CHANGED);
    EXPECT_RESULT(results[1], RESULT_OK);
    EXPECT_EQ(ReadAll(input), "as read and more");
    EXPECT_TRUE(Temporaries().empty());
}

TEST_F(Batch, RunningOutOfMemoryDuringCommitLeavesNoTemporaryFile) {
    batch.Abandon();
    WriteOptions failing;
    failing.fault.atStep = [](WriteStep step) -> int {
        if (step == WriteStep::Linked) throw std::bad_alloc();
        return 0;
    };
    ASSERT_RESULT(batch.Add(existing, "new existing"), RESULT_OK);
    ASSERT_RESULT(batch.Add(fresh, "new fresh", failing), RESULT_OK);
    ASSERT_RESULT(batch.Add(linked, "new linked"), RESULT_OK);
    std::vector<Result> results;
    EXPECT_TRUE(batch.Commit([&](std::size_t, Result r) {
        results.push_back(r);
        return true;
    }));
    EXPECT_EQ(results,
              (std::vector<Result>{RESULT_OK, RESULT_OUT_OF_MEMORY, RESULT_OUT_OF_MEMORY}));
    EXPECT_EQ(ReadAll(existing), "new existing");
    EXPECT_FALSE(fs::exists(fresh));
    EXPECT_EQ(ReadAll(linked), "old linked");
    EXPECT_TRUE(Temporaries().empty());
    EXPECT_EQ(batch.Waiting(), 0u);
}

TEST_F(Batch, AFullDiskWhileWritesWaitCompletesThemAndTriesAgain) {
    batch.Abandon();
    int refusals = 0;
    WriteOptions full;
    full.fault.atStep = [&refusals](WriteStep step) {
        return step == WriteStep::ContentWritten && refusals-- > 0 ? ENOSPC : 0;
    };
    int commits = 0;
    bool stop = false;
    batch.SetMakeRoom([&] {
        ++commits;
        return batch.Commit([](std::size_t, Result r) { return r == RESULT_OK; }) && !stop;
    });
    struct Case {
        const char* name;
        int refusals;
        bool stop;
        Result expected;
        int commits;
    };
    const Case cases[] = {
        {"room made by the waiting write", 1, false, RESULT_OK, 1},
        {"still full after it", 2, false, RESULT_ACCESS_ERROR, 1},
        {"the user stopped at a message", 1, true, RESULT_STOPPED, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        batch.Abandon();
        ASSERT_RESULT(batch.Add(existing, "new existing " + std::string(c.name)), RESULT_OK);
        refusals = c.refusals;
        stop = c.stop;
        commits = 0;
        EXPECT_RESULT(batch.Add(fresh, "new fresh", full), c.expected);
        EXPECT_EQ(commits, c.commits);
        EXPECT_EQ(ReadAll(existing), "new existing " + std::string(c.name));
        EXPECT_EQ(batch.Waiting(), c.expected == RESULT_OK ? 1u : 0u);
    }
    // Nothing waits: the failure is the file's own.
    batch.Abandon();
    refusals = 1;
    commits = 0;
    ClearSystemError();
    EXPECT_RESULT(batch.Add(fresh, "new fresh", full), RESULT_ACCESS_ERROR);
    EXPECT_EQ(LastSystemError(), ENOSPC);
    EXPECT_EQ(commits, 0);
    EXPECT_TRUE(Temporaries().empty());
}

}  // namespace
}  // namespace trimlet
