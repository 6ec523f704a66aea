// Every trim the verifier sees must pass it: the sample pages and pages of the constructs
// the trimmer must leave meaning alone in, trimmed in many modes, in both byte charsets.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "engine/trim_engine.h"
#include "test_support.h"
#include "verify/page_verifier.h"

namespace trimlet::test {
namespace {

// Pages of what a trim must keep: inline neighbours, preformatted text, kept comments,
// scripts whose line breaks matter, styles. Form text, server code, CSS strings and SVG text
// kept with its blanks are left out until the trimmer keeps them.
constexpr std::string_view kPages[] = {
    "<html>\n<head>\n  <title> A  page </title>\n  <!-- head note -->\n</head>\n<body>\n"
    "  <p>No <b>x</b> here, <i>a</i> <em>b</em>\n  and  <a href=\"x  y\">link</a> .</p>\n"
    "  <pre>\n  int  main()\n  {  }\n  </pre>\n"
    "  <!-- body note -->\n  <!--#include virtual=\"/a\" -->\n  <!-- Dovetag -->\n"
    "</body>\n</html>\n",
    "<body>\n<script>\nvar a = 1\nvar b = a\n++a\nfunction f() {\n  return\n    a\n}\n"
    "x = a / 2 / b; y = /a  [/]  b/g.test(s)\nt = `a  ${ b }  c`\n// note\n/* block */\n"
    "</script>\n<p>a <script>f()</script> b</p>\n</body>\n",
    "<style>\n  p  >  a  {  color : red ;  }\n  p:after { content: \"a b\" }\n</style>\n"
    "<p>  <b>a</b>  </p>\n",
    "<script language=\"VBScript\">\nDim a ' note\nRem note\na = \"x  y\" & _\n  b\n"
    "MsgBox  a\n</script>\n<ul>\n  <li>a</li>\n  <li><b>b</b> <i>c</i></li>\n</ul>\n",
    "<table>\n  <tr>\n    <td> a </td>\n    <td><span>b</span> <span>c</span></td>\n"
    "  </tr>\n</table>\n<svg>\n  <text>a   b</text>\n  <text>c</text>\n"
    "</svg>\n",
};

std::vector<std::string> SamplePages() {
    std::vector<std::string> pages(std::begin(kPages), std::end(kPages));
    const char* source = std::getenv("TRIMLET_SOURCE_DIR");
    if (!source) return pages;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(source) / "examples")) {
        if (entry.path().extension() == ".html") pages.push_back(ReadAll(entry.path()));
    }
    return pages;
}

// The modes the options pages offer, and random words over the trim bits.
std::vector<TrimMode> Modes() {
    std::vector<TrimMode> modes = {
        kDefaultTrimMode,
        0,
        TM_COLLAPSE_SPACES | TM_TRIM_LINE_ENDS | TM_CR_REG_AS_WSP | TM_BLANK_LINES_DELETE,
        kDefaultTrimMode | TM_CR_REG_AS_WSP | TM_BETWEEN_TAGS,
        kDefaultTrimMode | TM_CR_REG_AS_WSP | TM_BETWEEN_TAGS | TM_BETWEEN_INLINE_TAGS,
        kDefaultTrimMode | TM_INSIDE_PRE | TM_ZENKAKU_AS_WSP,
        (kDefaultTrimMode & ~(TM_KEEP_SSI | TM_KEEP_DOVETAG | TM_BODY_COMMENTS_ONLY)),
    };
    constexpr TrimMode kBits = TM_COLLAPSE_SPACES | TM_TRIM_LINE_ENDS | TM_CR_REG_AS_WSP |
                               TM_BLANK_LINES_DELETE | TM_BLANK_LINES_MERGE | TM_HTML_COMMENT_DEL |
                               TM_KEEP_SSI | TM_KEEP_DOVETAG | TM_BODY_COMMENTS_ONLY |
                               TM_ZENKAKU_AS_WSP | TM_BETWEEN_TAGS | TM_INSIDE_PRE |
                               TM_BETWEEN_INLINE_TAGS | TM_SCRIPT_OPTIONS_MASK;
    std::mt19937 random(25);
    for (int k = 0; k < 48; ++k)
        modes.push_back(static_cast<TrimMode>(random()) & kBits);
    return modes;
}

TEST(TrimmedPages, PassTheVerifierInEveryMode) {
    const std::vector<std::string> pages = SamplePages();
    for (TrimMode mode : Modes()) {
        for (const std::string& page : pages) {
            for (Charset charset : {Charset::Utf8, Charset::Cp932}) {
                std::string out;
                ASSERT_RESULT(TrimHtmlText(page, out, mode, charset), RESULT_OK);
                Verdict verdict;
                ASSERT_RESULT(VerifyHtml(page, out, mode, charset, verdict), RESULT_OK);
                EXPECT_EQ(verdict.status, VerifyStatus::Same)
                    << "mode 0x" << std::hex << mode << ": " << verdict.difference << "\n"
                    << page.substr(0, 80) << "\n-> " << out.substr(0, 200);
            }
        }
    }
}

}  // namespace
}  // namespace trimlet::test
