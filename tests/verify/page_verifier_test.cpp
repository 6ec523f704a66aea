// The verifier's own table: pairs of an original and a trimmed text that are the same
// document, and pairs that are not, each with the place the first difference must be
// reported at. Every row runs in UTF-8, Shift_JIS and UTF-16.

#include "verify/page_verifier.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>
#include <string_view>
#include <vector>

#include "engine/comment_kinds.h"
#include "test_support.h"
#include "text/text_loading.h"

namespace trimlet::test {
namespace {

constexpr TrimMode kDefault = kDefaultTrimMode;
constexpr TrimMode kBetweenInline = kDefaultTrimMode | TM_BETWEEN_TAGS | TM_BETWEEN_INLINE_TAGS;
constexpr TrimMode kAllComments = TM_HTML_COMMENT_DEL;

struct Row {
    const char* name;
    TrimMode mode;
    std::string_view original;
    std::string_view trimmed;
    std::string_view difference;  // empty: the same document
};

const Row kHtmlRows[] = {
    // elements
    {"BlanksBetweenBlocks", kDefault, "<div>\n  <p>a</p>\n  <p>b</p>\n</div>",
     "<div><p>a</p><p>b</p></div>", ""},
    {"ElementRenamed", kDefault, "<p><b>x</b></p>", "<p><i>x</i></p>",
     "html > body > p > b: element differs at line 1: <b> / <i>"},
    {"ElementMissing", kDefault, "<p>a<br>b</p>", "<p>ab</p>",
     "html > body > p: text differs at line 1: \"a\" / \"ab\""},
    {"ElementPlaceCounted", kDefault, "<div>1</div><div>2</div><div><pre>int  main</pre></div>",
     "<div>1</div><div>2</div><div><pre>int main</pre></div>",
     "html > body > div[3] > pre: text differs at line 1: \"int  main\" / \"int main\""},
    // attributes
    {"AttributeValueChanged", kDefault, "<a href=\"a b\">l</a>", "<a href=\"ab\">l</a>",
     "html > body > a: attribute href differs at line 1: \"a b\" / \"ab\""},
    {"AttributeSpelledOtherwise", kDefault, "<a title = 'a&amp;b'  id=x>l</a>",
     "<a title=\"a&#38;b\" id=\"x\">l</a>", ""},
    {"AttributeDropped", kDefault, "<input disabled type=text>", "<input type=text>",
     "html > body > input: attributes differ at line 1: 2 / 1 attributes"},
    // text
    {"BlanksCollapsed", kDefault, "<p>a   b\n\t c</p>", "<p>a b c</p>", ""},
    {"InlineWordGlued", kDefault, "<p>No <b>x</b> here</p>", "<p>No<b>x</b>here</p>",
     "html > body > p: text differs at line 1: \"No \" / \"No\""},
    {"BlankBetweenInlineTagsLost", kDefault, "<p><b>a</b> <i>b</i></p>", "<p><b>a</b><i>b</i></p>",
     "html > body > p: missing in the trimmed page at line 1: a blank between inline content"},
    {"BlankBetweenInlineTagsAllowed", kBetweenInline, "<p><b>a</b> <i>b</i></p>",
     "<p><b>a</b><i>b</i></p>", ""},
    {"BlankAcrossScriptKept", kDefault, "<p><b>a</b> <script>x()</script> <i>b</i></p>",
     "<p><b>a</b><script>x()</script><i>b</i></p>",
     "html > body > p: missing in the trimmed page at line 1: a blank between inline content"},
    {"BlankAfterBlankAcrossComment", kDefault, "<p>No <!-- c --> <i>y</i>, <!-- d --> z</p>",
     "<p>No <!-- c --><i>y</i>, <!-- d -->z</p>", ""},
    {"BlankOnBothSidesOfCommentLost", kDefault, "<p>No <!-- c --> y</p>", "<p>No<!-- c -->y</p>",
     "html > body > p: text differs at line 1: \"No \" / \"No\""},
    {"BlankAtBlockEdge", kDefault, "<p>\n  <a href=x>l</a>\n</p>", "<p><a href=x>l</a></p>", ""},
    {"PreExact", kDefault, "<pre>\nint  main\n</pre>", "<pre>\nint main\n</pre>",
     "html > body > pre: text differs at line 2: \"int  main\\n\" / \"int main\\n\""},
    {"PreRelaxedByMode", kDefault | TM_INSIDE_PRE, "<pre>int  main\n  x</pre>",
     "<pre>int main x</pre>", ""},
    {"TextareaExact", kDefault, "<textarea>a\n  b</textarea>", "<textarea>a\nb</textarea>",
     "html > body > textarea: text differs at line 2: \"  b\" / \"b\""},
    {"StyledPreformatted", kDefault, "<div style=\"color:red; White-Space: pre-wrap\">a  b</div>",
     "<div style=\"color:red; White-Space: pre-wrap\">a b</div>",
     "html > body > div: text differs at line 1: \"a  b\" / \"a b\""},
    {"SvgSpacePreserved", kDefault, "<svg><text xml:space=\"preserve\">a  b</text></svg>",
     "<svg><text xml:space=\"preserve\">a b</text></svg>",
     "html > body > svg > text: text differs at line 1: \"a  b\" / \"a b\""},
    {"SvgTextCollapses", kDefault, "<svg>\n <text>a  b</text>\n</svg>",
     "<svg><text>a b</text></svg>", ""},
    {"FullWidthBlankKept", kDefault, "<p>日本\u3000\u3000語</p>", "<p>日本\u3000語</p>",
     "html > body > p: text differs at line 1: \"日本\u3000\u3000語\" / \"日本\u3000語\""},
    {"FullWidthBlankByMode", kDefault | TM_ZENKAKU_AS_WSP, "<p>日本\u3000\u3000語</p>",
     "<p>日本 語</p>", ""},
    // comments
    {"CommentDeleted", kDefault, "<body><p>a <!-- note --> b</p>", "<body><p>a b</p>", ""},
    {"CommentKeptByMode", 0, "<p>a<!-- note --></p>", "<p>a</p>",
     "html > body > p: kept comment missing at line 1: \" note \""},
    {"CommentOutsideBodyKept", kDefault, "<head><!-- head --></head><body>x",
     "<head></head><body>x", "html > head: kept comment missing at line 1: \" head \""},
    {"CommentOutsideBodyDeleted", kAllComments, "<head><!-- head --></head><body>x",
     "<head></head><body>x", ""},
    {"CommentInSecondBody", kDefault, "<body>a</body><!-- between --><body>b<!-- note --></body>",
     "<body>a</body><!-- between --><body>b</body>", ""},
    {"SsiKept", kDefault, "<body><!--#include file=\"a\" -->x", "<body>x",
     "html > body: kept comment missing at line 1: \"#include file=\"a\" \""},
    {"MarkerKept", kDefault, "<body><!-- Dovetag -->x", "<body>x",
     "html > body: kept comment missing at line 1: \" Dovetag \""},
    {"ConditionalCommentKept", kDefault, "<body><!--[if IE]><p>old<![endif]-->x", "<body>x",
     "html > body: kept comment missing at line 1: \"[if IE]><p>old<![endif]\""},
    {"ConditionalCommentByMode", kDefault | TM_SPECIAL_COMMENTS_DEL,
     "<body><!--[if IE]><p>old<![endif]-->x", "<body>x", ""},
    {"CommentTextChanged", 0, "<p><!-- a  b --></p>", "<p><!-- a c --></p>",
     "html > body > p: kept comment missing at line 1: \" a  b \""},
    // server code
    {"ServerCodeExact", kDefault, "<p><% x  y %></p>", "<p><% x y %></p>",
     "server code differs at line 1: \"<% x  y %>\" / \"<% x y %>\""},
    {"ProcessingCodeExact", kDefault, "<p>\n<?php if ($a  > 1) ?></p>",
     "<p>\n<?php if ($a > 1) ?></p>",
     "server code differs at line 2: \"<?php if ($a  > 1) ?>\" / \"<?php if ($a > 1) ?>\""},
    // scripts
    {"ScriptBlanks", kDefault, "<script>\nvar a = 1 ;\nvar b = a / 2 / c;\n</script>",
     "<script>var a=1;\nvar b=a/2/c;</script>", ""},
    {"ScriptRegex", kDefault, "<script>x = /a  b/.test(s)</script>",
     "<script>x=/a b/.test(s)</script>",
     "html > head > script: script differs at line 1: \"/a  b/\" / \"/a b/\""},
    {"ScriptString", kDefault, "<script>\n\nf('a  b')</script>", "<script>f('a b')</script>",
     "html > head > script: script differs at line 3: \"'a  b'\" / \"'a b'\""},
    {"ScriptTemplate", kDefault, "<script>t = `a ${ b } c`</script>",
     "<script>t=`a ${b} c`</script>", ""},
    {"ScriptAsiReturn", kDefault, "<script>function f(){return\nx}</script>",
     "<script>function f(){return x}</script>",
     "html > head > script: script line break before \"x\" changed at line 2"},
    {"ScriptAsiOperands", kDefault, "<script>a = b\nc()</script>", "<script>a=b c()</script>",
     "html > head > script: script line break before \"c\" changed at line 2"},
    {"ScriptJoinedContinuation", kDefault, "<script>a = b\n+ c\n.d()</script>",
     "<script>a=b+c.d()</script>", ""},
    {"ScriptTokensGlued", kDefault, "<script>a = b - -c</script>", "<script>a=b--c</script>",
     "html > head > script: script differs at line 1: \"-\" / \"--\""},
    {"ScriptCommentsGo", kDefault, "<script>a(); // x\n/* y */ b()</script>",
     "<script>a();\nb()</script>", ""},
    {"VbScriptLineEnds", kDefault,
     "<script language=\"VBScript\">a = 1 ' one\nb = \"x  y\" & _\n  c</script>",
     "<script language=\"VBScript\">a=1\nb=\"x  y\"&c</script>", ""},
    {"VbScriptStatementsJoined", kDefault, "<script language=\"VBScript\">a = 1\nb = 2</script>",
     "<script language=\"VBScript\">a = 1 b = 2</script>",
     "html > head > script: script differs at line 1: \"(line end)\" / \"b\""},
    {"ScriptOfOtherTypeExact", kDefault, "<script type=\"text/template\"><p>  x</p></script>",
     "<script type=\"text/template\"><p> x</p></script>",
     "html > head > script: script differs at line 1: \"<p>  x</p>\" / \"<p> x</p>\""},
    // styles
    {"StyleBlanks", kDefault, "<style>\n a  {  color : red ; }\n</style>",
     "<style>a{color : red;}</style>", ""},
    {"StyleString", kDefault, "<style>p:after { content: \"a  b\" }</style>",
     "<style>p:after{content: \"a b\"}</style>",
     "html > head > style: style differs at line 1: \"\"a  b\"}\" / \"\"a b\"}\""},
    {"StyleSelectorJoined", kDefault, "<style>a :hover{}</style>", "<style>a:hover{}</style>",
     "html > head > style: style differs at line 1: \"a :hover{}\" / \"a:hover{}\""},
};

// UTF-8 text in Shift_JIS (CP932).
std::string ToShiftJis(std::string_view utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    std::string out(utf8.size() * 2 + 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* to = out.data();
    std::size_t outLeft = out.size();
    const std::size_t r = iconv(cd, &in, &inLeft, &to, &outLeft);
    iconv_close(cd);
    EXPECT_NE(r, static_cast<std::size_t>(-1)) << utf8;
    out.resize(out.size() - outLeft);
    return out;
}

std::string ToUtf16(std::string_view utf8) {
    std::string wide;
    EXPECT_RESULT(ToWideText(utf8, ByteOrderMark::LittleEndian, wide), RESULT_OK);
    return wide;
}

void ExpectVerdict(const Row& row, const Verdict& verdict) {
    if (row.difference.empty()) {
        EXPECT_EQ(verdict.status, VerifyStatus::Same) << verdict.difference;
    } else {
        EXPECT_EQ(verdict.status, VerifyStatus::Differs);
        EXPECT_EQ(verdict.difference, row.difference);
    }
}

TEST(VerifyHtml, TableInEveryEncoding) {
    for (const Row& row : kHtmlRows) {
        SCOPED_TRACE(row.name);
        Verdict verdict;
        {
            SCOPED_TRACE("UTF-8");
            ASSERT_RESULT(VerifyHtml(row.original, row.trimmed, row.mode, Charset::Utf8, verdict),
                          RESULT_OK);
            ExpectVerdict(row, verdict);
        }
        {
            SCOPED_TRACE("Shift_JIS");
            ASSERT_RESULT(VerifyHtml(ToShiftJis(row.original), ToShiftJis(row.trimmed), row.mode,
                                     Charset::Cp932, verdict),
                          RESULT_OK);
            ExpectVerdict(row, verdict);
        }
        {
            SCOPED_TRACE("UTF-16 file");
            ASSERT_RESULT(VerifyFileBytes(ToUtf16(row.original), ToUtf16(row.trimmed),
                                          FileKind::Html, row.mode, verdict),
                          RESULT_OK);
            ExpectVerdict(row, verdict);
        }
        // Every original is the same document as itself.
        ASSERT_RESULT(VerifyHtml(row.original, row.original, row.mode, Charset::Utf8, verdict),
                      RESULT_OK);
        EXPECT_EQ(verdict.status, VerifyStatus::Same) << verdict.difference;
    }
}

const Row kScriptRows[] = {
    // JavaScript
    {"Division", 0, "a = b / 2 / c\nd = e", "a=b/2/c\nd=e", ""},
    {"RegexAfterParen", 0, "if (x) /a  b/.test(s)", "if(x)/a b/.test(s)",
     "document: script differs at line 1: \"/a  b/\" / \"/a b/\""},
    {"PostfixBreak", 0, "a\n++b", "a++b",
     "document: script line break before \"++\" changed at line 2"},
    {"HtmlCommentLines", 0, "<!--\nf()\n-->\n", "f()", ""},
    {"TemplateNested", 0, "`a${ {b: `c  ${d}`}.b }`", "`a${{b:`c  ${d}`}.b}`", ""},
    {"TemplateText", 0, "`a  ${b}`", "`a ${b}`",
     "document: script differs at line 1: \"`a  ${\" / \"`a ${\""},
    {"BlockCommentBreak", 0, "return /*\n*/ x", "return x",
     "document: script line break before \"x\" changed at line 2"},
    {"Unterminated", 0, "f('a  \nb", "f('a  \nb", ""},
};

// Comments are told apart as the trimmer tells them: the user's own beginnings stay, and a
// word that only starts like a special kind does not make a comment special.
// A page nested deeper than the walk goes is not verified (and so not written), where the
// walk used to run out of stack; a page within the depth is checked as usual.
TEST(VerifyHtml, NestingTooDeepIsNotVerified) {
    std::string deep;
    for (int k = 0; k < 20000; ++k)
        deep += "<span>  a  ";
    Verdict verdict;
    ASSERT_RESULT(VerifyHtml(deep, deep, kDefaultTrimMode, Charset::Utf8, verdict), RESULT_OK);
    EXPECT_EQ(verdict.status, VerifyStatus::Differs);
    EXPECT_NE(verdict.difference.find("nested deeper than 512 levels"), std::string::npos);

    std::string shallow;
    for (int k = 0; k < 400; ++k)
        shallow += "<div>";
    ASSERT_RESULT(
        VerifyHtml(shallow + "a  b", shallow + "a b", kDefaultTrimMode, Charset::Utf8, verdict),
        RESULT_OK);
    EXPECT_EQ(verdict.status, VerifyStatus::Same) << verdict.difference;
}

TEST(VerifyHtml, CommentKindsAreTheTrimmers) {
    const std::vector<std::string> userList = {"noindex"};
    struct Case {
        const char* name;
        std::string_view original;
        bool userListGiven;
        bool same;
    };
    const Case cases[] = {
        {"user listed, list given", "<body><!--noindex-->x", true, false},
        {"user listed, no list", "<body><!--noindex-->x", false, true},
        {"knockout needs a whole word", "<body><!-- kommentar -->x", false, true},
        {"knockout", "<body><!-- ko if: a -->x", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VerifyOptions options;
        if (c.userListGiven) options.keptComments = userList;
        Verdict verdict;
        ASSERT_RESULT(
            VerifyHtml(c.original, "<body>x", kAllComments, Charset::Utf8, verdict, options),
            RESULT_OK);
        EXPECT_EQ(verdict.status, c.same ? VerifyStatus::Same : VerifyStatus::Differs)
            << verdict.difference;
    }
}

TEST(VerifyScript, JavaScriptTable) {
    for (const Row& row : kScriptRows) {
        SCOPED_TRACE(row.name);
        Verdict verdict;
        ASSERT_RESULT(VerifyScript(row.original, row.trimmed, false, Charset::Utf8, verdict),
                      RESULT_OK);
        ExpectVerdict(row, verdict);
    }
}

TEST(VerifyScript, VbScriptFileInShiftJis) {
    const std::string original =
        ToShiftJis("Dim a ' 表示\r\nRem x\r\na = \"表  示\"\r\n\r\nMsgBox a\r\n");
    Verdict verdict;
    ASSERT_RESULT(VerifyFileBytes(original, ToShiftJis("Dim a\r\na=\"表  示\"\r\nMsgBox a"),
                                  FileKind::VbScript, kDefault, verdict),
                  RESULT_OK);
    EXPECT_EQ(verdict.status, VerifyStatus::Same) << verdict.difference;
    ASSERT_RESULT(VerifyFileBytes(original, ToShiftJis("Dim a\r\na=\"表 示\"\r\nMsgBox a"),
                                  FileKind::VbScript, kDefault, verdict),
                  RESULT_OK);
    EXPECT_EQ(verdict.difference,
              "document: script differs at line 3: \"\"表  示\"\" / \"\"表 示\"\"");
}

TEST(VerifyHtml, MalformedShiftJisBytesStayApart) {
    // A lead byte without its trail byte, and two different unmapped bytes: no two of these
    // may read alike, or a changed byte would pass unseen.
    Verdict verdict;
    ASSERT_RESULT(VerifyHtml("<p>\x81</p>", "<p>\x82</p>", 0, Charset::Cp932, verdict), RESULT_OK);
    EXPECT_EQ(verdict.status, VerifyStatus::Differs);
    ASSERT_RESULT(VerifyHtml("<p>\xA0\x81<b>", "<p>\xA0\x81<b>", 0, Charset::Cp932, verdict),
                  RESULT_OK);
    EXPECT_EQ(verdict.status, VerifyStatus::Same);
}

TEST(VerifyHtml, LargePagesAreSkipped) {
    const std::string big(kVerifyLimit + 1, 'a');
    Verdict verdict;
    ASSERT_RESULT(VerifyHtml(big, "a", 0, Charset::Utf8, verdict), RESULT_OK);
    EXPECT_EQ(verdict.status, VerifyStatus::Skipped);
    ASSERT_RESULT(VerifyFileBytes(big, "a", FileKind::JavaScript, 0, verdict), RESULT_OK);
    EXPECT_EQ(verdict.status, VerifyStatus::Skipped);
}

}  // namespace
}  // namespace trimlet::test
