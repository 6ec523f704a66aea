#include "platform/private_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace trimlet {

bool IsPrivateFolder(const std::string& path, uid_t uid) {
    struct stat st {};
    if (path.empty() || lstat(path.c_str(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) && st.st_uid == uid && (st.st_mode & 077) == 0;
}

std::string PrivateRendezvousFolder(std::string_view runtimeDir, std::string_view tempDir,
                                    uid_t uid) {
    if (!runtimeDir.empty()) {
        std::string folder(runtimeDir);
        if (IsPrivateFolder(folder, uid)) return folder;
    }
    if (tempDir.empty()) return {};
    std::string folder(tempDir);
    if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    folder += "/trimlet-html-" + std::to_string(uid);
    // An existing entry is never changed: mkdir fails on it, and the check below decides.
    (void)mkdir(folder.c_str(), 0700);
    return IsPrivateFolder(folder, uid) ? folder : std::string();
}

std::string PrivateRendezvousFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const char* temp = std::getenv("TMPDIR");
    return PrivateRendezvousFolder(runtime ? runtime : "", temp && *temp ? temp : "/tmp", getuid());
}

}  // namespace trimlet
