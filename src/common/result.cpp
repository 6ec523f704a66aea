#include "common/result.h"

#include <cstdio>

namespace trimlet {

const char* ResultName(Result result) {
    switch (result) {
        case RESULT_OK:
            return "RESULT_OK";
        case RESULT_INVALID_ARGUMENT:
            return "RESULT_INVALID_ARGUMENT";
        case RESULT_OUT_OF_MEMORY:
            return "RESULT_OUT_OF_MEMORY";
        case RESULT_BAD_PATH:
            return "RESULT_BAD_PATH";
        case RESULT_TOO_LARGE:
            return "RESULT_TOO_LARGE";
        case RESULT_ALREADY_LISTED:
            return "RESULT_ALREADY_LISTED";
        case RESULT_SCRIPT_NO_MEMORY:
            return "RESULT_SCRIPT_NO_MEMORY";
        case RESULT_FILE_ERROR:
            return "RESULT_FILE_ERROR";
        case RESULT_ACCESS_ERROR:
            return "RESULT_ACCESS_ERROR";
        case RESULT_READ_ONLY_KEPT:
            return "RESULT_READ_ONLY_KEPT";
        case RESULT_IS_FOLDER:
            return "RESULT_IS_FOLDER";
        case RESULT_FOLDER_BLOCKED:
            return "RESULT_FOLDER_BLOCKED";
        case RESULT_NOT_FOUND:
            return "RESULT_NOT_FOUND";
        case RESULT_INVALID_UTF16:
            return "RESULT_INVALID_UTF16";
        case RESULT_UNCLEAR_UTF16:
            return "RESULT_UNCLEAR_UTF16";
        case RESULT_FILE_CHANGED:
            return "RESULT_FILE_CHANGED";
        case RESULT_SAME_OUTPUT:
            return "RESULT_SAME_OUTPUT";
        case RESULT_NOT_EQUIVALENT:
            return "RESULT_NOT_EQUIVALENT";
        case RESULT_NO_RECOVERY_FILE:
            return "RESULT_NO_RECOVERY_FILE";
        case RESULT_STOPPED:
            return "RESULT_STOPPED";
        case RESULT_SKIPPED:
            return "RESULT_SKIPPED";
        default:
            break;
    }
    static thread_local char unknown[32];
    std::snprintf(unknown, sizeof unknown, "RESULT_0x%08X", static_cast<unsigned>(result));
    return unknown;
}

}  // namespace trimlet
