#include "text/trim_file.h"

#include <new>
#include <stdexcept>
#include <vector>

#include "engine/trim_engine.h"
#include "platform/codepage.h"
#include "platform/read_file.h"
#include "text/stylesheets.h"
#include "text/text_loading.h"

namespace trimlet {

namespace {

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

bool IsListed(std::string_view extension, std::string_view list) {
    for (;;) {
        std::string_view::size_type colon = list.find(':');
        if (EqualIgnoringCase(list.substr(0, colon), extension)) return true;
        if (colon == std::string_view::npos) return false;
        list.remove_prefix(colon + 1);
    }
}

// The user's comment beginnings in the form the text is scanned in: for a Shift_JIS text
// those holding other than ASCII are converted into `converted`, and left out when they
// cannot be. An ASCII-only list is used as it is.
std::span<const std::string> KeptInCharset(std::span<const std::string> kept, Charset charset,
                                           std::vector<std::string>& converted) {
    if (charset != Charset::Cp932) return kept;
    const auto ascii = [](const std::string& entry) {
        for (const char c : entry)
            if (static_cast<unsigned char>(c) >= 0x80) return false;
        return true;
    };
    bool allAscii = true;
    for (const std::string& entry : kept)
        allAscii = allAscii && ascii(entry);
    if (allAscii) return kept;
    for (const std::string& entry : kept) {
        std::string cp932;
        if (ascii(entry)) {
            converted.push_back(entry);
        } else if (Utf8ToCp932(entry, cp932) == RESULT_OK) {
            converted.push_back(std::move(cp932));
        }
    }
    return converted;
}

// Trims `fileText`; an HTML text is trimmed in its own storage, which then holds the
// result, so that the trim needs no second buffer of the text's size. An HTML
// text's preformatted elements are learned first, with its linked style sheets when
// `path` (the file it was read from) is given.
Result TrimText(FileText& fileText, FileKind kind, TrimMode trimMode, std::string& out,
                std::span<const std::string> keptComments, std::string_view path,
                StylesheetCache* stylesheets) {
    std::vector<std::string> converted;
    const std::span<const std::string> kept =
        KeptInCharset(keptComments, fileText.charset, converted);
    if (kind == FileKind::Html) {
        engine::PreformattedSelectors preformatted;
        LearnPreformattedForPage(path, fileText.text, stylesheets, preformatted);
        return TrimOwnedHtmlText(fileText.text, out, trimMode, fileText.charset, kept,
                                 &preformatted);
    }
    return TrimScriptText(fileText.text, out, trimMode, kind == FileKind::VbScript,
                          fileText.charset, kept);
}

}  // namespace

FileKind KindOfPath(std::string_view path, std::string_view scriptExtensions) {
    std::string_view::size_type dot = path.rfind('.');
    if (dot == std::string_view::npos) return FileKind::Html;
    std::string_view extension = path.substr(dot + 1);
    if (!IsListed(extension, scriptExtensions)) return FileKind::Html;
    return EqualIgnoringCase(extension, "vbs") ? FileKind::VbScript : FileKind::JavaScript;
}

Result TrimFile(const std::string& path, TrimMode trimMode, std::string_view scriptExtensions,
                std::string& outBytes, std::uint64_t& inputSize, std::uint64_t& outputSize) {
    return TrimFile(path, trimMode, scriptExtensions, outBytes, inputSize, outputSize, nullptr);
}

Result TrimFile(const std::string& path, TrimMode trimMode, std::string_view scriptExtensions,
                std::string& outBytes, std::uint64_t& inputSize, std::uint64_t& outputSize,
                FileStamp* identity, std::span<const std::string> keptComments,
                StylesheetCache* stylesheets) {
    inputSize = 0;
    outputSize = 0;
    if (path.empty()) return RESULT_INVALID_ARGUMENT;
    try {
        std::string bytes;
        if (Result r = ReadRegularFile(path, kMaxFileSize, bytes, inputSize, identity);
            r != RESULT_OK)
            return r;
        return TrimReadFile(path, trimMode, scriptExtensions, std::move(bytes), outBytes,
                            outputSize, keptComments, stylesheets);
    } catch (const std::bad_alloc&) {
        return RESULT_OUT_OF_MEMORY;
    } catch (const std::length_error&) {
        return RESULT_OUT_OF_MEMORY;
    }
}

namespace {

// TrimBytesAs with the path the bytes were read from (empty for standard input).
Result TrimBytesFrom(std::string_view path, FileKind kind, TrimMode trimMode, std::string bytes,
                     std::string& outBytes, std::uint64_t& outputSize,
                     std::span<const std::string> keptComments, StylesheetCache* stylesheets) {
    outputSize = 0;
    try {
        FileText fileText;
        if (Result r = DecodeFileText(std::move(bytes), fileText); r != RESULT_OK) return r;

        // An engine failure must not pass for an empty result: a run would write it out.
        std::string trimmed;
        if (TrimText(fileText, kind, trimMode, trimmed, keptComments, path, stylesheets) !=
            RESULT_OK)
            return RESULT_OUT_OF_MEMORY;

        std::string result;
        if (Result r = EncodeFileText(fileText, std::move(trimmed), result); r != RESULT_OK)
            return r;
        outputSize = result.size();
        outBytes.swap(result);
        return RESULT_OK;
    } catch (const std::bad_alloc&) {
        return RESULT_OUT_OF_MEMORY;
    } catch (const std::length_error&) {
        return RESULT_OUT_OF_MEMORY;
    }
}

}  // namespace

Result TrimFileAs(const std::string& path, FileKind kind, TrimMode trimMode, std::string& outBytes,
                  std::uint64_t& inputSize, std::uint64_t& outputSize,
                  std::span<const std::string> keptComments, StylesheetCache* stylesheets) {
    inputSize = 0;
    outputSize = 0;
    if (path.empty()) return RESULT_INVALID_ARGUMENT;
    try {
        std::string bytes;
        if (Result r = ReadRegularFile(path, kMaxFileSize, bytes, inputSize); r != RESULT_OK)
            return r;
        return TrimBytesFrom(path, kind, trimMode, std::move(bytes), outBytes, outputSize,
                             keptComments, stylesheets);
    } catch (const std::bad_alloc&) {
        return RESULT_OUT_OF_MEMORY;
    } catch (const std::length_error&) {
        return RESULT_OUT_OF_MEMORY;
    }
}

Result TrimReadFile(const std::string& path, TrimMode trimMode, std::string_view scriptExtensions,
                    std::string bytes, std::string& outBytes, std::uint64_t& outputSize,
                    std::span<const std::string> keptComments, StylesheetCache* stylesheets) {
    return TrimBytesFrom(path, KindOfPath(path, scriptExtensions), trimMode, std::move(bytes),
                         outBytes, outputSize, keptComments, stylesheets);
}

Result TrimBytesAs(FileKind kind, TrimMode trimMode, std::string bytes, std::string& outBytes,
                   std::uint64_t& outputSize, std::span<const std::string> keptComments) {
    return TrimBytesFrom({}, kind, trimMode, std::move(bytes), outBytes, outputSize, keptComments,
                         nullptr);
}

Result TrimDecodedText(std::string_view path, TrimMode trimMode, std::string_view scriptExtensions,
                       const FileText& fileText, std::string& trimmed,
                       std::span<const std::string> keptComments, StylesheetCache* stylesheets) {
    try {
        FileText copy = fileText;
        return TrimText(copy, KindOfPath(path, scriptExtensions), trimMode, trimmed, keptComments,
                        path, stylesheets) == RESULT_OK
                   ? RESULT_OK
                   : RESULT_OUT_OF_MEMORY;
    } catch (const std::bad_alloc&) {
        return RESULT_OUT_OF_MEMORY;
    } catch (const std::length_error&) {
        return RESULT_OUT_OF_MEMORY;
    }
}

}  // namespace trimlet
