#include "common/messages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <regex>
#include <string>
#include <string_view>

#include "test_support.h"
#include "text/text_loading.h"

namespace trimlet {
namespace {

TEST(MessageTable, IsSortedWithoutDuplicatesAndEveryTextIsUtf8) {
    const auto table = AllMessages();
    ASSERT_FALSE(table.empty());
    for (std::size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE(table[i].id);
        ASSERT_NE(table[i].text, nullptr);
        EXPECT_STRNE(table[i].text, "");
        EXPECT_TRUE(IsValidUtf8(table[i].text));
        EXPECT_TRUE(HasMessage(table[i].id));
        if (i > 0) {
            EXPECT_LT(table[i - 1].id, table[i].id);
        }
    }
    EXPECT_FALSE(HasMessage(20004));
    EXPECT_STREQ(MessageText(20004), "");
    EXPECT_STREQ(MessageText(-1), "");
    EXPECT_EQ(FormatMessage(20004, "x"), "(missing message 20004)");
}

// Every MSG_* id declared in the header has a text, and every text has an id: a flow that
// shows a message without a text would show "(missing message N)".
TEST(MessageTable, HoldsEveryIdTheHeaderNames) {
    const char* source = std::getenv("TRIMLET_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    const std::string header = test::ReadAll(std::string(source) + "/src/common/messages.h");
    const std::regex declaration(R"(constexpr int (MSG_\w+) = (\d+);)");
    std::size_t count = 0;
    for (std::sregex_iterator it(header.begin(), header.end(), declaration), end; it != end;
         ++it, ++count) {
        SCOPED_TRACE((*it)[1].str());
        EXPECT_TRUE(HasMessage(std::stoi((*it)[2].str())));
    }
    EXPECT_EQ(count, AllMessages().size()) << "a message without a named id";
}

// A spot check of texts whose quotes, blanks and escapes are easy to lose. "\xE3\x80\x80"
// is the full-width blank, written out so that an ordinary blank cannot pass for it.
TEST(MessageTable, TextsKeepTheirQuotesBlanksAndEscapes) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {MessageText(15013),
         "\xE2\x80\x9C出力フォルダ名\xE2\x80\x9D に空白を設定すると、処理対象のファイルに"
         "上書きで結果を出力しますのでご注意ください。"},
        {MessageText(20001), "\"%s\" \nはフォルダーです。変換処理をスキップします。"},
        {MessageText(20021),
         "\"%s\"\n\n上記ファイルのアクセスでエラーが起こりましたので、このファイルの処理を"
         "スキップします。以下の点を確認してください。\n\n\xE3\x80\x80"
         "1) ファイル存在し、アクセスできるように権限が設定されている。\n\xE3\x80\x80"
         "2) 他のプログラムがこのファイルを使用していない。"},
        {MessageText(40005),
         "拡張子に使えない文字が入っています。\nまた.(ピリオド)を入力する必要はありません。"
         "\n\n\\ / : * ? \\\" < | >\""},
        {TXT_BUTTON_CANCEL_SHORT, "\xEF\xBD\xB7\xEF\xBD\xAC\xEF\xBE\x9D\xEF\xBD\xBE\xEF\xBE\x99"},
    };
    for (const auto& [actual, expected] : cases) {
        SCOPED_TRACE(expected);
        EXPECT_EQ(actual, expected);
    }
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
        // table messages
        {"several fields", "/srv/a.htm\r\n(1,234   2006/02/06 9:5)",
         FormatMessage(MSG_FILE_DESCRIPTION, "/srv/a.htm", "1,234", 2006, 2, 6, 9, 5)},
        {"count beyond the signed range", "4000000000 個",
         FormatMessage(MSG_FILE_COUNT, std::uint32_t{4000000000u})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.actual, c.expected);
    }
}

}  // namespace
}  // namespace trimlet
