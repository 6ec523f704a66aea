#include "scripted_dialogs.h"

#include <utility>

#include "common/message_buttons.h"

namespace trimlet {
namespace {

const char* AnswerName(MessageAnswer answer) {
    switch (answer) {
        case MessageAnswer::Ok:
            return "Ok";
        case MessageAnswer::Cancel:
            return "Cancel";
        case MessageAnswer::Yes:
            return "Yes";
        case MessageAnswer::No:
            return "No";
    }
    return "?";
}

const char* ButtonsName(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return "Ok";
        case MessageButtons::OkCancel:
            return "OkCancel";
        case MessageButtons::YesNo:
            return "YesNo";
        case MessageButtons::YesNoCancel:
            return "YesNoCancel";
    }
    return "?";
}

// The call's key and the start of its text, for the unexpected-call entries.
std::string Describe(const DialogCall& call) {
    std::string text = call.Key();
    if (!call.text.empty()) {
        constexpr std::size_t kMaxQuoted = 120;
        std::size_t cut = call.text.size();
        if (cut > kMaxQuoted) {
            cut = kMaxQuoted;
            while (cut > 0 && (static_cast<unsigned char>(call.text[cut]) & 0xC0) == 0x80)
                --cut;
        }
        text += " \"" + call.text.substr(0, cut) + (cut < call.text.size() ? "...\"" : "\"");
    }
    return text;
}

}  // namespace

const char* DialogKindName(DialogKind kind) {
    switch (kind) {
        case DialogKind::Message:
            return "message";
        case DialogKind::FolderCreation:
            return "FolderCreationDialog";
        case DialogKind::OutputExists:
            return "OutputExistsDialog";
        case DialogKind::SettingsMismatch:
            return "SettingsMismatchDialog";
        case DialogKind::AlertVersion:
            return "AlertVersionDialog";
        case DialogKind::ResultSummary:
            return "ResultSummaryDialog";
        case DialogKind::OpenTaskFile:
            return "OpenTaskFileDialog";
        case DialogKind::SaveTaskFile:
            return "SaveTaskFileDialog";
        case DialogKind::AddFiles:
            return "AddFilesDialog";
        case DialogKind::BrowseFolder:
            return "BrowseFolderDialog";
        case DialogKind::AlertCRRegAsWSP:
            return "AlertCRRegAsWSPDialog";
        case DialogKind::AddExtension:
            return "AddExtensionDialog";
        case DialogKind::OptionsSheet:
            return "OptionsSheet";
    }
    return "?";
}

std::string DialogCall::Key() const {
    std::string key = DialogKindName(kind);
    if (kind == DialogKind::Message || kind == DialogKind::OpenTaskFile) {
        key += ' ';
        key += std::to_string(messageId);
    }
    return key;
}

// ---- Script ----

