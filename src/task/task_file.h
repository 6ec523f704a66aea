#pragma once
// The task file: a short line-oriented text that stores a task's trim mode, its output
// folder name and the path of every file in its list.
//
//   TrimletHTML TASK FILE        signature, byte for byte
//   1.50.00                      format version
//   260143148                    trim mode, signed decimal (or 0x hexadecimal by hand)
//   Trimlet                      output folder name, possibly empty
//   /home/me/site/index.html     one path per line, in list order
//
// Every line is written with CR LF; a reader accepts LF or CR LF. The bytes are stored as
// they are (no byte-order mark, no conversion). Everything here is independent of the list
// and the dialogs: the task editor reads the bytes, walks the header step by step (the
// open and run readers ask their questions between the version and the trim mode), and
// takes the remaining lines as paths.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "batch/output_paths.h"
#include "common/result.h"
#include "engine/trim_mode.h"
#include "platform/durable_write.h"

namespace trimlet {

inline constexpr std::string_view kTaskFileSignature = "TrimletHTML TASK FILE";
// The version this program writes, and the only older one it knows.
inline constexpr std::string_view kTaskFileVersion = "1.50.00";
inline constexpr std::string_view kTaskFileOldVersion = "1.00.00";

// ---- Lines -----------------------------------------------------------------------------

// Splits bytes into lines. A line ends at LF or at CR LF, and the end bytes are not part
// of it (a CR that is not followed by LF stays in the line). A last line without an end
// is still a line; an empty text has no lines. The reader views the caller's bytes, which
// must outlive it.
class TaskLineReader {
  public:
    explicit TaskLineReader(std::string_view bytes) : bytes_(bytes) {}

    // The next line, or nothing when no line is left.
    std::optional<std::string_view> Next();
    bool AtEnd() const { return pos_ >= bytes_.size(); }

  private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

// ---- Header ----------------------------------------------------------------------------

struct TaskHeader {
    std::string version;
    TrimMode trimMode = 0;
    std::string outputFolderName;
};

// How far the header could be read.
enum class TaskHeaderStatus {
    Ok,
    NoSignatureLine,     // the file is empty
    NotTaskFile,         // the first line is not the signature
    NoVersionLine,       // the file ends after the signature
    NoTrimModeLine,      // ... after the version
    NoOutputFolderLine,  // ... after the trim mode
    BadTrimModeLine,     // the trim mode line is not a number
};

// Reads lines 1 and 2: checks the signature and sets `header.version`.
[[nodiscard]] TaskHeaderStatus ReadTaskSignatureAndVersion(TaskLineReader& lines,
                                                           TaskHeader& header);
// Reads lines 3 and 4: sets `header.trimMode` and `header.outputFolderName`. The lines
// left in `lines` afterwards are the paths (see TaskPathLines).
[[nodiscard]] TaskHeaderStatus ReadTaskSettings(TaskLineReader& lines, TaskHeader& header);

// The message that reports a header failure: MSG_TASK_READ_ERROR (with the task file's
// path) for a missing line, MSG_NOT_TASK_FILE for a wrong signature, 0 for Ok.
int TaskHeaderMessageId(TaskHeaderStatus status);

// The trim mode line as a number, blanks around it allowed. Either an optional sign and
// decimal digits, a signed 32-bit value taken as the word's bits ("-1" is 0xFFFFFFFF),
// where a number beyond the signed range is clamped to its nearest end rather than
// wrapped (wrapping would turn a damaged line into an unrelated small mode); or "0x" and
// one to eight hexadecimal digits, as a hand-written task may hold. Nothing for any other
// text (empty, trailing letters, a signed or longer hexadecimal number).
std::optional<TrimMode> ParseTaskTrimMode(std::string_view line);

// The path lines that `lines` has still to give, without the empty lines at the end (an
// editor's last line break leaves one). An empty line before a path stays: it names no file.
std::vector<std::string_view> TaskPathLines(TaskLineReader lines);

// Where a path line of the task file at `taskPath` (absolute) leads: an absolute line as it
// is, a relative one beside the task file. An empty line stays empty.
std::string TaskLinePath(PathStyle style, std::string_view taskPath, std::string_view line);

// ---- Versions --------------------------------------------------------------------------

enum class TaskVersionKind { Old, Current, Newer };

// How opening judges the version line: "1.00.00" old, "1.50.00" current, any other text
// (older-looking ones included) a newer program's, which is asked about.
TaskVersionKind JudgeVersionToOpen(std::string_view version);

// Whether running asks about the version: only when the text compares greater than
// "1.50.00" byte by byte (a shorter prefix compares less), so "1.20.00" and "1.5" run
// without a question.
bool AskBeforeRunningVersion(std::string_view version);

// ---- Writing ---------------------------------------------------------------------------

// The path a list row is saved as: its folder without trailing blanks and separators, one
// separator, then the file name. A root folder keeps its one separator ("/" + name,
// "C:\" + name).
std::string TaskRowPath(PathStyle style, std::string_view folder, std::string_view name);

// The whole content of a task file for the given settings and paths: the four header
// lines and one line per path, each ending with CR LF. The trim mode is written as the
// signed decimal of its 32 bits. Throws std::bad_alloc only when memory runs out.
std::string BuildTaskFileContent(TrimMode trimMode, std::string_view outputFolderName,
                                 std::span<const std::string> paths);

// Stores `bytes` as the task file at `path`. The content goes to a temporary file that
// replaces the old task file only once it is complete, so a failed save leaves the previous
// file whole. A read-only task file is not replaced. Returns
//   RESULT_INVALID_ARGUMENT  an empty path,
//   RESULT_FILE_ERROR        the file cannot be created: its folder is missing or may not be
//                            written, a folder stands in its place, it is read-only,
//   RESULT_ACCESS_ERROR      writing or flushing failed (a full disk),
//   RESULT_OUT_OF_MEMORY     the buffers could not be had.
[[nodiscard]] Result WriteTaskFileContent(const std::string& path, std::string_view bytes,
                                          const WriteFault& fault = {});

// Builds the content and stores it as WriteTaskFileContent does; the same results.
[[nodiscard]] Result SaveTaskFile(const std::string& path, TrimMode trimMode,
                                  std::string_view outputFolderName,
                                  std::span<const std::string> paths, const WriteFault& fault = {});

// The message that reports a write failure: MSG_OUT_OF_MEMORY, MSG_OPEN_FAILED (with the
// task file's path) or MSG_TASK_WRITE_ERROR; 0 for RESULT_OK.
int TaskWriteMessageId(Result result);

// ---- Reading ---------------------------------------------------------------------------

// Reads the whole task file at `path` into `bytes`. Returns
//   RESULT_FILE_ERROR     it cannot be opened (missing, a folder, no permission),
//   RESULT_ACCESS_ERROR   reading failed,
//   RESULT_OUT_OF_MEMORY  it does not fit in memory (4 GiB or more, or no buffer).
// On failure `bytes` is empty.
[[nodiscard]] Result ReadTaskFileBytes(const std::string& path, std::string& bytes);

// The message that reports a read failure: MSG_OPEN_FAILED (with the task file's path),
// MSG_TASK_READ_FAILED or MSG_OUT_OF_MEMORY; 0 for RESULT_OK.
int TaskReadMessageId(Result result);

}  // namespace trimlet
