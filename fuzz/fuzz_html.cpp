// libFuzzer target for TrimHtmlText: any text, mode and charset.

#include <string>

#include "engine/preformatted.h"
#include "engine/trim_engine.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace trimlet;
    fuzz::Input in;
    if (!fuzz::Decode(data, size, in)) return 0;
    std::string out;
    fuzz::Require(TrimHtmlText(in.text, out, in.mode, in.charset) == RESULT_OK, "result");
    fuzz::Require(out.size() <= in.text.size(), "output longer than input");
    if (in.charset == Charset::Utf8 && fuzz::IsWellFormedUtf8(in.text)) {
        fuzz::Require(fuzz::IsWellFormedUtf8(out), "character split");
    }
    // Bit 18 only adds blanks for pass 7 to delete: with it the text is never longer.
    std::string withInline;
    std::string withoutInline;
    fuzz::Require(TrimHtmlText(in.text, withInline, in.mode | TM_BETWEEN_INLINE_TAGS, in.charset) ==
                      RESULT_OK,
                  "result");
    fuzz::Require(TrimHtmlText(in.text, withoutInline, in.mode & ~TM_BETWEEN_INLINE_TAGS,
                               in.charset) == RESULT_OK,
                  "result");
    fuzz::Require(withInline.size() <= withoutInline.size(), "bit 18 lengthened the text");
    if (fuzz::SecondTrimMustAgree(in.text, in.charset)) {
        std::string again;
        fuzz::Require(TrimHtmlText(out, again, in.mode, in.charset) == RESULT_OK, "result");
        fuzz::Require(again == out, "a second trim changed the text");
    }
    // With the elements the text's own CSS makes preformatted: the same invariants, and a
    // second trim, which learns from the trimmed text, changes nothing.
    engine::PreformattedSelectors styled;
    engine::LearnFromStyleElements(in.text, styled);
    if (!styled.Empty()) {
        std::string kept;
        fuzz::Require(TrimHtmlText(in.text, kept, in.mode, in.charset, {}, &styled) == RESULT_OK,
                      "result");
        fuzz::Require(kept.size() <= in.text.size(), "output longer than input");
        if (fuzz::OneLineBreakKind(in.text)) {
            engine::PreformattedSelectors again;
            engine::LearnFromStyleElements(kept, again);
            std::string twice;
            fuzz::Require(TrimHtmlText(kept, twice, in.mode, in.charset, {}, &again) == RESULT_OK,
                          "result");
            fuzz::Require(twice == kept, "a second trim changed a text with preformatted CSS");
        }
    }
    const std::string plain = fuzz::PlainVariant(in.text);
    fuzz::Require(TrimHtmlText(plain, out, in.mode, in.charset) == RESULT_OK, "result");
    fuzz::Require(out == plain, "text without anything to trim changed");
    return 0;
}
