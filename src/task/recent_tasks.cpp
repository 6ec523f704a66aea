#include "task/recent_tasks.h"

#include <algorithm>

namespace trimlet {

namespace {

std::string EntryKey(std::size_t index) {
    return "File" + std::to_string(index + 1);
}

bool Contains(const std::vector<std::string>& paths, std::string_view path, PathStyle style) {
    return std::any_of(paths.begin(), paths.end(),
                       [&](const std::string& p) { return IsSamePath(style, p, path); });
}

}  // namespace

std::vector<std::string> ReadRecentTasks(const Profile& profile, PathStyle style) {
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < kRecentTaskCount; ++i) {
        std::string path = profile.ReadString(EntryKey(i), {}, kRecentTasksSection);
        if (!path.empty() && !Contains(paths, path, style)) paths.push_back(std::move(path));
    }
    return paths;
}

void AddRecentTask(Profile& profile, std::string_view path, PathStyle style) {
    if (path.empty()) return;
    std::vector<std::string> paths{std::string(path)};
    for (std::string& old : ReadRecentTasks(profile, style)) {
        if (paths.size() == kRecentTaskCount) break;
        if (!IsSamePath(style, old, path)) paths.push_back(std::move(old));
    }
    for (std::size_t i = 0; i < kRecentTaskCount; ++i) {
        if (i < paths.size()) {
            profile.WriteString(EntryKey(i), paths[i], kRecentTasksSection);
        } else if (profile.HasKey(EntryKey(i), kRecentTasksSection)) {
            profile.RemoveKey(EntryKey(i), kRecentTasksSection);
        }
    }
}

}  // namespace trimlet
