// Passes 3 to 7 of TrimHtmlText: line ends, collapse, blank lines, text ends, between tags.

#include "engine_cases.h"

namespace trimlet::test {
namespace {

constexpr TrimMode kZen = TM_ZENKAKU_AS_WSP;

TEST(HtmlBlanksAndLines, Table) {
    const Case cases[] = {
        // line ends
        {"both ends of every line", TM_TRIM_LINE_ENDS, "  x  \r\n  y  ", "x\r\ny"},
        {"interior runs stay", TM_TRIM_LINE_ENDS, "a  b \t\n", "a  b\n"},
        {"full-width blank at line end", TM_TRIM_LINE_ENDS | kZen, "a\x81\x40\n  b", "a\nb"},
        {"full-width blank not a blank", TM_TRIM_LINE_ENDS, "a\x81\x40\n  b", "a\x81\x40\nb"},
        {"lone CR ends a line here", TM_TRIM_LINE_ENDS, "a\n \r \nb", "a\n\r\nb"},
        // PRE
        {"PRE kept", TM_TRIM_LINE_ENDS, "<pre>  a  \r\n  b</pre>  \r\n",
         "<pre>  a  \r\n  b</pre>\r\n"},
        {"PRE trimmed when asked", TM_TRIM_LINE_ENDS | TM_INSIDE_PRE, "<pre>  a  \r\n  b</pre>",
         "<pre>  a\r\nb</pre>"},
        {"script inside PRE", TM_TRIM_LINE_ENDS, "<pre> <script> a </script> </pre> \n",
         "<pre> <script>a</script> </pre>\n"},
        // collapse
        {"tab and spaces", TM_COLLAPSE_SPACES, "a  \t b", "a b"},
        {"full-width blank counts", TM_COLLAPSE_SPACES | kZen, "a \x81\x40 b", "a b"},
        {"full-width blank ordinary", TM_COLLAPSE_SPACES, "a \x81\x40 b", kSame},
        {"line breaks as blanks", TM_COLLAPSE_SPACES | TM_CR_REG_AS_WSP, "a\r\n  b", "a b"},
        {"line breaks kept", TM_COLLAPSE_SPACES, "a\r\n  b", "a\r\n b"},
        {"less-than sign", TM_COLLAPSE_SPACES, "a < b", kSame},
        {"PRE and preview", TM_COLLAPSE_SPACES, "<PRE>a  b</PRE>  <preview>  x  </preview>y  z",
         "<PRE>a  b</PRE> <preview>  x  </preview>y z"},
        {"script block kept", TM_COLLAPSE_SPACES, "x  <script type=\"text/x-t\">a   b</script>  y",
         "x <script type=\"text/x-t\">a   b</script> y"},
        // blank lines
        {"delete", TM_BLANK_LINES_DELETE, "A\r\n\r\n  \r\n\r\nB", "A\r\nB"},
        {"merge", TM_BLANK_LINES_MERGE, "A\r\n\r\n  \r\n\r\nB", "A\r\n\r\nB"},
        {"both bits merge", TM_BLANK_LINES_DELETE | TM_BLANK_LINES_MERGE, "A\r\n\r\n\r\nB",
         "A\r\n\r\nB"},
        {"off with breaks as blanks", TM_BLANK_LINES_DELETE | TM_CR_REG_AS_WSP, "A\r\n\r\nB",
         kSame},
        {"leading blank lines deleted", TM_BLANK_LINES_DELETE, "\r\n\r\nX", "X"},
        {"text after last break is no line", TM_BLANK_LINES_DELETE, "A\r\n  ", kSame},
        {"only the convention counts", TM_BLANK_LINES_DELETE, "a\r\n\n\nb", kSame},
        {"full-width blank line deleted", TM_BLANK_LINES_DELETE | kZen, "a\n\x81\x40\nb", "a\nb"},
        {"PRE blank lines kept", TM_BLANK_LINES_DELETE, "<pre>a\n\n</pre>\n\nb",
         "<pre>a\n\n</pre>\nb"},
        // ends of the text
        {"space left by collapse", TM_COLLAPSE_SPACES | TM_CR_REG_AS_WSP | TM_TRIM_LINE_ENDS,
         "a\r\n", "a"},
        {"full-width blanks at both ends", TM_TRIM_LINE_ENDS | kZen, "\x81\x40 a\x81\x40", "a"},
        // between tags
        {"line break stops the run", TM_BETWEEN_TAGS, "<td>  \r\n  <b>", kSame},
        {"line breaks as blanks between tags", TM_BETWEEN_TAGS | TM_CR_REG_AS_WSP,
         "<td>  \r\n  <b>", "<td><b>"},
        {"text between stays", TM_BETWEEN_TAGS, "<p> x </p> <div>", "<p> x </p><div>"},
    };
    ExpectHtml(cases);
}

// Pass 7 leaves what a browser shows as it was.
TEST(HtmlBetweenTagsPageSafety, Table) {
    constexpr TrimMode kTags = TM_BETWEEN_TAGS;
    constexpr TrimMode kAll = TM_BETWEEN_TAGS | TM_BETWEEN_INLINE_TAGS;
    constexpr TrimMode kBreaks = TM_BETWEEN_TAGS | TM_CR_REG_AS_WSP;
    const Case cases[] = {
        // PRE blocks
        {"highlighted listing", kDefault,
         "<pre>dpkg-<span>divert</span> <span>--package</span></pre>", kSame},
        {"after the start tag", kTags, "<pre> <b>x</b></pre>", kSame},
        {"PRE trimmed when asked", kTags | TM_INSIDE_PRE, "<pre> <div>x</div> </pre>",
         "<pre><div>x</div></pre>"},
        {"around the block", kTags, "<div> <pre> <p>x</pre> <p>", "<div><pre> <p>x</pre><p>"},
        {"unterminated PRE", kTags, "<pre> <p>x</p>  <p>", kSame},
        {"script inside PRE", kTags, "<pre> <script>a</script> <p></pre> <p>",
         "<pre> <script>a</script> <p></pre><p>"},
        // SCRIPT blocks
        {"tags in a script string", kTags, "<script>s = \"<b> <i>\";</script>", kSame},
        {"template kept, run after it goes", kTags,
         "<script type=\"text/template\"> <p> <b> </p> </script> <p>",
         "<script type=\"text/template\"> <p> <b> </p> </script><p>"},
        {"line breaks in a script", kBreaks, "<script>\r\n<!--\r\nf()\r\n-->\r\n</script>\r\n<p>",
         "<script><!--\r\nf()\r\n--></script><p>"},
        // inline elements
        {"two spans, bit 18", kAll, "<span>Akkana</span> <span>Peck</span>",
         "<span>Akkana</span><span>Peck</span>"},
        {"default mode", kDefault, "<p><span>set</span> <span>-e</span></p>", kSame},
        {"letter case ignored", kTags, "<B>a</B>\t<CODE>b</CODE>", kSame},
        {"line break, bit 18", kBreaks | TM_BETWEEN_INLINE_TAGS, "<a href=x>a</a>\r\n  <img src=y>",
         "<a href=x>a</a><img src=y>"},
        {"self-closing images", kTags, "<img src=a/> <img src=b />", kSame},
        {"full-width blank, bit 18", kAll | TM_ZENKAKU_AS_WSP, "<b>a</b>\x81\x40<i>b</i>",
         "<b>a</b><i>b</i>"},
        // block and other neighbours
        {"block before inline", kTags, "<p>a</p> <span>b</span>", "<p>a</p><span>b</span>"},
        {"table cells", kTags, "<tr>  <td>a</td>  <td>", "<tr><td>a</td><td>"},
        {"br", kTags, "<b>a</b> <br> <i>b</i>", "<b>a</b><br><i>b</i>"},
        {"comment", kTags, "<b>a</b> <!-- c --> <div>", "<b>a</b><!-- c --><div>"},
        {"unknown and longer names", kTags, "<x-a> <b> <spanx> <i>", kSame},
        {"names sharing a first letter", kTags, "<SVG> <Var> <video> <section> <small> <sub2> <q>",
         "<SVG> <Var> <video><section><small> <sub2> <q>"},
        {"doctype", kTags, "<!DOCTYPE html> <html> <?xml?> <b>", "<!DOCTYPE html><html><?xml?><b>"},
        // no tag on one side
        {"less-than sign of text", kTags, "<b>a</b> < 3", kSame},
        {"greater-than sign of text", kTags, "a > <p>", kSame},
        // attribute values
        {"'>' in a value ends no tag", kTags, "<a title=\"x> <p\">y</a>", kSame},
        {"blanks around =", kTags, "<p title = \"> <p\"> <p>", "<p title = \"> <p\"><p>"},
        {"quote in an unquoted value", kTags, "<p class=it's> <div>'", "<p class=it's><div>'"},
    };
    ExpectHtml(cases);
}

// Passes 3 to 5 copy the inside of a quoted attribute value unchanged.
TEST(HtmlAttributeValues, Table) {
    const Case cases[] = {
        {"doubled blanks", kDefault, "<meta content=\"MsgBox  a\">\r\n<p title='x  y'>a  b</p>",
         "<meta content=\"MsgBox  a\">\r\n<p title='x  y'>a b</p>"},
        {"line ends in a value", TM_TRIM_LINE_ENDS, "<img alt=\"a  \r\n   b\">  \r\n  x",
         "<img alt=\"a  \r\n   b\">\r\nx"},
        {"blank lines in a value", TM_BLANK_LINES_DELETE, "<p title=\"a\r\n\r\n\r\nb\">\r\n\r\nx",
         "<p title=\"a\r\n\r\n\r\nb\">\r\nx"},
        {"blanks around =", TM_COLLAPSE_SPACES, "<a title  =  \"a  b\">", "<a title = \"a  b\">"},
        {"quote in an unquoted value", TM_COLLAPSE_SPACES, "<p class=it's>a  b</p>  '",
         "<p class=it's>a b</p> '"},
        {"comments hold no values", TM_COLLAPSE_SPACES, "<!-- a=\"  -->  x  \"",
         "<!-- a=\" --> x \""},
        {"<script> in a value", TM_COLLAPSE_SPACES, "<a title='<script>'>a  b</a>",
         "<a title='<script>'>a b</a>"},
        {"<pre> in a value", TM_COLLAPSE_SPACES, "<a title=\"<pre>\">a  b</a>",
         "<a title=\"<pre>\">a b</a>"},
        {"value after a SCRIPT block", TM_COLLAPSE_SPACES,
         "<script>a  =  '\"'</script>  <p title=\"a  b\">  x",
         "<script>a='\"'</script> <p title=\"a  b\"> x"},
        {"unterminated value", TM_COLLAPSE_SPACES, "<a title=\"a  b>  c", kSame},
        // The passes write over the text they read: what they learn of a tag or a value
        // must be read before a deletion ahead of it moves the text.
        {"STYLE tag with blanks inside", kDefault,
         "<style   media=\"x\">a{content:\"  b  \"}</style>",
         "<style media=\"x\">a{content:\"  b  \"}</style>"},
        {"value in the last tag, after a deletion", kDefault, "<p>  a  </p>\r\n\r\n<b c=\"d  e\">",
         "<p> a </p>\r\n<b c=\"d  e\">"},
        // Whether the '\\' before the deleted comment is a character of its own is told by
        // the lead bytes before it, which the copy of the code moves.
        {"script code after a deleted comment", TM_HTML_COMMENT_DEL,
         "<!--x--><script>a\x81\x81\x81\x81\x81\x81\x81\x81\x81\x81\x5C<!-- y -->b</script>",
         "<script>a\x81\x81\x81\x81\x81\x81\x81\x81\x81\x81\x5C"
         "b</script>"},
    };
    ExpectHtml(cases);
}

// Whether a quote opens a value depends on the blanks before it, which a pass may delete or
// collapse before it reaches the quote: a full-width blank there is no blank to a browser.
TEST(HtmlAttributeValues, QuoteAfterAFullWidthBlankThePassesTrim) {
    constexpr TrimMode kLines = TM_TRIM_LINE_ENDS | TM_ZENKAKU_AS_WSP;
    constexpr TrimMode kBlanks = TM_COLLAPSE_SPACES | TM_ZENKAKU_AS_WSP;
    const Case cp932[] = {
        {"line end", kLines, "<a=\x81\x40\r\n \" \r", "<a=\r\n\"\r"},
    };
    ExpectHtml(cp932);
    const Case utf8[] = {
        {"collapsed", kBlanks, "<a=\xE3\x80\x80\n  \"  ", "<a= \n \" "},
        {"line end", kLines | TM_COLLAPSE_SPACES, "<a b=\xE3\x80\x80\n\r\n \"x  y\">",
         "<a b=\n\r\n\"x y\">"},
        {"a later value", kBlanks, "<b c=\xE3\x80\x80\n  \"x>text  text<i title=\"a  b\">",
         "<b c= \n \"x>text text<i title=\"a  b\">"},
    };
    ExpectHtml(utf8, Charset::Utf8);
}

TEST(HtmlUnterminated, RunsToTheEnd) {
    const Case cases[] = {
        {"script tag", kDefault, "<p>x</p>\r\n<script type=\"text/java", kSame},
        {"script body", kDefault, "<script>a = 1;  /* x", "<script>a=1;"},
        {"PRE", TM_COLLAPSE_SPACES, "<pre>a  b", kSame},
    };
    ExpectHtml(cases);
}

TEST(HtmlOutput, ReplacesAndMayAliasInput) {
    std::string text = "a   b";
    EXPECT_RESULT(TrimHtmlText(text, text, TM_COLLAPSE_SPACES), RESULT_OK);
    EXPECT_EQ(text, "a b");
}

}  // namespace
}  // namespace trimlet::test
