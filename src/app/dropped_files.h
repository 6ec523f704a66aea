#pragma once
// The file lists of drops and of the clipboard: "text/uri-list" as file managers drag and
// copy files, and "x-special/gnome-copied-files" as GNOME's file manager copies them.

#include <QMimeData>
#include <string>
#include <vector>

namespace trimlet {

inline constexpr const char* kUriListMime = "text/uri-list";
inline constexpr const char* kGnomeCopiedFilesMime = "x-special/gnome-copied-files";

// Whether `data` holds a file list of either kind.
bool HoldsFileList(const QMimeData* data);

// The paths of the file list in `data`, in order. A URL that names no local file is kept
// as it was written, so the list reports it as a file not found; empty lines and comments
// are left out.
std::vector<std::string> FileListPaths(const QMimeData& data);

}  // namespace trimlet
