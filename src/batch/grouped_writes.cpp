#include "batch/grouped_writes.h"

#include <utility>

namespace trimlet {

GroupedRunWrites::GroupedRunWrites(RunQuestions& user, Report report)
    : user_(user), report_(std::move(report)) {}

GroupedRunWrites::~GroupedRunWrites() {
    batch_.Abandon();
}

void GroupedRunWrites::Attach(RunContext& ctx) {
    ctx.writeBatch = &batch_;
    // A full disk while writes wait: complete them, then the file is tried again.
    batch_.SetMakeRoom([this] { return CommitWaiting(); });
    // A file the step is about to look at must first be what the writes before it made.
    ctx.beforeUse = [this](const std::string& path) {
        return !batch_.Replaces(path) || CommitWaiting();
    };
}

bool GroupedRunWrites::Add(std::size_t index, const std::string& inputPath, Result result,
                           std::uint64_t sourceSize, std::uint64_t trimmedSize,
                           std::string difference) {
    if (stopped_) return false;
    const bool waiting = result == RESULT_OK && batch_.AddedCount() != addedBefore_;
    addedBefore_ = batch_.AddedCount();
    queue_.push_back(
        Entry{{index, result, sourceSize, trimmedSize, std::move(difference)}, inputPath, waiting});
    ReportReady();
    if (batch_.IsFull() && !CommitWaiting()) return false;
    TellNotices();
    return true;
}

bool GroupedRunWrites::Finish() {
    const bool goOn = CommitWaiting();
    if (goOn) TellNotices();
    return goOn;
}

void GroupedRunWrites::TellNotices() {
    TellWriteNotices(user_);
}

void TellWriteNotices(RunQuestions& questions) {
    for (const WriteNotice& notice : TakeWriteNotices()) {
        const int id = notice.kind == WriteNotice::Kind::Restored ? MSG_RESTORED_OLD_CONTENT
                                                                  : MSG_LEFTOVER_KEPT;
        questions.Ask(id, MessageIcon::Information, MessageButtons::Ok, notice.path);
    }
}

void GroupedRunWrites::ReportReady() {
    while (!queue_.empty() && !queue_.front().waiting) {
        report_(queue_.front().outcome);
        queue_.pop_front();
    }
}

bool GroupedRunWrites::CommitWaiting() {
    if (stopped_) return false;
    const bool goOn = batch_.Commit([this](std::size_t, Result result) {
        ReportReady();
        Entry entry = std::move(queue_.front());
        queue_.pop_front();
        if (result != RESULT_OK) {
            if (AskSkipFailedFile(user_, entry.inputPath, result) == RESULT_STOPPED) return false;
            entry.outcome.result = result;
        }
        report_(entry.outcome);
        return true;
    });
    addedBefore_ = batch_.AddedCount();
    if (!goOn) {
        stopped_ = true;
        queue_.clear();
        return false;
    }
    ReportReady();
    return true;
}

MessageAnswer GroupedRunWrites::ShowMessage(const MessageRequest& request) {
    if (!ReadyToAsk()) return MessageAnswer::Cancel;
    return user_.ShowMessage(request);
}

FolderCreationAnswer GroupedRunWrites::FolderCreationDialog(std::string_view text) {
    if (!ReadyToAsk()) return {};
    return user_.FolderCreationDialog(text);
}

OutputExistsAnswer GroupedRunWrites::OutputExistsDialog(const OutputExistsRequest& request) {
    if (!ReadyToAsk()) return {};
    return user_.OutputExistsDialog(request);
}

}  // namespace trimlet
