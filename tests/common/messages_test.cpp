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
