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
        {"type text/vbscript", kDefault, "<script type='text/vbscript'>x = 1 ' c\r\n</script>",
         "<script type='text/vbscript'>x=1\r\n</script>"},
        {"first attribute decides", kDefault,
         "<script type=\"text/javascript\" language=\"vbscript\">x = 1 ' c\r\n</script>",
         "<script type=\"text/javascript\" language=\"vbscript\">x=1 ' c\r\n</script>"},
        {"blanks around =", kDefault, "<script\r\n language = ' vbs'>x = 1 ' c</script>",
         "<script\r\n language = ' vbs'>x=1</script>"},
        {"longer name is another attribute", kDefault, "<script languagex=vbs>x = 1 ' c</script>",
         "<script languagex=vbs>x=1 ' c</script>"},
        {"module", kDefault, "<script type=\"module\">\r\n  a  =  b;  // x\r\n</script>",
         "<script type=\"module\">a=b;\r\n</script>"},
        // not a script language
        {"template", kDefault, "<script type=\"text/template\">\r\n  a  =  b;  // x\r\n</script>",
         "<script type=\"text/template\">\r\n  a  =  b;  // x\r\n</script>"},
        {"JSON-LD", kDefault, "<script type=application/ld+json>{ \"a\" :  \"b\" }</script>",
         "<script type=application/ld+json>{ \"a\" :  \"b\" }</script>"},
        {"type after language", kDefault,
         "<script language=\"javascript\" type=\"text/x-handlebars\">{{ a }}  // b</script>",
         "<script language=\"javascript\" type=\"text/x-handlebars\">{{ a }}  // b</script>"},
        {"encoded script", kDefault, "<script language=\"JScript.Encode\">#@~^  a  //x</script>",
         "<script language=\"JScript.Encode\">#@~^  a  //x</script>"},
        {"data ends at first </script", kDefault,
         "<script type=\"text/html\">\"</script>\"  x  </script>",
         "<script type=\"text/html\">\"</script>\" x </script>"},
        {"script string hides </script", kDefault, "<script>\"</script>\"  x  </script>",
         "<script>\"</script>\" x</script>"},
        // extent
        {"line comment ends at </script", kDefault, "<script>f(); // done</script><p>a  b</p>",
         "<script>f();</script><p>a b</p>"},
        {"closing tag with blank", kDefault, "<script>a = 1</script >  <p>",
         "<script>a=1</script ><p>"},
        {"scripts in comments untouched", TM_COLLAPSE_SPACES, "<!-- <script> a  = 1 </script> -->",
         "<!-- <script> a  = 1 </script> -->"},
        {"VBScript string with backslash", kDefault,
         "<script language=vbscript>x = \"C:\\\"</script><p>don't  stop</p>",
         "<script language=vbscript>x=\"C:\\\"</script><p>don't stop</p>"},
        {"trail byte r is no REM", kDefault,
         "<script language=vbscript>x = \x83\x72"
         "em 1</script><p>don't  x</p>",
         "<script language=vbscript>x=\x83\x72"
         "em 1</script><p>don't x</p>"},
    };
    ExpectHtml(cases);
}

}  // namespace
}  // namespace trimlet::test
