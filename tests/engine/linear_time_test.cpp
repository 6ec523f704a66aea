// Every pass is one forward scan: texts made of one construct repeated until half a
// megabyte (unterminated, nested, never closed; tags, values, statement ends) must trim in far less
// than a quadratic scan would take (hours). The bound is loose on purpose: a sanitizer build on a
// busy machine is many times slower than a release build, and speed itself is measured by the
// benchmarks.

#include <chrono>

#include "engine_cases.h"

namespace trimlet::test {
namespace {

TEST(LinearTime, RepeatedConstructs) {
    const std::string_view patterns[] = {
        "(/[ ",          "<script>(/[ ", "`${",         "${`",         "<pre ",
        "<!--",          "<script x='>", "</",          "<<a",         "-->",
        "' x",           "rem ",         "/*",          "\"\\",        "<body ",
        "\r\n  \r\n",    "a < b ",       ": rem",       "<script>-->", "\x81\x40 \x95",
        "<!--<script>",  "/x/ ",         "return /[/ ", "x++ / ",      "<a b= ' ",
        "<p t=\"> <b> ", "<span> <i> ",  "}\r\n(",      "=\"\n ",      "<pre><b> ",
    };
    for (std::string_view pattern : patterns) {
        SCOPED_TRACE(std::string(pattern));
        std::string text;
        while (text.size() < 500'000)
            text += pattern;
        const auto start = std::chrono::steady_clock::now();
        std::string out;
        EXPECT_RESULT(TrimHtmlText(text, out, ~TrimMode{0}), RESULT_OK);
        EXPECT_RESULT(TrimHtmlText(text, out, kDefault & ~TM_KEEP_SCRIPT_HTML_COMMENT), RESULT_OK);
        EXPECT_RESULT(TrimScriptText(text, out, kDefault, false), RESULT_OK);
        EXPECT_RESULT(TrimScriptText(text, out, kDefault | TM_CR_REG_AS_WSP, false), RESULT_OK);
        EXPECT_RESULT(TrimScriptText(text, out, kDefault, true, Charset::Utf8), RESULT_OK);
        const auto elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_LT(elapsed, std::chrono::seconds(60));
    }
}

}  // namespace
}  // namespace trimlet::test
