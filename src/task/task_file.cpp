#include "task/task_file.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>

#include "common/messages.h"
#include "platform/file_info.h"
#include "platform/read_file.h"

namespace trimlet {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

bool IsLeadingBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n';
}

// The folder that would hold the temporary file of `path`.
std::string FolderOfTarget(const std::string& path) {
    std::string folder;
    std::string name;
    if (SplitFolderAndName(NativePathStyle(), path, folder, name) != RESULT_OK) return ".";
    return folder;
}

bool IsReadOnlyFile(const std::string& path) {
    std::uint32_t attributes = 0;
    if (!GetFileAttributes(path, attributes)) return false;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
           (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// The safe writer reports a folder it may not write to and a failed write alike; a folder
// that refuses writing means the task file could not be created.
bool FolderRefusesWriting(const std::string& path) {
    std::uint32_t attributes = 0;
    if (!GetFileAttributes(FolderOfTarget(path), attributes)) return true;
    return (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

}  // namespace

// ---- Lines -----------------------------------------------------------------------------

std::optional<std::string_view> TaskLineReader::Next() {
    if (AtEnd()) return std::nullopt;
    const std::size_t begin = pos_;
    const std::size_t lf = bytes_.find('\n', begin);
    if (lf == std::string_view::npos) {
        pos_ = bytes_.size();
        return bytes_.substr(begin);
    }
    pos_ = lf + 1;
    std::size_t end = lf;
    if (end > begin && bytes_[end - 1] == '\r') --end;
    return bytes_.substr(begin, end - begin);
}

// ---- Header ----------------------------------------------------------------------------

TaskHeaderStatus ReadTaskSignatureAndVersion(TaskLineReader& lines, TaskHeader& header) {
    const std::optional<std::string_view> signature = lines.Next();
    if (!signature) return TaskHeaderStatus::NoSignatureLine;
    if (*signature != kTaskFileSignature) return TaskHeaderStatus::NotTaskFile;
    const std::optional<std::string_view> version = lines.Next();
    if (!version) return TaskHeaderStatus::NoVersionLine;
    header.version.assign(*version);
    return TaskHeaderStatus::Ok;
}

TaskHeaderStatus ReadTaskSettings(TaskLineReader& lines, TaskHeader& header) {
    const std::optional<std::string_view> mode = lines.Next();
    if (!mode) return TaskHeaderStatus::NoTrimModeLine;
    const std::optional<TrimMode> trimMode = ParseTaskTrimMode(*mode);
    if (!trimMode) return TaskHeaderStatus::BadTrimModeLine;
    header.trimMode = *trimMode;
    const std::optional<std::string_view> folder = lines.Next();
    if (!folder) return TaskHeaderStatus::NoOutputFolderLine;
    header.outputFolderName.assign(*folder);
    return TaskHeaderStatus::Ok;
}

int TaskHeaderMessageId(TaskHeaderStatus status) {
    switch (status) {
        case TaskHeaderStatus::Ok:
            return 0;
        case TaskHeaderStatus::NotTaskFile:
            return MSG_NOT_TASK_FILE;
        case TaskHeaderStatus::NoSignatureLine:
        case TaskHeaderStatus::NoVersionLine:
        case TaskHeaderStatus::NoTrimModeLine:
        case TaskHeaderStatus::NoOutputFolderLine:
        case TaskHeaderStatus::BadTrimModeLine:
            break;
    }
    return MSG_TASK_READ_ERROR;
}

std::optional<TrimMode> ParseTaskTrimMode(std::string_view line) {
    while (!line.empty() && IsLeadingBlank(line.front()))
        line.remove_prefix(1);
    while (!line.empty() && IsLeadingBlank(line.back()))
        line.remove_suffix(1);
    if (line.size() > 2 && line[0] == '0' && (line[1] == 'x' || line[1] == 'X')) {
        line.remove_prefix(2);
        if (line.size() > 8) return std::nullopt;
        TrimMode value = 0;
        for (const char c : line) {
            const int digit = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
            if (digit < 0) return std::nullopt;
            value = value << 4 | static_cast<TrimMode>(digit);
        }
        return value;
    }
    bool negative = false;
    if (!line.empty() && (line[0] == '+' || line[0] == '-')) {
        negative = line[0] == '-';
        line.remove_prefix(1);
    }
    if (line.empty()) return std::nullopt;
    // The magnitude is kept just past the signed range, so long digit runs cannot overflow.
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (const char c : line) {
        if (c < '0' || c > '9') return std::nullopt;
        magnitude = std::min(magnitude * 10 + (c - '0'), kLimit);
    }
    std::int64_t value = negative ? -magnitude : magnitude;
    value = std::min<std::int64_t>(value, std::numeric_limits<std::int32_t>::max());
    return static_cast<TrimMode>(static_cast<std::int32_t>(value));
}

std::vector<std::string_view> TaskPathLines(TaskLineReader lines) {
    std::vector<std::string_view> paths;
    while (const std::optional<std::string_view> line = lines.Next())
        paths.push_back(*line);
    while (!paths.empty() && paths.back().empty())
        paths.pop_back();
    return paths;
}

std::string TaskLinePath(PathStyle style, std::string_view taskPath, std::string_view line) {
    if (line.empty() || IsAbsolutePath(style, line)) return std::string(line);
    // A Windows name rooted at the drive ("\site\a.htm") is left to the reader of the path.
    if (line.front() == PathSeparator(style)) return std::string(line);
    std::string folder, name;
    if (SplitFolderAndName(style, taskPath, folder, name) != RESULT_OK) return std::string(line);
    return JoinFolderAndName(style, folder, line);
}

// ---- Versions --------------------------------------------------------------------------

TaskVersionKind JudgeVersionToOpen(std::string_view version) {
    if (version == kTaskFileOldVersion) return TaskVersionKind::Old;
    if (version == kTaskFileVersion) return TaskVersionKind::Current;
    return TaskVersionKind::Newer;
}

bool AskBeforeRunningVersion(std::string_view version) {
    // string_view compares bytes as unsigned values, and a proper prefix as less.
    return version > kTaskFileVersion;
}

// ---- Writing ---------------------------------------------------------------------------

std::string TaskRowPath(PathStyle style, std::string_view folder, std::string_view name) {
    std::string path = CutTrailingSeparators(style, folder);
    path.push_back(PathSeparator(style));
    path.append(name);
    return path;
}

std::string BuildTaskFileContent(TrimMode trimMode, std::string_view outputFolderName,
                                 std::span<const std::string> paths) {
    std::string content;
    std::size_t size = kTaskFileSignature.size() + kTaskFileVersion.size() + 11 +
                       outputFolderName.size() + 4 * kLineEnd.size();
    for (const std::string& path : paths)
        size += path.size() + kLineEnd.size();
    content.reserve(size);

    auto line = [&content](std::string_view text) {
        content.append(text);
        content.append(kLineEnd);
    };
    line(kTaskFileSignature);
    line(kTaskFileVersion);
    line(std::to_string(static_cast<std::int32_t>(trimMode)));
    line(outputFolderName);
    for (const std::string& path : paths)
        line(path);
    return content;
}

Result WriteTaskFileContent(const std::string& path, std::string_view bytes,
                            const WriteFault& fault) {
    if (path.empty()) return RESULT_INVALID_ARGUMENT;
    try {
        if (IsReadOnlyFile(path)) return RESULT_FILE_ERROR;
        switch (const Result result = WriteFileAtomically(path, bytes, fault)) {
            case RESULT_OK:
            case RESULT_INVALID_ARGUMENT:
            case RESULT_OUT_OF_MEMORY:
                return result;
            case RESULT_NOT_FOUND:
            case RESULT_IS_FOLDER:
            case RESULT_FILE_ERROR:
                return RESULT_FILE_ERROR;
            case RESULT_ACCESS_ERROR:
                return FolderRefusesWriting(path) ? RESULT_FILE_ERROR : RESULT_ACCESS_ERROR;
            default:
                return RESULT_ACCESS_ERROR;
        }
    } catch (const std::bad_alloc&) {
        return RESULT_OUT_OF_MEMORY;
    }
}

Result SaveTaskFile(const std::string& path, TrimMode trimMode, std::string_view outputFolderName,
                    std::span<const std::string> paths, const WriteFault& fault) {
    if (path.empty()) return RESULT_INVALID_ARGUMENT;
    try {
        return WriteTaskFileContent(path, BuildTaskFileContent(trimMode, outputFolderName, paths),
                                    fault);
    } catch (const std::bad_alloc&) {
        return RESULT_OUT_OF_MEMORY;
    }
}

int TaskWriteMessageId(Result result) {
    switch (result) {
        case RESULT_OK:
            return 0;
        case RESULT_FILE_ERROR:
            return MSG_OPEN_FAILED;
        case RESULT_ACCESS_ERROR:
            return MSG_TASK_WRITE_ERROR;
        default:
            return MSG_OUT_OF_MEMORY;
    }
}

// ---- Reading ---------------------------------------------------------------------------

Result ReadTaskFileBytes(const std::string& path, std::string& bytes) {
    std::uint64_t fileSize = 0;
    switch (ReadRegularFile(path, kMaxFileSize, bytes, fileSize)) {
        case RESULT_OK:
            return RESULT_OK;
        case RESULT_ACCESS_ERROR:
            return RESULT_ACCESS_ERROR;
        case RESULT_TOO_LARGE:
        case RESULT_OUT_OF_MEMORY:
            bytes.clear();
            return RESULT_OUT_OF_MEMORY;
        default:
            bytes.clear();
            return RESULT_FILE_ERROR;
    }
}

int TaskReadMessageId(Result result) {
    switch (result) {
        case RESULT_OK:
            return 0;
        case RESULT_FILE_ERROR:
            return MSG_OPEN_FAILED;
        case RESULT_OUT_OF_MEMORY:
            return MSG_OUT_OF_MEMORY;
        default:
            return MSG_TASK_READ_FAILED;
    }
}

}  // namespace trimlet
