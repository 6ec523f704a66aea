#pragma once
// Every text the command line prints of its own: usage lines, help and error phrases. The
// questions it asks are the desktop's messages (common/messages.h).

#include <string_view>

namespace trimlet::cli {

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
inline constexpr std::string_view kMissingTask = "missing TASK.trh";
inline constexpr std::string_view kExtraArgument = "unexpected argument";
inline constexpr std::string_view kCannotTrim = "cannot trim";
inline constexpr std::string_view kCannotWrite = "cannot write";
inline constexpr std::string_view kRunHelp =
    "Trims every file the task file lists, with the task's own trim mode and output folder\n"
    "name, and prints the result summary. Questions are asked on the terminal; without one,\n"
    "or with --yes, each takes its safe answer: an existing output follows --overwrite (else\n"
    "the preselected choice), a read-only output is kept, a file with an error is skipped.\n"
    "Exit status: 0 when every file was trimmed (or skipped by the overwrite choice), 1 when\n"
    "a file failed or the run was stopped, 2 for bad usage.";
inline constexpr std::string_view kBadOverwrite = "--overwrite must be all, skip or newer, not";
inline constexpr std::string_view kCannotFindFolder = "cannot find the current folder for";
inline constexpr std::string_view kTaskHelp =
    "Writes TASK.trh listing each FILE by its absolute path, with the trim mode and output\n"
    "folder name of the profile, or those given. MODE is decimal or 0x hexadecimal; an empty\n"
    "NAME writes the trimmed files over their inputs when the task runs. A FILE listed twice\n"
    "is kept once. Nothing is written when a FILE is missing, a folder, or does not look\n"
    "like text (unless --force), nor when TASK.trh exists and is no task file or is one of\n"
    "the FILEs.";
inline constexpr std::string_view kMissingSubcommand = "missing subcommand 'create'";
inline constexpr std::string_view kLineBreak =
    "a task file holds one path per line and cannot store one with a line break:";
inline constexpr std::string_view kFolderLineBreak =
    "a task file cannot store an output folder name with a line break:";
inline constexpr std::string_view kBadFolderName =
    "output folder name with a character not allowed:";
inline constexpr std::string_view kCannotList = "cannot list";
// What went wrong with a file, by result.
inline constexpr std::string_view kNotFound = "no such file";
inline constexpr std::string_view kIsFolder = "is a folder";
inline constexpr std::string_view kCannotOpen = "cannot be opened";
inline constexpr std::string_view kReadWriteFailed = "reading or writing failed";
inline constexpr std::string_view kTooLarge = "is too large (4 GiB or more)";
inline constexpr std::string_view kOutOfMemory = "not enough memory";
inline constexpr std::string_view kInvalidUtf16 =
    "begins with a UTF-16 byte-order mark but is not valid UTF-16 (odd length or unpaired "
    "surrogate)";
inline constexpr std::string_view kUnclearUtf16 =
    "holds NUL bytes as UTF-16 text does but is not valid UTF-16; its encoding is unclear, so "
    "it is left untrimmed";
inline constexpr std::string_view kBadPath = "is not a usable path";
inline constexpr std::string_view kReadOnly = "is read-only";
inline constexpr std::string_view kChangedSinceRead =
    "was changed by another program after it was read; not replaced";
inline constexpr std::string_view kNoRecoveryFile =
    "must be written in place (it has other hard links or another owner) and no recovery "
    "file can be made beside it; left as it was";
inline constexpr std::string_view kRestoredOldContent =
    "an earlier write into it was cut short; its content before that write was put back";
inline constexpr std::string_view kLeftoverKept =
    "kept: a leftover temporary or recovery file whose maker cannot be proved gone (another "
    "machine, container or boot)";
inline constexpr std::string_view kFailed = "failed";
inline constexpr std::string_view kStandardOutput = "standard output";
inline constexpr std::string_view kNotTaskFile =
    "exists and is not a task file; refusing to replace it";
inline constexpr std::string_view kTaskIsListed =
    "is also one of the files to list; refusing to replace it (is the task name missing?)";
inline constexpr std::string_view kNoTaskExtension =
    "warning: the task file name does not end in .trh:";
inline constexpr std::string_view kNotText =
    "does not look like a text file (use --force to list it anyway)";
}  // namespace text

}  // namespace trimlet::cli
