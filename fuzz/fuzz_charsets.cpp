// libFuzzer target: the same text written in CP932 and in UTF-8 must trim to the same
// text. Input bytes 0xE0 and above stand for Japanese characters whose CP932 trail
// bytes look like '\', '|', '`', 'r' or '@'; the others for ASCII characters.

#include <string>
#include <string_view>

#include "engine/trim_engine.h"
#include "fuzz_input.h"

namespace {

struct Char {
    std::string_view cp932;
    std::string_view utf8;
};

constexpr Char kChars[] = {
    {"\x95\x5C", "\xE8\xA1\xA8"},                                // trail '\'
    {"\x83\x5C", "\xE3\x82\xBD"},                                // trail '\'
    {"\x83\x7C", "\xE3\x83\x9D"},                                // trail '|'
    {"\x83\x60", "\xE3\x83\x81"},                                // trail '`'
    {"\x83\x72", "\xE3\x83\x93"},                                // trail 'r'
    {"\x82\xA0", "\xE3\x81\x82"}, {"\x81\x40", "\xE3\x80\x80"},  // full-width blank
    {"\x88\x81", "\xE4\xBA\x9C"},                                // trail 0x81
};

// The CP932 result read back as UTF-8; false when it holds a split character.
bool ToUtf8(std::string_view cp932, std::string& utf8) {
    utf8.clear();
    for (size_t i = 0; i < cp932.size();) {
        const auto c = static_cast<uint8_t>(cp932[i]);
        if (c < 0x80) {
            utf8 += cp932[i++];
            continue;
        }
        bool found = false;
        for (const Char& ch : kChars) {
            if (cp932.substr(i, 2) == ch.cp932) {
                utf8 += ch.utf8;
                i += 2;
                found = true;
                break;
            }
        }
        if (!found) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace trimlet;
    fuzz::Input in;
    if (!fuzz::Decode(data, size, in)) return 0;
    const bool html = (data[0] & 4) == 0;
    std::string cp932;
    std::string utf8;
    for (char byte : in.text) {
        const auto b = static_cast<uint8_t>(byte);
        if (b >= 0xE0) {
            const Char& ch = kChars[(b - 0xE0) % std::size(kChars)];
            cp932 += ch.cp932;
            utf8 += ch.utf8;
        } else {
            cp932 += static_cast<char>(b & 0x7F);
            utf8 += static_cast<char>(b & 0x7F);
        }
    }
    std::string fromCp932;
    std::string fromUtf8;
    if (html) {
        fuzz::Require(TrimHtmlText(cp932, fromCp932, in.mode, Charset::Cp932) == RESULT_OK,
                      "result");
        fuzz::Require(TrimHtmlText(utf8, fromUtf8, in.mode, Charset::Utf8) == RESULT_OK, "result");
    } else {
        fuzz::Require(
            TrimScriptText(cp932, fromCp932, in.mode, in.vbScript, Charset::Cp932) == RESULT_OK,
            "result");
        fuzz::Require(
            TrimScriptText(utf8, fromUtf8, in.mode, in.vbScript, Charset::Utf8) == RESULT_OK,
            "result");
    }
    std::string converted;
    fuzz::Require(ToUtf8(fromCp932, converted), "character split in CP932");
    fuzz::Require(converted == fromUtf8, "CP932 and UTF-8 results differ");
    return 0;
}
