#include "batch/run_step.h"

#include <filesystem>
#include <system_error>

#include "batch/format.h"
#include "batch/trim_ahead.h"
#include "common/messages.h"
#include "platform/file_info.h"
#include "platform/read_file.h"
#include "platform/system_error.h"
#include "settings/profile_keys.h"
#include "text/trim_file.h"

namespace trimlet {

namespace {

// The file's find record, provided the file can also be opened for reading: a file the
// user may not read gets no description and no time comparison.
bool ReadableRecord(const std::string& path, FindRecord& record) {
    std::string none;
    std::uint64_t size = 0;
    if (path.empty() || ReadRegularFile(path, 0, none, size) != RESULT_OK) return false;
    return GetFindRecord(path, record) == RESULT_OK;
}

// A per-file problem: the message names `path`; OK skips the file with `onSkip`, Cancel
// stops the run.
Result AskSkip(RunQuestions& questions, int id, const std::string& path, Result onSkip,
               MessageIcon icon = MessageIcon::Exclamation) {
    MessageAnswer answer = questions.Ask(id, icon, MessageButtons::OkCancel, path);
    return answer == MessageAnswer::Cancel ? RESULT_STOPPED : onSkip;
}

// A per-file problem the system can explain: as AskSkip, with the system's reason for the
// failed call (noted since the last ClearSystemError) on a line of its own.
Result AskSkipWithReason(RunQuestions& questions, int id, const std::string& path, Result onSkip,
                         MessageIcon icon = MessageIcon::Exclamation) {
    std::string text = FormatMessage(id, path);
    if (const int error = LastSystemError(); error != 0) {
        text += "\n\n";
        text += SystemErrorText(error);
    }
    MessageAnswer answer =
        questions.ShowMessage(MessageRequest{id, std::move(text), icon, MessageButtons::OkCancel});
    return answer == MessageAnswer::Cancel ? RESULT_STOPPED : onSkip;
}

// The folder `folder` (with its trailing separator) really is, as the system resolves it:
// links followed, "." and ".." taken as the system takes them, so that a ".." after a link
// leads where the file itself lies. Unchanged when it cannot be resolved, and in a path
// style that is not the system's.
std::string RealFolder(PathStyle style, const std::string& folder) {
    if (style != NativePathStyle()) return folder;
    std::string real;
    if (!RealFolderPath(folder, real) || !IsAbsolutePath(style, real)) return folder;
    if (real.back() != PathSeparator(style)) real.push_back(PathSeparator(style));
    return real;
}

// Whether the output is the input itself: the same file on disk whatever the paths say,
// or, when either cannot be looked at (or in a path style that is not the system's), the
// same path.
bool OutputIsInput(PathStyle style, const std::string& inputPath, const std::string& outputPath) {
    if (style == NativePathStyle() && IsSameFile(inputPath, outputPath)) return true;
    return IsSamePath(style, inputPath, outputPath);
}

int ValidChoice(int index) {
    return index >= OVERWRITE_CHOICE_OVERWRITE && index <= OVERWRITE_CHOICE_IF_NEWER
               ? index
               : OVERWRITE_CHOICE_OVERWRITE;
}

// Whether a choice says to write over the existing output.
bool ChoiceWrites(int choice, const std::string& inputPath, const std::string& outputPath) {
    if (choice == OVERWRITE_CHOICE_SKIP) return false;
    if (choice == OVERWRITE_CHOICE_IF_NEWER) return CompareWriteTimes(inputPath, outputPath) >= 0;
    return true;
}

// The choice remembered for the rest of the run, or -1 when none was fixed.
int FixedChoice(std::uint32_t runFlags) {
    if ((runFlags & RUN_CHOICE_FIXED) == 0) return -1;
    if ((runFlags & RUN_OVERWRITE_ALL) != 0) return OVERWRITE_CHOICE_OVERWRITE;
    if ((runFlags & RUN_SKIP_ALL) != 0) return OVERWRITE_CHOICE_SKIP;
    if ((runFlags & RUN_NEWER_ALL) != 0) return OVERWRITE_CHOICE_IF_NEWER;
    return OVERWRITE_CHOICE_OVERWRITE;
}

// An output file exists: decides by the remembered choice or asks. RESULT_OK means write.
Result DecideOverwrite(RunContext& ctx, const std::string& inputPath, const std::string& outputPath,
                       std::uint32_t& runFlags) {
    if (int fixed = FixedChoice(runFlags); fixed >= 0)
        return ChoiceWrites(fixed, inputPath, outputPath) ? RESULT_OK : RESULT_SKIPPED;

    OutputExistsRequest request;
    bool overInput = OutputIsInput(ctx.style, inputPath, outputPath);
    request.message = MessageText(overInput ? MSG_OVERWRITING_ORIGINAL : MSG_OUTPUT_EXISTS);
    request.inputText = DescribeFile(inputPath);
    request.outputText = overInput ? MessageText(MSG_OUTPUT_IS_ORIGINAL) : DescribeFile(outputPath);
    request.radioIndex = ValidChoice(ReadFileOverwriteMethod(ctx.profile));
    request.forAllEnabled = (runFlags & RUN_SINGLE_ROW) == 0;

    OutputExistsAnswer answer = ctx.questions.OutputExistsDialog(request);
    if (answer.closedWith == OutputExistsClose::Cancel) return RESULT_STOPPED;
    int choice = ValidChoice(answer.radioIndex);
    if (ctx.rememberOverwriteChoice) WriteFileOverwriteMethod(ctx.profile, choice);
    if (answer.closedWith == OutputExistsClose::ForAll && request.forAllEnabled) {
        static constexpr std::uint32_t kChoiceBits[] = {RUN_OVERWRITE_ALL, RUN_SKIP_ALL,
                                                        RUN_NEWER_ALL};
        runFlags |= RUN_CHOICE_FIXED | kChoiceBits[choice];
    }
    return ChoiceWrites(choice, inputPath, outputPath) ? RESULT_OK : RESULT_SKIPPED;
}

// Makes sure the output folder exists, asking before creating it when so set.
Result PrepareOutputFolder(RunContext& ctx, const std::string& folder, std::uint32_t& runFlags) {
    std::uint32_t attributes = 0;
    if (GetFileAttributes(folder, attributes)) {
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return RESULT_OK;
        return AskSkip(ctx.questions, MSG_OUTPUT_FOLDER_BLOCKED, folder, RESULT_FOLDER_BLOCKED);
    }
    if ((runFlags & RUN_CONFIRM_FOLDER) != 0) {
        FolderCreationAnswer answer =
            ctx.questions.FolderCreationDialog(FormatMessage(MSG_CREATE_FOLDER_QUESTION, folder));
        if (!answer.accepted) return RESULT_STOPPED;
        if (answer.createFromNowOn) {
            runFlags &= ~RUN_CONFIRM_FOLDER;
            WriteAlertCreateOutputFolder(ctx.profile, false);
            if (ctx.onFolderAlertOff) ctx.onFolderAlertOff();
        }
    }
    ClearSystemError();
    if (!CreateFolderPath(ctx.style, folder))
        return AskSkipWithReason(ctx.questions, MSG_CANNOT_CREATE_FOLDER, folder,
                                 RESULT_FILE_ERROR);
    return RESULT_OK;
}

// Asks before a read-only output is overwritten and clears its read-only state on Yes.
Result ClearReadOnly(RunContext& ctx, const std::string& outputPath) {
    MessageAnswer answer = ctx.questions.Ask(MSG_READ_ONLY_OVERWRITE, MessageIcon::Question,
                                             MessageButtons::YesNoCancel, outputPath);
    if (answer == MessageAnswer::Cancel) return RESULT_STOPPED;
    if (answer != MessageAnswer::Yes) return RESULT_READ_ONLY_KEPT;
    ClearSystemError();
    if (!SetReadOnly(outputPath, false))
        return AskSkipWithReason(ctx.questions, MSG_READ_ONLY_CLEAR_FAILED, outputPath,
                                 RESULT_ACCESS_ERROR);
    return RESULT_OK;
}

}  // namespace

std::string AbsoluteInput(PathStyle style, const std::string& path) {
    if (style != NativePathStyle() || IsAbsolutePath(style, path)) return path;
    std::error_code error;
    const std::string folder = std::filesystem::current_path(error).string();
    if (error || !IsAbsolutePath(style, folder)) return path;
    return JoinFolderAndName(style, folder, path);
}

WriteOptions WriteOptionsFor(const std::string& inputPath, const std::string& outputPath) {
    WriteOptions options;
    FileStamp input, output;
    if (!TakeFileStamp(inputPath, input)) return options;
    // The owner keeps reading and writing the trimmed copy of a read-only file.
    options.newFileModeLimit = (input.mode & 0077) | 0700;
    if (TakeFileStamp(outputPath, output) && output.IsSameFile(input))
        options.unchangedSince = input;
    return options;
}

Result AskSkipFailedFile(RunQuestions& questions, const std::string& inputPath, Result failure) {
    if (failure == RESULT_INVALID_UTF16 || failure == RESULT_UNCLEAR_UTF16) {
        const int id = failure == RESULT_INVALID_UTF16 ? MSG_INVALID_UTF16 : MSG_UNCLEAR_UTF16;
        return AskSkip(questions, id, inputPath, failure);
    }
    if (failure == RESULT_FILE_CHANGED)
        return AskSkip(questions, MSG_FILE_CHANGED_SINCE_READ, inputPath, failure);
    if (failure == RESULT_NO_RECOVERY_FILE)
        return AskSkipWithReason(questions, MSG_NO_RECOVERY_FILE, inputPath, failure);
    return AskSkipWithReason(questions, MSG_FILE_PROCESSING_ERROR, inputPath, failure);
}

Result TrimFileToOutput(RunContext& ctx, const std::string& givenPath,
                        std::string_view outputFolderName, std::uint64_t& sourceSize,
                        std::uint64_t& trimmedSize, std::uint32_t& runFlags,
                        std::string* differenceOut) {
    sourceSize = 0;
    trimmedSize = 0;
    if (givenPath.empty()) return RESULT_INVALID_ARGUMENT;
    const std::string inputPath = AbsoluteInput(ctx.style, givenPath);
    const auto use = [&ctx](const std::string& path) {
        return !ctx.beforeUse || ctx.beforeUse(path);
    };
    if (!use(inputPath)) return RESULT_STOPPED;

    std::uint32_t attributes = 0;
    ClearSystemError();
    if (!GetFileAttributes(inputPath, attributes))
        return AskSkipWithReason(ctx.questions, MSG_FILE_NOT_FOUND, inputPath, RESULT_NOT_FOUND);
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return AskSkip(ctx.questions, MSG_INPUT_IS_FOLDER, inputPath, RESULT_IS_FOLDER);

    std::string baseFolder, name;
    if (SplitFolderAndName(ctx.style, inputPath, baseFolder, name) != RESULT_OK)
        return RESULT_BAD_PATH;
    baseFolder = RealFolder(ctx.style, baseFolder);

    std::string outputFolder;
    Result r = ResolveOutputFolder(ctx.style, baseFolder, outputFolderName, outputFolder);
    if (r == RESULT_INVALID_ARGUMENT || r == RESULT_OUT_OF_MEMORY) {
        ctx.questions.Ask(MSG_OUT_OF_MEMORY, MessageIcon::Stop, MessageButtons::Ok);
        return RESULT_STOPPED;
    }
    if (r != RESULT_OK)
        return AskSkip(ctx.questions, MSG_OUTPUT_CREATE_FAILED, inputPath, RESULT_FILE_ERROR,
                       MessageIcon::None);

    if (!use(outputFolder)) return RESULT_STOPPED;
    if (r = PrepareOutputFolder(ctx, outputFolder, runFlags); r != RESULT_OK) return r;

    std::string outputPath = JoinFolderAndName(ctx.style, outputFolder, name);
    if (!use(outputPath)) return RESULT_STOPPED;
    std::uint32_t outputAttributes = 0;
    if (GetFileAttributes(outputPath, outputAttributes)) {
        if ((outputAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            return AskSkip(ctx.questions, MSG_OUTPUT_IS_FOLDER, outputPath, RESULT_IS_FOLDER);
        // A FIFO or a device is never opened: the open could wait for ever.
        if (IsSpecialFile(outputPath))
            return AskSkip(ctx.questions, MSG_FILE_ACCESS_ERROR, outputPath, RESULT_ACCESS_ERROR,
                           MessageIcon::None);
        if (r = DecideOverwrite(ctx, inputPath, outputPath, runFlags); r != RESULT_OK) return r;
        if ((outputAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
            if (r = ClearReadOnly(ctx, outputPath); r != RESULT_OK) return r;
        }
    }

    ClearSystemError();
    std::string difference;
    r = WriteTrimmedFile(ctx, inputPath, outputPath, sourceSize, trimmedSize, runFlags,
                         &difference);
    if (r == RESULT_STOPPED) return r;  // stopped at a message of the writes before it
    if (r == RESULT_NOT_EQUIVALENT) {
        const MessageAnswer answer =
            ctx.questions.Ask(MSG_TRIM_NOT_EQUIVALENT, MessageIcon::Exclamation,
                              MessageButtons::OkCancel, inputPath, difference);
        if (differenceOut) *differenceOut = std::move(difference);
        return answer == MessageAnswer::Cancel ? RESULT_STOPPED : r;
    }
    if (r != RESULT_OK) return AskSkipFailedFile(ctx.questions, inputPath, r);
    return RESULT_OK;
}

Result WriteTrimmedFile(const RunContext& ctx, const std::string& inputPath,
                        const std::string& outputPath, std::uint64_t& sourceSize,
                        std::uint64_t& trimmedSize, std::uint32_t runFlags,
                        std::string* difference) {
    sourceSize = 0;
    trimmedSize = 0;
    // A copy into the input cut short by a crash is rolled back before the input is read.
    if (WriteTarget input; ResolveWriteTarget(inputPath, input)) CheckFolderOnce(input.folder);
    WriteOptions options = WriteOptionsFor(inputPath, outputPath);
    options.fault = ctx.writeFault;
    std::string trimmed;
    const TrimMode trimMode = runFlags & ~kRunBits;
    Result r = RESULT_OK;
    if (std::optional<TrimmedAhead> ahead =
            ctx.ahead && !ctx.kind ? ctx.ahead->Take(inputPath, trimMode) : std::nullopt;
        ahead && ahead->result == RESULT_OK) {
        trimmed = std::move(ahead->bytes);
        sourceSize = ahead->inputSize;
        trimmedSize = ahead->outputSize;
    } else {
        r = ctx.kind ? TrimFileAs(inputPath, *ctx.kind, trimMode, trimmed, sourceSize, trimmedSize,
                                  ctx.keptComments, ctx.stylesheets)
                     : TrimFile(inputPath, trimMode, ctx.scriptExtensions, trimmed, sourceSize,
                                trimmedSize, nullptr, ctx.keptComments, ctx.stylesheets);
    }
    if (r != RESULT_OK) return r;
    if (ctx.verifyTrimmed) {
        Verdict verdict;
        r = ctx.verifyTrimmed(inputPath, trimmed, trimMode, verdict);
        if (r != RESULT_OK) return r;
        if (verdict.status == VerifyStatus::Differs) {
            if (difference) *difference = std::move(verdict.difference);
            return RESULT_NOT_EQUIVALENT;
        }
        if (verdict.status == VerifyStatus::Skipped)
            ctx.questions.Ask(MSG_VERIFY_SKIPPED_LARGE, MessageIcon::Information,
                              MessageButtons::Ok, inputPath);
    }
    if (ctx.writeBatch) return ctx.writeBatch->Add(outputPath, trimmed, options);
    return WriteFileAtomically(outputPath, trimmed, options);
}

int CompareWriteTimes(const std::string& input, const std::string& output) {
    FindRecord in, out;
    if (!ReadableRecord(input, in) || !ReadableRecord(output, out)) return -1;
    if (in.lastWriteTime < out.lastWriteTime) return -1;
    return in.lastWriteTime > out.lastWriteTime ? 1 : 0;
}

std::string DescribeFile(const std::string& path) {
    FindRecord record;
    LocalTime time;
    if (!ReadableRecord(path, record) || !FileTimeToLocal(record.lastWriteTime, time)) return path;
    return FormatMessage(MSG_FILE_DESCRIPTION, path, FormatSize(record.size), time.year, time.month,
                         time.day, time.hour, time.minute);
}

}  // namespace trimlet
