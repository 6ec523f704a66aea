#pragma once
// Every text the command line prints of its own: usage lines, help and error phrases. The
// questions it asks are the desktop's messages (common/messages.h).

#include <string_view>

namespace trimlet::cli {

namespace text {
inline constexpr std::string_view kProgram = "trimlet";
inline constexpr std::string_view kUsageHeader = "usage:";
inline constexpr std::string_view kTrimUsage =
    "trimlet trim [OPTIONS] FILE|- [-o OUT]  |  trimlet trim [OPTIONS] [-r] PATH... -o "
    "DIR/|--in-place";
inline constexpr std::string_view kPreviewUsage = "trimlet preview [OPTIONS] [--json] FILE...";
inline constexpr std::string_view kOptionsUsage =
    "trimlet options [--print-mode [--options LIST | --mode MODE]]";
inline constexpr std::string_view kHelpUsage = "trimlet help [COMMAND]";
inline constexpr std::string_view kCommonUsage =
    "common options: --profile FILE, --help, -V/--version";
inline constexpr std::string_view kTrimHelp =
    "Trims pages and scripts. One FILE goes to standard output, or to -o OUT; - reads\n"
    "standard input (--type says its kind, html by default). Several PATHs, or -r with\n"
    "folders, are written into the folder -o DIR, each below it as it was below the folder\n"
    "it was found in, or over themselves with --in-place.\n"
    "Only files whose extension is in the page or script lists and that look like text are\n"
    "trimmed; --type html|js|vbs trims any named file as that kind.\n"
    "  -o OUT                 the output file, or the output folder (- is standard output)\n"
    "  --in-place             write each file over itself\n"
    "  -r                     walk folders (never the output folder itself)\n"
    "  --exclude GLOB         leave out files and folders whose name (or path below the\n"
    "                         walked folder, for a GLOB with a /) matches; repeatable\n"
    "  --type html|js|vbs     what the input is\n"
    "  --json                 print one JSON document with every file's result\n"
    "  --verify               check each result with an HTML5 parser (see trimlet verify);\n"
    "                         one that is not the same document is not written\n"
    "  -q, -v                 print only errors / a line per file\n"
    "OPTIONS (also of preview and task create):\n"
    "  --options LIST         trim options by name: default|none first, then +NAME, -NAME,\n"
    "                         NAME=VALUE, separated by commas (see: trimlet options)\n"
    "  --mode MODE            the trim mode as a number, decimal or 0x hexadecimal\n"
    "  --print-mode           print the number --options or --mode makes, and stop\n"
    "  --script-extensions L  the script extensions, separated by colons (JS:VBS); replaces\n"
    "                         the list. VBS is VBScript, every other one JavaScript\n"
    "  --ext LIST             more page extensions, separated by commas or colons\n"
    "  --keep-comment TEXT    keep every comment that begins with TEXT (\"<!-- google\",\n"
    "                         \"// keep\", or the text after the opener), whatever the\n"
    "                         options say; repeatable, added to the profile's list\n"
    "  --profile FILE         read the settings of this profile (also TRIMLET_PROFILE);\n"
    "                         without one the built-in defaults are used";
inline constexpr std::string_view kPreviewHelp =
    "Prints one line per FILE with the list's columns, separated by tabs: path, size,\n"
    "size after trimming with its percentage, last write time. A file that cannot be\n"
    "trimmed gets placeholders. --json prints one JSON document instead. OPTIONS are\n"
    "--options LIST, --mode MODE, --print-mode, --script-extensions LIST and\n"
    "--keep-comment TEXT (see trimlet help trim).";
inline constexpr std::string_view kOptionsHelp =
    "Prints every trim option with its bits, its default and what it does; with\n"
    "--print-mode, the trim mode number that --options or --mode makes (for task files).";
inline constexpr std::string_view kHelpHelp = "Prints the help of COMMAND, or the usage of all.";
inline constexpr std::string_view kBothModeOptions = "--options and --mode cannot be used together";
inline constexpr std::string_view kBadOptionName =
    "unknown trim option or value (see: trimlet options):";
inline constexpr std::string_view kBadType = "--type must be html, js or vbs, not";
inline constexpr std::string_view kManyNeedOutput = "several files or -r need -o DIR or --in-place";
inline constexpr std::string_view kInPlaceWithOutput = "--in-place and -o cannot be used together";
inline constexpr std::string_view kStdinAlone =
    "- (standard input) cannot be used with other PATHs, -r or --in-place";
inline constexpr std::string_view kManyToStdout =
    "several files cannot go to standard output (-o -)";
inline constexpr std::string_view kJsonToStdout =
    "--json needs -o when the trimmed bytes go to standard output";
inline constexpr std::string_view kQuietVerbose = "-q and -v cannot be used together";
inline constexpr std::string_view kStandardInput = "standard input";
inline constexpr std::string_view kNotPageOrScript =
    "is not a page or a script by its extension (--type html|js|vbs trims it anyway)";
inline constexpr std::string_view kNotTextTrim =
    "does not look like a text file (--type html|js|vbs trims it anyway)";
inline constexpr std::string_view kTrimSummary =
    "%u trimmed, %u skipped, %u failed: %s -> %s bytes";
inline constexpr std::string_view kResultOk = "ok";
inline constexpr std::string_view kResultSkipped = "skipped";
inline constexpr std::string_view kResultFailed = "failed";
// What each named trim option does.
inline constexpr std::string_view kOptOn = "on";
inline constexpr std::string_view kOptOff = "off";
inline constexpr std::string_view kOptCollapseSpaces = "each run of blanks becomes one space";
inline constexpr std::string_view kOptTrimLineEnds = "blanks at the start and end of lines";
inline constexpr std::string_view kOptLineBreaksAsBlanks =
    "line breaks count as blanks (lines are joined)";
inline constexpr std::string_view kOptBlankLines = "blank lines: deleted, merged into one, or kept";
inline constexpr std::string_view kOptHtmlComments = "HTML comments";
inline constexpr std::string_view kOptKeepSsi = "keeps server-side include comments (<!--#...)";
inline constexpr std::string_view kOptKeepMarked = "keeps the marker comment";
inline constexpr std::string_view kOptBodyCommentsOnly = "only the comments inside BODY";
inline constexpr std::string_view kOptFullwidthBlank = "the full-width blank counts as a blank";
inline constexpr std::string_view kOptBetweenTags =
    "blanks between tags where a browser shows none";
inline constexpr std::string_view kOptInsidePre = "blanks inside PRE too (changes what is shown)";
inline constexpr std::string_view kOptBetweenInlineTags =
    "blanks between inline elements too (changes what is shown)";
inline constexpr std::string_view kOptSpecialComments =
    "meaningful comments too: conditional, Knockout, ESI, /*!, @cc_on, @license";
inline constexpr std::string_view kOptScriptComments = "script comments (of the kinds below)";
inline constexpr std::string_view kOptScriptBlockComments = "/* */ comments";
inline constexpr std::string_view kOptScriptLineComments = "// comments";
inline constexpr std::string_view kOptVbsRemComments = "VBScript comments (' and Rem)";
inline constexpr std::string_view kOptKeepScriptHtml = "keeps <!-- and --> around a script body";
inline constexpr std::string_view kUnknownCommand = "unknown command";
inline constexpr std::string_view kMainHelp =
    "Exit status: 0 all went well, 1 a file failed or the user stopped, 2 bad usage.\n"
    "See trimlet help COMMAND, and man trimlet.";
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
    "name, and prints the result summary (--json: one JSON document; -q: nothing but\n"
    "errors; -v: a line per file). Relative paths are found beside the task file. Questions are "
    "asked on the terminal; without one,\n"
    "or with --yes, each takes its safe answer: an existing output follows --overwrite (else\n"
    "the preselected choice), a read-only output is kept, a file with an error is skipped.\n"
    "With --verify, a file whose result is not the same document as the file (see trimlet\n"
    "verify) is not written and counts as failed. --keep-comment TEXT (repeatable) keeps\n"
    "every comment that begins with TEXT, as with trim.\n"
    "Exit status: 0 when every file was trimmed (or skipped by the overwrite choice), 1 when\n"
    "a file failed or the run was stopped, 2 for bad usage.";
inline constexpr std::string_view kEmptyKeepComment = "--keep-comment needs a text";
inline constexpr std::string_view kBadOverwrite = "--overwrite must be all, skip or newer, not";
inline constexpr std::string_view kCannotFindFolder = "cannot find the current folder for";
inline constexpr std::string_view kTaskHelp =
    "Writes TASK.trh listing each FILE by its absolute path, with the built-in (or the\n"
    "profile's) trim mode and output folder name, or those given; an empty NAME writes the\n"
    "trimmed files over their inputs when the task runs. --files-from FILE (- for standard\n"
    "input) adds one path per line, or NUL-separated with -0. --append adds to an existing\n"
    "task, keeping its settings unless given; --replace replaces one. A FILE listed twice\n"
    "is kept once. Nothing is written when a FILE is missing, a folder, or does not look\n"
    "like text (unless --force), nor when TASK.trh exists and is no task file, is one of\n"
    "the FILEs, or lists files and neither --append nor --replace was given.";
inline constexpr std::string_view kTaskExists =
    "exists; --append adds to it, --replace replaces it";
inline constexpr std::string_view kAppendReplace = "--append and --replace cannot be used together";
inline constexpr std::string_view kCannotReadList = "cannot read the list";
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
