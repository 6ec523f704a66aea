#include "task/settings_report.h"

#include <span>

#include "common/messages.h"
#include "settings/profile_keys.h"
#include "settings/trim_options.h"

namespace trimlet {

namespace {

struct ReportItem {
    TrimMode bits;
    Text label;
};

struct ReportSection {
    Text heading;
    std::span<const ReportItem> items;
};

// The blank-line item is the only one held in two bits; it reports both choices.
constexpr TrimMode kBlankLineBits = TM_BLANK_LINES_DELETE | TM_BLANK_LINES_MERGE;

constexpr ReportItem kWhitespaceItems[] = {
    {TM_TRIM_LINE_ENDS, TXT_REPORT_TRIM_LINE_ENDS},
    {TM_COLLAPSE_SPACES, TXT_REPORT_COLLAPSE_SPACES},
    {TM_ZENKAKU_AS_WSP, TXT_REPORT_ZENKAKU_AS_WSP},
    {TM_CR_REG_AS_WSP, TXT_REPORT_CR_REG_AS_WSP},
    {kBlankLineBits, TXT_REPORT_BLANK_LINES},
    {TM_BETWEEN_TAGS, TXT_REPORT_BETWEEN_TAGS},
    {TM_BETWEEN_INLINE_TAGS, TXT_REPORT_BETWEEN_INLINE_TAGS},
    {TM_INSIDE_PRE, TXT_REPORT_INSIDE_PRE},
};

constexpr ReportItem kHtmlCommentItems[] = {
    {TM_HTML_COMMENT_DEL, TXT_REPORT_HTML_COMMENT_DEL},
    {TM_BODY_COMMENTS_ONLY, TXT_REPORT_BODY_COMMENTS_ONLY},
    {TM_KEEP_SCRIPT_HTML_COMMENT, TXT_REPORT_KEEP_SCRIPT_HTML_COMMENT},
    {TM_KEEP_SSI, TXT_REPORT_KEEP_SSI},
    {TM_KEEP_DOVETAG, TXT_REPORT_KEEP_DOVETAG},
};

constexpr ReportItem kScriptCommentItems[] = {
    {TM_SCRIPT_COMMENT_DEL, TXT_REPORT_SCRIPT_COMMENT_DEL},
    {TM_SCRIPT_BLOCK_COMMENT, TXT_REPORT_SCRIPT_BLOCK_COMMENT},
    {TM_SCRIPT_LINE_COMMENT, TXT_REPORT_SCRIPT_LINE_COMMENT},
    {TM_VBS_REM_COMMENT, TXT_REPORT_VBS_REM_COMMENT},
    {TM_SPECIAL_COMMENTS_DEL, TXT_REPORT_SPECIAL_COMMENTS_DEL},
};

constexpr ReportSection kSections[] = {
    {TXT_REPORT_WHITESPACE_HEADING, kWhitespaceItems},
    {TXT_REPORT_HTML_COMMENT_HEADING, kHtmlCommentItems},
    {TXT_REPORT_SCRIPT_COMMENT_HEADING, kScriptCommentItems},
};

const char* BlankLineValue(BlankLineChoice choice, bool current) {
    switch (choice) {
        case BlankLineChoice::Delete:
            return current ? TXT_REPORT_BLANK_DELETE_CURRENT : TXT_REPORT_BLANK_DELETE_FILE;
        case BlankLineChoice::Merge:
            return current ? TXT_REPORT_BLANK_MERGE_CURRENT : TXT_REPORT_BLANK_MERGE_FILE;
        case BlankLineChoice::Leave:
            break;
    }
    return current ? TXT_REPORT_BLANK_NONE_CURRENT : TXT_REPORT_BLANK_NONE_FILE;
}

// Starts a new section of the report, a blank line pair away from the one before.
void AppendSectionStart(std::string& report, const char* heading) {
    if (!report.empty()) report += TXT_REPORT_SECTION_SEPARATOR;
    report += TXT_REPORT_STARS;
    report += heading;
}

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool SameOutputFolderName(std::string_view a, std::string_view b, PathStyle style) {
    if (style == PathStyle::Posix) return a == b;
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return true;
}

bool TaskSettingsDiffer(TrimMode currentMode, std::string_view currentFolderName, TrimMode fileMode,
                        std::string_view fileFolderName, PathStyle style) {
    return currentMode != fileMode ||
           !SameOutputFolderName(currentFolderName, fileFolderName, style);
}

std::string BuildSettingsReport(TrimMode currentMode, std::string_view currentFolderName,
                                TrimMode fileMode, std::string_view fileFolderName, PathStyle style,
                                std::span<const std::string> keptComments) {
    const TrimMode differing = currentMode ^ fileMode;
    std::string report;
    bool commentSection = false;
    for (const ReportSection& section : kSections) {
        std::string body;
        for (const ReportItem& item : section.items) {
            if ((differing & item.bits) == 0) continue;
            if (!body.empty()) body += TXT_REPORT_ITEM_SEPARATOR;
            body += item.label;
            if (item.bits == kBlankLineBits) {
                body += BlankLineValue(BlankLineChoiceOf(currentMode), true);
                body += BlankLineValue(BlankLineChoiceOf(fileMode), false);
            } else {
                body += (currentMode & item.bits) ? TXT_REPORT_CURRENT_ON : TXT_REPORT_CURRENT_OFF;
            }
        }
        if (body.empty()) continue;
        AppendSectionStart(report, section.heading);
        report += body;
        commentSection = commentSection || &section != &kSections[0];  // not the blanks
    }
    if (commentSection && !keptComments.empty()) {
        report += TXT_REPORT_ITEM_SEPARATOR;
        report += TXT_REPORT_KEPT_COMMENTS;
        for (const std::string& entry : keptComments) {
            report += TXT_REPORT_KEPT_COMMENT_ITEM;
            report += entry;
            report += "\r\n";
        }
    }
    if (!SameOutputFolderName(currentFolderName, fileFolderName, style)) {
        AppendSectionStart(report, TXT_REPORT_FOLDER_HEADING);
        report += TXT_REPORT_FOLDER_CURRENT;
        report += currentFolderName;
        report += "\r\n";
        report += TXT_REPORT_FOLDER_FILE;
        report += fileFolderName;
        report += "\r\n";
    }
    return report;
}

SettingsStepOutcome RunSettingsStep(Dialogs& dialogs, Profile& profile, TrimMode currentMode,
                                    std::string_view currentFolderName, TrimMode fileMode,
                                    std::string_view fileFolderName, PathStyle style,
                                    std::span<const std::string> keptComments) {
    if (!TaskSettingsDiffer(currentMode, currentFolderName, fileMode, fileFolderName, style)) {
        return SettingsStepOutcome::Kept;
    }
    bool dontAskAgain = false;
    if (ReadAlertSettingNotSame(profile)) {
        const SettingsMismatchAnswer answer = dialogs.SettingsMismatchDialog(BuildSettingsReport(
            currentMode, currentFolderName, fileMode, fileFolderName, style, keptComments));
        if (answer.button == MessageAnswer::No) return SettingsStepOutcome::Kept;
        if (answer.button != MessageAnswer::Yes) return SettingsStepOutcome::Cancelled;
        dontAskAgain = answer.takeWithoutAsking;
    }
    WriteTrimMode(profile, fileMode);
    WriteOutputFolderName(profile, fileFolderName);
    if (dontAskAgain) WriteAlertSettingNotSame(profile, false);
    return SettingsStepOutcome::Taken;
}

TrimMode AskOldVersionOptions(Dialogs& dialogs, const Profile& profile) {
    const std::optional<TrimMode> bits = dialogs.AlertVersionDialog(ReadTrimMode(profile));
    return bits ? (*bits & TM_SCRIPT_OPTIONS_MASK) : 0;
}

}  // namespace trimlet
