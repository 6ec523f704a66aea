#pragma once
// The per-file step of a run: where the trimmed copy of one file goes, the questions
// before it is written (missing folder, existing output, read-only output), and the
// write itself. The run of the list and the run of a task file both call
// TrimFileToOutput once per file and carry `runFlags` from file to file.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "batch/output_paths.h"
#include "common/result.h"
#include "common/run_questions.h"
#include "platform/durable_write.h"
#include "settings/profile.h"
#include "text/trim_file.h"
#include "verify/page_verifier.h"

namespace trimlet {

class TrimAhead;

// `path` made absolute against the current folder when it is relative (a hand-written line
// of a task file), so that its output folder is worked out like any other's. An absolute
// path, or one the current folder cannot be had for, is returned as it is.
std::string AbsoluteInput(PathStyle style, const std::string& path);

// Bits of `runFlags`: the trim mode of the run with these bits in places the trim mode
// never uses. They are taken out before the word reaches the trimmer.
inline constexpr std::uint32_t RUN_CONFIRM_FOLDER = 0x00000002;  // ask before creating a folder
inline constexpr std::uint32_t RUN_OVERWRITE_ALL = 0x00000080;   // remembered: overwrite
inline constexpr std::uint32_t RUN_SKIP_ALL = 0x00000100;        // remembered: skip
inline constexpr std::uint32_t RUN_NEWER_ALL = 0x00000200;       // remembered: if input newer
inline constexpr std::uint32_t RUN_CHOICE_FIXED = 0x00000400;    // do not ask again this run
inline constexpr std::uint32_t RUN_SINGLE_ROW = 0x00400000;      // "以後すべて" is disabled

inline constexpr std::uint32_t kRunBits = RUN_CONFIRM_FOLDER | RUN_OVERWRITE_ALL | RUN_SKIP_ALL |
                                          RUN_NEWER_ALL | RUN_CHOICE_FIXED | RUN_SINGLE_ROW;

// What the step needs from whoever runs it. The caller keeps every referenced object alive
// for the duration of the call.
struct RunContext {
    RunContext(RunQuestions& questions_, Profile& profile_, std::string scriptExtensions_)
        : questions(questions_),
          profile(profile_),
          scriptExtensions(std::move(scriptExtensions_)) {}

