#include "platform/folders.h"

#include <sys/stat.h>

namespace trimlet {

bool PathExists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

bool CreateFolder(const std::string& path) {
    return ::mkdir(path.c_str(), 0777) == 0;
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
