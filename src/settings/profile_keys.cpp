#include "settings/profile_keys.h"

namespace trimlet {

std::uint32_t ReadWordKey(const Profile& profile, const ProfileKey& key) {
    return profile.ReadWord(key.name, static_cast<std::uint32_t>(key.integerDefault));
}

std::int32_t ReadIntKey(const Profile& profile, const ProfileKey& key) {
    return static_cast<std::int32_t>(ReadWordKey(profile, key));
}

bool ReadFlagKey(const Profile& profile, const ProfileKey& key) {
    return ReadWordKey(profile, key) != 0;
}

std::string ReadStringKey(const Profile& profile, const ProfileKey& key) {
    return profile.ReadString(key.name, key.stringDefault);
}

void WriteIntegerKey(Profile& profile, const ProfileKey& key, std::int64_t value) {
    profile.WriteInteger(key.name, value);
}

void WriteFlagKey(Profile& profile, const ProfileKey& key, bool value) {
    profile.WriteInteger(key.name, value ? 1 : 0);
}

void WriteStringKey(Profile& profile, const ProfileKey& key, std::string_view value) {
    profile.WriteString(key.name, value);
}

std::vector<std::string> ReadKeptComments(const Profile& p) {
    const std::string stored = ReadStringKey(p, kKeyKeptComments);
    std::vector<std::string> entries;
    std::string_view rest = stored;
    while (!rest.empty()) {
        const std::size_t br = rest.find_first_of("\r\n");
        const std::string_view line = rest.substr(0, br);
        if (!line.empty()) entries.emplace_back(line);
        if (br == std::string_view::npos) break;
        rest.remove_prefix(br + 1);
    }
    return entries;
}

void WriteKeptComments(Profile& p, std::span<const std::string> entries) {
    std::string stored;
    for (const std::string& entry : entries) {
        const std::string_view line =
            std::string_view(entry).substr(0, entry.find_first_of("\r\n"));
        if (line.empty()) continue;
        if (!stored.empty()) stored += '\n';
        stored += line;
    }
    WriteStringKey(p, kKeyKeptComments, stored);
}

}  // namespace trimlet
