#pragma once
// The character rules a text is scanned with. Lead and trail bytes travel together;
// a trail or continuation byte is never taken for a backslash, quote, separator or blank.

namespace trimlet {

enum class Charset {
    Cp932,  // Shift_JIS: lead 0x81-0x9F, 0xE0-0xFC with a trail 0x40-0x7E, 0x80-0xFC
    Utf8,   // a lead byte takes its continuation bytes
};

}  // namespace trimlet
