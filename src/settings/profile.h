#pragma once
// The per-user profile: a store of named integers and strings grouped in sections. Every
// setting lives in section "Settings"; other sections (the recent-task list) are named by
// their owner. Values are kept as text, so an integer written is read back as a string of
// its decimal digits and a string of decimal digits reads as an integer.
//
// Reads never fail: a key that is missing, or whose value is not of the asked type, yields
// the default the caller passes. Writes are not reported; a store that cannot save loses
// the value quietly.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace trimlet {

inline constexpr std::string_view kSettingsSection = "Settings";

class Profile {
  public:
    virtual ~Profile() = default;

    // The integer under `key`; nullopt when missing or not a decimal integer.
    std::optional<std::int64_t> FindInteger(std::string_view key,
                                            std::string_view section = kSettingsSection) const {
        return DoFindInteger(section, key);
    }
    std::int64_t ReadInteger(std::string_view key, std::int64_t fallback,
                             std::string_view section = kSettingsSection) const {
        return DoFindInteger(section, key).value_or(fallback);
    }

    // The 32-bit word under `key`. Negative values down to -2^31 wrap to their unsigned
    // form (0xFFFFFFFF is stored either as 4294967295 or as -1); anything beyond 32 bits
    // counts as not an integer.
    std::optional<std::uint32_t> FindWord(std::string_view key,
                                          std::string_view section = kSettingsSection) const;
    std::uint32_t ReadWord(std::string_view key, std::uint32_t fallback,
                           std::string_view section = kSettingsSection) const {
        return FindWord(key, section).value_or(fallback);
    }

    // The text under `key`; nullopt when missing. An empty value is a value.
    std::optional<std::string> FindString(std::string_view key,
                                          std::string_view section = kSettingsSection) const {
        return DoFindString(section, key);
    }
    std::string ReadString(std::string_view key, std::string_view fallback,
                           std::string_view section = kSettingsSection) const {
        std::optional<std::string> value = DoFindString(section, key);
        return value ? std::move(*value) : std::string(fallback);
    }

    void WriteInteger(std::string_view key, std::int64_t value,
                      std::string_view section = kSettingsSection) {
        DoWriteInteger(section, key, value);
    }
    void WriteString(std::string_view key, std::string_view value,
                     std::string_view section = kSettingsSection) {
        DoWriteString(section, key, value);
    }

    // Whether `key` holds any value, of whatever type.
    bool HasKey(std::string_view key, std::string_view section = kSettingsSection) const {
        return DoHasKey(section, key);
    }
    void RemoveKey(std::string_view key, std::string_view section = kSettingsSection) {
        DoRemoveKey(section, key);
    }

  private:
    virtual std::optional<std::int64_t> DoFindInteger(std::string_view section,
                                                      std::string_view key) const = 0;
    virtual std::optional<std::string> DoFindString(std::string_view section,
                                                    std::string_view key) const = 0;
    virtual void DoWriteInteger(std::string_view section, std::string_view key,
                                std::int64_t value) = 0;
    virtual void DoWriteString(std::string_view section, std::string_view key,
                               std::string_view value) = 0;
    virtual bool DoHasKey(std::string_view section, std::string_view key) const = 0;
    virtual void DoRemoveKey(std::string_view section, std::string_view key) = 0;
};

// Parses a stored integer: optional blanks, an optional sign, decimal digits, optional
// blanks. Hexadecimal, octal, fractions and trailing text are not integers.
std::optional<std::int64_t> ParseProfileInteger(std::string_view text);

}  // namespace trimlet
