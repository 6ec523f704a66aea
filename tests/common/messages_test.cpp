#include "common/messages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace trimlet {
namespace {

// True when `text` is well-formed UTF-8 (no stray Shift_JIS bytes slipped in).
bool IsUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t more = lead < 0x80             ? 0
                                 : (lead & 0xE0) == 0xC0 ? 1
                                 : (lead & 0xF0) == 0xE0 ? 2
                                 : (lead & 0xF8) == 0xF0 ? 3
                                                         : 4;
        if (more == 4 || text.size() - i - 1 < more) return false;
        for (std::size_t k = 1; k <= more; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        }
        i += more + 1;
    }
    return true;
}

TEST(MessageTable, IsSortedWithoutDuplicatesAndEveryTextIsUtf8) {
    const auto table = AllMessages();
    ASSERT_FALSE(table.empty());
    for (std::size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE(table[i].id);
        ASSERT_NE(table[i].text, nullptr);
        EXPECT_STRNE(table[i].text, "");
        EXPECT_TRUE(IsUtf8(table[i].text));
        if (i > 0) {
            EXPECT_LT(table[i - 1].id, table[i].id);
        }
    }
}

TEST(MessageTable, HoldsEveryNamedId) {
    const int ids[] = {
        MSG_OLE_INIT_FAILED,
        MSG_COLUMN_FILE_NAME,
        MSG_COLUMN_SOURCE_SIZE,
        MSG_COLUMN_TRIMMED_SIZE,
        MSG_COLUMN_MODIFIED,
        MSG_STOPPED,
        MSG_TITLE_ADD_FILES,
        MSG_TITLE_SAVE_TASK_AS,
        MSG_TITLE_OPEN_TASK,
        MSG_TITLE_RUN_TASK,
        MSG_OUTPUT_IS_ORIGINAL,
        MSG_OVERWRITING_ORIGINAL,
        MSG_OUTPUT_EXISTS,
        MSG_BLANK_OUTPUT_FOLDER_NOTICE,
        MSG_CONFIRM_CLEAR,
        MSG_DISCARD_AND_OPEN,
        MSG_DISCARD_AND_EXIT,
        MSG_DISCARD_AND_NEW,
        MSG_FILE_NOT_FOUND,
        MSG_INPUT_IS_FOLDER,
        MSG_OUTPUT_FOLDER_BLOCKED,
        MSG_CANNOT_CREATE_FOLDER,
        MSG_CREATE_FOLDER_QUESTION,
        MSG_OUTPUT_IS_FOLDER,
        MSG_FILE_DESCRIPTION,
        MSG_FILE_PROCESSING_ERROR,
        MSG_FILES_ADDED,
        MSG_FILE_INFO_FAILED,
        MSG_FOLDER_ALL_LISTED,
        MSG_FILE_DOES_NOT_EXIST,
        MSG_OPEN_FAILED,
        MSG_TASK_WRITE_ERROR,
        MSG_PROPOSED_TASK_NAME,
        MSG_OUTPUT_CREATE_FAILED,
        MSG_NEWER_TASK_VERSION,
        MSG_TASK_READ_ERROR,
        MSG_READ_ONLY_OVERWRITE,
        MSG_READ_ONLY_CLEAR_FAILED,
        MSG_FILE_ACCESS_ERROR,
        MSG_NOT_TEXT_FILE,
        MSG_FILE_COUNT,
        MSG_FOLDER_NOTHING_TO_ADD,
        MSG_HELP_FILE_MISSING,
        MSG_CONFIRM_REMOVE,
        MSG_OUT_OF_MEMORY,
        MSG_FOLDER_HAS_NO_FILES,
        MSG_NOT_TASK_FILE,
        MSG_TASK_READ_FAILED,
        MSG_EXTENSION_EMPTY,
        MSG_EXTENSION_BAD_CHARACTERS,
        MSG_FOLDER_NAME_BAD_CHARACTERS,
        MSG_EXTENSION_IS_SCRIPT,
        MSG_EXTENSION_LISTED,
        MSG_EXTENSION_IS_HTML,
    };
    for (int id : ids) {
        SCOPED_TRACE(id);
        EXPECT_TRUE(HasMessage(id));
    }
    EXPECT_EQ(std::size(ids), AllMessages().size()) << "a message without a named id";
}

