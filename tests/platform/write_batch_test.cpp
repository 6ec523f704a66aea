// Writes that share their flushes: nothing changes before Commit, everything is whole after.

#include "platform/write_batch.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

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
            if (name.find(".tmp-") != std::string::npos) names.insert(name);
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
    EXPECT_FALSE(batch.Replaces(dir.File("linked-too.html")));
    std::vector<mode_t> modes;
    for (const std::string& name : Temporaries())
        modes.push_back(ModeOf(dir.File(name)));
    std::sort(modes.begin(), modes.end());
    // existing 0640, fresh from a private input 0600, the copy for the linked file 0600
    EXPECT_EQ(modes, (std::vector<mode_t>{0600, 0600, 0640}));

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

}  // namespace
}  // namespace trimlet
