#pragma once
// Shared by the engine's fuzz targets: how an input is split into settings and text,
// and the invariants every result must keep.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/charset.h"
#include "engine/trim_mode.h"

namespace trimlet::fuzz {

// Byte 0: bit 0 UTF-8 (else CP932), bit 1 VBScript (script target); bytes 1-4: the
// trim mode, little-endian; the rest: the text.
struct Input {
    Charset charset = Charset::Cp932;
    bool vbScript = false;
    TrimMode mode = 0;
    std::string_view text;
};

inline bool Decode(const uint8_t* data, size_t size, Input& in) {
    if (size < 5) return false;
    in.charset = (data[0] & 1) ? Charset::Utf8 : Charset::Cp932;
    in.vbScript = (data[0] & 2) != 0;
    in.mode = TrimMode{data[1]} | TrimMode{data[2]} << 8 | TrimMode{data[3]} << 16 |
              TrimMode{data[4]} << 24;
    in.text = std::string_view(reinterpret_cast<const char*>(data + 5), size - 5);
    return true;
}

inline void Require(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

// The text with every byte mapped onto letters, digits (no 'r', so no "rem") and
// single-byte katakana: nothing any pass acts on, so it must come back unchanged.
inline std::string PlainVariant(std::string_view text) {
    static constexpr std::string_view kPlain =
        "0123456789abcdefghijklmnopqstuvwxyzABCDEFGHIJKLMNOPQSTUVWXYZ\xA6\xB1\xC1\xDD";
    std::string plain(text.size(), 'a');
    for (size_t i = 0; i < text.size(); ++i) {
        plain[i] = kPlain[static_cast<uint8_t>(text[i]) % kPlain.size()];
    }
    return plain;
}

// Whether every line break of the text is of one kind (all CR LF, all LF or all CR). A
// text that mixes them may change its convention when a trim deletes the only line break
// of one kind, and a second trim may then read its lines differently.
inline bool OneLineBreakKind(std::string_view s) {
    bool crlf = false, cr = false, lf = false;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') {
            crlf = true;
            ++i;
        } else if (s[i] == '\r') {
            cr = true;
        } else if (s[i] == '\n') {
            lf = true;
        }
    }
    return int{crlf} + int{cr} + int{lf} <= 1;
}

// Well-formed UTF-8 (no overlong forms checked): trimming removes only whole
// characters, so well-formed input must give well-formed output.
inline bool IsWellFormedUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        const uint8_t c = static_cast<uint8_t>(s[i]);
        size_t more;
        if (c < 0x80) {
            more = 0;
        } else if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
        } else {
            return false;
        }
        if (s.size() - i <= more) return false;
        for (size_t k = 1; k <= more; ++k) {
            if ((static_cast<uint8_t>(s[i + k]) & 0xC0) != 0x80) return false;
        }
        i += more + 1;
    }
    return true;
}

// Shift_JIS as Windows writes it: every lead byte followed by a trail byte. A lone lead
// byte (a damaged text) may take the next byte as its trail once a trim has deleted what
// stood between them, so a second trim of such a text may read it differently.
inline bool IsWellFormedCp932(std::string_view s) {
    for (size_t i = 0; i < s.size(); ++i) {
        const uint8_t c = static_cast<uint8_t>(s[i]);
        if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) {
            if (i + 1 >= s.size()) return false;
            const uint8_t t = static_cast<uint8_t>(s[++i]);
            if (t < 0x40 || t == 0x7F || t > 0xFC) return false;
        }
    }
    return true;
}

// Whether the text holds a control byte other than tab, line feed, form feed and carriage
// return (no page holds one). Inside tag names and unterminated tags next to SCRIPT tags, such
// bytes still make a second trim read some texts otherwise (a known limit).
inline bool HoldsControlBytes(std::string_view s) {
    for (const char c : s) {
        const auto b = static_cast<unsigned char>(c);
        if ((b < 0x20 && b != '\t' && b != '\n' && b != '\f' && b != '\r') || b == 0x7F)
            return true;
    }
    return false;
}

// Whether the text holds "</" and "script" with blanks between them. Script trimming may
// delete those blanks, which makes an end tag of them, so a second trim reads the SCRIPT
// block to another end (a known fault, in the reference engine too).
inline bool HoldsSpacedScriptEndTag(std::string_view s) {
    for (size_t i = s.find("</"); i != std::string_view::npos; i = s.find("</", i + 1)) {
        size_t k = i + 2;
        while (k < s.size() &&
               (s[k] == ' ' || s[k] == '\t' || s[k] == '\r' || s[k] == '\n' || s[k] == '\f'))
            ++k;
        if (k == i + 2 || s.size() - k < 6) continue;
        bool script = true;
        for (size_t j = 0; j < 6 && script; ++j)
            script = (static_cast<unsigned char>(s[k + j]) | 0x20) == "script"[j];
        if (script) return true;
    }
    return false;
}

// A second trim must change nothing for a text of one line-break kind that is well formed
// in its charset and holds no control bytes.
inline bool SecondTrimMustAgree(std::string_view s, Charset charset) {
    const bool wellFormed = charset == Charset::Utf8 ? IsWellFormedUtf8(s) : IsWellFormedCp932(s);
    return wellFormed && OneLineBreakKind(s) && !HoldsControlBytes(s) &&
           !HoldsSpacedScriptEndTag(s);
}

}  // namespace trimlet::fuzz
