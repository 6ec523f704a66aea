#pragma once
// Helpers shared by the tests: result assertions that print code names, and
// temporary folders that vanish with the test.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "common/language.h"
#include "common/result.h"
#include "engine/trim_mode.h"

#define EXPECT_RESULT(expr, expected) \
    EXPECT_STREQ(::trimlet::ResultName(expr), ::trimlet::ResultName(expected))
#define ASSERT_RESULT(expr, expected) \
    ASSERT_STREQ(::trimlet::ResultName(expr), ::trimlet::ResultName(expected))

namespace trimlet::test {

// A page whose trim the check finds differing, trimmed in kModeTheCheckRejects: the end
// tags hold no elements, so the blank the trim deletes between them (as asked, between
// inline tags) joins the two words in the browser. A test that relies on it first asserts
// that the check still rejects it.
inline constexpr std::string_view kPageTheCheckRejects = "<p>y</i> </em>t</p>\n";
inline constexpr TrimMode kModeTheCheckRejects =
    kDefaultTrimMode | TM_BETWEEN_TAGS | TM_BETWEEN_INLINE_TAGS;

// A fresh folder under the system's temporary folder, removed (with its content) on
// destruction. Permissions inside are restored first so that removal cannot fail.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // path() / name as a string.
    std::string File(std::string_view name) const;
    // Writes bytes to path()/name (creating parent folders) and returns the full path.
    std::string Write(std::string_view name, std::string_view bytes) const;

  private:
    std::filesystem::path path_;
};

// Sets (or, with nullopt, unsets) an environment variable until the end of the scope.
// Every change is followed by tzset(), so that a change of TZ takes effect at once.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, std::optional<std::string> value);
    ~ScopedEnv() { Set(saved_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

    void Set(const std::optional<std::string>& value);

  private:
    const char* name_;
    std::optional<std::string> saved_;
};

// Shows texts in `language` until the end of the scope.
class ScopedLanguage {
  public:
    explicit ScopedLanguage(Language language) : saved_(CurrentLanguage()) {
        SetLanguage(language);
    }
    ~ScopedLanguage() { SetLanguage(saved_); }
    ScopedLanguage(const ScopedLanguage&) = delete;
    ScopedLanguage& operator=(const ScopedLanguage&) = delete;

  private:
    Language saved_;
};

// The whole content of a file; empty when it cannot be read.
std::string ReadAll(const std::filesystem::path& path);

// The names of the entries of a folder: what a write must leave, with no temporary file.
std::set<std::string> NamesIn(const std::filesystem::path& folder);

// Runs `body` in a child process, which first becomes nobody:nogroup when `asNobody` (root
// only): permission tests would pass trivially as root. Returns the child's exit status
// (body's result; 125 when the switch failed), or -1 when it did not exit.
int RunInChild(bool asNobody, const std::function<int()>& body);

// The permission bits of a file (with set-id and sticky bits); a failed look fails the test.
unsigned ModeOf(const std::string& path);

}  // namespace trimlet::test
