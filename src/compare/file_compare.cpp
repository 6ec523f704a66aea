#include "compare/file_compare.h"

#include <new>
#include <stdexcept>

#include "common/messages.h"
#include "platform/read_file.h"
#include "text/text_loading.h"
#include "text/trim_file.h"

namespace trimlet {

FileComparison CompareFile(const std::string& path, TrimMode trimMode,
                           std::string_view scriptExtensions, const CompareLimits& limits,
                           std::span<const std::string> keptComments) {
    FileComparison file;
    if (path.empty()) {
        file.result = RESULT_INVALID_ARGUMENT;
        return file;
    }
    try {
        std::string bytes;
        file.result = ReadRegularFile(path, kMaxFileSize, bytes, file.bytesBefore);
        if (file.result != RESULT_OK) return file;
        FileText text;
        file.result = DecodeFileText(std::move(bytes), text);
        if (file.result != RESULT_OK) return file;
        file.charset = text.charset;
        file.utf16 = text.utf16;

        std::string trimmed;
        file.result =
            TrimDecodedText(path, trimMode, scriptExtensions, text, trimmed, keptComments);
        if (file.result != RESULT_OK) return file;
        std::string written;
        file.result = EncodeFileText(text, trimmed, written);
        if (file.result != RESULT_OK) return file;
        file.bytesAfter = written.size();
        written = std::string();
        file.result = CompareTexts(text.text, trimmed, text.charset, limits, file.comparison);
    } catch (const std::bad_alloc&) {
        file.result = RESULT_OUT_OF_MEMORY;
    } catch (const std::length_error&) {
        file.result = RESULT_OUT_OF_MEMORY;
    }
    if (file.result != RESULT_OK) file.comparison = Comparison{};
    return file;
}

int CompareFailureMessage(Result result) {
    switch (result) {
        case RESULT_NOT_FOUND:
            return MSG_FILE_DOES_NOT_EXIST;
        case RESULT_IS_FOLDER:
            return MSG_INPUT_IS_FOLDER;
        case RESULT_FILE_ERROR:
        case RESULT_ACCESS_ERROR:
        case RESULT_TOO_LARGE:
            return MSG_FILE_ACCESS_ERROR;
        case RESULT_INVALID_UTF16:
            return MSG_INVALID_UTF16;
        case RESULT_UNCLEAR_UTF16:
            return MSG_UNCLEAR_UTF16;
        case RESULT_OUT_OF_MEMORY:
            return MSG_OUT_OF_MEMORY;
        default:
            return MSG_FILE_PROCESSING_ERROR;
    }
}

}  // namespace trimlet
