#pragma once
// Folder questions and folder creation, the only file-system calls the path rules make.

#include <string>

namespace trimlet {

// True when something (file or folder) exists at `path`, following links.
[[nodiscard]] bool PathExists(const std::string& path);

// Creates one folder with the permissions 0777 less the umask. A folder that exists by
// the time it is created (made by another process since it was looked for) counts as
// created. False on failure, also when something other than a folder is at `path`.
[[nodiscard]] bool CreateFolder(const std::string& path);

// The two calls above behind an interface, so that a folder walk can be tested
// without touching the disk.
class FolderSystem {
  public:
    virtual ~FolderSystem() = default;
    virtual bool Exists(const std::string& path) = 0;
    virtual bool Create(const std::string& path) = 0;
};

// The real file system.
FolderSystem& NativeFolders();

}  // namespace trimlet
