#include "settings/overlay_profile.h"

namespace trimlet {

bool OverlayProfile::Hidden(std::string_view section, std::string_view key) const {
    return !base_ || hidden_.contains(std::pair<std::string, std::string>(section, key));
}

std::optional<std::int64_t> OverlayProfile::DoFindInteger(std::string_view section,
                                                          std::string_view key) const {
    if (changes_.HasKey(key, section)) return changes_.FindInteger(key, section);
    if (Hidden(section, key)) return std::nullopt;
    return base_->FindInteger(key, section);
}

std::optional<std::string> OverlayProfile::DoFindString(std::string_view section,
                                                        std::string_view key) const {
    if (changes_.HasKey(key, section)) return changes_.FindString(key, section);
    if (Hidden(section, key)) return std::nullopt;
    return base_->FindString(key, section);
}

void OverlayProfile::DoWriteInteger(std::string_view section, std::string_view key,
                                    std::int64_t value) {
    hidden_.emplace(section, key);
    ++changeCount_;
    changes_.WriteInteger(key, value, section);
}

void OverlayProfile::DoWriteString(std::string_view section, std::string_view key,
                                   std::string_view value) {
    hidden_.emplace(section, key);
    ++changeCount_;
    changes_.WriteString(key, value, section);
}

bool OverlayProfile::DoHasKey(std::string_view section, std::string_view key) const {
    if (changes_.HasKey(key, section)) return true;
    return !Hidden(section, key) && base_->HasKey(key, section);
}

void OverlayProfile::DoRemoveKey(std::string_view section, std::string_view key) {
    hidden_.emplace(section, key);
    if (changes_.HasKey(key, section)) changes_.RemoveKey(key, section);
    ++changeCount_;
}

}  // namespace trimlet
