#include "cli/cli_support.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <memory>

#include "settings/migration.h"
#include "settings/profile_keys.h"
#include "settings/qt_profile.h"

namespace trimlet::cli {

namespace {

std::unique_ptr<Profile>& ProfileSlot() {
    static std::unique_ptr<Profile> profile;
    return profile;
}

}  // namespace

void OpenCliProfile(const std::string& path) {
    ProfileSlot() = OpenProfile(path);
    MigrateProfile(*ProfileSlot());
}

Profile& CliProfile() {
    if (!ProfileSlot()) OpenCliProfile({});
    return *ProfileSlot();
}

TrimMode DefaultTrimMode() {
    return ReadTrimMode(CliProfile());
}

std::string DefaultScriptExtensions() {
    return ReadScriptExtensions(CliProfile());
}

std::optional<TrimMode> ParseTrimMode(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text[0] == '+' || text[0] == '-') return std::nullopt;
    std::uint32_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

int BadUsage(std::string_view usage, std::string_view problem, std::string_view detail) {
    std::cerr << text::kProgram << ": " << problem;
    if (!detail.empty()) std::cerr << " '" << detail << '\'';
    std::cerr << '\n' << text::kUsageHeader << ' ' << usage << '\n';
    return kExitBadUsage;
}

int Failure(std::string_view what, std::string_view path, Result result) {
    std::cerr << text::kProgram << ": " << what << ' ' << path << ": " << ResultName(result)
              << '\n';
    return kExitFailed;
}

bool WriteStdout(std::string_view bytes) {
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size())
        return false;
    return std::fflush(stdout) == 0 && !std::ferror(stdout);
}

std::optional<std::string_view> OptionValue(Args args, std::size_t& i, std::string_view name,
                                            bool& missing) {
    std::string_view arg = args[i];
    if (arg == name) {
        if (i + 1 >= args.size()) {
            missing = true;
            return std::nullopt;
        }
        i += 2;
        return args[i - 1];
    }
    if (arg.size() > name.size() && arg.substr(0, name.size()) == name && arg[name.size()] == '=' &&
        name.substr(0, 2) == "--") {
        ++i;
        return arg.substr(name.size() + 1);
    }
    return std::nullopt;
}

}  // namespace trimlet::cli
