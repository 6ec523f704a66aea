#pragma once
// What the commands of the command line share: exit codes, the defaults of their options
// and the parsing of option values. Their texts are in cli_texts.h.

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_texts.h"
#include "common/result.h"
#include "engine/trim_mode.h"
#include "settings/profile.h"

namespace trimlet::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // a file failed or the user stopped
inline constexpr int kExitBadUsage = 2;

// The command line's own texts.

using Args = std::span<const std::string_view>;

// Opens the profile of this run: the INI file `path` (from --profile) when it is not empty,
// else the one TRIMLET_PROFILE names, else none (the built-in defaults). It is read, never
// written: an old one is brought up to date, and every write kept, in memory only.
void OpenCliProfile(const std::string& path);
// The profile opened by OpenCliProfile (opened without a path on first use otherwise).
Profile& CliProfile();

// A 32-bit trim mode in decimal or "0x" hexadecimal; nothing when the text is not one.
std::optional<TrimMode> ParseTrimMode(std::string_view text);

// `path` made absolute against the current folder, with its "." components and repeated
// separators left out ("a/./b" -> "/cwd/a/b"). ".." stays, since a link before it decides
// what it means. Empty when the current folder cannot be had.
std::string AbsolutePath(std::string_view path);

// Prints "trimlet: PROBLEM[ 'DETAIL']" and "usage: USAGE" on standard error; returns
// kExitBadUsage.
int BadUsage(std::string_view usage, std::string_view problem, std::string_view detail = {});

// What `result` says went wrong with a file, in words ("no such file").
std::string_view ResultWords(Result result);

// Prints "trimlet: WHAT PATH: WORDS" on standard error, WORDS saying what `result` means,
// followed by ": REASON" when the system gave one for the last failed call (noted since
// the last ClearSystemError); returns kExitFailed.
int Failure(std::string_view what, std::string_view path, Result result);

// Prints "trimlet: WHAT PATH: WORDS" on standard error; returns kExitFailed.
int FailureWords(std::string_view what, std::string_view path, std::string_view words);

// Writes all bytes to standard output and flushes it; false when that fails (the reason is
// noted).
bool WriteStdout(std::string_view bytes);

// Prints what the writes found in their folders (a rolled-back copy, a leftover kept).
void PrintWriteNotices();

// Reads the value of the option `name` at args[i] (as "--name VALUE" or "--name=VALUE",
// the second form for long names only), moving i past what it used. Nothing when args[i] is
// not that option; `missing` is set (and otherwise left alone) when it is but has no value.
std::optional<std::string_view> OptionValue(Args args, std::size_t& i, std::string_view name,
                                            bool& missing);

// A command's usage line and the text its --help prints after it.
struct CommandHelp {
    std::string_view usage;
    std::string_view help;
};

// One option of a command. A flag ("--yes", or its alias "-y") stands alone; an option that
// takes a value is written "NAME VALUE" or "NAME=VALUE".
struct Option {
    std::string_view name;
    std::string_view alias = {};  // another spelling of a flag; empty for none
    bool takesValue = false;
    // Takes the value (empty for a flag); returns kExitOk to go on, else the exit status.
    std::function<int(std::string_view value)> take;
};

// Prints "usage: USAGE" and the help text on standard output; returns kExitOk.
int PrintHelp(const CommandHelp& command);

// Reads a command's arguments in order, as every command does: "--help" or "-h" prints the
// command's help; "--" ends the options; any other argument of two or more characters that
// starts with '-' must be one of `options` (else "unknown option", or "missing value for"
// when its value is missing); every other argument goes to `positional`, which returns
// kExitOk to go on. Returns the exit status to end the command with, or nothing to go on.
std::optional<int> ReadArgs(Args args, const CommandHelp& command, std::span<const Option> options,
                            const std::function<int(std::string_view arg)>& positional);

// --keep-comment TEXT, repeatable: each TEXT is added to `list`; an empty one is refused
// with `usage`.
Option KeepCommentOption(std::vector<std::string>& list, std::string_view usage);
// The profile's comment beginnings to keep followed by `more`.
std::vector<std::string> KeptCommentsWith(std::span<const std::string> more);

// --options LIST or --mode MODE, --print-mode, --script-extensions LIST and --ext LIST;
// what is not given comes from the profile (the built-in defaults without one).
struct TrimSettingArgs {
    std::optional<TrimMode> mode;
    bool modeByNames = false;   // --options was given
    bool modeByNumber = false;  // --mode was given
    bool printMode = false;
    std::optional<std::string> scriptExtensions;
    std::string moreHtmlExtensions;             // --ext, colon-separated
    std::vector<std::string> moreKeptComments;  // --keep-comment

    // --mode, refused with "MODE must be ..." and `usage` when its value is no trim mode.
    Option ModeOption(std::string_view usage);
    // --options, refused when an item is unknown or --mode was given too.
    Option NamesOption(std::string_view usage);
    Option PrintModeOption();
    Option ScriptExtensionsOption();
    Option ExtOption();
    Option KeepCommentOption(std::string_view usage) {
        return cli::KeepCommentOption(moreKeptComments, usage);
    }
    // The given trim mode, else the profile's "MODE".
    TrimMode Mode() const;
    // The given script extension list, else the profile's.
    std::string ScriptExtensions() const;
    // The profile's page extensions with those of --ext.
    std::string HtmlExtensions() const;
    // The profile's comment beginnings to keep with those of --keep-comment.
    std::vector<std::string> KeptComments() const { return KeptCommentsWith(moreKeptComments); }
    // With --print-mode: prints Mode() in decimal and returns kExitOk; else nothing.
    std::optional<int> PrintModeIfAsked() const;
};

// A file's result for a report: "ok", "skipped" (the overwrite choice kept it) or "failed".
std::string_view ResultClass(Result result);

// The message of the table that tells about `result` for a file.
int MessageIdOf(Result result);

// How much a run prints besides its errors.
enum class Verbosity { Quiet, Normal, Verbose };
// -q and -v; refused together.
struct VerbosityArgs {
    Verbosity level = Verbosity::Normal;
    Option QuietOption(std::string_view usage);
    Option VerboseOption(std::string_view usage);
};

}  // namespace trimlet::cli
