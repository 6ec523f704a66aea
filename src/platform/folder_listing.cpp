#include "platform/folder_listing.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <new>

namespace trimlet {

namespace {

class DirectoryHandle {
  public:
    explicit DirectoryHandle(const std::string& path) : dir_(::opendir(path.c_str())) {}
    ~DirectoryHandle() noexcept {
        if (dir_) ::closedir(dir_);
    }
    DirectoryHandle(const DirectoryHandle&) = delete;
    DirectoryHandle& operator=(const DirectoryHandle&) = delete;
    DIR* get() const { return dir_; }

  private:
    DIR* dir_;
};

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsFolder(int dirFd, const dirent& item) {
    if (item.d_type == DT_DIR) return true;
    if (item.d_type != DT_LNK && item.d_type != DT_UNKNOWN) return false;
    struct stat st {};
    if (::fstatat(dirFd, item.d_name, &st, 0) != 0) return false;  // a dangling link
    return S_ISDIR(st.st_mode);
}

}  // namespace

Result ListFolderFiles(const std::string& folder, std::vector<std::string>& names) {
    names.clear();
    DirectoryHandle dir(folder.empty() ? std::string(".") : folder);
    if (!dir.get()) return RESULT_NOT_FOUND;
    try {
        const int fd = ::dirfd(dir.get());
        while (const dirent* item = ::readdir(dir.get())) {
            const std::string_view name = item->d_name;
            if (name == "." || name == "..") continue;
            if (IsFolder(fd, *item)) continue;
            names.emplace_back(name);
        }
        std::sort(names.begin(), names.end());
    } catch (const std::bad_alloc&) {
        names.clear();
        return RESULT_OUT_OF_MEMORY;
    }
    return RESULT_OK;
}

bool NameHasExtension(std::string_view name, std::string_view extension) {
    if (name.size() < extension.size() + 1) return false;
    const std::string_view tail = name.substr(name.size() - extension.size());
    if (name[name.size() - extension.size() - 1] != '.') return false;
    return std::equal(tail.begin(), tail.end(), extension.begin(),
                      [](char a, char b) { return AsciiLower(a) == AsciiLower(b); });
}

}  // namespace trimlet
