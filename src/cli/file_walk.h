#pragma once
// What "trimlet trim" takes from the paths it is given: files named, and the pages and
// scripts found below folders (with -r), each with the folder its output goes to.

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trimlet::cli {

// A file or folder known by identity.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of what `path` names (links followed); nothing when it cannot be looked at.
std::optional<FileIdentity> IdentityOf(const std::string& path);

struct WalkRules {
    std::string htmlExtensions;              // colon-separated, letter case ignored
    std::string scriptExtensions;            // colon-separated, letter case ignored
    std::vector<std::string> excludes;       // globs on the name, or on the path below the root
    std::optional<FileIdentity> skipFolder;  // never entered (the output folder)
    std::string skipFolderName;              // never entered either, when not empty
};

// Whether `name` has an extension (the text after its last ".") of either list.
bool HasListedExtension(const WalkRules& rules, std::string_view name);

// Whether `relative` (a path below the walked folder, or a name) is excluded: a glob
// without "/" is matched against the last component, one with "/" against the whole path.
bool IsExcluded(const WalkRules& rules, std::string_view relative);

struct FoundFile {
    std::string path;   // the root joined with `below`
    std::string below;  // the folder below the root it lies in ("" or "js/lib")
};

// Walks the folder `root`: every regular file (or link to one) with a listed extension
// that no exclude matches, in name order, folders after the files of their parent. Links
// to folders are not followed; excluded folders and the skipped ones are not entered.
// A folder that cannot be read is added to `unreadable`, and the walk goes on.
void WalkFolder(const std::string& root, const WalkRules& rules, std::vector<FoundFile>& found,
                std::vector<std::string>& unreadable);

}  // namespace trimlet::cli
