#pragma once
// Who owns a file and who may use it: carried over from a file to the new file that will
// take its place, so that the replaced file is the same file to everyone else.

#include <sys/stat.h>

#include <cstdint>
#include <string>

namespace trimlet {

// Gives the new file open as `fd` the owner, group and permission bits of `like`, and the
// extended attributes (ACLs among them) of the file at `likePath`, removing any it inherited
// that `likePath` lacks. False when one of them cannot be given, for example when the
// caller may not give a file away; the system's reason is noted.
[[nodiscard]] bool TakeOwnerAndPermissions(int fd, const struct stat& like,
                                           const std::string& likePath);

// The process's umask, read without changing it.
mode_t CurrentUmask();

// The permission bits of a new file: 0666 less `umask` (the process's when not given), and
// no more than `limit` allows.
mode_t NewFileMode(std::uint32_t limit, mode_t umask);
mode_t NewFileMode(std::uint32_t limit = 0777);

}  // namespace trimlet
