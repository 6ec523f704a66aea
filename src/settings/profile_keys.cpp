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

}  // namespace trimlet
