#pragma once
// Getting a file's bytes into the form the engine trims, and back: UTF-16 files are
// converted to UTF-8 and back with their byte-order mark; every other file is trimmed in
// its own bytes, as UTF-8 or as CP932.

#include <cstddef>
#include <string>
#include <string_view>

#include "common/charset.h"
#include "common/result.h"
#include "text/utf8_check.h"

namespace trimlet {

// The byte-order mark a UTF-16 text begins with.
enum class ByteOrderMark {
    None,           // no mark: little-endian units
    LittleEndian,   // FF FE (the unit 0xFEFF read little-endian)
    BigEndian,      // FE FF: the units that follow are big-endian
    NoneBigEndian,  // no mark: big-endian units, found by the statistical test
};

inline bool IsBigEndian(ByteOrderMark mark) {
    return mark == ByteOrderMark::BigEndian || mark == ByteOrderMark::NoneBigEndian;
}

// Reads the whole file (`wholeFile`) or its first `count` bytes into `bytes`. Returns
// RESULT_INVALID_ARGUMENT for an empty path or a partial read of 0 bytes,
// RESULT_ACCESS_ERROR when the file cannot be opened or read (missing, a folder, no
// permission), RESULT_TOO_LARGE for a whole file of 4 GiB or more, RESULT_OUT_OF_MEMORY.
// On failure `bytes` is empty.
[[nodiscard]] Result ReadFileStart(const std::string& path, bool wholeFile, std::size_t count,
                                   std::string& bytes);

// True when `bytes` are UTF-16 text: they begin with FF FE or FE FF, or in either byte
// order pass the statistical test for UTF-16, or decode as well-formed UTF-16 without zero
// units and hold at least two "<", ">", CR or LF units while they are not valid UTF-8 or
// every byte is below 0x80 (hiragana, Cyrillic). With `complete` false they are only the
// start of a file.
[[nodiscard]] bool IsUnicodeText(std::string_view bytes, bool complete = true);

// The byte order of a UTF-16 text: by its mark, else by the statistical test tried on
// little-endian units first and then on big-endian ones. None for any other text.
enum class Utf16Order { None, LittleEndian, BigEndian };
[[nodiscard]] Utf16Order FindUtf16Order(std::string_view bytes, bool complete = true);

// Reads the first `count` bytes of the file (1024 for the file-adding commands) and sets
// `nonText` when they hold a zero byte and are not UTF-16 text. Returns RESULT_OK or the
// code of ReadFileStart, with `nonText` false.
[[nodiscard]] Result LooksLikeNonText(const std::string& path, std::size_t count, bool& nonText);
// The same test on bytes read from the start of a file (the whole file, or its first
// `count` bytes or fewer): only their first `count` bytes are looked at.
[[nodiscard]] bool StartLooksLikeNonText(std::string_view bytes, std::size_t count);

// Converts UTF-16 units (no mark) to UTF-8, replacing `ansi`. A unit that cannot be
// converted (an unpaired surrogate, an odd byte at the end) fails the whole conversion
// with RESULT_OUT_OF_MEMORY rather than being replaced: writing the text back would
// otherwise change the file beyond what was trimmed.
[[nodiscard]] Result ToAnsiText(std::string_view wideBytes, bool bigEndian, std::string& ansi);

// Converts UTF-8 text to UTF-16, replacing `wide`: first the mark, when there is one,
// then the units in the mark's byte order (little-endian without a mark).
// RESULT_OUT_OF_MEMORY when the text is not valid UTF-8.
[[nodiscard]] Result ToWideText(std::string_view ansi, ByteOrderMark mark, std::string& wide);

// The charset of bytes that are not UTF-16: UTF-8 when they begin with EF BB BF, or hold a
// byte of 0x80 or more and are valid UTF-8 throughout; CP932 otherwise.
[[nodiscard]] Charset DetectCharset(std::string_view bytes);

// A file's text as the engine sees it.
struct FileText {
    std::string text;                          // UTF-8 for UTF-16 files, else the file's bytes
    Charset charset = Charset::Cp932;          // how `text` is scanned
    bool utf16 = false;                        // the file was UTF-16
    ByteOrderMark mark = ByteOrderMark::None;  // the mark it had, when it was UTF-16
};

// Decodes a file's bytes (taken over) into `fileText`. RESULT_INVALID_UTF16 when they
// begin with a UTF-16 mark but are not well-formed UTF-16; RESULT_UNCLEAR_UTF16 when they
// are not taken for UTF-16 yet hold NUL bytes as UTF-16 text does (see HasUtf16NulPattern),
// since trimming them as bytes could corrupt them; RESULT_OUT_OF_MEMORY when memory runs
// out or the conversion fails.
[[nodiscard]] Result DecodeFileText(std::string bytes, FileText& fileText);

// The file bytes for `trimmed`, the engine's output for `fileText`: converted back to
// UTF-16 with the file's mark when it was UTF-16, else the bytes themselves. Replaces
// `bytes`; RESULT_OUT_OF_MEMORY when the conversion fails.
[[nodiscard]] Result EncodeFileText(const FileText& fileText, std::string trimmed,
                                    std::string& bytes);

}  // namespace trimlet
