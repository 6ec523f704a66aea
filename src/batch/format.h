#pragma once
// Display texts shared by the file list, the run and its dialogs: sizes, percentages,
// list times, the placeholders of a row whose trimming failed, and the fields of the
// result summary.

#include <cstdint>
#include <string>
#include <string_view>

#include <vector>

#include "common/dialogs.h"
#include "common/messages.h"
#include "common/result.h"
#include "platform/file_info.h"

namespace trimlet {

// Column texts of a row whose trimming failed: size, trimmed size with percentage, time.
inline constexpr std::string_view kSizePlaceholder = TXT_PLACEHOLDER_SIZE;
inline constexpr std::string_view kTrimmedSizePlaceholder = TXT_PLACEHOLDER_TRIMMED;
inline constexpr std::string_view kTimePlaceholder = TXT_PLACEHOLDER_TIME;

// The size in decimal digits grouped by three with "," ("1,234,567"). The full 64-bit
// value is shown.
std::string FormatSize(std::uint64_t size);

// The trimmed size as a whole percentage of the source size, rounded down and right-aligned
// in three characters: "( 85%)", "(104%)". "(100%)" when the source size is 0. Never
// overflows, whatever the sizes.
std::string FormatPercent(std::uint64_t trimmedSize, std::uint64_t sourceSize);

// The file time in local time as "2006/02/06 9:05"; kTimePlaceholder when the time has no
// local calendar form.
std::string FormatListTime(FileTime time);

// The counters of a finished run.
struct ResultSummary {
    std::uint32_t succeededCount = 0;  // files trimmed and written
    std::uint32_t skippedCount = 0;    // files skipped by the user or failed
    std::uint64_t sourceTotal = 0;     // input sizes of the succeeded files
    std::uint64_t trimmedTotal = 0;    // output sizes of the succeeded files
};

// The field texts of the result summary dialog. When nothing was measured (source total 0)
// both totals are "***,***", the rate is empty and `enabled` is false: the size and rate
// lines are shown greyed.
struct SummaryTexts {
    std::string successText;
    std::string skipText;
    std::string sourceText;
    std::string trimmedText;
    std::string rateText;
    bool enabled = true;
};

SummaryTexts FormatSummary(const ResultSummary& summary);

// Why a run did not trim a file, for the summary's list: a short text for `result`.
std::string SkipReason(Result result);
// The same with the file's detail: where the check found a result differing from its page.
std::string SkipReason(const SkippedFile& file);
// The summary's list of the files not trimmed: one line per file, its path, a tab and the
// reason, each line ended by "\n". Empty when every file was trimmed.
std::string SkippedFilesText(const std::vector<SkippedFile>& files);

}  // namespace trimlet
