// libFuzzer target for the verifier: trims a small page in a random mode and requires the
// verifier to find the result the same document as the original. A difference means the
// trimmer broke the page or the verifier is too strict; it is printed.
// Byte 0: bit 0 UTF-8 (else CP932); bytes 1-4 the mode.
//
// Scripts are left out, on their own and inside pages: random scripts are nearly all syntax
// errors (an unterminated string, "x ! = y"), where a trim may well change tokens without
// breaking a working script. The verifier's tables and the trimmed-pages test cover them.

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>

#include "engine/trim_engine.h"
#include "fuzz_input.h"
#include "verify/page_verifier.h"

namespace {

// Constructs the trimmer does not yet leave alone (comments: a blank beside a kept one is
// deleted, glueing inline words; form text, CSS strings, server code, text preformatted by
// CSS): pages holding them are not checked, so what the fuzzer finds is
// new. Take an entry out when the trimmer learns to keep it.
constexpr std::string_view kNotYetKept[] = {"<script",  "<!--",       "<textarea",   "<xmp",
                                            "<listing", "<plaintext", "<title",      "<style",
                                            "<%",       "<?",         "white-space", "xml:space"};

bool HoldsNotYetKept(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; });
    for (std::string_view construct : kNotYetKept)
        if (lower.find(construct) != std::string::npos) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace trimlet;
    fuzz::Input in;
    if (size > 2048 || !fuzz::Decode(data, size, in)) return 0;
    std::string out;
    Verdict verdict;
    // Only pages a browser reads without a parse error: on broken markup (a quote left
    // open, a "<" inside a tag) the trimmer cannot know where tags are.
    if (HoldsNotYetKept(in.text) || !ParsesWithoutError(in.text, in.charset)) return 0;
    // The trimmer deletes the special comments with the others (as bit 19 asks) until it
    // learns to keep them.
    const TrimMode verifyMode = in.mode | TM_SPECIAL_COMMENTS_DEL;
    fuzz::Require(TrimHtmlText(in.text, out, in.mode, in.charset) == RESULT_OK, "trim");
    fuzz::Require(VerifyHtml(in.text, in.text, verifyMode, in.charset, verdict) == RESULT_OK,
                  "verify");
    // A page nested deeper than the check walks is not verified at all.
    if (verdict.difference.find("nested deeper than") != std::string::npos) return 0;
    fuzz::Require(verdict.status == VerifyStatus::Same, "a page differs from itself");
    fuzz::Require(VerifyHtml(in.text, out, verifyMode, in.charset, verdict) == RESULT_OK, "verify");
    if (verdict.status != VerifyStatus::Same) {
        std::fprintf(stderr, "mode 0x%08X: %s\n", static_cast<unsigned>(in.mode),
                     verdict.difference.c_str());
        fuzz::Require(false, "the trimmed text is not the same document");
    }
    return 0;
}
