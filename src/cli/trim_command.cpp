// trimlet trim: one file (or standard input) to standard output or a file; many files and
// folders into an output folder or over themselves, through the run's grouped writes.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "batch/format.h"
#include "batch/run_files.h"
#include "batch/run_step.h"
#include "cli/batch_answers.h"
#include "cli/commands.h"
#include "cli/file_walk.h"
#include "cli/json_report.h"
#include "common/messages.h"
#include "platform/durable_write.h"
#include "platform/file_info.h"
#include "platform/system_error.h"
#include "settings/profile_keys.h"
#include "text/text_loading.h"
#include "text/trim_file.h"

namespace trimlet::cli {

namespace {

// How much of a file the text test looks at, as when the desktop lists it.
constexpr std::size_t kTextTestBytes = 1024;

struct TrimArgs {
    TrimSettingArgs settings;
    VerbosityArgs verbosity;
    std::optional<std::string> out;
    std::optional<FileKind> kind;
    std::vector<std::string> excludes;
    std::vector<std::string> paths;
    bool inPlace = false;
    bool recursive = false;
    bool json = false;
    bool verify = false;
};

std::optional<FileKind> ParseKind(std::string_view text) {
    if (text == "html") return FileKind::Html;
    if (text == "js") return FileKind::JavaScript;
    if (text == "vbs") return FileKind::VbScript;
    return std::nullopt;
}

bool IsFolder(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

bool IsRegularFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

// Why a regular file named on the command line is not trimmed without --type: its
// extension is in neither list, or its start does not look like text. Empty when it may be.
std::string_view RefusalOf(const std::string& path, const WalkRules& rules) {
    if (!HasListedExtension(rules, path)) return text::kNotPageOrScript;
    bool nonText = false;
    if (LooksLikeNonText(path, kTextTestBytes, nonText) == RESULT_OK && nonText)
        return text::kNotTextTrim;
    return {};
}

WalkRules RulesOf(const TrimArgs& args) {
    WalkRules rules;
    rules.htmlExtensions = args.settings.HtmlExtensions();
    rules.scriptExtensions = args.settings.ScriptExtensions();
    rules.excludes = args.excludes;
    return rules;
}

bool ReadStandardInput(std::string& bytes) {
    char buffer[65536];
    for (;;) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, stdin);
        bytes.append(buffer, got);
        if (got < sizeof buffer) {
            if (std::ferror(stdin)) {
                NoteSystemError(errno);
                return false;
            }
            return true;
        }
    }
}

std::string VerboseLine(const JsonFile& file) {
    std::string line(ResultClass(file.result));
    (line += ' ') += file.path;
    if (file.result == RESULT_OK)
        line += " (" + FormatSize(*file.size) + " -> " + FormatSize(*file.trimmedSize) + ")";
    return line;
}

std::string SummaryLine(const std::vector<JsonFile>& files) {
    unsigned ok = 0, skipped = 0, failed = 0;
    std::uint64_t size = 0, trimmed = 0;
    for (const JsonFile& file : files) {
        if (file.result == RESULT_OK) {
            ++ok;
            size += file.size.value_or(0);
            trimmed += file.trimmedSize.value_or(0);
        } else if (file.result == RESULT_SKIPPED) {
            ++skipped;
        } else {
            ++failed;
        }
    }
    return FormatText(text::kTrimSummary,
                      {ok, skipped, failed, FormatSize(size), FormatSize(trimmed)});
}

// The report of a trim: JSON, a line per file, a summary or nothing; the exit status.
int Finish(const TrimArgs& args, const std::vector<JsonFile>& files, bool printSummary) {
    bool failed = false;
    for (const JsonFile& file : files)
        failed = failed || (file.result != RESULT_OK && file.result != RESULT_SKIPPED);
    std::string report;
    if (args.json) {
        report = JsonReport("trim", files);
    } else if (printSummary && args.verbosity.level != Verbosity::Quiet) {
        report = SummaryLine(files) + '\n';
    }
    if (!report.empty() && !WriteStdout(report))
        return Failure(text::kCannotWrite, text::kStandardOutput, RESULT_ACCESS_ERROR);
    return failed ? kExitFailed : kExitOk;
}

// One file, or standard input ("-"), to standard output or to the file -o names.
int TrimOne(const TrimArgs& args, const std::string& path) {
    const bool fromStdin = path == "-";
    const std::string shown = fromStdin ? std::string(text::kStandardInput) : path;
    const bool toStdout = !args.out || *args.out == "-";
    JsonFile entry{.path = shown};
    const auto fail = [&](int status, Result result, int messageId) {
        entry.result = result;
        entry.messageId = messageId;
        entry.message = FormatMessage(messageId, shown);
        if (args.json) Finish(args, {entry}, false);
        return status;
    };

    std::string trimmed;
    std::uint64_t inputSize = 0, outputSize = 0;
    ClearSystemError();
    Result result = RESULT_OK;
    const TrimMode mode = args.settings.Mode();
    const std::vector<std::string> kept = args.settings.KeptComments();
    // A copy into the file cut short by a crash is rolled back before the file is read, and
    // an output that is the file itself is replaced only while it is still what was read.
    WriteOptions writing;
    if (!fromStdin) {
        if (WriteTarget input; ResolveWriteTarget(path, input)) CheckFolderOnce(input.folder);
        if (!toStdout) writing = WriteOptionsFor(path, *args.out);
    }
    if (fromStdin) {
        std::string bytes;
        if (!ReadStandardInput(bytes)) {
            Failure(text::kCannotTrim, shown, RESULT_ACCESS_ERROR);
            return fail(kExitFailed, RESULT_ACCESS_ERROR, MSG_FILE_PROCESSING_ERROR);
        }
        inputSize = bytes.size();
        result = TrimBytesAs(args.kind.value_or(FileKind::Html), mode, std::move(bytes), trimmed,
                             outputSize, kept);
    } else {
        if (!args.kind && IsRegularFile(path)) {
            if (const std::string_view refusal = RefusalOf(path, RulesOf(args)); !refusal.empty()) {
                FailureWords(text::kCannotTrim, path, refusal);
                return fail(kExitFailed, RESULT_FILE_ERROR, MSG_NOT_PAGE_OR_SCRIPT);
            }
        }
        result = args.kind
                     ? TrimFileAs(path, *args.kind, mode, trimmed, inputSize, outputSize, kept)
                     : TrimFile(path, mode, args.settings.ScriptExtensions(), trimmed, inputSize,
                                outputSize, nullptr, kept);
    }
    if (result != RESULT_OK) {
        Failure(text::kCannotTrim, shown, result);
        return fail(kExitFailed, result, MessageIdOf(result));
    }
    // Standard input has no original file to read again; it is checked against its own bytes
    // only by `trimlet verify`.
    if (args.verify && !fromStdin) {
        if (const int status =
                VerifyBeforeWrite(path, trimmed, mode, args.settings.ScriptExtensions());
            status != kExitOk)
            return fail(status, RESULT_NOT_EQUIVALENT, MSG_TRIM_NOT_EQUIVALENT);
    }

    if (toStdout) {
        if (!WriteStdout(trimmed))
            return Failure(text::kCannotWrite, text::kStandardOutput, RESULT_ACCESS_ERROR);
    } else {
        const std::string& outPath = *args.out;
        // A read-only output is a file its owner chose to protect: leave it alone.
        std::uint32_t attributes = 0;
        if (GetFileAttributes(outPath, attributes) && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
            (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            FailureWords(text::kCannotWrite, outPath, text::kReadOnly);
            return fail(kExitFailed, RESULT_READ_ONLY_KEPT, MSG_FILE_ACCESS_ERROR);
        }
        ClearSystemError();
        // "-o /dev/null" and a terminal take the bytes directly; a FIFO or socket is refused.
        writing.allowCharacterDevice = true;
        result = WriteFileAtomically(outPath, trimmed, writing);
        PrintWriteNotices();
        if (result != RESULT_OK) {
            Failure(text::kCannotWrite, outPath, result);
            return fail(kExitFailed, result, MSG_FILE_ACCESS_ERROR);
        }
    }
    entry.size = inputSize;
    entry.trimmedSize = outputSize;
    if (args.verbosity.level == Verbosity::Verbose) std::cerr << VerboseLine(entry) << '\n';
    return toStdout ? kExitOk : Finish(args, {entry}, false);
}

// Many files and folders into the folder -o names, or over themselves.
int TrimMany(const TrimArgs& args) {
    std::string outFolder;  // empty: in place
    if (args.out) {
        outFolder = AbsolutePath(*args.out);
        if (outFolder.empty()) return Failure(text::kCannotFindFolder, *args.out, RESULT_NOT_FOUND);
    }
    WalkRules rules = RulesOf(args);
    if (!outFolder.empty()) rules.skipFolder = IdentityOf(outFolder);
    const std::string folderName = ReadOutputFolderName(CliProfile());
    if (folderName.find('/') == std::string::npos && folderName != "." && folderName != "..")
        rules.skipFolderName = folderName;
    const bool verbose = args.verbosity.level == Verbosity::Verbose && !args.json;

    // Every file in order; a refused one carries its result already.
    std::vector<JsonFile> files;
    std::vector<RunFile> toRun;
    const auto refuse = [&](const std::string& path, Result result, int messageId) {
        JsonFile file{.path = path, .result = result, .messageId = messageId};
        file.message = FormatMessage(messageId, path);
        PrintMessage(file.message);
        if (verbose) std::cout << VerboseLine(file) << '\n';
        files.push_back(std::move(file));
    };
    const auto add = [&](const std::string& path, const std::string& below) {
        RunFile file{files.size(), path};
        if (!outFolder.empty())
            file.outputFolderName = below.empty() ? outFolder : outFolder + '/' + below;
        files.push_back(JsonFile{.path = path});
        toRun.push_back(std::move(file));
    };
    for (const std::string& given : args.paths) {
        if (IsExcluded(rules, given)) continue;
        const std::string path = AbsolutePath(given);
        if (args.recursive && IsFolder(path)) {
            std::vector<FoundFile> found;
            std::vector<std::string> unreadable;
            WalkFolder(path, rules, found, unreadable);
            for (const std::string& folder : unreadable)
                refuse(folder, RESULT_ACCESS_ERROR, MSG_FILE_ACCESS_ERROR);
            for (const FoundFile& file : found) {
                bool nonText = false;
                if (!args.kind &&
                    LooksLikeNonText(file.path, kTextTestBytes, nonText) == RESULT_OK && nonText) {
                    refuse(file.path, RESULT_FILE_ERROR, MSG_NOT_PAGE_OR_SCRIPT);
                } else {
                    add(file.path, file.below);
                }
            }
            continue;
        }
        if (!args.kind && IsRegularFile(path) && !RefusalOf(path, rules).empty()) {
            refuse(path, RESULT_FILE_ERROR, MSG_NOT_PAGE_OR_SCRIPT);
            continue;
        }
        add(path, {});
    }

    RunRequest request;
    request.runFlags = args.settings.Mode() & ~kRunBits;
    request.scriptExtensions = args.settings.ScriptExtensions();
    request.keptComments = args.settings.KeptComments();
    request.kind = args.kind;
    request.rememberOverwriteChoice = false;
    request.verify = args.verify;
    BatchAnswers answers;
    std::size_t next = 0;
    const NextRunFile nextFile = [&]() -> std::optional<RunFile> {
        if (next >= toRun.size()) return std::nullopt;
        return toRun[next++];
    };
    const auto report = [&](const FileOutcome& done) {
        JsonFile& file = files[done.index];
        file.result = done.result;
        if (done.result == RESULT_OK) {
            file.size = done.sourceSize;
            file.trimmedSize = done.trimmedSize;
        }
        MessageRequest message = answers.TakeMessage();
        if (done.result != RESULT_OK) {
            file.messageId = message.id != 0 ? message.id : MessageIdOf(done.result);
            file.message = message.id != 0 ? std::move(message.text)
                                           : FormatMessage(file.messageId, file.path);
        }
        if (verbose) std::cout << VerboseLine(file) << '\n';
    };
    RunTally tally;
    static_cast<void>(RunFiles(answers, CliProfile(), request, nextFile, report, nullptr, tally));
    return Finish(args, files, true);
}

}  // namespace

int RunTrimCommand(Args given) {
    const CommandHelp kTrim{text::kTrimUsage, text::kTrimHelp};
    TrimArgs args;
    const auto flag = [](std::string_view name, bool& value, std::string_view alias = {}) {
        return Option{.name = name, .alias = alias, .take = [&value](std::string_view) {
                          value = true;
                          return kExitOk;
                      }};
    };
    const Option options[] = {
        args.settings.ModeOption(kTrim.usage),
        args.settings.NamesOption(kTrim.usage),
        args.settings.PrintModeOption(),
        args.settings.ScriptExtensionsOption(),
        args.settings.ExtOption(),
        args.settings.KeepCommentOption(kTrim.usage),
        args.verbosity.QuietOption(kTrim.usage),
        args.verbosity.VerboseOption(kTrim.usage),
        flag("--in-place", args.inPlace),
        flag("--recursive", args.recursive, "-r"),
        flag("--json", args.json),
        flag("--verify", args.verify),
        {.name = "-o",
         .takesValue = true,
         .take =
             [&](std::string_view out) {
                 if (out.empty()) return BadUsage(kTrim.usage, text::kMissingValue, "-o");
                 args.out = std::string(out);
                 return kExitOk;
             }},
        {.name = "--type",
         .takesValue = true,
         .take =
             [&](std::string_view value) {
                 args.kind = ParseKind(value);
                 return args.kind ? kExitOk : BadUsage(kTrim.usage, text::kBadType, value);
             }},
        {.name = "--exclude",
         .takesValue = true,
         .take =
             [&](std::string_view glob) {
                 args.excludes.emplace_back(glob);
                 return kExitOk;
             }},
    };
    const auto takePath = [&](std::string_view arg) {
        if (arg.empty()) return BadUsage(kTrim.usage, text::kMissingFile);
        args.paths.emplace_back(arg);
        return kExitOk;
    };
    if (std::optional<int> status = ReadArgs(given, kTrim, options, takePath)) return *status;
    if (std::optional<int> printed = args.settings.PrintModeIfAsked()) return *printed;
    if (args.paths.empty()) return BadUsage(kTrim.usage, text::kMissingFile);
    if (args.inPlace && args.out) return BadUsage(kTrim.usage, text::kInPlaceWithOutput);

    bool stdinNamed = false;
    for (const std::string& path : args.paths)
        stdinNamed = stdinNamed || path == "-";
    if (stdinNamed && (args.paths.size() > 1 || args.recursive || args.inPlace))
        return BadUsage(kTrim.usage, text::kStdinAlone);
    const bool toFolder =
        args.out && *args.out != "-" && (args.out->back() == '/' || IsFolder(*args.out));
    const bool many = args.inPlace || args.recursive || args.paths.size() > 1 || toFolder;
    if (!many) {
        if (args.json && (!args.out || *args.out == "-"))
            return BadUsage(kTrim.usage, text::kJsonToStdout);
        return TrimOne(args, args.paths.front());
    }
    if (args.out && *args.out == "-") return BadUsage(kTrim.usage, text::kManyToStdout);
    if (!args.out && !args.inPlace) return BadUsage(kTrim.usage, text::kManyNeedOutput);
    return TrimMany(args);
}

}  // namespace trimlet::cli