TEST(MessageTable, TextsAreExact) {
    struct Case {
        int id;
        std::string_view text;
    };
    // "\xE3\x80\x80" is the full-width blank, written out so that an ordinary blank cannot
    // pass for it.
    const Case cases[] = {
        {15004, "処理を中止します。"},
        {15010, "    (オリジナルを上書き)"},
        {15011, "オリジナルのファイルを上書きしようとしています。\n処理を選択してください。"},
        {15013,
         "\xE2\x80\x9C出力フォルダ名\xE2\x80\x9D に空白を設定すると、処理対象のファイルに"
         "上書きで結果を出力しますのでご注意ください。"},
        {18000, "ファイルリストをクリアします。よろしいですか？"},
        {18003, "編集中のタスクがあります。現在の編集を破棄てよろしいですか？"},
        {20000, "\"%s\"\n\n上記ファイルは見つかりません。処理をスキップします。"},
        {20001, "\"%s\" \nはフォルダーです。変換処理をスキップします。"},
        {20007, "%s\r\n(%s   %d/%02d/%02d %d:%d)"},
        {20015, "TrimletHTML タスク(%d).trh"},
        {20021,
         "\"%s\"\n\n上記ファイルのアクセスでエラーが起こりましたので、このファイルの処理を"
         "スキップします。以下の点を確認してください。\n\n\xE3\x80\x80"
         "1) ファイル存在し、"
         "アクセスできるように権限が設定されている。\n\xE3\x80\x80"
         "2) 他のプログラムが"
         "このファイルを使用していない。"},
        {20023, "%d 個"},
        {40005,
         "拡張子に使えない文字が入っています。\nまた.(ピリオド)を入力する必要はありません。"
         "\n\n\\ / : * ? \\\" < | >\""},
        {40006, "ファイル名に使えない文字が含まれています。\n\n\\ < | > * \" ? /"},
        {40009, "拡張子 %s は HTML の拡張子として既に登録されています。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(std::string_view(MessageText(c.id)), c.text);
    }
}

TEST(MessageTable, DialogTextsKeepTheirBlanks) {
    EXPECT_EQ(std::string_view(TXT_OUTPUT_EXISTS_ORIGINAL), "オリジナル\xE3\x80\x80 ：");
    EXPECT_EQ(std::string_view(TXT_REPORT_CURRENT_ON),
              "\xE3\x80\x80 現在の設定：ON\xE3\x80\x80 タスクファイルの設定：OFF\r\n");
    EXPECT_EQ(std::string_view(TXT_REPORT_CURRENT_OFF),
              "\xE3\x80\x80 現在の設定：OFF\xE3\x80\x80タスクファイルの設定：ON\r\n");
    EXPECT_EQ(std::string_view(TXT_BUTTON_CANCEL_SHORT),
              "\xEF\xBD\xB7\xEF\xBD\xAC\xEF\xBE\x9D\xEF\xBD\xBE\xEF\xBE\x99");
}

TEST(MessageTable, UnknownIdIsEmptyAndFormatsVisibly) {
    EXPECT_FALSE(HasMessage(20004));
    EXPECT_STREQ(MessageText(20004), "");
    EXPECT_STREQ(MessageText(-1), "");
    EXPECT_EQ(FormatMessage(20004, "x"), "(missing message 20004)");
}

TEST(FormatMessage, FillsTableMessages) {
    EXPECT_EQ(FormatMessage(MSG_FILE_DESCRIPTION, "/srv/a.htm", "1,234", 2006, 2, 6, 9, 5),
              "/srv/a.htm\r\n(1,234   2006/02/06 9:5)");
    EXPECT_EQ(FormatMessage(MSG_FILE_NOT_FOUND, std::string("/x/ä.htm")),
              "\"/x/ä.htm\"\n\n上記ファイルは見つかりません。処理をスキップします。");
    EXPECT_EQ(FormatMessage(MSG_PROPOSED_TASK_NAME, 12), "TrimletHTML タスク(12).trh");
    EXPECT_EQ(FormatMessage(MSG_STOPPED), "処理を中止します。");
    // A count beyond the signed range is not shown negative.
    EXPECT_EQ(FormatMessage(MSG_FILE_COUNT, std::uint32_t{4000000000u}), "4000000000 個");
}

TEST(FormatText, Conversions) {
    struct Case {
        const char* name;
        std::string expected;
        std::string actual;
    };
    const std::string percentPath = "/d/100%d%s.htm";
    const Case cases[] = {
        // basic
        {"percent", "100%", FormatText("100%%", {})},
        {"zero padded", "02/11", FormatText("%02d/%02d", {2, 11})},
        {"width", "(  7%)", FormatText("(%3d%%)", {7})},
        {"wide number", "(1040%)", FormatText("(%3d%%)", {1040})},
        {"negative", "-5", FormatText("%d", {-5})},
        {"64-bit", "18446744073709551615",
         FormatText("%d", {std::numeric_limits<std::uint64_t>::max()})},
        {"hex", "00FF", FormatText("%04X", {255u})},
        {"length modifier ignored", "7|8", FormatText("%lu|%lld", {7u, 8})},
        {"text width", "[   ab|cd  ]", FormatText("[%5s|%-4s]", {"ab", "cd"})},
        // arguments are never read as formats
        {"percent in argument", percentPath, FormatText("%s", {percentPath})},
        // mismatches stay readable
        {"missing argument", "a and %d", FormatText("%s and %d", {"a"})},
        {"extra argument", "1", FormatText("%d", {1, 2})},
        {"text for number", "many files", FormatText("%d files", {"many"})},
        {"number for text", "[42]", FormatText("[%s]", {42})},
        {"unknown conversion", "%q1", FormatText("%q%d", {1})},
        {"trailing percent", "50%", FormatText("50%", {})},
        {"huge width", "%99999999d", FormatText("%99999999d", {1})},
        // UTF-8
        {"precision keeps characters whole", "あ", FormatText("%.4s", {"あい"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.actual, c.expected);
    }
}

}  // namespace
}  // namespace trimlet
