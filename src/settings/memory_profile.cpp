#include "settings/memory_profile.h"

namespace trimlet {

std::size_t MemoryProfile::KeyCount(std::string_view section) const {
    std::size_t count = 0;
    for (const auto& [name, value] : values_) {
        if (name.first == section) ++count;
    }
    return count;
}

const std::string* MemoryProfile::Find(std::string_view section, std::string_view key) const {
    auto it = values_.find({std::string(section), std::string(key)});
    return it == values_.end() ? nullptr : &it->second;
}

std::optional<std::int64_t> MemoryProfile::DoFindInteger(std::string_view section,
                                                         std::string_view key) const {
    const std::string* value = Find(section, key);
    if (value == nullptr) return std::nullopt;
    return ParseProfileInteger(*value);
}

std::optional<std::string> MemoryProfile::DoFindString(std::string_view section,
                                                       std::string_view key) const {
    const std::string* value = Find(section, key);
    if (value == nullptr) return std::nullopt;
    return *value;
}

void MemoryProfile::DoWriteInteger(std::string_view section, std::string_view key,
                                   std::int64_t value) {
    DoWriteString(section, key, std::to_string(value));
}

void MemoryProfile::DoWriteString(std::string_view section, std::string_view key,
                                  std::string_view value) {
    values_[{std::string(section), std::string(key)}] = std::string(value);
    ++changes_;
}

bool MemoryProfile::DoHasKey(std::string_view section, std::string_view key) const {
    return Find(section, key) != nullptr;
}

void MemoryProfile::DoRemoveKey(std::string_view section, std::string_view key) {
    values_.erase({std::string(section), std::string(key)});
    ++changes_;
}

}  // namespace trimlet
