#pragma once
// Verification: reads an original page and its trimmed form the way a browser does (an
// HTML5 parser) and tells whether they are the same document, as far as the trim mode
// allows them to differ. It shares no pass with the trimmer; only its inputs: the mode and
// what a comment is (engine/comment_kinds.h).

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "common/charset.h"
#include "common/result.h"
#include "engine/trim_mode.h"
#include "text/trim_file.h"

namespace trimlet {

namespace engine {
class PreformattedSelectors;
}
class StylesheetCache;

// Pages larger than this (original or trimmed, in bytes) are not verified: the parser holds
// many times the text in memory.
inline constexpr std::uint64_t kVerifyLimit = 20u * 1024 * 1024;

enum class VerifyStatus {
    Same,     // the same document
    Differs,  // `difference` says where first
    Skipped,  // larger than kVerifyLimit
};

struct Verdict {
    VerifyStatus status = VerifyStatus::Same;
    // "html > body > div[3] > pre: text differs at line 4: "int  main" / "int main""
    std::string difference;
};

// What the verifier takes for whitespace-preserving beyond PRE and its kin.
struct VerifyOptions {
    // Elements whose own style attribute sets "white-space: pre" (or pre-wrap, pre-line,
    // break-spaces) keep their text exactly.
    bool styledPreformatted = true;
    // The user's own comment beginnings the trimmer was given: such comments never go.
    std::span<const std::string> keptComments;
    // Elements the page's CSS makes preformatted keep their text exactly too, unless the mode
    // trims inside PRE: the set the trimmer took, when given; else, with `learnPreformatted`,
    // the set learned as the trimmer learns it, from the original page and the style sheets
    // it links beside `pagePath` (none when empty), read through `stylesheets` when given.
    const engine::PreformattedSelectors* preformatted = nullptr;
    bool learnPreformatted = true;
    std::string_view pagePath;
    StylesheetCache* stylesheets = nullptr;
};

// Compares two HTML texts in `charset` (UTF-8 for UTF-16 files, as the engine reads them).
// Returns RESULT_OK with the verdict, RESULT_OUT_OF_MEMORY when parsing fails for memory.
[[nodiscard]] Result VerifyHtml(std::string_view original, std::string_view trimmed, TrimMode mode,
                                Charset charset, Verdict& verdict,
                                const VerifyOptions& options = {});

// True when the parser reads the page (in `charset`) without a parse error: markup a browser
// and a trimmer can only read alike. False also when the page is too large to parse.
[[nodiscard]] bool ParsesWithoutError(std::string_view page, Charset charset);

// Compares two script texts (JavaScript or VBScript) by their tokens and line ends.
[[nodiscard]] Result VerifyScript(std::string_view original, std::string_view trimmed,
                                  bool vbScript, Charset charset, Verdict& verdict);

// Compares the bytes of an original file and of its trimmed form, each decoded as the
// engine decodes a file (UTF-16 by its mark or the statistical test; else the original's
// charset for both), by `kind`. Returns RESULT_OK with the verdict, a DecodeFileText code
// for bytes that cannot be decoded, RESULT_OUT_OF_MEMORY.
[[nodiscard]] Result VerifyFileBytes(std::string original, std::string trimmed, FileKind kind,
                                     TrimMode mode, Verdict& verdict,
                                     const VerifyOptions& options = {});

// Reads the file at `inputPath` again and compares it with `trimmedBytes`, the trimmed form
// of it, by the kind its name gives with `scriptExtensions`. Returns RESULT_OK with the
// verdict, or a ReadFileStart or VerifyFileBytes failure. The style sheets the page links
// are read through `stylesheets` when given.
[[nodiscard]] Result VerifyTrimmedFile(const std::string& inputPath, std::string_view trimmedBytes,
                                       TrimMode mode, std::string_view scriptExtensions,
                                       Verdict& verdict, StylesheetCache* stylesheets = nullptr);

}  // namespace trimlet
