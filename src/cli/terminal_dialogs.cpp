#include "cli/terminal_dialogs.h"

#include <unistd.h>

#include <array>
#include <iostream>

#include "batch/format.h"
#include "engine/trim_mode.h"

namespace trimlet::cli {

namespace {

constexpr std::string_view kOk = "[O]K";
constexpr std::string_view kCancel = "[C]ancel";
constexpr std::string_view kYesNo = "[Y]es / [N]o";
constexpr std::string_view kSeparator = " / ";
constexpr std::string_view kChoiceRange = "[0-2] ";
constexpr std::string_view kAllKey = "[A] ";
constexpr std::string_view kAgainKey = "[R] ";
constexpr std::string_view kAnswerOpen = "(answer: ";
constexpr std::string_view kAnswerClose = ")";
constexpr std::string_view kTicked = "[x] ";
constexpr std::string_view kClear = "[ ] ";
constexpr std::string_view kIndent = "  ";

struct ScriptOption {
    TrimMode bit;
    const char* label;
};
constexpr std::array<ScriptOption, 5> kScriptOptions = {{
    {TM_KEEP_SCRIPT_HTML_COMMENT, TXT_OLD_VERSION_KEEP_SCRIPT_HTML_COMMENT},
    {TM_SCRIPT_COMMENT_DEL, TXT_OLD_VERSION_SCRIPT_COMMENT_DEL},
    {TM_SCRIPT_BLOCK_COMMENT, TXT_OLD_VERSION_SCRIPT_BLOCK_COMMENT},
    {TM_SCRIPT_LINE_COMMENT, TXT_OLD_VERSION_SCRIPT_LINE_COMMENT},
    {TM_VBS_REM_COMMENT, TXT_OLD_VERSION_VBS_REM_COMMENT},
}};

constexpr std::array<const char*, 3> kChoiceLabels = {
    TXT_OUTPUT_EXISTS_OVERWRITE, TXT_OUTPUT_EXISTS_SKIP, TXT_OUTPUT_EXISTS_IF_NEWER};

// A label without its keyboard mnemonic: "...作成する(&A)" -> "...作成する".
std::string WithoutMnemonic(std::string_view label) {
    if (label.size() >= 4 && label.substr(label.size() - 4, 2) == "(&" && label.back() == ')')
        label.remove_suffix(4);
    return std::string(label);
}

const char* AnswerName(MessageAnswer answer) {
    switch (answer) {
        case MessageAnswer::Ok:
            return "OK";
        case MessageAnswer::Cancel:
            return "Cancel";
        case MessageAnswer::Yes:
            return "Yes";
        case MessageAnswer::No:
            return "No";
    }
    return "";
}

int ValidChoice(int index) {
    return index >= 0 && index < static_cast<int>(kChoiceLabels.size()) ? index : 0;
}

std::string ChoiceAnswerText(const OutputExistsAnswer& answer) {
    std::string text = kChoiceLabels[static_cast<std::size_t>(answer.radioIndex)];
    if (answer.closedWith == OutputExistsClose::ForAll)
        text += std::string(", ") + TXT_OUTPUT_EXISTS_FOR_ALL;
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
    Show(request.text);
    if (request.buttons == MessageButtons::Ok) {
        questions_ << std::flush;
        return MessageAnswer::Ok;
    }
    bool yesNo =
        request.buttons == MessageButtons::YesNo || request.buttons == MessageButtons::YesNoCancel;
    bool cancel = request.buttons != MessageButtons::YesNo;
    std::string choices(yesNo ? kYesNo : kOk);
    if (cancel) (choices += kSeparator) += kCancel;

    while (std::optional<std::string> line = Prompt(choices)) {
        char key = line->empty() ? '\0' : (*line)[0];
        if (!yesNo && key == 'o') return MessageAnswer::Ok;
        if (yesNo && key == 'y') return MessageAnswer::Yes;
        if (yesNo && key == 'n') return MessageAnswer::No;
        if (cancel && key == 'c') return MessageAnswer::Cancel;
    }
    MessageAnswer safe = yesNo ? MessageAnswer::No : MessageAnswer::Ok;
    ShowAnswer(AnswerName(safe));
    return safe;
}

FolderCreationAnswer TerminalDialogs::FolderCreationDialog(std::string_view text) {
    Show(TXT_FOLDER_CREATION_TITLE);
    Show(text);
    std::string choices(kOk);
    ((choices += kSeparator) += kAllKey) += WithoutMnemonic(TXT_FOLDER_CREATION_AUTO);
    (choices += kSeparator) += kCancel;
    while (std::optional<std::string> line = Prompt(choices)) {
        if (*line == "o" || *line == "ok") return {true, false};
        if (*line == "a") return {true, true};
        if (*line == "c" || *line == "cancel") return {false, false};
    }
    ShowAnswer(AnswerName(MessageAnswer::Ok));
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
    choices += kOk;
    if (request.forAllEnabled) ((choices += kSeparator) += kAllKey) += TXT_OUTPUT_EXISTS_FOR_ALL;
    (choices += kSeparator) += kCancel;
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
    std::string choices(kYesNo);
    (choices += kSeparator) += kCancel;
    ((choices += kSeparator) += kAgainKey) += WithoutMnemonic(TXT_MISMATCH_DONT_ASK);
    while (std::optional<std::string> line = Prompt(choices)) {
        if (*line == "y" || *line == "yes") return {MessageAnswer::Yes, false};
        if (*line == "n" || *line == "no") return {MessageAnswer::No, false};
        if (*line == "c" || *line == "cancel") return {MessageAnswer::Cancel, false};
        if (*line == "r") return {MessageAnswer::Yes, true};
    }
    ShowAnswer(AnswerName(MessageAnswer::No));
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
    std::string choices(kOk);
    (choices += kSeparator) += kCancel;
    while (std::optional<std::string> line = Prompt(choices)) {
        if (*line == "o" || *line == "ok") return ticked;
        if (*line == "c" || *line == "cancel") return std::nullopt;
    }
    ShowAnswer(AnswerName(MessageAnswer::Cancel));
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
