#include "platform/folders.h"

#include <errno.h>
#include <sys/stat.h>

#include "platform/system_error.h"

namespace trimlet {

bool PathExists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

bool CreateFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) == 0) return true;
    const int error = errno;
    // Another process (a second run over the same folders) may have made it meanwhile.
    struct stat info;
    if (error == EEXIST && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return true;
    NoteSystemError(error);
    return false;
}

namespace {

class NativeFolderSystem final : public FolderSystem {
  public:
    bool Exists(const std::string& path) override { return PathExists(path); }
    bool Create(const std::string& path) override { return CreateFolder(path); }
};

}  // namespace

FolderSystem& NativeFolders() {
    static NativeFolderSystem folders;
    return folders;
}

}  // namespace trimlet
