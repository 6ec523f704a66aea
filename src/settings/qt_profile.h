#pragma once
// The profile kept by QSettings: by default the user's own (organisation "VARD APP",
// application "Trimlet HTML!", in the user's configuration folder), or an INI file named by
// the caller. Strings are stored as UTF-8 text. Every write is saved at once, so a value
// written survives a crash or a second process opening the same file.

#include <memory>
#include <string>

#include "settings/profile.h"

namespace trimlet {

class QtProfile final : public Profile {
  public:
    // The user's own profile.
    QtProfile();
    // The INI file at `iniPath`; it and its folder are created on the first write.
    explicit QtProfile(const std::string& iniPath);
    ~QtProfile() override;
    QtProfile(const QtProfile&) = delete;
    QtProfile& operator=(const QtProfile&) = delete;

    // The file that holds the values.
    std::string FilePath() const;
    // Saves pending changes and picks up changes made by others; false when the file
    // could not be written or could not be parsed.
    bool Sync();

  private:
    std::optional<std::int64_t> DoFindInteger(std::string_view section,
                                              std::string_view key) const override;
    std::optional<std::string> DoFindString(std::string_view section,
                                            std::string_view key) const override;
    void DoWriteInteger(std::string_view section, std::string_view key,
                        std::int64_t value) override;
    void DoWriteString(std::string_view section, std::string_view key,
                       std::string_view value) override;
    bool DoHasKey(std::string_view section, std::string_view key) const override;
    void DoRemoveKey(std::string_view section, std::string_view key) override;

    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Environment variable naming an INI file to use instead of the user's profile.
inline constexpr const char* kProfileEnvironmentVariable = "TRIMLET_PROFILE";

// Opens the profile to use: the INI file `explicitPath` when it is not empty, else the INI
// file named by TRIMLET_PROFILE when that is set and not empty, else the user's own.
std::unique_ptr<Profile> OpenProfile(const std::string& explicitPath = {});

}  // namespace trimlet
