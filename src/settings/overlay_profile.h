#pragma once
// A profile that reads through to another and keeps its own writes in memory: the
// underlying profile is read, never written. With no underlying profile it is an empty
// profile in memory, whose reads give the built-in defaults.

#include <memory>
#include <set>
#include <utility>

#include "settings/memory_profile.h"

namespace trimlet {

class OverlayProfile final : public Profile {
  public:
    explicit OverlayProfile(std::unique_ptr<const Profile> base = nullptr)
        : base_(std::move(base)) {}

    // Number of writes and removals so far, none of which reached the underlying profile.
    int ChangeCount() const { return changeCount_; }

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

    // Whether the underlying value of the key is hidden (removed or written over here).
    bool Hidden(std::string_view section, std::string_view key) const;

    std::unique_ptr<const Profile> base_;
    MemoryProfile changes_;
    std::set<std::pair<std::string, std::string>, std::less<>> hidden_;
    int changeCount_ = 0;
};

}  // namespace trimlet
