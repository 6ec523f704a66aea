#include "common/messages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <regex>
#include <string>

#include "test_support.h"
#include "text/text_loading.h"

namespace trimlet {
namespace {

TEST(MessageTable, IsSortedWithoutDuplicatesAndEveryTextIsUtf8) {
    const auto table = AllMessages();
    ASSERT_FALSE(table.empty());
    for (std::size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE(table[i].id);
        ASSERT_NE(table[i].japanese, nullptr);
        EXPECT_STRNE(table[i].japanese, "");
        EXPECT_TRUE(IsValidUtf8(table[i].japanese));
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

// True when `text` holds a kana, a kanji, a Japanese punctuation mark or a full-width or
// half-width form: a Japanese word left in an English text.
bool HoldsJapanese(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const std::size_t length = byte < 0x80 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
        char32_t code = length == 1 ? byte : byte & (0x3F >> (length - 1));
        for (std::size_t k = 1; k < length && i + k < text.size(); ++k)
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        if ((code >= 0x3000 && code <= 0x30FF) || (code >= 0x3400 && code <= 0x9FFF) ||
            (code >= 0xFF00 && code <= 0xFFEF))
            return true;
        i += length;
    }
    return false;
}

TEST(MessageTable, EveryMessageHasItsEnglishText) {
    for (const Message& m : AllMessages()) {
        SCOPED_TRACE(m.id);
        ASSERT_NE(m.english, nullptr);
        EXPECT_STRNE(m.english, "");
        EXPECT_TRUE(IsValidUtf8(m.english));
        EXPECT_FALSE(HoldsJapanese(m.english)) << m.english;
        EXPECT_TRUE(SameConversions(m.japanese, m.english)) << m.english;
        EXPECT_STREQ(MessageText(m.id, Language::English), m.english);
        EXPECT_STREQ(MessageText(m.id, Language::Japanese), m.japanese);
        test::ScopedLanguage english(Language::English);
        EXPECT_STREQ(MessageText(m.id), m.english);
    }
    EXPECT_STREQ(MessageText(MSG_FILE_NOT_FOUND),
                 "\"%s\"\n\n上記ファイルは見つかりません。処理をスキップします。");
}

TEST(MessageTable, FormattedInTheCurrentLanguage) {
    test::ScopedLanguage english(Language::English);
    EXPECT_EQ(FormatMessage(MSG_FILES_ADDED, 3), "3 file(s) added to the list.");
    test::ScopedLanguage japanese(Language::Japanese);
    EXPECT_EQ(FormatMessage(MSG_FILES_ADDED, 3), "3 個のファイルをリストに追加しました。");
}

TEST(SameConversions, ComparesTheArgumentsTheTextsTake) {
    struct Case {
        const char* name;
        const char* japanese;
        const char* english;
        bool expected;
    };
    const Case cases[] = {
        {"plain", "ファイル名", "File name", true},
        {"same order", "%s は %d 個", "%s has %d", true},
        {"width and flags", "%d/%02d", "%d-%2d", true},
        {"long modifier", "%lld 個", "%d", true},
        {"percent sign is no argument", "%d %%", "%d%% done", true},
        {"missing English", "ファイル名", "", false},
        {"null English", "ファイル名", nullptr, false},
        {"argument dropped", "\"%s\" は存在しません。", "It does not exist.", false},
        {"argument added", "中止", "Stop %s", false},
        {"order swapped", "%s %d", "%d %s", false},
        {"kind changed", "%d 個", "%s files", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SameConversions(c.japanese, c.english), c.expected);
    }
}

// Every fixed text of the windows (name{Japanese, English} in the two headers) has an
// English text with no Japanese left in it. The build already refuses a missing one.
TEST(FixedTexts, EveryEnglishTextIsEnglish) {
    const char* source = std::getenv("TRIMLET_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    const std::regex declaration(R"(constexpr Text (TXT_\w+)\{([\s\S]*?)\};)");
    const std::regex token(R"re("((?:[^"\\]|\\.)*)"|(,))re");
    std::size_t count = 0;
    for (const char* header : {"/src/common/messages.h", "/src/app/app_texts.h"}) {
        const std::string text = test::ReadAll(std::string(source) + header);
        for (std::sregex_iterator it(text.begin(), text.end(), declaration), end; it != end;
             ++it, ++count) {
            SCOPED_TRACE((*it)[1].str());
            const std::string body = (*it)[2].str();
            std::string japanese, english;
            bool second = false;
            for (std::sregex_iterator t(body.begin(), body.end(), token), tend; t != tend; ++t) {
                if ((*t)[2].matched) {
                    second = true;
                } else {
                    (second ? english : japanese) += (*t)[1].str();
                }
            }
            EXPECT_FALSE(japanese.empty());
            EXPECT_FALSE(english.empty());
            EXPECT_FALSE(HoldsJapanese(english)) << english;
        }
    }
    EXPECT_GT(count, 130u);
}

TEST(FormatText, Conversions) {
    struct Case {
        const char* name;
        std::string expected;
        std::string actual;
    };
    const std::string percentPath = "/d/100%d%s.htm";
    const Case cases[] = {
        {"percent", "100%", FormatText("100%%", {})},
        {"width", "(  7%)", FormatText("(%3d%%)", {7})},
        {"64-bit", "18446744073709551615",
         FormatText("%d", {std::numeric_limits<std::uint64_t>::max()})},
        {"hex", "00FF", FormatText("%04X", {255u})},
        {"length modifier ignored", "7|8", FormatText("%lu|%lld", {7u, 8})},
        {"text width", "[   ab|cd  ]", FormatText("[%5s|%-4s]", {"ab", "cd"})},
        {"percent in argument", percentPath, FormatText("%s", {percentPath})},
        {"missing argument", "a and %d", FormatText("%s and %d", {"a"})},
        {"text for number", "many files", FormatText("%d files", {"many"})},
        {"unknown conversion", "%q1", FormatText("%q%d", {1})},
        {"trailing percent", "50%", FormatText("50%", {})},
        {"huge width", "%99999999d", FormatText("%99999999d", {1})},
        {"precision keeps characters whole", "あ", FormatText("%.4s", {"あい"})},
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
