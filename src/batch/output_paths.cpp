#include "batch/output_paths.h"

#include <new>
#include <vector>

namespace trimlet {

namespace {

constexpr std::string_view kBlanks = " \t\n\v\f\r";

bool IsCp932Lead(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

bool IsCp932Trail(unsigned char c) {
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

// Length of the character at `i`: a CP932 lead byte with its trail byte, or a UTF-8 lead
// byte with its continuation bytes. A malformed sequence yields single bytes.
size_t CharLength(PathStyle style, std::string_view text, size_t i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (style == PathStyle::Windows) {
        if (IsCp932Lead(c) && i + 1 < text.size() &&
            IsCp932Trail(static_cast<unsigned char>(text[i + 1]))) {
            return 2;
        }
        return 1;
    }
    size_t wanted = 0;
    if (c >= 0xF8) {
        wanted = 0;
    } else if (c >= 0xF0) {
        wanted = 3;
    } else if (c >= 0xE0) {
        wanted = 2;
    } else if (c >= 0xC0) {
        wanted = 1;
    }
    size_t length = 1;
    while (length <= wanted && i + length < text.size() &&
           (static_cast<unsigned char>(text[i + length]) & 0xC0) == 0x80) {
        ++length;
    }
    return length;
}

// Index of the first separator at or after `from` (a character boundary), or npos.
size_t FindSeparator(PathStyle style, std::string_view text, size_t from) {
    const char separator = PathSeparator(style);
    for (size_t i = from; i < text.size(); i += CharLength(style, text, i)) {
        if (text[i] == separator) return i;
    }
    return std::string_view::npos;
}

// Blanks are single bytes that are never part of a double-byte or UTF-8 character, so
// they can be cut from either end byte by byte.
std::string_view TrimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

bool IsNetworkForm(std::string_view path) {
    return path.size() >= 2 && path[0] == '\\' && path[1] == '\\';
}

// Cuts `text` at every separator and appends the non-empty pieces, trimmed of blanks
// when `trim` is set.
void AppendComponents(PathStyle style, std::string_view text, bool trim,
                      std::vector<std::string_view>& parts) {
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = FindSeparator(style, text, start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view piece = text.substr(start, end - start);
        if (trim) piece = TrimBlanks(piece);
        if (!piece.empty()) parts.push_back(piece);
        start = end + 1;
    }
}

// The components of an absolute base folder; the first is the drive, the server or "/".
void BaseComponents(PathStyle style, std::string_view base, std::vector<std::string_view>& parts) {
    if (style == PathStyle::Posix) {
        parts.push_back("/");
        AppendComponents(style, base.substr(1), false, parts);
        return;
    }
    if (!IsNetworkForm(base)) {
        AppendComponents(style, base, true, parts);
        return;
    }
    const size_t serverEnd = FindSeparator(style, base, 2);
    const std::string_view server = TrimBlanks(base.substr(0, serverEnd));
    if (!server.empty()) parts.push_back(server);
    if (serverEnd != std::string_view::npos) {
        AppendComponents(style, base.substr(serverEnd + 1), true, parts);
    }
}

// The drive ("C:") or share ("\\server\share") of a Windows base folder; the whole base
// folder when a network path lacks its server or share separator.
std::string_view WindowsRoot(std::string_view base) {
    const PathStyle style = PathStyle::Windows;
    if (!IsNetworkForm(base)) return base.substr(0, FindSeparator(style, base, 0));
    const size_t serverEnd = FindSeparator(style, base, 2);
    if (serverEnd == std::string_view::npos) return base;
    const size_t shareEnd = FindSeparator(style, base, serverEnd + 1);
    if (shareEnd == std::string_view::npos) return base;
    return base.substr(0, shareEnd);
}

// Under Posix a folder name may really end in a blank, so only separators are cut there.
bool IsTrailingCut(PathStyle style, std::string_view c) {
    if (style == PathStyle::Posix) return c.size() == 1 && c[0] == '/';
    if (c.size() == 1) return c[0] == ' ' || c[0] == '\t' || c[0] == '\\';
    return c == "\x81\x40";
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool IsAbsolutePath(PathStyle style, std::string_view path) {
    if (style == PathStyle::Posix) return !path.empty() && path[0] == '/';
    if (IsNetworkForm(path)) return true;
    return path.size() >= 3 && path[1] == ':' && path[2] == '\\';
}

Result ResolveOutputFolder(PathStyle style, std::string_view baseFolder,
                           std::string_view outputFolderName, std::string& outFolder) {
    outFolder.clear();
    if (!IsAbsolutePath(style, baseFolder)) return RESULT_INVALID_ARGUMENT;
    try {
        if (IsAbsolutePath(style, outputFolderName)) {
            outFolder.assign(outputFolderName);
            return RESULT_OK;
        }
        if (style == PathStyle::Windows && !outputFolderName.empty() &&
            outputFolderName[0] == '\\') {
            outFolder.assign(WindowsRoot(baseFolder));
            outFolder.append(outputFolderName);
            return RESULT_OK;
        }

        std::vector<std::string_view> parts;
        BaseComponents(style, baseFolder, parts);
        AppendComponents(style, outputFolderName, true, parts);

        // The kept components form a stack: a ".." at position i removes position i - 1,
        // and the first component (drive, server or root) may never be removed.
        std::vector<std::string_view> kept;
        kept.reserve(parts.size());
        for (std::string_view part : parts) {
            if (part == ".") continue;
            if (part == "..") {
                if (kept.size() <= 1) return RESULT_BAD_PATH;
                kept.pop_back();
                continue;
            }
            kept.push_back(part);
        }

        // The Posix root is itself the separator, so its first follower needs none.
        const size_t firstJoined = style == PathStyle::Posix ? 2 : 1;
        for (size_t index = 0; index < kept.size(); ++index) {
            if (index >= firstJoined) outFolder.push_back(PathSeparator(style));
            outFolder.append(kept[index]);
        }
        return RESULT_OK;
    } catch (const std::bad_alloc&) {
        outFolder.clear();
        return RESULT_OUT_OF_MEMORY;
    }
}

bool CreateFolderPath(PathStyle style, std::string_view path) {
    return CreateFolderPath(style, path, NativeFolders());
}

bool CreateFolderPath(PathStyle style, std::string_view path, FolderSystem& folders) {
    if (style == PathStyle::Windows) path = TrimBlanks(path);

    size_t start = 0;
    if (style == PathStyle::Windows && IsNetworkForm(path)) {
        // Neither the server nor the share can be created as a folder: begin below them.
        const size_t serverEnd = FindSeparator(style, path, 2);
        if (serverEnd == std::string_view::npos) return true;
        const size_t shareEnd = FindSeparator(style, path, serverEnd + 1);
        if (shareEnd == std::string_view::npos) return true;
        start = shareEnd + 1;
    } else {
        const size_t first = FindSeparator(style, path, 0);
        if (first == std::string_view::npos) return true;
        start = first + 1;
    }

    try {
        std::string prefix(path.substr(0, start));
        while (start < path.size()) {
            const size_t next = FindSeparator(style, path, start);
            const size_t end = next == std::string_view::npos ? path.size() : next + 1;
            prefix.append(path.substr(start, end - start));
            if (!folders.Exists(prefix) && !folders.Create(prefix)) return false;
            start = end;
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

std::string JoinFolderAndName(PathStyle style, std::string_view folder, std::string_view name) {
    if (name.empty()) return std::string(folder);
    std::string path = CutTrailingSeparators(style, folder);
    path.push_back(PathSeparator(style));
    path.append(name);
    return path;
}

std::string CutTrailingSeparators(PathStyle style, std::string_view text) {
    size_t keep = 0;
    for (size_t i = 0; i < text.size();) {
        const size_t length = CharLength(style, text, i);
        if (!IsTrailingCut(style, text.substr(i, length))) keep = i + length;
        i += length;
    }
    return std::string(text.substr(0, keep));
}

Result SplitFolderAndName(PathStyle style, std::string_view path, std::string& folder,
                          std::string& name) {
    folder.clear();
    name.clear();
    size_t last = std::string_view::npos;
    for (size_t i = FindSeparator(style, path, 0); i != std::string_view::npos;
         i = FindSeparator(style, path, i + 1)) {
        last = i;
    }
    if (last == std::string_view::npos) return RESULT_BAD_PATH;
    try {
        folder.assign(path.substr(0, last + 1));
        name.assign(path.substr(last + 1));
    } catch (const std::bad_alloc&) {
        folder.clear();
        name.clear();
        return RESULT_OUT_OF_MEMORY;
    }
    return RESULT_OK;
}

bool IsSamePath(PathStyle style, std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    if (style == PathStyle::Posix) return a == b;
    for (size_t i = 0; i < a.size();) {
        const size_t length = CharLength(style, a, i);
        if (length == 1) {
            if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
        } else if (a.substr(i, length) != b.substr(i, length)) {
            return false;
        }
        i += length;
    }
    return true;
}

}  // namespace trimlet
