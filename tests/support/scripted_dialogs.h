#pragma once
// Dialogs for tests: answers come from a script the test writes beforehand, and every call
// is recorded in order, so a test asserts the exact questions the user would have seen.
//
//   ScriptedDialogs dialogs;
//   dialogs.AnswerMessage(MSG_FILE_NOT_FOUND, MessageAnswer::Ok)
//       .AnswerOutputExists({OutputExistsClose::ForAll, OVERWRITE_CHOICE_SKIP});
//   ... run the code under test with `dialogs` ...
//   EXPECT_EQ(dialogs.Sequence(), (std::vector<std::string>{"message 20000",
//                                  "OutputExistsDialog", "ResultSummaryDialog"}));
//   EXPECT_TRUE(dialogs.AllAnswersUsed());
//   EXPECT_THAT(dialogs.UnexpectedCalls(), testing::IsEmpty());
//
// Answers are taken in order from one queue; each names the kind of dialog it is for.
// Message boxes with only an OK button and the result summary need no answer: they are
// recorded and acknowledged. Any other call with no fitting answer at the head of the
// queue is recorded in UnexpectedCalls() and gets the safest answer (Cancel, No, nothing
// chosen), so the code under test stops rather than does something the test did not ask.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "common/dialogs.h"

namespace trimlet {

enum class DialogKind {
    Message,
    FolderCreation,
    OutputExists,
    SettingsMismatch,
    AlertVersion,
    ResultSummary,
    OpenTaskFile,
    SaveTaskFile,
    AddFiles,
    BrowseFolder,
    AlertCRRegAsWSP,
    AddExtension,
    OptionsSheet,
};

// The function's name ("OutputExistsDialog"), or "message" for a message box.
const char* DialogKindName(DialogKind kind);

// One recorded call with its inputs. Fields that do not apply to the kind keep their
// defaults.
struct DialogCall {
    DialogKind kind = DialogKind::Message;
    int messageId = 0;  // message box id; MSG_CREATE_FOLDER_QUESTION; a chooser's title id
    std::string text;   // the main text shown: message, folder question, message line of the
                        // output-exists dialog, difference report, chooser title
    MessageIcon icon = MessageIcon::None;         // message boxes
    MessageButtons buttons = MessageButtons::Ok;  // message boxes
    OutputExistsRequest outputExists;             // OutputExistsDialog
    RunSummary summary;                           // ResultSummaryDialog
    std::string folder;                           // choosers: starting folder
    std::string proposedName;                     // SaveTaskFileDialog
    std::uint32_t initialMode = 0;                // AlertVersionDialog
    bool initialCheck = false;                    // AlertCRRegAsWSPDialog

    // "message 20000", "OpenTaskFileDialog 15007", "OutputExistsDialog", ...
    std::string Key() const;
};

class ScriptedDialogs final : public Dialogs {
  public:
    // ---- Script: each call appends one answer to the queue ----
    ScriptedDialogs& AnswerMessage(MessageAnswer answer);
    // The same, and the message box must be message `expectedId`.
    ScriptedDialogs& AnswerMessage(int expectedId, MessageAnswer answer);
    ScriptedDialogs& AnswerFolderCreation(FolderCreationAnswer answer);
    ScriptedDialogs& AnswerOutputExists(OutputExistsAnswer answer);
    ScriptedDialogs& AnswerSettingsMismatch(SettingsMismatchAnswer answer);
    ScriptedDialogs& AnswerAlertVersion(std::optional<std::uint32_t> bits);
    ScriptedDialogs& AnswerOpenTaskFile(std::optional<std::string> path);
    ScriptedDialogs& AnswerSaveTaskFile(std::optional<std::string> path);
    ScriptedDialogs& AnswerAddFiles(std::optional<ChosenFiles> files);
    ScriptedDialogs& AnswerBrowseFolder(std::optional<std::string> folder);
    ScriptedDialogs& AnswerAlertCRRegAsWSP(bool dontShowAgain);
    ScriptedDialogs& AnswerAddExtension(std::optional<std::string> extension);
    ScriptedDialogs& AnswerOptionsSheet(bool ok);

    // ---- What happened ----
    const std::vector<DialogCall>& Calls() const { return calls_; }
    // The Key() of every call, in order.
    std::vector<std::string> Sequence() const;
    // The ids of the message boxes shown, in order (other dialogs left out).
    std::vector<int> MessageIds() const;
    // Calls that found no fitting answer, and answers that did not fit their call.
    const std::vector<std::string>& UnexpectedCalls() const { return unexpected_; }
    bool AllAnswersUsed() const { return queue_.empty(); }
    std::size_t PendingAnswers() const { return queue_.size(); }
    // Forgets the recorded calls (not the queue, not the unexpected calls).
    void ClearCalls() { calls_.clear(); }
    // Called with each message box while it is "open", as events arriving then would be.
    void OnMessage(std::function<void(const DialogCall&)> hook) { onMessage_ = std::move(hook); }

    // ---- Dialogs ----
    MessageAnswer ShowMessage(const MessageRequest& request) override;
    FolderCreationAnswer FolderCreationDialog(std::string_view text) override;
    OutputExistsAnswer OutputExistsDialog(const OutputExistsRequest& request) override;
    SettingsMismatchAnswer SettingsMismatchDialog(std::string_view report) override;
    std::optional<std::uint32_t> AlertVersionDialog(std::uint32_t initialMode) override;
    void ResultSummaryDialog(const RunSummary& summary) override;
    std::optional<std::string> OpenTaskFileDialog(int titleId, std::string_view folder) override;
    std::optional<std::string> SaveTaskFileDialog(std::string_view folder,
                                                  std::string_view proposedName) override;
    std::optional<ChosenFiles> AddFilesDialog(std::string_view folder) override;
    std::optional<std::string> BrowseFolderDialog() override;
    bool AlertCRRegAsWSPDialog(bool dontShowAgain) override;
    std::optional<std::string> AddExtensionDialog() override;
    bool OptionsSheet() override;

  private:
    using Value = std::variant<MessageAnswer, FolderCreationAnswer, OutputExistsAnswer,
                               SettingsMismatchAnswer, std::optional<std::uint32_t>,
                               std::optional<std::string>, std::optional<ChosenFiles>, bool>;
    struct Scripted {
        DialogKind kind;
        int expectedId;  // 0: any message
        Value value;
    };

    ScriptedDialogs& Push(DialogKind kind, int expectedId, Value value);
    // Records `call` and takes the answer for it from the head of the queue; nothing
    // (and an unexpected-call entry) when the head does not fit.
    std::optional<Value> Take(DialogCall call);
    void Unexpected(const std::string& what);

    std::deque<Scripted> queue_;
    std::vector<DialogCall> calls_;
    std::function<void(const DialogCall&)> onMessage_;
    std::vector<std::string> unexpected_;
};

}  // namespace trimlet
