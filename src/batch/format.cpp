#include "batch/format.h"

#include <algorithm>
#include <cstdio>

#include "common/messages.h"

namespace trimlet {

namespace {

// Wide enough for size * 100 with any 64-bit size.
__extension__ typedef unsigned __int128 Wide;

std::string Decimal(Wide value) {
    char digits[40];
    size_t count = 0;
    do {
        digits[count++] = static_cast<char>('0' + static_cast<int>(value % 10));
        value /= 10;
    } while (value != 0);
    std::reverse(digits, digits + count);
    return std::string(digits, count);
}

// floor(part * 100 / whole) for a non-zero whole.
Wide PercentOf(std::uint64_t part, std::uint64_t whole) {
    return static_cast<Wide>(part) * 100 / whole;
}

}  // namespace

std::string FormatSize(std::uint64_t size) {
    const std::string digits = Decimal(size);
    std::string text;
    text.reserve(digits.size() + digits.size() / 3);
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) text.push_back(',');
        text.push_back(digits[i]);
    }
    return text;
}

std::string FormatPercent(std::uint64_t trimmedSize, std::uint64_t sourceSize) {
    if (sourceSize == 0) return "(100%)";
    const std::string digits = Decimal(PercentOf(trimmedSize, sourceSize));
    std::string text = "(";
    if (digits.size() < 3) text.append(3 - digits.size(), ' ');
    text += digits;
    text += "%)";
    return text;
}

std::string FormatListTime(FileTime time) {
    LocalTime local;
    if (!FileTimeToLocal(time, local)) return std::string(kTimePlaceholder);
    char text[64];
    std::snprintf(text, sizeof text, "%d/%02d/%02d %d:%02d", local.year, local.month, local.day,
                  local.hour, local.minute);
    return text;
}

SummaryTexts FormatSummary(const ResultSummary& summary) {
    SummaryTexts texts;
    texts.successText = FormatMessage(MSG_FILE_COUNT, summary.succeededCount);
    texts.skipText = FormatMessage(MSG_FILE_COUNT, summary.skippedCount);
    if (summary.sourceTotal == 0) {
        texts.sourceText = TXT_SUMMARY_NO_SIZE;
        texts.trimmedText = TXT_SUMMARY_NO_SIZE;
        texts.enabled = false;
        return texts;
    }
    texts.sourceText = FormatSize(summary.sourceTotal);
    texts.trimmedText = FormatSize(summary.trimmedTotal);
    // The rate goes in as digits: it may exceed every integer type the formatter takes.
    texts.rateText = FormatText(TXT_SUMMARY_RATE_FORMAT,
                                {Decimal(PercentOf(summary.trimmedTotal, summary.sourceTotal))});
    return texts;
}

std::string SkipReason(Result result) {
    switch (result) {
        case RESULT_SKIPPED:
            return TXT_SKIP_REASON_CHOSEN.Get();
        case RESULT_NOT_FOUND:
            return TXT_SKIP_REASON_NOT_FOUND.Get();
        case RESULT_ACCESS_ERROR:
        case RESULT_FILE_ERROR:
            return TXT_SKIP_REASON_ACCESS.Get();
        case RESULT_READ_ONLY_KEPT:
            return TXT_SKIP_REASON_READ_ONLY.Get();
        case RESULT_IS_FOLDER:
            return TXT_SKIP_REASON_IS_FOLDER.Get();
        case RESULT_FOLDER_BLOCKED:
            return TXT_SKIP_REASON_FOLDER.Get();
        case RESULT_INVALID_UTF16:
        case RESULT_UNCLEAR_UTF16:
            return TXT_SKIP_REASON_UTF16.Get();
        case RESULT_FILE_CHANGED:
            return TXT_SKIP_REASON_CHANGED.Get();
        case RESULT_TOO_LARGE:
            return TXT_SKIP_REASON_TOO_LARGE.Get();
        case RESULT_OUT_OF_MEMORY:
        case RESULT_SCRIPT_NO_MEMORY:
            return TXT_SKIP_REASON_MEMORY.Get();
        case RESULT_NOT_EQUIVALENT:
            return TXT_SKIP_REASON_NOT_EQUIVALENT.Get();
        default:
            return FormatText(TXT_SKIP_REASON_OTHER, {std::string(ResultName(result))});
    }
}

std::string SkipReason(const SkippedFile& file) {
    std::string reason = SkipReason(file.result);
    if (file.result == RESULT_NOT_EQUIVALENT && !file.detail.empty()) {
        // One line per file: a line break of the difference's excerpts would split it.
        std::string detail = file.detail;
        for (char& c : detail)
            if (c == '\n' || c == '\r' || c == '\t') c = ' ';
        reason = FormatText(TXT_SKIP_REASON_DIFFERENCE, {reason, detail});
    }
    return reason;
}

std::string SkippedFilesText(const std::vector<SkippedFile>& files) {
    std::string text;
    for (const SkippedFile& file : files) {
        text += FormatText(TXT_SKIPPED_LINE_FORMAT, {file.path, SkipReason(file)});
        text += '\n';
    }
    return text;
}

}  // namespace trimlet
