#pragma once
// A folder only the current user can enter, for rendezvous points such as the socket a
// running window listens on. Files there cannot be made, replaced or read by other users.

#include <sys/types.h>
#include <string>
#include <string_view>

namespace trimlet {

// Whether `path` is a directory itself (not a link to one), owned by `uid`, and closed to
// group and others.
bool IsPrivateFolder(const std::string& path, uid_t uid);

// The folder for rendezvous points of user `uid`: `runtimeDir` (XDG_RUNTIME_DIR) when it is
// given and private; otherwise "<tempDir>/trimlet-html-<uid>", created with mode 0700 when
// missing, when it then is private. Empty when neither is: the caller does without.
std::string PrivateRendezvousFolder(std::string_view runtimeDir, std::string_view tempDir,
                                    uid_t uid);

// The same for the current user, from the environment (XDG_RUNTIME_DIR, TMPDIR or /tmp).
std::string PrivateRendezvousFolder();

}  // namespace trimlet
