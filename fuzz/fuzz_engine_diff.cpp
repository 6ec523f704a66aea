// libFuzzer target comparing the trim engine with the reference engine (reference/),
// the engine as it was before it was made faster: for any text, charset and mode, every
// entry point must give the same bytes and the same result code as the reference does.

#include <cstdio>
#include <string>
#include <string_view>

#include "engine/preformatted.h"
#include "engine/trim_engine.h"
#include "fuzz_input.h"
#include "reference/engine/preformatted.h"
#include "reference/engine/trim_engine.h"

using namespace trimlet;

namespace {

// The second mode tried on each input: the decoded one with these options turned over.
constexpr TrimMode kTurnedOver = TM_HTML_COMMENT_DEL | TM_CR_REG_AS_WSP | TM_BLANK_LINES_MERGE |
                                 TM_BETWEEN_TAGS | TM_INSIDE_PRE | TM_BETWEEN_INLINE_TAGS |
                                 TM_SCRIPT_COMMENT_DEL | TM_KEEP_SCRIPT_HTML_COMMENT;

// Knockout bindings and server-side includes, as a user might keep them.
const std::string kKept[] = {"ko", "#"};

void RequireSame(Result result, const std::string& out, Result expectedResult,
                 const std::string& expected, const char* call, TrimMode mode) {
    if (result == expectedResult && out == expected) return;
    size_t at = 0;
    while (at < out.size() && at < expected.size() && out[at] == expected[at])
        ++at;
    std::fprintf(stderr,
                 "%s, mode %08x: result %08x, reference %08x; %zu bytes, reference %zu; first "
                 "difference at byte %zu\n",
                 call, static_cast<unsigned>(mode), static_cast<unsigned>(result),
                 static_cast<unsigned>(expectedResult), out.size(), expected.size(), at);
    fuzz::Require(false, "the engine and the reference engine differ");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in;
    if (!fuzz::Decode(data, size, in)) return 0;
    const Charset cs = in.charset;

    // Each engine learns the page's own preformatted elements with its own learner.
    engine::PreformattedSelectors styled;
    engine::LearnFromStyleElements(in.text, styled);
    reference::engine::PreformattedSelectors referenceStyled;
    reference::engine::LearnFromStyleElements(in.text, referenceStyled);
    const bool hasStyles = !styled.Empty() || !referenceStyled.Empty();

    // One output string serves every call of the engine, as in a run over many files: what
    // an earlier call left in it must not matter.
    std::string out = "stale";
    for (const TrimMode mode : {in.mode, in.mode ^ kTurnedOver}) {
        std::string expected;
        Result result = TrimHtmlText(in.text, out, mode, cs);
        Result expectedResult = reference::TrimHtmlText(in.text, expected, mode, cs);
        RequireSame(result, out, expectedResult, expected, "TrimHtmlText", mode);

        std::string given(in.text);
        std::string referenceGiven(in.text);
        result = TrimOwnedHtmlText(given, out, mode, cs, kKept);
        expectedResult = reference::TrimOwnedHtmlText(referenceGiven, expected, mode, cs, kKept);
        RequireSame(result, out, expectedResult, expected, "TrimOwnedHtmlText, kept comments",
                    mode);
        fuzz::Require(given.empty(), "a given-up text was not left empty");

        if (hasStyles) {
            result = TrimHtmlText(in.text, out, mode, cs, {}, &styled);
            expectedResult =
                reference::TrimHtmlText(in.text, expected, mode, cs, {}, &referenceStyled);
            RequireSame(result, out, expectedResult, expected, "TrimHtmlText, preformatted", mode);
        }

        result = TrimScriptText(in.text, out, mode, in.vbScript, cs);
        expectedResult = reference::TrimScriptText(in.text, expected, mode, in.vbScript, cs);
        RequireSame(result, out, expectedResult, expected, "TrimScriptText", mode);

        result = TrimScriptText(in.text, out, mode, !in.vbScript, cs, kKept);
        expectedResult =
            reference::TrimScriptText(in.text, expected, mode, !in.vbScript, cs, kKept);
        RequireSame(result, out, expectedResult, expected, "TrimScriptText, other language, kept",
                    mode);
    }
    return 0;
}
