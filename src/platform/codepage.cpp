#include "platform/codepage.h"

#include <errno.h>
#include <iconv.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>

namespace trimlet {

namespace {

// One conversion descriptor, closed when it goes out of scope.
class Iconv {
  public:
    Iconv(const char* to, const char* from) : handle_(::iconv_open(to, from)) {}
    ~Iconv() noexcept {
        if (valid()) ::iconv_close(handle_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // Converts all of `in`, appending to `out`. False on any invalid or incomplete input.
    bool Convert(std::string_view in, std::size_t maxOutput, std::string& out) {
        std::size_t start = out.size();
        out.resize(start + maxOutput);
        char* inPtr = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        char* outPtr = out.data() + start;
        std::size_t outLeft = maxOutput;
        while (inLeft > 0) {
            if (::iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
                if (errno != E2BIG) {
                    out.resize(start);
                    return false;
                }
                std::size_t used = static_cast<std::size_t>(outPtr - out.data());
                out.resize(out.size() + maxOutput / 2 + 16);
                outPtr = out.data() + used;
                outLeft = out.size() - used;
            }
        }
        out.resize(static_cast<std::size_t>(outPtr - out.data()));
        return true;
    }

  private:
    iconv_t handle_;
};

Result Convert(const char* to, const char* from, std::string_view in, std::size_t maxOutput,
               std::string& out) {
    try {
        Iconv converter(to, from);
        if (!converter.valid()) return RESULT_OUT_OF_MEMORY;
        return converter.Convert(in, maxOutput, out) ? RESULT_OK : RESULT_OUT_OF_MEMORY;
    } catch (const std::bad_alloc&) {
        return RESULT_OUT_OF_MEMORY;
    }
}

// The number of zero bytes in `bytes`, counting no further than `enough` (at least 2).
std::size_t CountZeroBytes(std::string_view bytes, std::size_t enough) {
    enough = std::max<std::size_t>(enough, 2);
    std::size_t count = 0;
    const char* p = bytes.data();
    const char* end = p + bytes.size();
    while (count < enough && p < end) {
        p = static_cast<const char*>(std::memchr(p, 0, static_cast<std::size_t>(end - p)));
        if (p == nullptr) break;
        ++count;
        ++p;
    }
    return count < 2 ? 0 : count;
}

}  // namespace

bool LooksLikeUtf16Le(std::string_view bytes, bool complete) {
    if (bytes.size() < 4 || bytes.size() % 2 != 0) return false;
    std::size_t units = bytes.size() / 2;
    // Most texts fail on the count of zero bytes alone, which memchr takes quickly.
    if (CountZeroBytes(bytes, (units + 2) / 3) * 3 < units) return false;
    const Utf16LeShape shape = MeasureUtf16Le(bytes, complete);
    return shape.wellFormed && shape.zeroHighUnits >= 2 && shape.zeroHighUnits * 3 >= units;
}

Utf16LeShape MeasureUtf16Le(std::string_view bytes, bool complete) {
    Utf16LeShape shape;
    if (bytes.size() < 4 || bytes.size() % 2 != 0) return shape;
    shape.units = bytes.size() / 2;
    for (std::size_t i = 0; i < shape.units; ++i) {
        auto low = static_cast<std::uint8_t>(bytes[2 * i]);
        auto high = static_cast<std::uint8_t>(bytes[2 * i + 1]);
        if (high == 0) {
            if (low == 0) return shape;
            ++shape.zeroHighUnits;
            if (low == '<' || low == '>' || low == '\r' || low == '\n') ++shape.markupUnits;
        } else if (high >= 0xD8 && high <= 0xDB) {
            if (i + 1 == shape.units) {
                if (complete) return shape;
                break;
            }
            auto nextHigh = static_cast<std::uint8_t>(bytes[2 * i + 3]);
            if (nextHigh < 0xDC || nextHigh > 0xDF) return shape;
            ++i;
        } else if (high >= 0xDC && high <= 0xDF) {
            return shape;
        }
    }
    shape.wellFormed = true;
    return shape;
}

bool HasUtf16NulPattern(std::string_view bytes) {
    std::size_t zeros = 0;
    std::size_t asciiUnitZeros = 0;
    const char* begin = bytes.data();
    const char* end = begin + bytes.size();
    for (const char* p = begin; p < end; ++p) {
        p = static_cast<const char*>(std::memchr(p, 0, static_cast<std::size_t>(end - p)));
        if (p == nullptr) break;
        ++zeros;
        const auto at = static_cast<std::size_t>(p - begin);
        if (at % 2 == 1) {
            auto before = static_cast<std::uint8_t>(p[-1]);
            if (before != 0 && before < 0x80) ++asciiUnitZeros;
        }
    }
    return asciiUnitZeros >= 2 && asciiUnitZeros * 2 >= zeros;
}

bool IsWellFormedUtf16(std::string_view units, bool bigEndian) {
    if (units.size() % 2 != 0) return false;
    const std::size_t highAt = bigEndian ? 0 : 1;
    const std::size_t count = units.size() / 2;
    for (std::size_t i = 0; i < count; ++i) {
        auto high = static_cast<std::uint8_t>(units[2 * i + highAt]);
        if (high >= 0xDC && high <= 0xDF) return false;
        if (high < 0xD8 || high > 0xDB) continue;
        if (i + 1 == count) return false;
        auto nextHigh = static_cast<std::uint8_t>(units[2 * i + 2 + highAt]);
        if (nextHigh < 0xDC || nextHigh > 0xDF) return false;
        ++i;
    }
    return true;
}

Result Utf16ToUtf8(std::string_view utf16, bool bigEndian, std::string& out) {
    // A unit gives at most 3 bytes; a surrogate pair (two units) gives 4.
    return Convert("UTF-8", bigEndian ? "UTF-16BE" : "UTF-16LE", utf16, utf16.size() / 2 * 3, out);
}

Result Utf8ToUtf16(std::string_view utf8, bool bigEndian, std::string& out) {
    // A byte gives at most one unit; a 4-byte sequence gives two.
    return Convert(bigEndian ? "UTF-16BE" : "UTF-16LE", "UTF-8", utf8, utf8.size() * 2, out);
}

Result Utf8ToCp932(std::string_view utf8, std::string& out) {
    // A character never takes more bytes in CP932 than in UTF-8.
    return Convert("CP932", "UTF-8", utf8, utf8.size(), out);
}

Result Cp932ToUtf8(std::string_view cp932, std::string& out) {
    const std::size_t start = out.size();
    try {
        Iconv converter("UTF-8", "CP932");
        if (!converter.valid()) return RESULT_OUT_OF_MEMORY;
        std::size_t from = 0;
        while (from < cp932.size()) {
            // ASCII runs are copied; each other character is converted on its own, so one bad
            // byte never takes its neighbours with it.
            std::size_t i = from;
            while (i < cp932.size() && static_cast<std::uint8_t>(cp932[i]) < 0x80)
                ++i;
            out.append(cp932, from, i - from);
            if (i == cp932.size()) break;
            const auto lead = static_cast<std::uint8_t>(cp932[i]);
            std::size_t length = 1;
            if (((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC)) &&
                i + 1 < cp932.size()) {
                const auto trail = static_cast<std::uint8_t>(cp932[i + 1]);
                if ((trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFC))
                    length = 2;
            }
            if (!converter.Convert(cp932.substr(i, length), 8, out)) {
                // U+F700 + byte, three UTF-8 bytes per byte of the character.
                for (std::size_t k = 0; k < length; ++k) {
                    const unsigned code = 0xF700u + static_cast<std::uint8_t>(cp932[i + k]);
                    out += static_cast<char>(0xE0 | (code >> 12));
                    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                    out += static_cast<char>(0x80 | (code & 0x3F));
                }
            }
            from = i + length;
        }
        return RESULT_OK;
    } catch (const std::bad_alloc&) {
        out.resize(start);
        return RESULT_OUT_OF_MEMORY;
    }
}

}  // namespace trimlet
