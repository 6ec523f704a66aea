// libFuzzer target for TrimScriptText: both languages, any text, mode and charset.

#include <string>

#include "engine/trim_engine.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace trimlet;
    fuzz::Input in;
    if (!fuzz::Decode(data, size, in)) return 0;
    std::string out;
    fuzz::Require(TrimScriptText(in.text, out, in.mode, in.vbScript, in.charset) == RESULT_OK,
                  "result");
    fuzz::Require(out.size() <= in.text.size(), "output longer than input");
    if (in.charset == Charset::Utf8 && fuzz::IsWellFormedUtf8(in.text)) {
        fuzz::Require(fuzz::IsWellFormedUtf8(out), "character split");
    }
    if (fuzz::SecondTrimMustAgree(in.text, in.charset)) {
        std::string again;
        fuzz::Require(TrimScriptText(out, again, in.mode, in.vbScript, in.charset) == RESULT_OK,
                      "result");
        fuzz::Require(again == out, "a second trim changed the text");
    }
    const std::string plain = fuzz::PlainVariant(in.text);
    fuzz::Require(TrimScriptText(plain, out, in.mode, in.vbScript, in.charset) == RESULT_OK,
                  "result");
    fuzz::Require(out == plain, "text without anything to trim changed");
    return 0;
}
