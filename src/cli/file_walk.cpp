#include "cli/file_walk.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>

namespace trimlet::cli {

namespace {

bool SameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

bool InList(std::string_view extension, std::string_view list) {
    while (!list.empty()) {
        const auto colon = list.find(':');
        std::string_view item = list.substr(0, colon);
        while (!item.empty() && item.front() == ' ')
            item.remove_prefix(1);
        while (!item.empty() && item.back() == ' ')
            item.remove_suffix(1);
        if (!item.empty() && SameLetters(item, extension)) return true;
        if (colon == std::string_view::npos) break;
        list.remove_prefix(colon + 1);
    }
    return false;
}

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return folder.back() == '/' ? folder + name : folder + '/' + name;
}

void Walk(const std::string& folder, const std::string& below, const WalkRules& rules,
          std::vector<FoundFile>& found, std::vector<std::string>& unreadable) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        unreadable.push_back(folder);
        return;
    }
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") names.emplace_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());

    std::vector<std::string> folders;
    for (const std::string& name : names) {
        const std::string path = Join(folder, name);
        const std::string relative = below.empty() ? name : below + '/' + name;
        struct stat link {};
        if (::lstat(path.c_str(), &link) != 0) continue;
        if (S_ISDIR(link.st_mode)) {
            if (!IsExcluded(rules, relative)) folders.push_back(name);
            continue;
        }
        struct stat target {};
        if (S_ISLNK(link.st_mode) && ::stat(path.c_str(), &target) != 0) continue;
        const mode_t mode = S_ISLNK(link.st_mode) ? target.st_mode : link.st_mode;
        if (!S_ISREG(mode) || !HasListedExtension(rules, name) || IsExcluded(rules, relative))
            continue;
        found.push_back({path, below});
    }
    for (const std::string& name : folders) {
        const std::string path = Join(folder, name);
        if (!rules.skipFolderName.empty() && name == rules.skipFolderName) continue;
        if (rules.skipFolder && IdentityOf(path) == rules.skipFolder) continue;
        Walk(path, below.empty() ? name : below + '/' + name, rules, found, unreadable);
    }
}

}  // namespace

std::optional<FileIdentity> IdentityOf(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return std::nullopt;
    return FileIdentity{status.st_dev, status.st_ino};
}

bool HasListedExtension(const WalkRules& rules, std::string_view name) {
    const auto slash = name.rfind('/');
    if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos) return false;
    const std::string_view extension = name.substr(dot + 1);
    return !extension.empty() &&
           (InList(extension, rules.htmlExtensions) || InList(extension, rules.scriptExtensions));
}

bool IsExcluded(const WalkRules& rules, std::string_view relative) {
    const std::string whole(relative);
    const auto slash = relative.rfind('/');
    const std::string name(slash == std::string_view::npos ? relative : relative.substr(slash + 1));
    for (const std::string& glob : rules.excludes) {
        const bool onPath = glob.find('/') != std::string::npos;
        if (::fnmatch(glob.c_str(), onPath ? whole.c_str() : name.c_str(),
                      onPath ? FNM_PATHNAME : 0) == 0)
            return true;
    }
    return false;
}

void WalkFolder(const std::string& root, const WalkRules& rules, std::vector<FoundFile>& found,
                std::vector<std::string>& unreadable) {
    Walk(root, {}, rules, found, unreadable);
}

}  // namespace trimlet::cli
