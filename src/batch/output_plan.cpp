#include "batch/output_plan.h"

#include <filesystem>
#include <unordered_map>

#include "platform/file_info.h"

namespace trimlet {

namespace {

// `path` with links and "." or ".." resolved as far as it exists (the output and its
// folders may not exist yet).
std::string ResolvedPath(PathStyle style, const std::string& path) {
    if (style != NativePathStyle()) return path;
    std::error_code error;
    std::string resolved = std::filesystem::weakly_canonical(path, error).string();
    return error || resolved.empty() ? path : resolved;
}

}  // namespace

std::optional<std::string> PlannedOutputPath(PathStyle style, std::string_view inputPath,
                                             std::string_view outputFolderName) {
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
    folder = ResolvedPath(style, folder);
    if (folder.empty() || folder.back() != PathSeparator(style)) folder += PathSeparator(style);
    std::string outputFolder;
    if (ResolveOutputFolder(style, folder, outputFolderName, outputFolder) != RESULT_OK)
        return std::nullopt;
    return ResolvedPath(style, JoinFolderAndName(style, outputFolder, name));
}

std::vector<std::optional<std::size_t>> FindSameOutputs(PathStyle style,
                                                        std::span<const PlannedFile> files,
                                                        std::vector<std::string>& outputs) {
    std::vector<std::optional<std::size_t>> same(files.size());
    outputs.assign(files.size(), std::string());
    std::unordered_map<std::string, std::size_t> first;
    for (std::size_t i = 0; i < files.size(); ++i) {
        std::optional<std::string> output =
            PlannedOutputPath(style, files[i].path, files[i].outputFolderName);
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
