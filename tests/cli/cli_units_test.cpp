// The command line's pieces that need no process: named options, JSON texts, and the rules
// of what a walk takes.

#include <gmock/gmock.h>

#include "cli/file_walk.h"
#include "cli/json_report.h"
#include "cli/option_names.h"

namespace trimlet::cli {
namespace {

TEST(OptionList, ItemsChangeTheDefaultOrNothing) {
    const struct {
        const char* list;
        std::optional<TrimMode> mode;
        const char* problem;
    } cases[] = {
        // basic
        {"default", kDefaultTrimMode, ""},
        {"none", 0, ""},
        {"-between-tags", kDefaultTrimMode & ~TM_BETWEEN_TAGS, ""},
        {"none,collapse-spaces,+html-comments", TM_COLLAPSE_SPACES | TM_HTML_COMMENT_DEL, ""},
        {"default,+between-inline-tags,-keep-ssi",
         (kDefaultTrimMode | TM_BETWEEN_INLINE_TAGS) & ~TM_KEEP_SSI, ""},
        // values
        {"none,blank-lines=merge", TM_BLANK_LINES_MERGE, ""},
        {"blank-lines=keep", kDefaultTrimMode & ~TM_BLANK_LINES_DELETE, ""},
        {"-blank-lines", kDefaultTrimMode & ~TM_BLANK_LINES_DELETE, ""},
        {"none,blank-lines=merge,blank-lines=delete", TM_BLANK_LINES_DELETE, ""},
        // refused
        {"", std::nullopt, ""},
        {"none,", std::nullopt, ""},
        {"tidy", std::nullopt, "tidy"},
        {"none,default", std::nullopt, "default"},
        {"blank-lines", std::nullopt, "blank-lines"},
        {"blank-lines=some", std::nullopt, "blank-lines=some"},
        {"-blank-lines=merge", std::nullopt, "-blank-lines=merge"},
        {"html-comments=on", std::nullopt, "html-comments=on"},
        {"Collapse-Spaces", std::nullopt, "Collapse-Spaces"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.list);
        std::string problem;
        EXPECT_EQ(ParseOptionList(c.list, problem), c.mode);
        if (!c.mode) {
            EXPECT_EQ(problem, c.problem);
        }
    }
}

TEST(OptionList, EveryNamedBitRoundTripsAndNamesDoNotOverlap) {
    TrimMode seen = 0;
    for (const OptionName& option : OptionNames()) {
        SCOPED_TRACE(std::string(option.name));
        EXPECT_EQ(seen & option.bits, 0u);
        seen |= option.bits;
    }
    for (const TrimMode mode : {kDefaultTrimMode, TrimMode{0}, seen & ~TM_BLANK_LINES_MERGE,
                                TrimMode{TM_BLANK_LINES_MERGE | TM_INSIDE_PRE}}) {
        std::string problem;
        EXPECT_EQ(ParseOptionList(OptionListOf(mode), problem), mode) << OptionListOf(mode);
    }
    EXPECT_EQ(kDefaultTrimMode & ~seen, 0u) << "a default bit without a name";
}

TEST(JsonString, EscapesAndKeepsTextValid) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"plain /a b", "\"plain /a b\""},
        {"q\"b\\s", "\"q\\\"b\\\\s\""},
        {"l\nc\r\tt", "\"l\\nc\\r\\tt\""},
        {std::string_view("\x01\x1f\x7f", 3), "\"\\u0001\\u001f\\u007f\""},
        {"\xE4\xB8\x8A\xF0\x9F\x98\x80", "\"\xE4\xB8\x8A\xF0\x9F\x98\x80\""},
        // bytes that are not UTF-8 (CP932, a cut sequence, a surrogate, an overlong form)
        {"\x83\x65x\x81",
         "\"\xEF\xBF\xBD"
         "ex\xEF\xBF\xBD\""},
        {"\xE4\xB8", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
        {"\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
        {"\xC0\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
        {std::string_view("a\0b", 3), "\"a\\u0000b\""},
    };
    for (const auto& [text, json] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(JsonString(text), json);
    }
}

TEST(JsonReport, CountsSkippedAndFailedApartAndSizesOfOkFilesOnly) {
    const std::vector<JsonFile> files = {
        {.path = "/a", .result = RESULT_OK, .size = 10, .trimmedSize = 7},
        {.path = "/b", .result = RESULT_SKIPPED},
        {.path = "/c", .result = RESULT_NOT_FOUND, .size = 5, .messageId = 20000, .message = "m"},
    };
    const std::string json = JsonReport("trim", files);
    EXPECT_THAT(json, ::testing::StartsWith("{\"schemaVersion\": 1, \"command\": \"trim\","));
    EXPECT_THAT(json, ::testing::HasSubstr("\"result\": \"skipped\", \"messageId\": null"));
    EXPECT_THAT(json, ::testing::HasSubstr(
                          "{\"path\": \"/c\", \"size\": 5, \"trimmedSize\": null, \"result\": "
                          "\"failed\", \"messageId\": 20000, \"message\": \"m\"}"));
    EXPECT_THAT(json, ::testing::EndsWith("\"totals\": {\"files\": 3, \"ok\": 1, \"skipped\": 1, "
                                          "\"failed\": 1, \"size\": 10, \"trimmedSize\": 7}}\n"));
    EXPECT_EQ(JsonReport("run", {}),
              "{\"schemaVersion\": 1, \"command\": \"run\",\n \"files\": [],\n"
              " \"totals\": {\"files\": 0, \"ok\": 0, \"skipped\": 0, "
              "\"failed\": 0, \"size\": 0, \"trimmedSize\": 0}}\n");
}

TEST(WalkRules, ListedExtensionsAndExcludes) {
    WalkRules rules;
    rules.htmlExtensions = "HTM:HTML:shtml";
    rules.scriptExtensions = " JS : VBS";
    rules.excludes = {"*.min.js", "vendor", "docs/*.html"};
    const struct {
        const char* path;
        bool listed;
        bool excluded;
    } cases[] = {
        {"index.html", true, false},     {"INDEX.HTM", true, false},
        {"a.SHTML", true, false},        {"app.js", true, false},
        {"old.vbs", true, false},        {"x.png", false, false},
        {"html", false, false},          {"a.html.bak", false, false},
        {"dir.html/file", false, false}, {"noext.", false, false},
        {"lib/app.min.js", true, true},  {"vendor", false, true},
        {"a/vendor", false, true},       {"docs/a.html", true, true},
        {"x/docs/a.html", true, false},  {"docs/sub/a.html", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(HasListedExtension(rules, c.path), c.listed);
        EXPECT_EQ(IsExcluded(rules, c.path), c.excluded);
    }
}

}  // namespace
}  // namespace trimlet::cli
