#pragma once
// Table rows for the engine tests and the helpers that run them.

#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "engine/preformatted.h"
#include "engine/trim_engine.h"
#include "reference/engine/preformatted.h"
#include "reference/engine/trim_engine.h"
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

// Elements made preformatted, as a set for each engine: the real one's and the reference's.
struct Preformatted {
    engine::PreformattedSelectors real;
    reference::engine::PreformattedSelectors reference;
};

// The sets each engine's own learner learns from the STYLE elements of `page`.
inline Preformatted LearnedFrom(std::string_view page) {
    Preformatted both;
    engine::LearnFromStyleElements(page, both.real);
    reference::engine::LearnFromStyleElements(page, both.reference);
    return both;
}

// The sets `build` makes of an empty set (it is called with each).
template <typename Build>
Preformatted BuiltAs(Build build) {
    Preformatted both;
    build(both.real);
    build(both.reference);
    return both;
}

// The trim of an HTML text. Every call checks that the text given up to the engine trims
// alike and that the reference engine gives the same bytes.
inline std::string Html(std::string_view input, TrimMode mode, Charset cs = Charset::Cp932,
                        std::span<const std::string> kept = {},
                        const Preformatted* preformatted = nullptr) {
    const auto* real = preformatted != nullptr ? &preformatted->real : nullptr;
    std::string out = "stale";
    EXPECT_RESULT(TrimHtmlText(input, out, mode, cs, kept, real), RESULT_OK);
    EXPECT_LE(out.size(), input.size());
    std::string given(input);
    std::string fromGiven = "stale";
    EXPECT_RESULT(TrimOwnedHtmlText(given, fromGiven, mode, cs, kept, real), RESULT_OK);
    EXPECT_EQ(fromGiven, out) << "a given-up text trims otherwise";
    std::string expected = "stale";
    EXPECT_RESULT(
        reference::TrimHtmlText(input, expected, mode, cs, kept,
                                preformatted != nullptr ? &preformatted->reference : nullptr),
        RESULT_OK);
    EXPECT_EQ(out, expected) << "the reference engine trims otherwise";
    return out;
}

// The trim of a script text, checked against the reference engine's.
inline std::string Script(std::string_view input, TrimMode mode, bool vb,
                          Charset cs = Charset::Cp932, std::span<const std::string> kept = {}) {
    std::string out = "stale";
    EXPECT_RESULT(TrimScriptText(input, out, mode, vb, cs, kept), RESULT_OK);
    EXPECT_LE(out.size(), input.size());
    std::string expected = "stale";
    EXPECT_RESULT(reference::TrimScriptText(input, expected, mode, vb, cs, kept), RESULT_OK);
    EXPECT_EQ(out, expected) << "the reference engine trims otherwise";
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

// Characters the tests use, as UTF-8 (this file's encoding) and as CP932.
inline const std::pair<std::string_view, std::string_view> kCp932[] = {
    {"表", "\x95\x5C"},                      // trail byte '\'
    {"ソ", "\x83\x5C"},                      // trail byte '\'
    {"ポ", "\x83\x7C"},                      // trail byte '|'
    {"チ", "\x83\x60"},                      // trail byte '`'
    {"ビ", "\x83\x72"},                      // trail byte 'r'
    {"あ", "\x82\xA0"}, {"　", "\x81\x40"},  // full-width blank
};

inline std::string Encode(std::string_view utf8, Charset cs) {
    if (cs == Charset::Utf8) return std::string(utf8);
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        bool found = false;
        for (const auto& [u, c] : kCp932) {
            if (utf8.substr(i, u.size()) == u) {
                out += c;
                i += u.size();
                found = true;
                break;
            }
        }
        if (!found) {
            EXPECT_LT(static_cast<unsigned char>(utf8[i]), 0x80) << "no CP932 bytes for " << utf8;
            out += utf8[i++];
        }
    }
    return out;
}

// Runs every row in CP932 and in UTF-8: the rows are written in UTF-8 with the
// characters of kCp932.
template <size_t N>
void ExpectHtmlInBoth(const Case (&cases)[N]) {
    for (Charset cs : {Charset::Cp932, Charset::Utf8}) {
        SCOPED_TRACE(cs == Charset::Cp932 ? "CP932" : "UTF-8");
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            EXPECT_EQ(Html(Encode(c.input, cs), c.mode, cs), Encode(Expected(c), cs));
        }
    }
}

}  // namespace trimlet::test
