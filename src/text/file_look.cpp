#include "text/file_look.h"

#include <sys/stat.h>

#include <new>
#include <utility>

#include "text/text_loading.h"
#include "text/trim_file.h"

namespace trimlet {

void LookAtFile(const std::string& path, TrimMode trimMode, std::string_view scriptExtensions,
                std::size_t textTestBytes, bool keepBytes, FileLook& look,
                std::span<const std::string> keptComments, StylesheetCache* stylesheets) {
    look = FileLook{};
    if (path.empty()) {
        look.result = RESULT_INVALID_ARGUMENT;
        return;
    }
    try {
        std::string bytes;
        struct stat status {};
        look.result =
            ReadRegularFile(path, kMaxFileSize, bytes, look.inputSize, &look.stamp, status);
        if (look.result != RESULT_OK) return;
        look.read = true;
        FillFindRecord(path, status, look.record);
        if (textTestBytes != 0 && StartLooksLikeNonText(bytes, textTestBytes)) {
            look.nonText = true;
            return;
        }
        look.result = TrimReadFile(path, trimMode, scriptExtensions, std::move(bytes), look.bytes,
                                   look.outputSize, keptComments, stylesheets);
        if (!keepBytes) std::string().swap(look.bytes);
    } catch (const std::bad_alloc&) {
        look = FileLook{};
        look.result = RESULT_OUT_OF_MEMORY;
    }
}

}  // namespace trimlet
