#include "batch/output_plan.h"

#include <errno.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <unordered_map>

#include "platform/durable_write.h"
#include "platform/file_info.h"

namespace trimlet {

namespace {

// Folders resolved while one plan is made: a run's files share a few folders.
using ResolvedFolders = std::unordered_map<std::string, std::string>;

std::string ResolvedPath(PathStyle style, const std::string& path, ResolvedFolders* folders);

// ResolvedPath of a folder, resolved once per plan.
std::string ResolvedFolder(PathStyle style, const std::string& folder, ResolvedFolders* folders) {
    if (folders == nullptr) return ResolvedPath(style, folder, nullptr);
    if (const auto it = folders->find(folder); it != folders->end()) return it->second;
    std::string resolved = ResolvedPath(style, folder, folders);
    folders->emplace(folder, resolved);
    return resolved;
}

// `path` with links and "." or ".." resolved as far as it exists (the output and its
// folders may not exist yet). A last name that is no link, or does not exist, is kept as it
// is, so that the folders (the same few for a whole run) are what is resolved.
std::string ResolvedPath(PathStyle style, const std::string& path, ResolvedFolders* folders) {
    if (style != NativePathStyle()) return path;
    std::string_view trimmed(path);
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.remove_suffix(1);
    const bool folderOnly = trimmed.size() != path.size();  // "name/" must be a folder
    const std::size_t slash = trimmed.rfind('/');
    const std::string_view name =
        slash == std::string_view::npos ? std::string_view() : trimmed.substr(slash + 1);
    if (!name.empty() && name != "." && name != "..") {
        const std::string whole(trimmed);
        struct stat st {};
        std::string real;
        if (::lstat(whole.c_str(), &st) == 0) {
            if (S_ISDIR(st.st_mode) && RealFolderPath(whole, real)) return real;
            if (S_ISREG(st.st_mode) && !folderOnly) {
                real = ResolvedFolder(style, whole.substr(0, std::max<std::size_t>(slash, 1)),
                                      folders);
                return real == "/" ? real + std::string(name) : real + "/" + std::string(name);
            }
        } else if (errno == ENOENT && !folderOnly) {
            real = ResolvedFolder(style, whole.substr(0, std::max<std::size_t>(slash, 1)), folders);
            return real == "/" ? real + std::string(name) : real + "/" + std::string(name);
        }
    }
    std::error_code error;
    std::string resolved = std::filesystem::weakly_canonical(path, error).string();
    return error || resolved.empty() ? path : resolved;
}

std::optional<std::string> PlanOutputPath(PathStyle style, std::string_view inputPath,
                                          std::string_view outputFolderName,
                                          ResolvedFolders* folders) {
    std::string input(inputPath);
    if (input.empty()) return std::nullopt;
    if (style == NativePathStyle() && !IsAbsolutePath(style, input)) {
        std::error_code error;
        const std::string folder = std::filesystem::current_path(error).string();
        if (error) return std::nullopt;
        input = JoinFolderAndName(style, folder, input);
    }
    if (style == NativePathStyle()) {
        std::uint32_t attributes = 0;
        if (!GetFileAttributes(input, attributes) || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            return std::nullopt;
    }
    std::string folder, name;
    if (SplitFolderAndName(style, input, folder, name) != RESULT_OK) return std::nullopt;
    folder = ResolvedFolder(style, folder, folders);
    if (folder.empty() || folder.back() != PathSeparator(style)) folder += PathSeparator(style);
    std::string outputFolder;
    if (ResolveOutputFolder(style, folder, outputFolderName, outputFolder) != RESULT_OK)
        return std::nullopt;
    return ResolvedPath(style, JoinFolderAndName(style, outputFolder, name), folders);
}

}  // namespace

std::optional<std::string> PlannedOutputPath(PathStyle style, std::string_view inputPath,
                                             std::string_view outputFolderName) {
    return PlanOutputPath(style, inputPath, outputFolderName, nullptr);
}

std::vector<std::optional<std::size_t>> FindSameOutputs(PathStyle style,
                                                        std::span<const PlannedFile> files,
                                                        std::vector<std::string>& outputs) {
    std::vector<std::optional<std::size_t>> same(files.size());
    outputs.assign(files.size(), std::string());
    std::unordered_map<std::string, std::size_t> first;
    ResolvedFolders folders;
    for (std::size_t i = 0; i < files.size(); ++i) {
        std::optional<std::string> output =
            PlanOutputPath(style, files[i].path, files[i].outputFolderName, &folders);
        if (!output) continue;
        outputs[i] = std::move(*output);
        if (style == PathStyle::Windows) {
            for (std::size_t j = 0; j < i && !same[i]; ++j) {
                if (!outputs[j].empty() && IsSamePath(style, outputs[j], outputs[i])) same[i] = j;
            }
            continue;
        }
        const auto [at, inserted] = first.emplace(outputs[i], i);
        if (!inserted) same[i] = at->second;
    }
    return same;
}

}  // namespace trimlet
