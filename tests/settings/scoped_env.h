#pragma once
// Sets (or, with nullopt, unsets) an environment variable until the end of the scope.

#include <stdlib.h>

#include <optional>
#include <string>

namespace trimlet::test {

class ScopedEnv {
  public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = getenv(name)) saved_ = old;
        Set(value);
    }
    ~ScopedEnv() { Set(saved_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    void Set(const std::optional<std::string>& v) {
        if (v) {
            setenv(name_, v->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }
    const char* name_;
    std::optional<std::string> saved_;
};

}  // namespace trimlet::test
