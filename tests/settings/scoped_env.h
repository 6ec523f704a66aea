#pragma once
// Sets or unsets an environment variable for the life of the object, then restores it.

#include <stdlib.h>

#include <optional>
#include <string>

namespace trimlet::test {

class ScopedEnv {
  public:
    // Sets `name` to `value`, or unsets it when `value` is nullopt.
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = getenv(name)) saved_ = old;
        if (value) {
            setenv(name, value->c_str(), 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (saved_) {
            setenv(name_, saved_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const char* name_;
    std::optional<std::string> saved_;
};

}  // namespace trimlet::test
