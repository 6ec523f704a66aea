#include "verify/text_rules.h"

#include <algorithm>
#include <cstdint>

namespace trimlet::verify {

namespace {

// The length of a blank at i: one ASCII blank byte, or U+3000 with `fullWidth`; else 0.
std::size_t BlankLength(std::string_view text, std::size_t i, bool fullWidth) {
    if (IsAsciiBlank(text[i])) return 1;
    if (fullWidth && text.compare(i, 3, "\xE3\x80\x80") == 0) return 3;
    return 0;
}

bool IsContinuation(char c) {
    return (static_cast<std::uint8_t>(c) & 0xC0) == 0x80;
}

}  // namespace

std::string CollapseBlanks(std::string_view text, bool fullWidth,
                           std::vector<std::size_t>* origins) {
    std::string out;
    out.reserve(text.size());
    bool inBlank = false;
    for (std::size_t i = 0; i < text.size();) {
        if (const std::size_t blank = BlankLength(text, i, fullWidth)) {
            if (!inBlank) {
                out += ' ';
                if (origins) origins->push_back(i);
            }
            inBlank = true;
            i += blank;
            continue;
        }
        inBlank = false;
        out += text[i];
        if (origins) origins->push_back(i);
        ++i;
    }
    return out;
}

bool IsBlankText(std::string_view text, bool fullWidth) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t blank = BlankLength(text, i, fullWidth);
        if (blank == 0) return false;
        i += blank;
    }
    return true;
}

std::string NormalizeCss(std::string_view css) {
    std::string out;
    out.reserve(css.size());
    bool pendingBlank = false;
    const auto isTight = [](char c) { return c == '{' || c == '}' || c == ';' || c == ','; };
    const auto put = [&](std::string_view piece) {
        if (pendingBlank && !out.empty() && !isTight(out.back()) && !isTight(piece.front()))
            out += ' ';
        pendingBlank = false;
        out += piece;
    };
    for (std::size_t i = 0; i < css.size();) {
        const char c = css[i];
        if (IsAsciiBlank(c)) {
            pendingBlank = true;
            ++i;
        } else if (c == '/' && i + 1 < css.size() && css[i + 1] == '*') {
            const std::size_t close = css.find("*/", i + 2);
            i = close == std::string_view::npos ? css.size() : close + 2;
            pendingBlank = true;
        } else if (css.compare(i, 4, "<!--") == 0 || css.compare(i, 3, "-->") == 0) {
            i += css[i] == '<' ? 4 : 3;
            pendingBlank = true;
        } else if (c == '"' || c == '\'') {
            std::size_t j = i + 1;
            while (j < css.size() && css[j] != c && css[j] != '\n')
                j += css[j] == '\\' ? 2 : 1;
            j = std::min(css.size(), j + 1);
            put(css.substr(i, j - i));
            i = j;
        } else {
            std::size_t j = i + 1;
            if (c == '\\' && j < css.size()) ++j;
            put(css.substr(i, j - i));
            i = j;
        }
    }
    return out;
}

std::size_t FirstDifference(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    const auto mismatch =
        std::mismatch(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(n), b.begin());
    const auto at = static_cast<std::size_t>(mismatch.first - a.begin());
    if (at == n && a.size() == b.size()) return std::string_view::npos;
    return at;
}

std::string Excerpt(std::string_view text, std::size_t at) {
    at = std::min(at, text.size());
    std::size_t begin = at;
    while (begin > 0 && at - begin < 16 && text[begin - 1] != '\n')
        --begin;
    if (begin > 0 && text[begin - 1] != '\n') {
        // Cut in the middle of a line: start at a word instead.
        const std::size_t blank = text.find(' ', begin);
        if (blank != std::string_view::npos && blank + 1 < at) begin = blank + 1;
    }
    while (begin > 0 && begin < text.size() && IsContinuation(text[begin]))
        --begin;
    std::size_t end = std::min(text.size(), at + 24);
    while (end < text.size() && IsContinuation(text[end]))
        ++end;
    std::string out;
    for (std::size_t i = begin; i < end; ++i) {
        const auto c = static_cast<std::uint8_t>(text[i]);
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

}  // namespace trimlet::verify
