// libFuzzer target for TrimHtmlText: any text, mode and charset.

#include <string>

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
    const std::string plain = fuzz::PlainVariant(in.text);
    fuzz::Require(TrimHtmlText(plain, out, in.mode, in.charset) == RESULT_OK, "result");
    fuzz::Require(out == plain, "text without anything to trim changed");
    return 0;
}
