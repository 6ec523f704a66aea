#pragma once
// The writes of a run, grouped so that they share their flushes to disk, while everything the
// user sees keeps the list's order: a file's outcome (its row, the counters, the message
// when its write fails) is reported only after the outcomes of every file before it, and a
// question is asked only once the writes before it are done. A stop leaves every file
// either as it was or with its whole new content.
//
// Use: make the run's RunContext with this object as its dialogs, Attach it, hand each
// file's TrimFileToOutput result to Add, and call Finish after the last file. Add and Finish
// return false when the user stopped the run at the message of a failed write. A write that
// finds the disk full while others wait completes them and is tried again.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "batch/run_step.h"
#include "common/run_questions.h"
#include "platform/durable_write.h"

namespace trimlet {

struct FileOutcome {
    std::size_t index = 0;  // the caller's number for the file (its row)
    Result result = RESULT_OK;
    std::uint64_t sourceSize = 0;
    std::uint64_t trimmedSize = 0;
    std::string difference;  // RESULT_NOT_EQUIVALENT: where the check found the pages differ
};

class GroupedRunWrites final : public RunQuestions {
  public:
    using Report = std::function<void(const FileOutcome&)>;

    // `user` shows the questions and messages; `report` takes each file's outcome in order.
    GroupedRunWrites(RunQuestions& user, Report report);
    ~GroupedRunWrites() override;

    // Lets the run's step put its writes into this group.
    void Attach(RunContext& ctx);
    // Takes the result of TrimFileToOutput for `inputPath`.
    [[nodiscard]] bool Add(std::size_t index, const std::string& inputPath, Result result,
                           std::uint64_t sourceSize, std::uint64_t trimmedSize,
                           std::string difference = {});
    // Completes the waiting writes and reports the rest.
    [[nodiscard]] bool Finish();

    // Each question is asked once the writes before it are done; none after a stop.
    MessageAnswer ShowMessage(const MessageRequest& request) override;
    FolderCreationAnswer FolderCreationDialog(std::string_view text) override;
    OutputExistsAnswer OutputExistsDialog(const OutputExistsRequest& request) override;

  private:
    struct Entry {
        FileOutcome outcome;
        std::string inputPath;
        bool waiting = false;  // its write waits in the batch
    };

    // Commits the batch and reports every queued outcome; false when the user stopped.
    bool CommitWaiting();
    // Reports the queued outcomes up to the first that waits.
    void ReportReady();
    // Tells the user what the writes found in their folders: a file whose interrupted copy
    // was rolled back, a leftover kept.
    void TellNotices();
    // Before a question: false when the run was stopped, and the question is not asked.
    bool ReadyToAsk() { return CommitWaiting(); }

    RunQuestions& user_;
    Report report_;
    WriteBatch batch_;
    std::deque<Entry> queue_;
    std::size_t addedBefore_ = 0;  // the batch's count of writes before the current file
    bool stopped_ = false;
};

// Tells the user, one message each, what the durable writes found in their folders since
// last asked (TakeWriteNotices): a file rolled back (20052), a leftover kept (20053).
void TellWriteNotices(RunQuestions& questions);

}  // namespace trimlet
