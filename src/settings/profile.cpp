#include "settings/profile.h"

#include <charconv>

namespace trimlet {

std::optional<std::uint32_t> Profile::FindWord(std::string_view key,
                                               std::string_view section) const {
    std::optional<std::int64_t> value = DoFindInteger(section, key);
    if (!value || *value < INT32_MIN || *value > static_cast<std::int64_t>(UINT32_MAX)) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(*value);
}

std::optional<std::int64_t> ParseProfileInteger(std::string_view text) {
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    // from_chars takes a minus sign but not a plus sign.
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;

    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value, 10);
    if (error != std::errc() || stop != end) return std::nullopt;
    return value;
}

}  // namespace trimlet