ScriptedDialogs& ScriptedDialogs::Push(DialogKind kind, int expectedId, Value value) {
    queue_.push_back(Scripted{kind, expectedId, std::move(value)});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::AnswerMessage(MessageAnswer answer) {
    return Push(DialogKind::Message, 0, answer);
}
ScriptedDialogs& ScriptedDialogs::AnswerMessage(int expectedId, MessageAnswer answer) {
    return Push(DialogKind::Message, expectedId, answer);
}
ScriptedDialogs& ScriptedDialogs::AnswerFolderCreation(FolderCreationAnswer answer) {
    return Push(DialogKind::FolderCreation, 0, answer);
}
ScriptedDialogs& ScriptedDialogs::AnswerOutputExists(OutputExistsAnswer answer) {
    return Push(DialogKind::OutputExists, 0, answer);
}
ScriptedDialogs& ScriptedDialogs::AnswerSettingsMismatch(SettingsMismatchAnswer answer) {
    return Push(DialogKind::SettingsMismatch, 0, answer);
}
ScriptedDialogs& ScriptedDialogs::AnswerAlertVersion(std::optional<std::uint32_t> bits) {
    return Push(DialogKind::AlertVersion, 0, bits);
}
ScriptedDialogs& ScriptedDialogs::AnswerOpenTaskFile(std::optional<std::string> path) {
    return Push(DialogKind::OpenTaskFile, 0, std::move(path));
}
ScriptedDialogs& ScriptedDialogs::AnswerSaveTaskFile(std::optional<std::string> path) {
    return Push(DialogKind::SaveTaskFile, 0, std::move(path));
}
ScriptedDialogs& ScriptedDialogs::AnswerAddFiles(std::optional<ChosenFiles> files) {
    return Push(DialogKind::AddFiles, 0, std::move(files));
}
ScriptedDialogs& ScriptedDialogs::AnswerBrowseFolder(std::optional<std::string> folder) {
    return Push(DialogKind::BrowseFolder, 0, std::move(folder));
}
ScriptedDialogs& ScriptedDialogs::AnswerAlertCRRegAsWSP(bool dontShowAgain) {
    return Push(DialogKind::AlertCRRegAsWSP, 0, dontShowAgain);
}
ScriptedDialogs& ScriptedDialogs::AnswerAddExtension(std::optional<std::string> extension) {
    return Push(DialogKind::AddExtension, 0, std::move(extension));
}
ScriptedDialogs& ScriptedDialogs::AnswerOptionsSheet(bool ok) {
    return Push(DialogKind::OptionsSheet, 0, ok);
}

// ---- What happened ----

std::vector<std::string> ScriptedDialogs::Sequence() const {
    std::vector<std::string> keys;
    keys.reserve(calls_.size());
    for (const DialogCall& call : calls_)
        keys.push_back(call.Key());
    return keys;
}

std::vector<int> ScriptedDialogs::MessageIds() const {
    std::vector<int> ids;
    for (const DialogCall& call : calls_) {
        if (call.kind == DialogKind::Message) ids.push_back(call.messageId);
    }
    return ids;
}

void ScriptedDialogs::Unexpected(const std::string& what) {
    unexpected_.push_back(what);
}

std::optional<ScriptedDialogs::Value> ScriptedDialogs::Take(DialogCall call) {
    calls_.push_back(std::move(call));
    const DialogCall& recorded = calls_.back();
    if (queue_.empty()) {
        Unexpected("no answer scripted for " + Describe(recorded));
        return std::nullopt;
    }
    const Scripted& head = queue_.front();
    if (head.kind != recorded.kind) {
        Unexpected(std::string("the next answer is for ") + DialogKindName(head.kind) +
                   ", but the call is " + Describe(recorded));
        return std::nullopt;
    }
    if (head.expectedId != 0 && head.expectedId != recorded.messageId) {
        Unexpected("the next answer is for message " + std::to_string(head.expectedId) +
                   ", but the call is " + Describe(recorded));
        return std::nullopt;
    }
    Value value = std::move(queue_.front().value);
    queue_.pop_front();
    return value;
}

// ---- Dialogs ----

MessageAnswer ScriptedDialogs::ShowMessage(const MessageRequest& request) {
    DialogCall call;
    call.kind = DialogKind::Message;
    call.messageId = request.id;
    call.text = request.text;
    call.icon = request.icon;
    call.buttons = request.buttons;
    if (onMessage_) onMessage_(call);
    if (request.buttons == MessageButtons::Ok) {
        // Nothing to decide: acknowledged without an answer from the script.
        calls_.push_back(std::move(call));
        return MessageAnswer::Ok;
    }
    // The answer that does the least: stop where the box can stop, else decline.
    const MessageAnswer safe = OfferedAnswers(request.buttons).back();
    const std::optional<Value> value = Take(std::move(call));
    if (!value) return safe;
    const MessageAnswer answer = std::get<MessageAnswer>(*value);
    if (!Offers(request.buttons, answer)) {
        Unexpected(std::string("answer ") + AnswerName(answer) + " is not offered by " +
                   ButtonsName(request.buttons) + " of " + Describe(calls_.back()));
        return safe;
    }
    return answer;
}

FolderCreationAnswer ScriptedDialogs::FolderCreationDialog(std::string_view text) {
    DialogCall call;
    call.kind = DialogKind::FolderCreation;
    call.messageId = MSG_CREATE_FOLDER_QUESTION;
    call.text = std::string(text);
    const std::optional<Value> value = Take(std::move(call));
    if (!value) return FolderCreationAnswer{};
    return std::get<FolderCreationAnswer>(*value);
}

OutputExistsAnswer ScriptedDialogs::OutputExistsDialog(const OutputExistsRequest& request) {
    DialogCall call;
    call.kind = DialogKind::OutputExists;
    call.text = request.message;
    call.outputExists = request;
    const OutputExistsAnswer safe{OutputExistsClose::Cancel, request.radioIndex};
    const std::optional<Value> value = Take(std::move(call));
    if (!value) return safe;
    const OutputExistsAnswer answer = std::get<OutputExistsAnswer>(*value);
    if (answer.closedWith == OutputExistsClose::ForAll && !request.forAllEnabled) {
        Unexpected("\"以後すべて\" is disabled in " + Describe(calls_.back()));
        return safe;
    }
    if (answer.radioIndex < OVERWRITE_CHOICE_OVERWRITE ||
        answer.radioIndex > OVERWRITE_CHOICE_IF_NEWER) {
        Unexpected("radio index " + std::to_string(answer.radioIndex) + " does not exist in " +
                   Describe(calls_.back()));
        return safe;
    }
    return answer;
}

SettingsMismatchAnswer ScriptedDialogs::SettingsMismatchDialog(std::string_view report) {
    DialogCall call;
    call.kind = DialogKind::SettingsMismatch;
    call.text = std::string(report);
    call.buttons = MessageButtons::YesNoCancel;
    const std::optional<Value> value = Take(std::move(call));
    if (!value) return SettingsMismatchAnswer{};
    const SettingsMismatchAnswer answer = std::get<SettingsMismatchAnswer>(*value);
    if (!Offers(MessageButtons::YesNoCancel, answer.button)) {
        Unexpected(std::string("answer ") + AnswerName(answer.button) + " is not offered by " +
                   Describe(calls_.back()));
        return SettingsMismatchAnswer{};
    }
    return answer;
}

std::optional<std::uint32_t> ScriptedDialogs::AlertVersionDialog(std::uint32_t initialMode) {
    DialogCall call;
    call.kind = DialogKind::AlertVersion;
    call.text = TXT_OLD_VERSION_TEXT;
    call.initialMode = initialMode;
    const std::optional<Value> value = Take(std::move(call));
    if (!value) return std::nullopt;
    return std::get<std::optional<std::uint32_t>>(*value);
}

void ScriptedDialogs::ResultSummaryDialog(const RunSummary& summary) {
    DialogCall call;
    call.kind = DialogKind::ResultSummary;
    call.summary = summary;
    calls_.push_back(std::move(call));
}

std::optional<std::string> ScriptedDialogs::OpenTaskFileDialog(int titleId,
                                                               std::string_view folder) {
    DialogCall call;
    call.kind = DialogKind::OpenTaskFile;
    call.messageId = titleId;
    call.text = MessageText(titleId);
    call.folder = std::string(folder);
    const std::optional<Value> value = Take(std::move(call));
    if (!value) return std::nullopt;
    return std::get<std::optional<std::string>>(*value);
}

std::optional<std::string> ScriptedDialogs::SaveTaskFileDialog(std::string_view folder,
                                                               std::string_view proposedName) {
    DialogCall call;
    call.kind = DialogKind::SaveTaskFile;
    call.messageId = MSG_TITLE_SAVE_TASK_AS;
    call.text = MessageText(MSG_TITLE_SAVE_TASK_AS);
    call.folder = std::string(folder);
    call.proposedName = std::string(proposedName);
    const std::optional<Value> value = Take(std::move(call));
    if (!value) return std::nullopt;
    return std::get<std::optional<std::string>>(*value);
}

std::optional<ChosenFiles> ScriptedDialogs::AddFilesDialog(std::string_view folder) {
    DialogCall call;
    call.kind = DialogKind::AddFiles;
    call.messageId = MSG_TITLE_ADD_FILES;
    call.text = MessageText(MSG_TITLE_ADD_FILES);
    call.folder = std::string(folder);
    const std::optional<Value> value = Take(std::move(call));
    if (!value) return std::nullopt;
    return std::get<std::optional<ChosenFiles>>(*value);
}

std::optional<std::string> ScriptedDialogs::BrowseFolderDialog() {
    DialogCall call;
    call.kind = DialogKind::BrowseFolder;
    call.text = TXT_BROWSE_FOLDER_TITLE;
    const std::optional<Value> value = Take(std::move(call));
    if (!value) return std::nullopt;
    return std::get<std::optional<std::string>>(*value);
}

bool ScriptedDialogs::AlertCRRegAsWSPDialog(bool dontShowAgain) {
    DialogCall call;
    call.kind = DialogKind::AlertCRRegAsWSP;
    call.text = TXT_LINE_BREAK_HINT_TEXT;
    call.initialCheck = dontShowAgain;
    const std::optional<Value> value = Take(std::move(call));
    if (!value) return dontShowAgain;  // OK with the box left as it was
    return std::get<bool>(*value);
}

std::optional<std::string> ScriptedDialogs::AddExtensionDialog() {
    DialogCall call;
    call.kind = DialogKind::AddExtension;
    call.text = TXT_ADD_EXTENSION_TITLE;
    const std::optional<Value> value = Take(std::move(call));
    if (!value) return std::nullopt;
    return std::get<std::optional<std::string>>(*value);
}

bool ScriptedDialogs::OptionsSheet() {
    DialogCall call;
    call.kind = DialogKind::OptionsSheet;
    const std::optional<Value> value = Take(std::move(call));
    if (!value) return false;
    return std::get<bool>(*value);
}

}  // namespace trimlet
