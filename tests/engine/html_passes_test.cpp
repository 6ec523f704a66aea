// Passes 3 to 7 of TrimHtmlText: line ends, collapse, blank lines, text ends, between tags.

#include "engine_cases.h"

namespace trimlet::test {
namespace {

constexpr TrimMode kZen = TM_ZENKAKU_AS_WSP;

TEST(HtmlLineEnds, Table) {
    const Case cases[] = {
        // basic
        {"both ends of every line", TM_TRIM_LINE_ENDS, "  x  \r\n  y  ", "x\r\ny"},
        {"interior runs stay", TM_TRIM_LINE_ENDS, "a  b \t\n", "a  b\n"},
        {"full-width blank line", TM_TRIM_LINE_ENDS | kZen, "a\n\x81\x40\n  b", "a\n\nb"},
        {"full-width blank at line end", TM_TRIM_LINE_ENDS | kZen, "a\x81\x40\n  b", "a\nb"},
        {"same with CR LF", TM_TRIM_LINE_ENDS | kZen, "a\x81\x40\r\n  b", "a\r\nb"},
        {"full-width blank not a blank", TM_TRIM_LINE_ENDS, "a\x81\x40\n  b", "a\x81\x40\nb"},
        {"trail byte 0x81 before 0x40", TM_TRIM_LINE_ENDS | kZen, "\x88\x81\x40\n",
         "\x88\x81\x40\n"},
        {"lone CR ends a line here", TM_TRIM_LINE_ENDS, "a\n \r \nb", "a\n\r\nb"},
        // PRE
        {"PRE kept", TM_TRIM_LINE_ENDS, "<pre>  a  \r\n  b</pre>  \r\n",
         "<pre>  a  \r\n  b</pre>\r\n"},
        {"PRE trimmed when asked", TM_TRIM_LINE_ENDS | TM_INSIDE_PRE, "<pre>  a  \r\n  b</pre>",
         "<pre>  a\r\nb</pre>"},
        {"script inside PRE", TM_TRIM_LINE_ENDS, "<pre> <script> a </script> </pre> \n",
         "<pre> <script>a</script> </pre>\n"},
    };
    ExpectHtml(cases);
}

TEST(HtmlCollapse, Table) {
    const Case cases[] = {
        {"tab and spaces", TM_COLLAPSE_SPACES, "a  \t b", "a b"},
        {"full-width blank counts", TM_COLLAPSE_SPACES | kZen, "a \x81\x40 b", "a b"},
        {"full-width blank ordinary", TM_COLLAPSE_SPACES, "a \x81\x40 b", "a \x81\x40 b"},
        {"line breaks as blanks", TM_COLLAPSE_SPACES | TM_CR_REG_AS_WSP, "a\r\n  b", "a b"},
        {"line breaks kept", TM_COLLAPSE_SPACES, "a\r\n  b", "a\r\n b"},
        {"less-than sign", TM_COLLAPSE_SPACES, "a < b", "a < b"},
        {"PRE and preview", TM_COLLAPSE_SPACES, "<PRE>a  b</PRE>  <preview>  x  </preview>y  z",
         "<PRE>a  b</PRE> <preview>  x  </preview>y z"},
        {"script block kept", TM_COLLAPSE_SPACES, "x  <script type=\"text/x-t\">a   b</script>  y",
         "x <script type=\"text/x-t\">a   b</script> y"},
    };
    ExpectHtml(cases);
}

TEST(HtmlBlankLines, Table) {
    const Case cases[] = {
        {"delete", TM_BLANK_LINES_DELETE, "A\r\n\r\n  \r\n\r\nB", "A\r\nB"},
        {"merge", TM_BLANK_LINES_MERGE, "A\r\n\r\n  \r\n\r\nB", "A\r\n\r\nB"},
        {"both bits merge", TM_BLANK_LINES_DELETE | TM_BLANK_LINES_MERGE, "A\r\n\r\n\r\nB",
         "A\r\n\r\nB"},
        {"off with breaks as blanks", TM_BLANK_LINES_DELETE | TM_CR_REG_AS_WSP, "A\r\n\r\nB",
         "A\r\n\r\nB"},
        {"leading blank lines deleted", TM_BLANK_LINES_DELETE, "\r\n\r\nX", "X"},
        {"leading blank lines merged", TM_BLANK_LINES_MERGE, "\r\n\r\nX", "\r\nX"},
        {"text after last break is no line", TM_BLANK_LINES_DELETE, "A\r\n  ", "A\r\n  "},
        {"lone CR is a byte in LF text", TM_BLANK_LINES_DELETE, "a\n \r \n\nb", "a\n \r \nb"},
        {"only the convention counts", TM_BLANK_LINES_DELETE, "a\r\n\n\nb", "a\r\n\n\nb"},
        {"full-width blank line", TM_BLANK_LINES_DELETE | kZen, "a\n\x81\x40\nb", "a\nb"},
        {"PRE kept", TM_BLANK_LINES_DELETE, "<pre>a\n\n</pre>\n\nb", "<pre>a\n\n</pre>\nb"},
    };
    ExpectHtml(cases);
}

TEST(HtmlTextEndsAndBetweenTags, Table) {
    const Case cases[] = {
        // ends of the text
        {"space left by collapse", TM_COLLAPSE_SPACES | TM_CR_REG_AS_WSP | TM_TRIM_LINE_ENDS,
         "a\r\n", "a"},
        {"full-width blanks at both ends", TM_TRIM_LINE_ENDS | kZen, "\x81\x40 a\x81\x40", "a"},
        {"trail 0x81 0x40 is no blank", TM_TRIM_LINE_ENDS | kZen, "a\x88\x81\x40", "a\x88\x81\x40"},
        // between tags
        {"line break stops the run", TM_BETWEEN_TAGS, "<td>  \r\n  <b>", "<td>  \r\n  <b>"},
        {"line breaks as blanks", TM_BETWEEN_TAGS | TM_CR_REG_AS_WSP, "<td>  \r\n  <b>", "<td><b>"},
        {"PRE ignored", TM_BETWEEN_TAGS, "<pre> <b>x</b></pre>", "<pre><b>x</b></pre>"},
        {"text between stays", TM_BETWEEN_TAGS, "<b> x </b> <i>", "<b> x </b><i>"},
    };
    ExpectHtml(cases);
}

TEST(HtmlUnterminated, RunsToTheEnd) {
    const Case cases[] = {
        {"script tag", kDefault, "<p>x</p>\r\n<script type=\"text/java",
         "<p>x</p>\r\n<script type=\"text/java"},
        {"script body", kDefault, "<script>a = 1;  /* x", "<script>a=1;"},
        {"string in script", kDefault, "<script>s = \"a  b", "<script>s=\"a  b"},
        {"PRE", TM_COLLAPSE_SPACES, "<pre>a  b", "<pre>a  b"},
        {"empty text", kDefault, "", ""},
    };
    ExpectHtml(cases);
}

TEST(HtmlDefaultMode, IndentedPage) {
    EXPECT_EQ(Html("<html>\r\n  <body>\r\n    <p>Hello   world</p>\r\n\r\n\r\n    <script>\r\n"
                   "      var a = 1;  // c\r\n      if (a > 0) { f( a ); }\r\n    </script>\r\n"
                   "  </body>\r\n</html>\r\n",
                   kDefault),
              "<html>\r\n<body>\r\n<p>Hello world</p>\r\n<script>var a=1;\r\nif(a>0){f(a);}\r\n"
              "</script>\r\n</body>\r\n</html>\r\n");
}

TEST(HtmlOutput, ReplacesAndMayAliasInput) {
    std::string text = "a   b";
    EXPECT_RESULT(TrimHtmlText(text, text, TM_COLLAPSE_SPACES), RESULT_OK);
    EXPECT_EQ(text, "a b");
}

}  // namespace
}  // namespace trimlet::test