    RunQuestions& questions;
    // Read for the output-exists dialog's preselected choice; written when the user makes
    // a choice there, and when the folder question is switched off.
    Profile& profile;
    // Script extension list of the run ("JS:VBS"), deciding how each file is trimmed.
    std::string scriptExtensions;
    // Beginnings of comments that stay whatever the trim mode says (TrimFile).
    std::vector<std::string> keptComments;
    // When set, every file is trimmed as this kind whatever its name says.
    std::optional<FileKind> kind;
    PathStyle style = NativePathStyle();
    // Called after "ALERT_CREATE_OUTPUT_FOLDER" was set to 0 in the profile, so that a
    // working copy of the setting can follow.
    std::function<void()> onFolderAlertOff;
    // False: the choice made in the output-exists dialog is not stored as the next
    // preselection ("FILE_OVERWRITE_METHOD"), for answers given by an option rather than
    // by the user.
    bool rememberOverwriteChoice = true;
    // Makes the output write fail part-way (tests).
    WriteFault writeFault;
    // When set, outputs are added to this group instead of being written at once; their
    // results come from its Commit (see grouped_writes.h).
    WriteBatch* writeBatch = nullptr;
    // Called before the step looks at a path (the input, the output folder, the output);
    // false stops the run. Lets a group first complete a write that replaces that path.
    std::function<bool(const std::string&)> beforeUse;
    // When set, checks each trimmed result before it is written: a result whose verdict is
    // Differs is not written (RESULT_NOT_EQUIVALENT, message 20049); one too large to check
    // is written after message 20050. Another code fails the file as a trim failure would.
    std::function<Result(const std::string& inputPath, std::string_view trimmedBytes,
                         TrimMode trimMode, Verdict& verdict)>
        verifyTrimmed;
    // The style sheets of the run, read once each (see LearnPreformattedForPage); null reads
    // them anew for every page.
    StylesheetCache* stylesheets = nullptr;
    // When set, a file may have been trimmed ahead on another thread (see TrimAhead).
    TrimAhead* ahead = nullptr;
};

// Trims the file `inputPath` (absolute) into the output folder that `outputFolderName`
// names for the file's folder; an empty name writes over the input. Asks, through
// ctx.questions, before creating a missing folder (when RUN_CONFIRM_FOLDER is set) and
// before replacing an existing output, and reports every problem with a message naming the
// path, where OK skips the file and Cancel stops. `runFlags` may gain RUN_CHOICE_FIXED with
// a choice and lose RUN_CONFIRM_FOLDER. Both sizes are 0 on entry and hold the input and
// output byte counts after RESULT_OK. Returns
//   RESULT_OK               the output was written,
//   RESULT_STOPPED          the user cancelled, or the output folder could not be worked
//                           out (a relative input path, no memory; message 40000 shown),
//   RESULT_SKIPPED          the overwrite choice kept an existing output,
//   RESULT_READ_ONLY_KEPT   the user declined to overwrite a read-only output,
//   RESULT_BAD_PATH         the input path has no separator (no message),
//   RESULT_INVALID_ARGUMENT an empty input path (no message),
//   otherwise the failure the user was told about and chose to skip: RESULT_NOT_FOUND,
//   RESULT_IS_FOLDER, RESULT_FOLDER_BLOCKED, RESULT_FILE_ERROR, RESULT_ACCESS_ERROR (also
//   for an output that is a FIFO, device or socket: message 20021, nothing opened),
//   RESULT_FILE_CHANGED (the input changed while it was trimmed in place: message 20043),
//   RESULT_NO_RECOVERY_FILE (message 20051), RESULT_NOT_EQUIVALENT (ctx.verifyTrimmed found
//   a difference, told with message 20049 and given in `difference` when asked for), or a
//   code of the trim or the write.
[[nodiscard]] Result TrimFileToOutput(RunContext& ctx, const std::string& inputPath,
                                      std::string_view outputFolderName, std::uint64_t& sourceSize,
                                      std::uint64_t& trimmedSize, std::uint32_t& runFlags,
                                      std::string* difference = nullptr);

// Trims `inputPath` with `runFlags` as the trim mode and replaces `outputPath` with the
// result. The input is read whole before the output is touched, and the output is written
// beside its place and renamed over it only when complete, so a failure leaves an existing
// output (the input itself, when both are one file) as it was. An output that is the input
// is replaced only while it is unchanged since it was read (else RESULT_FILE_CHANGED); a new
// output is readable by no one its input is not readable by. Returns a TrimFile failure
// unchanged, or the writer's RESULT_NOT_FOUND, RESULT_ACCESS_ERROR, RESULT_FILE_ERROR,
// RESULT_IS_FOLDER, RESULT_FILE_CHANGED. Both sizes are 0 on entry and set by the trim.
// With ctx.verifyTrimmed, RESULT_NOT_EQUIVALENT for a result that is not the same document,
// with the difference in `difference` (when given).
[[nodiscard]] Result WriteTrimmedFile(const RunContext& ctx, const std::string& inputPath,
                                      const std::string& outputPath, std::uint64_t& sourceSize,
                                      std::uint64_t& trimmedSize, std::uint32_t runFlags,
                                      std::string* difference = nullptr);

// The write options for trimming `inputPath` into `outputPath`, taken before the input is
// read: a new output is no more open to others than its input, and an output that is the
// input (by identity) is replaced only while it is still the file that was read.
WriteOptions WriteOptionsFor(const std::string& inputPath, const std::string& outputPath);

// Compares the last write times of two files: -1 when the input is older, 0 when equal,
// 1 when newer; also -1 when either path is empty, or either file cannot be opened for
// reading or has no readable time.
int CompareWriteTimes(const std::string& input, const std::string& output);

// The text describing a file in the output-exists dialog: the path, then on a new line its
// size and last write time in local time ("(1,234   2006/02/06 9:5)"). The bare path when
// the file cannot be opened for reading or its facts cannot be read.
std::string DescribeFile(const std::string& path);

// The message for a failed trim or write of `inputPath`: UTF-16 that is not UTF-16 says so,
// a file changed by another program says so, everything else is 20008 with the system's
// reason on a line of its own. OK returns `failure`, Cancel RESULT_STOPPED.
Result AskSkipFailedFile(RunQuestions& questions, const std::string& inputPath, Result failure);

}  // namespace trimlet
