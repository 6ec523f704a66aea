// Pass 1 of TrimHtmlText: HTML comments and their exceptions.

#include "engine_cases.h"

namespace trimlet::test {
namespace {

constexpr TrimMode kComments = TM_HTML_COMMENT_DEL;  // script HTML comments not protected

TEST(HtmlComments, Table) {
    const Case cases[] = {
        // exceptions
        {"default mode", kDefault,
         "<i><!-- a --><body><!-- b -->x<!--#i--><!-- Dovetag --></body><!-- c -->",
         "<i><!-- a --><body>x<!--#i--><!-- Dovetag --></body><!-- c -->"},
        {"outside BODY too", kDefault & ~TM_BODY_COMMENTS_ONLY,
         "<i><!-- a --><body><!-- b -->x<!--#i--><!-- Dovetag --></body><!-- c -->",
         "<i><body>x<!--#i--><!-- Dovetag --></body>"},
        {"BODY with attributes", kDefault, "<Body bgcolor=white><!--x-->y",
         "<Body bgcolor=white>y"},
        {"SSI after blanks", kDefault, "<body><!-- #exec cmd=x-->", kSame},
        {"marker spellings", kDefault, "<body><!--DOVETAG--><!--dovetag --><!-- Dovetag text -->",
         "<body><!--DOVETAG--><!--dovetag -->"},
        {"no exceptions", kComments, "<!--#x--><!-- Dovetag -->y", "y"},
        // extent
        {"<!--> closes at once", kDefault, "<body><!-->a-->b", "<body>a-->b"},
        {"unterminated deleted", kDefault, "<body>a<!--x", "<body>a"},
        {"unterminated kept outside BODY", kDefault, "a<!--x", kSame},
        {"in attribute value", kComments, "<a title=\"<!--x-->\">", kSame},
        // SCRIPT blocks
        {"script comment removed", kComments, "<script>\r\n<!--\r\nf();\r\n//-->\r\n</script>",
         "<script>\r\n</script>"},
        {"code after -->", kComments, "<script>a=1;<!-- b=2; -->c=3;</script>",
         "<script>a=1;c=3;</script>"},
        {"marker in a string", kComments, "<script>s=\"<!--\";t=1;</script>", kSame},
        {"-->-less comment runs to </script>", kComments, "<script>a<!--b//-->\r\nc</script>d",
         "<script>a</script>d"},
        {"VBScript comment line", kComments, "<script language=vbs>' <!--\r\nx=1</script>", kSame},
        {"protected", kComments | TM_KEEP_SCRIPT_HTML_COMMENT, "<script>a<!--b--></script>", kSame},
        {"not a script type", kComments, "<script type=text/html><!--b--></script>", kSame},
    };
    ExpectHtml(cases);
}

}  // namespace
}  // namespace trimlet::test
