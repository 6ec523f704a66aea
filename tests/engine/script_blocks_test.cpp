// Pass 2 of TrimHtmlText: SCRIPT blocks, their language, body and closing marker.

#include "engine_cases.h"

namespace trimlet::test {
namespace {

TEST(ScriptBlocks, Table) {
    const Case cases[] = {
        // hidden-script markers
        {"marker example", kDefault, "<script>\r\n  <!--  \r\n  f( a );\r\n  //  -->\r\n</script>",
         "<script><!--\r\nf(a);\r\n//--></script>"},
        {"marker without //", kDefault, "<script>\r\n<!--\r\nf();\r\n-->\r\n</script>",
         "<script><!--\r\nf();\r\n--></script>"},
        {"text after <!--", kDefault, "<script><!-- hide\r\nf( );\r\n// -->\r\n</script>",
         "<script><!--hide\r\nf();\r\n//--></script>"},
        {"--> inside a line comment stays in it", kDefault,
         "<script>\r\n<!--\r\nf(); // end -->\r\n</script>", "<script><!--\r\nf();\r\n</script>"},
        // language
        {"language VBScript", kDefault, "<script language=\"VBScript\">x = 1 ' c\r\n</script>",
         "<script language=\"VBScript\">x=1\r\n</script>"},
        {"blanks around =", kDefault, "<script\r\n language = ' vbs'>x = 1 ' c</script>",
         "<script\r\n language = ' vbs'>x=1</script>"},
        {"longer name is another attribute", kDefault, "<script languagex=vbs>x = 1 ' c</script>",
         "<script languagex=vbs>x=1 ' c</script>"},
        {"a quote running past the block reads the language from what pass 1 leaves", kDefault,
         "<body><script a'>x = 1 ;  // c\r\n y  =  2</script>\r\n<p>a</p>\r\n"
         "<!-- x ' language=vbscript -->\r\n<p> a </p>",
         "<body><script a'>x=1;//c\r\ny=2</script>\r\n<p>a</p>\r\n<p> a </p>"},
        // not a script language
        {"template", kDefault, "<script type=\"text/template\">\r\n  a  =  b;  // x\r\n</script>",
         kSame},
        {"data ends at first </script", kDefault,
         "<script type=\"text/html\">\"</script>\"  x  </script>",
         "<script type=\"text/html\">\"</script>\" x </script>"},
        {"script string does not hide </script", kDefault, "<script>\"</script>\"  x  </script>",
         "<script>\"</script>\" x </script>"},
        // extent
        {"line comment ends at </script", kDefault, "<script>f(); // done</script><p>a  b</p>",
         "<script>f();</script><p>a b</p>"},
        {"closing tag with blank", kDefault, "<script>a = 1</script >  <p>",
         "<script>a=1</script ><p>"},
        {"scripts in comments untouched", TM_COLLAPSE_SPACES, "<!-- <script> a  = 1 </script> -->",
         kSame},
    };
    ExpectHtml(cases);
}

// A SCRIPT element ends at its first end tag, as a browser ends it: nothing the script
// leaves open reaches past it.
TEST(ScriptElementEnd, Table) {
    constexpr TrimMode kNoScriptMarkers = kDefault & ~TM_KEEP_SCRIPT_HTML_COMMENT;
    const Case cases[] = {
        // left open by the script
        {"block comment", kDefault, "<script>/* x</script><p>keep</p>",
         "<script></script><p>keep</p>"},
        {"block comment, markers removed", kNoScriptMarkers, "<script>/* x</script><p>keep</p>",
         "<script></script><p>keep</p>"},
        {"string", kDefault, "<script>s = \"a</script><p>keep  it</p>",
         "<script>s=\"a</script><p>keep it</p>"},
        {"template", kDefault, "<script>s = `a</script><p>keep  it</p>",
         "<script>s=`a</script><p>keep it</p>"},
        {"regular expression", kDefault, "<script>r = /a</script><p>keep  it</p>",
         "<script>r=/a</script><p>keep it</p>"},
        {"VBScript string", kDefault, "<script language=vbs>s = \"a</script><p>keep  it</p>",
         "<script language=vbs>s=\"a</script><p>keep it</p>"},
        {"inside HTML comment markers", kNoScriptMarkers, "<script><!-- /* x</script><p>a</p>",
         "<script></script><p>a</p>"},
        // what a browser takes for the end tag
        {"script written inside <!--", kDefault,
         "<script><!--\r\nw(\"<script>f( )</script>\");\r\n//--></script><p>a  b</p>",
         "<script><!--\r\nw(\"<script>f( )</script>\");\r\n//--></script><p>a b</p>"},
    };
    ExpectHtml(cases);
}

// Only "<script" and "</script" followed by a blank, '/', '>' or the end are SCRIPT tags;
// PRE tags may also go on with a letter, so "<preview>" stays a PRE block.
TEST(ScriptAndPreTagNames, Table) {
    const Case cases[] = {
        {"custom element", kDefault,
         "<script-banner><p>Visit http://example.com/docs today</p></script-banner>", kSame},
        {"longer name", kDefault, "<scripts>a  // b</scripts>", "<scripts>a // b</scripts>"},
        {"HTML comments in a custom element", kDefault, "<body><script-x><!-- c --></script-x>",
         "<body><script-x></script-x>"},
        {"tag without attributes", kDefault, "<script/>a  =  1</script>", "<script/>a=1</script>"},
        {"tag split over lines", kDefault, "<script\r\ntype=module>a  =  1</script>",
         "<script\r\ntype=module>a=1</script>"},
        {"at the end of the text", kDefault, "<p>a  b</p><script", "<p>a b</p><script"},
        // PRE
        {"custom PRE element", TM_COLLAPSE_SPACES, "<pre-x>  a  </pre-x>  b",
         "<pre-x> a </pre-x> b"},
        {"digit after the name", TM_COLLAPSE_SPACES, "<pre1> c  d</pre1>", "<pre1> c d</pre1>"},
        {"custom end tag inside PRE", TM_COLLAPSE_SPACES,
         "<pre>  a  <pre-x>  </pre-x>  b  </pre>  c", "<pre>  a  <pre-x>  </pre-x>  b  </pre> c"},
        {"blank lines inside PRE", TM_BLANK_LINES_DELETE, "<pre>\n\n</pre_x>\n\n</pre>\n\nb",
         "<pre>\n\n</pre_x>\n\n</pre>\nb"},
        {"tag over lines", TM_TRIM_LINE_ENDS, "<pre\r\nclass=a>  x  \r\n</pre\r\n>  y  ",
         "<pre\r\nclass=a>  x  \r\n</pre\r\n>  y"},
    };
    ExpectHtml(cases);
}

}  // namespace
}  // namespace trimlet::test
