#include "platform/file_metadata.h"

#include <errno.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string_view>
#include <vector>

#include "platform/maker_record.h"
#include "platform/system_error.h"

namespace trimlet {

namespace {

bool Fail() {
    NoteSystemError(errno);
    return false;
}

bool NotSupported(int error) {
    return error == ENOTSUP || error == ENODATA;
}

// The names of the extended attributes of a path (`fd` < 0) or an open file; false when
// they cannot be listed. A file system without them has none.
bool ListAttributes(const std::string& path, int fd, std::set<std::string>& names) {
    names.clear();
    std::vector<char> buffer;
    for (int attempt = 0; attempt < 4; ++attempt) {
        ssize_t size =
            fd < 0 ? ::listxattr(path.c_str(), nullptr, 0) : ::flistxattr(fd, nullptr, 0);
        if (size < 0) return NotSupported(errno) || Fail();
        if (size == 0) return true;
        buffer.resize(static_cast<std::size_t>(size));
        size = fd < 0 ? ::listxattr(path.c_str(), buffer.data(), buffer.size())
                      : ::flistxattr(fd, buffer.data(), buffer.size());
        if (size < 0 && errno == ERANGE) continue;  // it grew in between
        if (size < 0) return Fail();
        for (std::size_t at = 0; at < static_cast<std::size_t>(size);) {
            const std::string name(buffer.data() + at);
            at += name.size() + 1;
            // Our maker record belongs to the file it was set on, never carried over.
            if (!name.empty() && name != kMakerAttribute) names.insert(name);
        }
        return true;
    }
    errno = ERANGE;
    return Fail();
}

bool CopyAttribute(const std::string& fromPath, const std::string& name, int toFd) {
    std::vector<char> value;
    for (int attempt = 0; attempt < 4; ++attempt) {
        ssize_t size = ::getxattr(fromPath.c_str(), name.c_str(), nullptr, 0);
        if (size < 0) return errno == ENODATA || Fail();  // removed in between
        value.resize(static_cast<std::size_t>(size));
        size = ::getxattr(fromPath.c_str(), name.c_str(), value.data(), value.size());
        if (size < 0 && errno == ERANGE) continue;
        if (size < 0) return Fail();
        if (::fsetxattr(toFd, name.c_str(), value.data(), static_cast<std::size_t>(size), 0) != 0)
            return Fail();
        return true;
    }
    errno = ERANGE;
    return Fail();
}

bool CopyAttributes(const std::string& fromPath, int toFd) {
    std::set<std::string> wanted, present;
    if (!ListAttributes(fromPath, -1, wanted) || !ListAttributes({}, toFd, present)) return false;
    for (const std::string& name : present) {
        if (wanted.count(name) == 0 && ::fremovexattr(toFd, name.c_str()) != 0 &&
            !NotSupported(errno))
            return Fail();
    }
    for (const std::string& name : wanted) {
        if (!CopyAttribute(fromPath, name, toFd)) return false;
    }
    return true;
}

}  // namespace

bool TakeOwnerAndPermissions(int fd, const struct stat& like, const std::string& likePath) {
    struct stat own {};
    if (::fstat(fd, &own) != 0) return Fail();
    if (own.st_uid != like.st_uid || own.st_gid != like.st_gid) {
        const uid_t owner = own.st_uid != like.st_uid ? like.st_uid : static_cast<uid_t>(-1);
        const gid_t group = own.st_gid != like.st_gid ? like.st_gid : static_cast<gid_t>(-1);
        if (::fchown(fd, owner, group) != 0) return Fail();
    }
    if (!CopyAttributes(likePath, fd)) return false;
    // After the owner (a change of owner clears the set-id bits) and after the ACL, whose
    // mask the group bits stand for.
    if (::fchmod(fd, like.st_mode & 07777) != 0) return Fail();
    return true;
}

// Read, not set and set back: a change would race with other threads creating files.
mode_t CurrentUmask() {
    if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, status) != nullptr)
            found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(status);
        if (found) return static_cast<mode_t>(mask & 0777);
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

mode_t NewFileMode(std::uint32_t limit, mode_t umask) {
    return static_cast<mode_t>(0666 & ~umask & limit & 07777);
}

mode_t NewFileMode(std::uint32_t limit) {
    return NewFileMode(limit, CurrentUmask());
}

}  // namespace trimlet
