#pragma once
// What the commands of the command line share: exit codes, the texts they print, the
// defaults of their options and the parsing of option values.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "common/result.h"
#include "engine/trim_mode.h"
#include "settings/profile.h"

namespace trimlet::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // a file failed or the user stopped
inline constexpr int kExitBadUsage = 2;

// The command line's own texts.
namespace text {
inline constexpr std::string_view kProgram = "trimlet";
inline constexpr std::string_view kUsageHeader = "usage:";
inline constexpr std::string_view kTrimUsage =
    "trimlet trim [--mode MODE] [--script-extensions LIST] [-o OUT] FILE";
inline constexpr std::string_view kPreviewUsage =
    "trimlet preview [--mode MODE] [--script-extensions LIST] FILE...";
inline constexpr std::string_view kCommonUsage =
    "common options: --profile FILE, --help, --version";
inline constexpr std::string_view kTrimHelp =
    "Trims FILE as a run would (encoding and kind by extension) and writes the trimmed\n"
    "bytes to standard output, or to OUT. MODE is decimal or 0x hexadecimal.";
inline constexpr std::string_view kPreviewHelp =
    "Prints one line per FILE with the list's columns, separated by tabs: path, size,\n"
    "size after trimming with its percentage, last write time. A file that cannot be\n"
    "trimmed gets placeholders. MODE is decimal or 0x hexadecimal.";
inline constexpr std::string_view kUnknownCommand = "unknown command";
inline constexpr std::string_view kUnknownOption = "unknown option";
inline constexpr std::string_view kMissingValue = "missing value for";
inline constexpr std::string_view kBadMode = "MODE must be decimal or 0x hexadecimal, not";
inline constexpr std::string_view kMissingFile = "missing FILE";
inline constexpr std::string_view kExtraArgument = "unexpected argument";
inline constexpr std::string_view kCannotTrim = "cannot trim";
inline constexpr std::string_view kCannotWrite = "cannot write";
}  // namespace text

using Args = std::span<const std::string_view>;

// Opens the profile of this run and brings an old one up to date: the INI file `path` (from
// --profile) when it is not empty, else the one TRIMLET_PROFILE names, else the user's own.
void OpenCliProfile(const std::string& path);
// The profile opened by OpenCliProfile (opened without a path on first use otherwise).
Profile& CliProfile();

// The trim mode and script extension list used when none is given: the profile's.
TrimMode DefaultTrimMode();
std::string DefaultScriptExtensions();

// A 32-bit trim mode in decimal or "0x" hexadecimal; nothing when the text is not one.
std::optional<TrimMode> ParseTrimMode(std::string_view text);

// Prints "trimlet: PROBLEM[ 'DETAIL']" and "usage: USAGE" on standard error; returns
// kExitBadUsage.
int BadUsage(std::string_view usage, std::string_view problem, std::string_view detail = {});

// Prints "trimlet: WHAT PATH: RESULT_NAME" on standard error; returns kExitFailed.
int Failure(std::string_view what, std::string_view path, Result result);

// Writes all bytes to standard output and flushes it; false when that fails.
bool WriteStdout(std::string_view bytes);

// Reads the value of the option `name` at args[i] (as "--name VALUE" or "--name=VALUE"),
// moving i past what it used. Nothing when args[i] is not that option; `missing` is set
// (and otherwise left alone) when it is but has no value.
std::optional<std::string_view> OptionValue(Args args, std::size_t& i, std::string_view name,
                                            bool& missing);

}  // namespace trimlet::cli
