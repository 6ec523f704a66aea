#pragma once
// The files of one folder, as a wildcard search over it would find them.

#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"

namespace trimlet {

// The names of the entries of `folder` that are not folders themselves (links are
// followed; a link to a folder is a folder), in byte order, without descending into
// sub-folders. RESULT_NOT_FOUND when the folder cannot be read; `names` is then empty.
[[nodiscard]] Result ListFolderFiles(const std::string& folder, std::vector<std::string>& names);

// Whether `name` matches the pattern "*.<extension>": it ends with "." and `extension`,
// letters compared without regard to case.
[[nodiscard]] bool NameHasExtension(std::string_view name, std::string_view extension);

}  // namespace trimlet
