#include "platform/documents_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace trimlet {

namespace {

namespace fs = std::filesystem;

bool IsFolder(const fs::path& path) {
    std::error_code ec;
    return path.is_absolute() && fs::is_directory(path, ec);
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

}  // namespace

std::string ProgramFolder() {
    std::error_code ec;
    fs::path program = fs::read_symlink("/proc/self/exe", ec);
    if (ec || program.empty()) return {};
    return program.parent_path().string();
}

bool FindDocumentsFolder(std::string& folder) {
    folder.clear();
    std::string xdg = Environment("XDG_DOCUMENTS_DIR");
    if (!xdg.empty() && IsFolder(xdg)) {
        folder = fs::path(xdg).lexically_normal().string();
    } else if (std::string home = Environment("HOME");
               !home.empty() && IsFolder(fs::path(home) / "Documents")) {
        folder = (fs::path(home) / "Documents").lexically_normal().string();
    } else {
        folder = ProgramFolder();
    }
    // A trailing separator would make "/x/" and "/x" two different remembered folders.
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return !folder.empty();
}

}  // namespace trimlet
