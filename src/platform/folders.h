#pragma once
// Folder questions and folder creation, the only file-system calls the path rules make.

#include <string>

namespace trimlet {

// True when something (file or folder) exists at `path`, following links.
[[nodiscard]] bool PathExists(const std::string& path);

// Creates one folder with the permissions 0777 less the umask. False on failure,
// also when something already exists at `path`.
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
