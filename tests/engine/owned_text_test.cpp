// The engine's buffer handling: a text given up to the engine, and texts that lie in
// buffers the engine handed out before, come out exactly as a plain trim of the same bytes.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "engine/trim_engine.h"
#include "engine_cases.h"
#include "test_support.h"

namespace trimlet {
namespace {

constexpr std::string_view kPage =
    "<html>\r\n  <!-- note -->\r\n  <p>  a   b  </p>\r\n\r\n\r\n"
    "  <script>\r\n    var x = 1 ;  // c\r\n  </script>\r\n  <pre>  kept  </pre>\r\n</html>\r\n";

// Also checked against the reference engine.
std::string Plain(std::string_view text, TrimMode mode) {
    return test::Html(text, mode);
}

TEST(EngineBuffers, AGivenUpTextTrimsLikeAViewedOneAndIsLeftEmpty) {
    struct Case {
        const char* name;
        TrimMode mode;
        std::string text;
    };
    const Case cases[] = {
        {"default mode", kDefaultTrimMode, std::string(kPage)},
        {"empty", kDefaultTrimMode, ""},
        // Big enough for huge pages.
        {"large", kDefaultTrimMode,
         [] {
             std::string big;
             while (big.size() < (std::size_t{6} << 20))
                 big += kPage;
             return big;
         }()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string expected = Plain(c.text, c.mode);
        std::string text = c.text;
        std::string out = "old";
        ASSERT_RESULT(TrimOwnedHtmlText(text, out, c.mode), RESULT_OK);
        EXPECT_EQ(out, expected);
        EXPECT_TRUE(text.empty());
        // The same string as text and result.
        std::string both = c.text;
        ASSERT_RESULT(TrimOwnedHtmlText(both, both, c.mode), RESULT_OK);
        EXPECT_EQ(both, expected);
    }
}

TEST(EngineBuffers, TextsInBuffersTheEngineKeptOrHandedBackTrimCorrectly) {
    // Each result is trimmed again from a view of it, and from a view of a result the
    // caller has since given back: the engine's kept buffer must not be written while read.
    std::string first;
    ASSERT_RESULT(TrimHtmlText(kPage, first, kDefaultTrimMode | TM_BETWEEN_TAGS), RESULT_OK);
    const std::string firstCopy = first;
    std::string second;
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        ASSERT_RESULT(TrimHtmlText(first, first, TM_COLLAPSE_SPACES), RESULT_OK);
        EXPECT_EQ(first, Plain(firstCopy, TM_COLLAPSE_SPACES));
        ASSERT_RESULT(TrimHtmlText(kPage, second, kDefaultTrimMode), RESULT_OK);
        EXPECT_EQ(second, Plain(kPage, kDefaultTrimMode));
        first = firstCopy;
    }
}

}  // namespace
}  // namespace trimlet
