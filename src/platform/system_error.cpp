#include "platform/system_error.h"

#include <errno.h>

#include <string.h>

namespace trimlet {
namespace {
thread_local int lastSystemError = 0;
}

void NoteSystemError(int errorNumber) {
    lastSystemError = errorNumber;
}

void ClearSystemError() {
    lastSystemError = 0;
}

int LastSystemError() {
    return lastSystemError;
}

std::string SystemErrorText(int errorNumber) {
    if (errorNumber == 0) return {};
    char buffer[256] = {};
    // GNU strerror_r returns the text, which may or may not be in `buffer`.
    return ::strerror_r(errorNumber, buffer, sizeof buffer);
}

Result ResultOfSystemError(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return RESULT_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EROFS:
            return RESULT_ACCESS_ERROR;
        case EISDIR:
            return RESULT_IS_FOLDER;
        default:
            return RESULT_FILE_ERROR;
    }
}

}  // namespace trimlet
