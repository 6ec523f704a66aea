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
                           bool verify, std::span<const std::string> keptComments) {
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
        if (verify) {
            Verdict verdict;
            if (VerifyTrimmedFile(path, written, trimMode, scriptExtensions, verdict) == RESULT_OK)
                file.verdict = std::move(verdict);
        }
        written = std::string();
        if (text.text.size() <= limits.maxTextBytes) {
            file.result = CompareTexts(text.text, trimmed, text.charset, limits, file.comparison);
        } else {
            // Of a page over the limit, its start is trimmed on its own and compared with
            // that, so that both sides cover the same part of the page: the start of the
            // whole trim reaches further into the page.
            FileText part;
            part.text = std::string(ComparedPart(text.text, text.charset, limits));
            part.charset = text.charset;
            part.utf16 = text.utf16;
            part.mark = text.mark;
            text = FileText();
            file.result =
                TrimDecodedText(path, trimMode, scriptExtensions, part, trimmed, keptComments);
            if (file.result != RESULT_OK) return file;
            CompareLimits partLimits = limits;
            partLimits.maxTextBytes = part.text.size();
            file.result =
                CompareTexts(part.text, trimmed, part.charset, partLimits, file.comparison);
            if (file.comparison.cut == CompareCut::None)
                file.comparison.cut = CompareCut::PageTooLarge;
        }
    } catch (const std::bad_alloc&) {
        file.result = RESULT_OUT_OF_MEMORY;
    } catch (const std::length_error&) {
        file.result = RESULT_OUT_OF_MEMORY;
    }
    if (file.result != RESULT_OK) {
        file.comparison = Comparison{};
        file.verdict.reset();
    }
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
