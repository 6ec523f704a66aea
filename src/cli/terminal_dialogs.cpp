#include "cli/terminal_dialogs.h"

#include <unistd.h>

#include <array>
#include <initializer_list>
#include <iostream>
#include <span>

#include "batch/format.h"
#include "common/message_buttons.h"
#include "engine/trim_mode.h"

namespace trimlet::cli {

namespace {

constexpr std::string_view kSeparator = " / ";
constexpr std::string_view kChoiceRange = "[0-2] ";
constexpr std::string_view kAllKey = "[A] ";
constexpr std::string_view kAgainKey = "[R] ";
constexpr std::string_view kAnswerOpen = "(answer: ";
constexpr std::string_view kAnswerClose = ")";
constexpr std::string_view kTicked = "[x] ";
constexpr std::string_view kClear = "[ ] ";
constexpr std::string_view kIndent = "  ";

// How each answer of a message box is offered and typed, and named once taken.
struct AnswerKey {
    MessageAnswer answer;
    char key;
    std::string_view label;
    std::string_view name;
};
constexpr AnswerKey kAnswerKeys[] = {
    {MessageAnswer::Ok, 'o', "[O]K", "OK"},
    {MessageAnswer::Cancel, 'c', "[C]ancel", "Cancel"},
    {MessageAnswer::Yes, 'y', "[Y]es", "Yes"},
    {MessageAnswer::No, 'n', "[N]o", "No"},
};

const AnswerKey& KeyOf(MessageAnswer answer) {
    for (const AnswerKey& key : kAnswerKeys) {
        if (key.answer == answer) return key;
    }
    return kAnswerKeys[0];
}

// Adds a choice to a prompt's list: "[O]K" + "[C]ancel" -> "[O]K / [C]ancel".
void AddChoice(std::string& choices, std::string_view choice) {
    if (!choices.empty()) choices += kSeparator;
    choices += choice;
}

std::string Choices(std::initializer_list<std::string_view> choices) {
    std::string joined;
    for (std::string_view choice : choices)
        AddChoice(joined, choice);
    return joined;
}

struct ScriptOption {
    TrimMode bit;
    Text label;
};
constexpr std::array<ScriptOption, 5> kScriptOptions = {{
    {TM_KEEP_SCRIPT_HTML_COMMENT, TXT_OLD_VERSION_KEEP_SCRIPT_HTML_COMMENT},
    {TM_SCRIPT_COMMENT_DEL, TXT_OLD_VERSION_SCRIPT_COMMENT_DEL},
    {TM_SCRIPT_BLOCK_COMMENT, TXT_OLD_VERSION_SCRIPT_BLOCK_COMMENT},
    {TM_SCRIPT_LINE_COMMENT, TXT_OLD_VERSION_SCRIPT_LINE_COMMENT},
    {TM_VBS_REM_COMMENT, TXT_OLD_VERSION_VBS_REM_COMMENT},
}};

constexpr std::array<Text, 3> kChoiceLabels = {TXT_OUTPUT_EXISTS_OVERWRITE, TXT_OUTPUT_EXISTS_SKIP,
                                               TXT_OUTPUT_EXISTS_IF_NEWER};

// A label without its keyboard mnemonic: "...作成する(&A)" -> "...作成する",
// "&Always create" -> "Always create"; "&&" stays one "&".
std::string WithoutMnemonic(std::string_view label) {
    if (label.size() >= 4 && label.substr(label.size() - 4, 2) == "(&" && label.back() == ')') {
        label.remove_suffix(4);
        while (!label.empty() && label.back() == ' ')
            label.remove_suffix(1);
    }
    std::string text;
    for (std::size_t i = 0; i < label.size(); ++i) {
        if (label[i] == '&' && i + 1 < label.size()) ++i;
        text += label[i];
    }
    return text;
}

int ValidChoice(int index) {
    return index >= 0 && index < static_cast<int>(kChoiceLabels.size()) ? index : 0;
}

std::string ChoiceAnswerText(const OutputExistsAnswer& answer) {
    std::string text = kChoiceLabels[static_cast<std::size_t>(answer.radioIndex)].Get();
    if (answer.closedWith == OutputExistsClose::ForAll) {
        text += ", ";
        text += TXT_OUTPUT_EXISTS_FOR_ALL;
    }
    return text;
}

}  // namespace

std::optional<OverwritePolicy> ParseOverwritePolicy(std::string_view text) {
    if (text == "all") return OverwritePolicy::All;
    if (text == "skip") return OverwritePolicy::Skip;
    if (text == "newer") return OverwritePolicy::Newer;
    return std::nullopt;
}

TerminalDialogs::TerminalDialogs(std::istream& in, std::ostream& questions, std::ostream& out,
                                 bool interactive, OverwritePolicy overwrite)
    : in_(in), questions_(questions), out_(out), interactive_(interactive), overwrite_(overwrite) {}

std::unique_ptr<TerminalDialogs> TerminalDialogs::ForStandardStreams(bool assumeYes,
                                                                     OverwritePolicy overwrite) {
    bool interactive = !assumeYes && ::isatty(STDIN_FILENO) == 1;
    return std::make_unique<TerminalDialogs>(std::cin, std::cerr, std::cout, interactive,
                                             overwrite);
}

void TerminalDialogs::Show(std::string_view text, std::string_view indent) {
    std::string lines;
    lines.reserve(text.size() + 1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            lines += '\n';
            lines += indent;
        } else {
            lines += c;
        }
    }
    questions_ << lines << '\n';
}

