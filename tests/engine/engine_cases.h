#pragma once
// Table rows for the engine tests and the helpers that run them.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/trim_engine.h"
#include "test_support.h"

namespace trimlet::test {

using namespace std::string_view_literals;

struct Case {
    const char* name;
    uint32_t mode;
    std::string_view input;
    std::string_view expected;  // kSame: the input comes back unchanged
};

// Unlike "", a view of no characters at all.
inline constexpr std::string_view kSame{};

inline std::string_view Expected(const Case& c) {
    return c.expected.data() == nullptr ? c.input : c.expected;
}

inline std::string Html(std::string_view input, TrimMode mode, Charset cs = Charset::Cp932) {
    std::string out = "stale";
    EXPECT_RESULT(TrimHtmlText(input, out, mode, cs), RESULT_OK);
    EXPECT_LE(out.size(), input.size());
    return out;
}

inline std::string Script(std::string_view input, TrimMode mode, bool vb,
                          Charset cs = Charset::Cp932) {
    std::string out = "stale";
    EXPECT_RESULT(TrimScriptText(input, out, mode, vb, cs), RESULT_OK);
    EXPECT_LE(out.size(), input.size());
    return out;
}

template <size_t N>
void ExpectHtml(const Case (&cases)[N], Charset cs = Charset::Cp932) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Html(c.input, c.mode, cs), Expected(c));
    }
}

template <size_t N>
void ExpectScript(const Case (&cases)[N], bool vb, Charset cs = Charset::Cp932) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Script(c.input, c.mode, vb, cs), Expected(c));
    }
}

inline constexpr TrimMode kDefault = kDefaultTrimMode;

}  // namespace trimlet::test
