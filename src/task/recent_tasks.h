#pragma once
// The recent-task list: the last task files opened, run or saved under a new name, newest
// first. It lives in the profile, in a section of its own, so that it survives the session
// and every program that uses the same profile sees the same list.
//
//   [Recent File List]
//   File1=/home/me/site.trh      newest
//   File2=...                    up to File4

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "batch/output_paths.h"
#include "settings/profile.h"

namespace trimlet {

inline constexpr std::string_view kRecentTasksSection = "Recent File List";
inline constexpr std::size_t kRecentTaskCount = 4;

// The stored paths, newest first. Missing and empty entries are left out, and so is a path
// that appears a second time (as `style` compares paths).
std::vector<std::string> ReadRecentTasks(const Profile& profile,
                                         PathStyle style = NativePathStyle());

// Puts `path` at the top of the list. An entry naming the same file moves up rather than
// appearing twice; the oldest entry falls off when the list is full. An empty path changes
// nothing.
void AddRecentTask(Profile& profile, std::string_view path, PathStyle style = NativePathStyle());

}  // namespace trimlet
