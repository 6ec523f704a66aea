#include "text/text_loading.h"

#include <cstdint>
#include <cstring>
#include <new>

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

}  // namespace

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
    if (StartsWith(bytes, kMarkLittleEndian) || StartsWith(bytes, kMarkBigEndian)) return true;
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
    return shape.wellFormed && shape.markupUnits >= 2 && !IsValidUtf8(bytes);
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
        Result result = Utf8ToUtf16(ansi, mark == ByteOrderMark::BigEndian, wide);
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
        if (!IsUnicodeText(bytes)) {
            if (HasUtf16NulPattern(bytes)) return RESULT_UNCLEAR_UTF16;
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
        }
        const bool bigEndian = fileText.mark == ByteOrderMark::BigEndian;
        if (!IsWellFormedUtf16(units, bigEndian)) {
            fileText = FileText{};
            return RESULT_INVALID_UTF16;
        }
        fileText.utf16 = true;
        fileText.charset = Charset::Utf8;
        return ToAnsiText(units, fileText.mark == ByteOrderMark::BigEndian, fileText.text);
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
