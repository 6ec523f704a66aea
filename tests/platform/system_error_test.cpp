#include "platform/system_error.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "test_support.h"

namespace trimlet {
namespace {

// A reason ends a sentence of the user's language, so it must be in that language too.
TEST(SystemErrorText, CommonReasonsComeFromOurTableInBothLanguages) {
    struct Case {
        int error;
        const char* japanese;
        const char* english;
    };
    const Case cases[] = {
        {ENOENT, "ファイルまたはフォルダが見つかりません", "No such file or folder"},
        {EACCES, "アクセスする権限がありません", "Permission denied"},
        {EPERM, "アクセスする権限がありません", "Permission denied"},
        {ENOSPC, "ディスクの空き容量が足りません", "No space left on the disk"},
        {EROFS, "読み取り専用のファイルシステムです", "Read-only file system"},
        {EISDIR, "フォルダです", "Is a folder"},
        {ENOTDIR, "パスの途中にフォルダではないものがあります",
         "A part of the path is not a folder"},
        {EEXIST, "同じ名前のものが既に存在します", "Something of that name already exists"},
        {EFBIG, "ファイルが大きすぎます", "File too large"},
        {ENAMETOOLONG, "名前が長すぎます", "Name too long"},
        {EMLINK, "リンクの数が多すぎます", "Too many links"},
        {EDQUOT, "ディスク使用量の上限を超えています", "Disk quota exceeded"},
        {EIO, "入出力エラーが発生しました", "Input/output error"},
        {EBUSY, "ファイルまたはデバイスが使用中です", "File or device busy"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.english);
        EXPECT_EQ(SystemErrorText(c.error, Language::Japanese), c.japanese);
        EXPECT_EQ(SystemErrorText(c.error, Language::English), c.english);
        test::ScopedLanguage english(Language::English);
        EXPECT_EQ(SystemErrorText(c.error), c.english);
    }
}

TEST(SystemErrorText, NoErrorIsEmptyAndOthersAreTheSystemsEnglishWords) {
    EXPECT_EQ(SystemErrorText(0, Language::English), "");
    EXPECT_EQ(SystemErrorText(0, Language::Japanese), "");
    // Not in our table: the C locale's words, whatever locale the process has.
    EXPECT_EQ(SystemErrorText(ECONNREFUSED, Language::English), "Connection refused");
    EXPECT_FALSE(SystemErrorText(ECONNREFUSED, Language::Japanese).empty());
}

}  // namespace
}  // namespace trimlet
