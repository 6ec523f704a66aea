#include "text/utf8_check.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <string>

namespace trimlet {
namespace {

using namespace std::string_view_literals;

TEST(IsValidUtf8, Table) {
    struct Case {
        const char* name;
        std::string_view bytes;
        bool valid;
    };
    const Case cases[] = {
        {"empty", ""sv, true},
        {"ascii with NUL", "a\0b"sv, true},
        {"two, three and four bytes", "\xC2\xA9\xE3\x81\x82\xF0\x9F\x98\x80"sv, true},
        {"largest code point", "\xF4\x8F\xBF\xBF"sv, true},
        {"last before surrogates", "\xED\x9F\xBF"sv, true},
        {"stray continuation", "a\x80"sv, false},
        {"overlong two bytes", "\xC1\xBF"sv, false},
        {"overlong three bytes", "\xE0\x9F\xBF"sv, false},
        {"overlong four bytes", "\xF0\x8F\xBF\xBF"sv, false},
        {"surrogate", "\xED\xA0\x80"sv, false},
        {"above U+10FFFF", "\xF4\x90\x80\x80"sv, false},
        {"F5 lead", "\xF5\x80\x80\x80"sv, false},
        {"lead cut short by ASCII",
         "\xE3\x81"
         "a"sv,
         false},
        {"lead at the very end", "abc\xE3"sv, false},
        {"shift_jis", "\x93\xFA\x96\x7B"sv, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsValidUtf8ByteWise(c.bytes), c.valid);
        // The same bytes at every position of a 16-byte block and across 64-byte steps.
        for (std::size_t pad : {0, 1, 13, 14, 15, 16, 47, 63, 64, 100}) {
            const std::string text = std::string(pad, 'x') + std::string(c.bytes) + "yz";
            EXPECT_EQ(IsValidUtf8(text), c.valid) << "after " << pad << " ASCII bytes";
            const std::string atEnd = std::string(pad, 'x') + std::string(c.bytes);
            EXPECT_EQ(IsValidUtf8(atEnd), c.valid) << "ending after " << pad << " ASCII bytes";
        }
    }
}

// Every sequence of four bytes drawn from the values where the rules change, at the end of a
// block, across a block boundary and at the end of the text, agrees with the byte-wise check.
TEST(IsValidUtf8, AgreesWithTheByteWiseCheckAtEveryBoundaryValue) {
    constexpr std::array<std::uint8_t, 24> kValues = {
        0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xC1, 0xC2,
        0xDF, 0xE0, 0xE1, 0xEC, 0xED, 0xEE, 0xEF, 0xF0, 0xF1, 0xF4, 0xF5, 0xFF};
    std::size_t disagreements = 0;
    for (std::size_t pad : {12, 14, 30}) {
        std::string text(pad + 4 + 2, 'a');
        for (std::uint8_t a : kValues)
            for (std::uint8_t b : kValues)
                for (std::uint8_t c : kValues)
                    for (std::uint8_t d : kValues) {
                        text[pad] = static_cast<char>(a);
                        text[pad + 1] = static_cast<char>(b);
                        text[pad + 2] = static_cast<char>(c);
                        text[pad + 3] = static_cast<char>(d);
                        const std::string_view whole(text);
                        const std::string_view cut = whole.substr(0, pad + 4);
                        if (IsValidUtf8(whole) != IsValidUtf8ByteWise(whole) ||
                            IsValidUtf8(cut) != IsValidUtf8ByteWise(cut)) {
                            ADD_FAILURE() << "pad " << pad << ": " << int(a) << ' ' << int(b) << ' '
                                          << int(c) << ' ' << int(d);
                            if (++disagreements > 10) return;
                        }
                    }
    }
}

// Long texts of valid characters with one byte changed somewhere, as a page would be.
TEST(IsValidUtf8, AgreesWithTheByteWiseCheckOnLongMixedTexts) {
    const std::string_view pieces[] = {
        "<p>"sv, "\xE3\x81\x82"sv, "\xC3\xA9"sv,    "\xF0\x9F\x98\x80"sv,
        " "sv,   "\n"sv,           "\xEF\xBC\x81"sv};
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const std::size_t count = random() % 200;
        for (std::size_t k = 0; k < count; ++k)
            text += pieces[random() % std::size(pieces)];
        if (!text.empty() && round % 2 == 1)
            text[random() % text.size()] = static_cast<char>(random() % 256);
        ASSERT_EQ(IsValidUtf8(text), IsValidUtf8ByteWise(text)) << "round " << round;
    }
}

}  // namespace
}  // namespace trimlet
