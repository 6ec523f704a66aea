#pragma once
// Where each file of a run will be written, worked out before anything is written, so
// that two files of one run that would write the same output are found in time.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "batch/output_paths.h"

namespace trimlet {

// One file of a run as planned: its path and the output folder name it runs with.
struct PlannedFile {
    std::string_view path;
    std::string_view outputFolderName;
};

// The output file `inputPath` is trimmed into under `outputFolderName`, as the run's step
// works it out (links in the input's folder followed); nothing when the input is missing
// or a folder, or the output cannot be worked out (the run reports those itself).
std::optional<std::string> PlannedOutputPath(PathStyle style, std::string_view inputPath,
                                             std::string_view outputFolderName);

// For each file, the index of the first earlier file whose output is the same file
// (the same path once links and "." or ".." are resolved; letter case ignored in the
// Windows style), or nothing. `outputs` gets each file's planned output ("" for none).
std::vector<std::optional<std::size_t>> FindSameOutputs(PathStyle style,
                                                        std::span<const PlannedFile> files,
                                                        std::vector<std::string>& outputs);

}  // namespace trimlet