std::optional<std::string> TerminalDialogs::Prompt(std::string_view choices) {
    if (!interactive_) return std::nullopt;
    questions_ << choices << ": " << std::flush;
    std::string line;
    if (!std::getline(in_, line)) {
        questions_ << '\n';
        return std::nullopt;
    }
    std::string answer;
    for (char c : line) {
        if (c == ' ' || c == '\t' || c == '\r') continue;
        answer += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return answer;
}

void TerminalDialogs::ShowAnswer(std::string_view answer) {
    questions_ << kAnswerOpen << answer << kAnswerClose << '\n' << std::flush;
}

MessageAnswer TerminalDialogs::ShowMessage(const MessageRequest& request) {
    if (messageShown_) messageShown_(request);
    Show(request.text);
    if (request.buttons == MessageButtons::Ok) {
        questions_ << std::flush;
        return MessageAnswer::Ok;
    }
    const std::span<const MessageAnswer> offered = OfferedAnswers(request.buttons);
    std::string choices;
    for (MessageAnswer answer : offered)
        AddChoice(choices, KeyOf(answer).label);

    while (std::optional<std::string> line = Prompt(choices)) {
        const char key = line->empty() ? '\0' : (*line)[0];
        for (MessageAnswer answer : offered) {
            if (KeyOf(answer).key == key) return answer;
        }
    }
    // No where the box has it (a read-only output is kept, a newer task is not run), else OK
    // (the file is skipped and the run goes on).
    const MessageAnswer safe =
        Offers(request.buttons, MessageAnswer::No) ? MessageAnswer::No : MessageAnswer::Ok;
    ShowAnswer(KeyOf(safe).name);
    return safe;
}

FolderCreationAnswer TerminalDialogs::FolderCreationDialog(std::string_view text) {
    Show(TXT_FOLDER_CREATION_TITLE);
    Show(text);
    const std::string choices =
        Choices({KeyOf(MessageAnswer::Ok).label,
                 std::string(kAllKey) + WithoutMnemonic(TXT_FOLDER_CREATION_AUTO),
                 KeyOf(MessageAnswer::Cancel).label});
    while (std::optional<std::string> line = Prompt(choices)) {
        if (*line == "o" || *line == "ok") return {true, false};
        if (*line == "a") return {true, true};
        if (*line == "c" || *line == "cancel") return {false, false};
    }
    ShowAnswer(KeyOf(MessageAnswer::Ok).name);
    return {true, false};
}

OutputExistsAnswer TerminalDialogs::OutputExistsDialog(const OutputExistsRequest& request) {
    Show(TXT_OUTPUT_EXISTS_TITLE);
    Show(request.message);
    Show(std::string(TXT_OUTPUT_EXISTS_ORIGINAL) + request.inputText, kIndent);
    Show(std::string(TXT_OUTPUT_EXISTS_OUTPUT) + request.outputText, kIndent);
    int preselected = ValidChoice(request.radioIndex);
    OutputExistsClose forAll =
        request.forAllEnabled ? OutputExistsClose::ForAll : OutputExistsClose::Ok;

    if (overwrite_ != OverwritePolicy::Ask) {
        int index = overwrite_ == OverwritePolicy::All    ? OVERWRITE_CHOICE_OVERWRITE
                    : overwrite_ == OverwritePolicy::Skip ? OVERWRITE_CHOICE_SKIP
                                                          : OVERWRITE_CHOICE_IF_NEWER;
        OutputExistsAnswer answer{forAll, index};
        ShowAnswer(ChoiceAnswerText(answer));
        return answer;
    }

    if (interactive_) {
        for (std::size_t i = 0; i < kChoiceLabels.size(); ++i) {
            questions_ << (static_cast<int>(i) == preselected ? "* " : kIndent) << i << ") "
                       << kChoiceLabels[i] << '\n';
        }
    }
    std::string choices(kChoiceRange);
    choices += KeyOf(MessageAnswer::Ok).label;
    if (request.forAllEnabled)
        AddChoice(choices, std::string(kAllKey) + TXT_OUTPUT_EXISTS_FOR_ALL.Get());
    AddChoice(choices, KeyOf(MessageAnswer::Cancel).label);
    while (std::optional<std::string> line = Prompt(choices)) {
        std::string_view rest = *line;
        int index = preselected;
        bool picked = !rest.empty() && rest[0] >= '0' && rest[0] <= '2';
        if (picked) {
            index = rest[0] - '0';
            rest.remove_prefix(1);
        }
        if (rest == "c") return {OutputExistsClose::Cancel, index};
        if ((rest.empty() && picked) || rest == "o") return {OutputExistsClose::Ok, index};
        if (rest == "a" && request.forAllEnabled) return {OutputExistsClose::ForAll, index};
    }
    OutputExistsAnswer safe{forAll, preselected};
    ShowAnswer(ChoiceAnswerText(safe));
    return safe;
}

SettingsMismatchAnswer TerminalDialogs::SettingsMismatchDialog(std::string_view report) {
    Show(TXT_MISMATCH_TITLE);
    Show(TXT_MISMATCH_TEXT);
    Show(TXT_MISMATCH_REPORT_LABEL);
    Show(report);
    const std::string choices =
        Choices({KeyOf(MessageAnswer::Yes).label, KeyOf(MessageAnswer::No).label,
                 KeyOf(MessageAnswer::Cancel).label,
                 std::string(kAgainKey) + WithoutMnemonic(TXT_MISMATCH_DONT_ASK)});
    while (std::optional<std::string> line = Prompt(choices)) {
        if (*line == "y" || *line == "yes") return {MessageAnswer::Yes, false};
        if (*line == "n" || *line == "no") return {MessageAnswer::No, false};
        if (*line == "c" || *line == "cancel") return {MessageAnswer::Cancel, false};
        if (*line == "r") return {MessageAnswer::Yes, true};
    }
    ShowAnswer(KeyOf(MessageAnswer::No).name);
    return {MessageAnswer::No, false};
}

std::optional<std::uint32_t> TerminalDialogs::AlertVersionDialog(std::uint32_t initialMode) {
    Show(TXT_OLD_VERSION_TITLE);
    Show(TXT_OLD_VERSION_TEXT);
    std::uint32_t ticked = 0;
    for (const ScriptOption& option : kScriptOptions) {
        bool on = (initialMode & option.bit) != 0;
        if (on) ticked |= option.bit;
        questions_ << kIndent << (on ? kTicked : kClear) << WithoutMnemonic(option.label) << '\n';
    }
    const std::string choices =
        Choices({KeyOf(MessageAnswer::Ok).label, KeyOf(MessageAnswer::Cancel).label});
    while (std::optional<std::string> line = Prompt(choices)) {
        if (*line == "o" || *line == "ok") return ticked;
        if (*line == "c" || *line == "cancel") return std::nullopt;
    }
    ShowAnswer(KeyOf(MessageAnswer::Cancel).name);
    return std::nullopt;
}

void TerminalDialogs::ResultSummaryDialog(const RunSummary& summary) {
    SummaryTexts texts = FormatSummary(ResultSummary{summary.succeededCount, summary.skippedCount,
                                                     summary.sourceTotal, summary.trimmedTotal});
    out_ << TXT_SUMMARY_HEADING << '\n'
         << TXT_SUMMARY_SUCCEEDED << texts.successText << '\n'
         << TXT_SUMMARY_SKIPPED << texts.skipText << ' ' << TXT_SUMMARY_SKIPPED_NOTE << '\n'
         << TXT_SUMMARY_SOURCE_TOTAL << texts.sourceText << '\n'
         << TXT_SUMMARY_TRIMMED_TOTAL << texts.trimmedText << '\n'
         << TXT_SUMMARY_RATE << texts.rateText << '\n'
         << std::flush;
}

std::optional<std::string> TerminalDialogs::OpenTaskFileDialog(int, std::string_view) {
    return std::nullopt;
}

std::optional<std::string> TerminalDialogs::SaveTaskFileDialog(std::string_view, std::string_view) {
    return std::nullopt;
}

std::optional<ChosenFiles> TerminalDialogs::AddFilesDialog(std::string_view) {
    return std::nullopt;
}

std::optional<std::string> TerminalDialogs::BrowseFolderDialog() {
    return std::nullopt;
}

bool TerminalDialogs::AlertCRRegAsWSPDialog(bool dontShowAgain) {
    return dontShowAgain;
}

std::optional<std::string> TerminalDialogs::AddExtensionDialog() {
    return std::nullopt;
}

bool TerminalDialogs::OptionsSheet() {
    return false;
}

}  // namespace trimlet::cli
