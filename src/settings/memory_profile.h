#pragma once
// A profile held in memory, for tests and for runs that must not touch the user's
// profile. It keeps values as text exactly like the file-backed profile, so a value
// written with WriteString("MODE", "abc") reads back as a corrupt integer.

#include <cstddef>
#include <map>
#include <string>
#include <utility>

#include "settings/profile.h"

namespace trimlet {

class MemoryProfile final : public Profile {
  public:
    // Number of writes and removals so far; lets a test assert that nothing was written.
    int ChangeCount() const { return changes_; }
    // Number of keys held in `section`.
    std::size_t KeyCount(std::string_view section = kSettingsSection) const;

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

    const std::string* Find(std::string_view section, std::string_view key) const;

    std::map<std::pair<std::string, std::string>, std::string> values_;
    int changes_ = 0;
};

}  // namespace trimlet
