#include "platform/system_error.h"

#include <errno.h>

#include <locale.h>
#include <string.h>

namespace trimlet {
namespace {

thread_local int lastSystemError = 0;

struct SystemReason {
    int error;
    const char* japanese;
    const char* english;
};

// clang-format off
constexpr SystemReason kReasons[] = {
    {ENOENT,       "ファイルまたはフォルダが見つかりません",       "No such file or folder"},
    {EACCES,       "アクセスする権限がありません",                 "Permission denied"},
    {EPERM,        "アクセスする権限がありません",                 "Permission denied"},
    {ENOSPC,       "ディスクの空き容量が足りません",               "No space left on the disk"},
    {EROFS,        "読み取り専用のファイルシステムです",           "Read-only file system"},
    {EISDIR,       "フォルダです",                                 "Is a folder"},
    {ENOTDIR,      "パスの途中にフォルダではないものがあります",   "A part of the path is not a folder"},
    {EEXIST,       "同じ名前のものが既に存在します",               "Something of that name already exists"},
    {EFBIG,        "ファイルが大きすぎます",                       "File too large"},
    {ENAMETOOLONG, "名前が長すぎます",                             "Name too long"},
    {EMLINK,       "リンクの数が多すぎます",                       "Too many links"},
    {EDQUOT,       "ディスク使用量の上限を超えています",           "Disk quota exceeded"},
    {EIO,          "入出力エラーが発生しました",                   "Input/output error"},
    {EBUSY,        "ファイルまたはデバイスが使用中です",           "File or device busy"},
};
// clang-format on

}  // namespace

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
    return SystemErrorText(errorNumber, CurrentLanguage());
}

std::string SystemErrorText(int errorNumber, Language language) {
    if (errorNumber == 0) return {};
    for (const SystemReason& reason : kReasons) {
        if (reason.error == errorNumber)
            return language == Language::English ? reason.english : reason.japanese;
    }
    if (language == Language::English) {
        // The C locale's words are English whatever locale the process runs in.
        static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", locale_t(0));
        if (cLocale != locale_t(0)) return ::strerror_l(errorNumber, cLocale);
    }
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
