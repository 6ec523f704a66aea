#pragma once
// The text rules of the verifier: blanks collapsed as a browser shows them, CSS compared
// outside its strings, and the excerpts a difference is shown with.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace trimlet::verify {

// True for a byte a browser takes as a blank in text: space, tab, LF, CR, form feed.
inline bool IsAsciiBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// `text` (UTF-8) with every run of blanks (and of U+3000 too with `fullWidth`) made one
// space. `origins`, when given, receives for each output byte the index of the input byte
// it came from.
std::string CollapseBlanks(std::string_view text, bool fullWidth,
                           std::vector<std::size_t>* origins = nullptr);

// True when `text` holds nothing but blanks (and U+3000 with `fullWidth`).
bool IsBlankText(std::string_view text, bool fullWidth);

// CSS text with comments, "<!--" and "-->" taken for blanks, runs of blanks outside strings
// made one space and none kept beside "{", "}", ";", "," or at the ends; strings as written.
std::string NormalizeCss(std::string_view css);

// The index of the first byte where `a` and `b` differ (the shorter length when one is the
// other's start), or npos when they are equal.
std::size_t FirstDifference(std::string_view a, std::string_view b);

// A short piece of `text` around `at` for a message: from the start of its line or of a word
// (at most 16 bytes back) to at most 24 bytes on, whole UTF-8 characters, control bytes
// escaped.
std::string Excerpt(std::string_view text, std::size_t at);

}  // namespace trimlet::verify
