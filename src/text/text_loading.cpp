#include "text/text_loading.h"

#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <utility>

#include "platform/codepage.h"
#include "platform/read_file.h"

namespace trimlet {

namespace {

bool StartsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

constexpr std::string_view kMarkLittleEndian = "\xFF\xFE";
constexpr std::string_view kMarkBigEndian = "\xFE\xFF";
constexpr std::string_view kUtf8Signature = "\xEF\xBB\xBF";

// Whether every byte is below 0x80: UTF-16 units of hiragana (U+3041 to U+307F), Cyrillic
// and others whose both bytes fall in that range also form valid UTF-8.
bool AllAsciiRange(std::string_view bytes) {
    for (char c : bytes) {
        if (static_cast<std::uint8_t>(c) >= 0x80) return false;
    }
    return true;
}

// The bytes of each two-byte unit swapped, so that big-endian units read little-endian.
std::string SwappedUnits(std::string_view bytes) {
    std::string swapped(bytes);
    for (std::size_t i = 0; i + 1 < swapped.size(); i += 2)
        std::swap(swapped[i], swapped[i + 1]);
    return swapped;
}

// The statistical test for little-endian units.
bool LooksLikeLittleEndianText(std::string_view bytes, bool complete) {
    if (LooksLikeUtf16Le(bytes, complete)) return true;
    // Japanese prose in UTF-16 has few zero high bytes, but its tags and line breaks are
    // units of their own. Two of them are asked for, so a byte text with one stray NUL
    // after a "<" is never taken for UTF-16. Without two zero bytes there are not two such
    // units: most byte texts end here after a memchr.
    const std::size_t firstZero = bytes.find('\0');
    if (firstZero == std::string_view::npos ||
        bytes.find('\0', firstZero + 1) == std::string_view::npos)
        return false;
    const Utf16LeShape shape = MeasureUtf16Le(bytes, complete);
    return shape.wellFormed && shape.markupUnits >= 2 &&
           (!IsValidUtf8(bytes) || AllAsciiRange(bytes));
}

// Whether a text with two or more NUL bytes may be big-endian UTF-16.
bool MayBeBigEndian(std::string_view bytes) {
    const std::size_t firstZero = bytes.find('\0');
    return firstZero != std::string_view::npos &&
           bytes.find('\0', firstZero + 1) != std::string_view::npos;
}

}  // namespace

Utf16Order FindUtf16Order(std::string_view bytes, bool complete) {
    if (StartsWith(bytes, kMarkLittleEndian)) return Utf16Order::LittleEndian;
    if (StartsWith(bytes, kMarkBigEndian)) return Utf16Order::BigEndian;
    if (LooksLikeLittleEndianText(bytes, complete)) return Utf16Order::LittleEndian;
    if (MayBeBigEndian(bytes) && LooksLikeLittleEndianText(SwappedUnits(bytes), complete))
        return Utf16Order::BigEndian;
    return Utf16Order::None;
}

Result ReadFileStart(const std::string& path, bool wholeFile, std::size_t count,
                     std::string& bytes) {
    bytes.clear();
    if (path.empty() || (!wholeFile && count == 0)) return RESULT_INVALID_ARGUMENT;
    std::uint64_t fileSize = 0;
    Result result = ReadRegularFile(path, wholeFile ? kMaxFileSize : count, bytes, fileSize);
    switch (result) {
        case RESULT_NOT_FOUND:
        case RESULT_IS_FOLDER:
        case RESULT_FILE_ERROR:
            return RESULT_ACCESS_ERROR;
        default:
            return result;
    }
}

bool IsUnicodeText(std::string_view bytes, bool complete) {
    return FindUtf16Order(bytes, complete) != Utf16Order::None;
}

Result LooksLikeNonText(const std::string& path, std::size_t count, bool& nonText) {
    nonText = false;
    std::string bytes;
    if (Result r = ReadFileStart(path, false, count, bytes); r != RESULT_OK) return r;
    nonText = StartLooksLikeNonText(bytes, count);
    return RESULT_OK;
}

bool StartLooksLikeNonText(std::string_view bytes, std::size_t count) {
    const std::string_view start = bytes.substr(0, count);
    const bool complete = start.size() < count;
    return !IsUnicodeText(start, complete) && start.find('\0') != std::string_view::npos;
}

Result ToAnsiText(std::string_view wideBytes, bool bigEndian, std::string& ansi) {
    ansi.clear();
    return Utf16ToUtf8(wideBytes, bigEndian, ansi);
}

Result ToWideText(std::string_view ansi, ByteOrderMark mark, std::string& wide) {
    try {
        wide.clear();
        if (mark == ByteOrderMark::LittleEndian) wide.append(kMarkLittleEndian);
        if (mark == ByteOrderMark::BigEndian) wide.append(kMarkBigEndian);
        Result result = Utf8ToUtf16(ansi, IsBigEndian(mark), wide);
        if (result != RESULT_OK) wide.clear();
        return result;
    } catch (const std::bad_alloc&) {
        wide.clear();
        return RESULT_OUT_OF_MEMORY;
    }
}

Charset DetectCharset(std::string_view bytes) {
    if (StartsWith(bytes, kUtf8Signature)) return Charset::Utf8;
    std::size_t firstHigh = SkipAscii(bytes, 0);
    if (firstHigh == bytes.size()) return Charset::Cp932;
    return IsValidUtf8(bytes.substr(firstHigh)) ? Charset::Utf8 : Charset::Cp932;
}

Result DecodeFileText(std::string bytes, FileText& fileText) {
    try {
        fileText = FileText{};
        const Utf16Order order = FindUtf16Order(bytes, true);
        if (order == Utf16Order::None) {
            if (HasUtf16NulPattern(bytes) ||
                (MayBeBigEndian(bytes) && HasUtf16NulPattern(SwappedUnits(bytes)))) {
                return RESULT_UNCLEAR_UTF16;
            }
            fileText.charset = DetectCharset(bytes);
            fileText.text = std::move(bytes);
            return RESULT_OK;
        }
        std::string_view units = bytes;
        if (StartsWith(units, kMarkLittleEndian)) {
            fileText.mark = ByteOrderMark::LittleEndian;
            units.remove_prefix(2);
        } else if (StartsWith(units, kMarkBigEndian)) {
            fileText.mark = ByteOrderMark::BigEndian;
            units.remove_prefix(2);
        } else if (order == Utf16Order::BigEndian) {
            fileText.mark = ByteOrderMark::NoneBigEndian;
        }
        const bool bigEndian = IsBigEndian(fileText.mark);
        if (!IsWellFormedUtf16(units, bigEndian)) {
            fileText = FileText{};
            return RESULT_INVALID_UTF16;
        }
        fileText.utf16 = true;
        fileText.charset = Charset::Utf8;
        return ToAnsiText(units, bigEndian, fileText.text);
    } catch (const std::bad_alloc&) {
        fileText = FileText{};
        return RESULT_OUT_OF_MEMORY;
    }
}

Result EncodeFileText(const FileText& fileText, std::string trimmed, std::string& bytes) {
    if (!fileText.utf16) {
        bytes = std::move(trimmed);
        return RESULT_OK;
    }
    return ToWideText(trimmed, fileText.mark, bytes);
}

}  // namespace trimlet
