// What a browser shows, a form submits or a server runs stays as it was: text elements,
// block ends, inline neighbours, server code and comments in context. Every row runs in
// CP932 and in UTF-8.

#include "engine_cases.h"

namespace trimlet::test {
namespace {

TEST(PageSafetyTextElements, Table) {
    const Case cases[] = {
        // copied as written
        {"textarea keeps its value", kDefault,
         "<textarea>\n\n  表ソ\n\n\n    indented   two  spaces\n</textarea>", kSame},
        {"comment in a textarea is text", kDefault,
         "<body><textarea>\n  <!-- keep ソ -->\n</textarea>", kSame},
        {"comment in a title is text", kDefault, "<body><title>a <!-- ポ --> c</title>", kSame},
        {"xmp", kDefault, "<xmp>  <b>ソ</b>\n\n  x  </xmp>", kSame},
        {"end tag in capitals", kDefault, "<TEXTAREA>  a  b</TEXTAREA>  c  d",
         "<TEXTAREA>  a  b</TEXTAREA> c d"},
        {"listing", kDefault, "<LISTING>  a\n\n  表</LISTING>", kSame},
        {"plaintext runs to the end", kDefault, "<plaintext>  a\n\n  b</plaintext>  ソ", kSame},
        {"script in a textarea is text", kDefault,
         "<textarea><script> a = 1;  // ソ\n</script></textarea>", kSame},
        {"text after the element", kDefault, "<textarea> a  b </textarea>  表  ソ",
         "<textarea> a  b </textarea> 表 ソ"},
        {"custom name is no textarea", kDefault, "<textarea-x>  a  b</textarea-x>",
         "<textarea-x> a b</textarea-x>"},
        {"trimmed alike when asked", kDefault | TM_INSIDE_PRE,
         "<textarea>\n  a  ソ\n</textarea><xmp>  b  </xmp>",
         "<textarea>\na ソ\n</textarea><xmp> b </xmp>"},
        // block ends
        {"</pre in a comment", kDefault,
         "<pre>\n<!-- old: </pre> -->\nint  main()  {\n    return 0;\n}\n</pre>", kSame},
        {"deleted comment in a PRE", kDefault,
         "<body><pre>\n<!-- old: </pre> -->\nint  表()  {\n    return 0;\n}\n</pre>",
         "<body><pre>\n\nint  表()  {\n    return 0;\n}\n</pre>"},
        {"</pre in a quoted value", kDefault, "<pre><a title=\"</pre>\">ソ</a>  a  b</pre>  c  d",
         "<pre><a title=\"</pre>\">ソ</a>  a  b</pre> c d"},
        {"PRE inside a PRE", kDefault, "<pre><pre>a</pre>  b  ソ</pre>  d  e",
         "<pre><pre>a</pre>  b  ソ</pre> d e"},
        {"</pre in a textarea in a PRE", kDefault, "<pre><textarea></pre></textarea>  a  b</pre>",
         kSame},
        {"PRE after a PRE", kDefault, "<pre> a  b</pre>  x  <pre> c  d</pre>",
         "<pre> a  b</pre> x <pre> c  d</pre>"},
    };
    ExpectHtmlInBoth(cases);
}

TEST(PageSafetyServerCode, Table) {
    const Case cases[] = {
        {"comment markers in server code", kDefault,
         "<body><% If debug Then Response.Write \"<!--\" %>\n<p>shown unless ソ</p>\n"
         "<% If debug Then Response.Write \"-->\" %>",
         kSame},
        {"blanks in strings, line ends", kDefault | TM_CR_REG_AS_WSP,
         "<% x = \"a  表\"\n   y = 1 %>\n<p>", "<% x = \"a  表\"\n   y = 1 %><p>"},
        {"PHP", kDefault, "<?php echo \"a  ソ\";\n    // note\n?>", kSame},
        {"PHP left open", kDefault, "<?php\n  echo  1;\n  <!-- x -->", kSame},
        {"in a script", kDefault, "<script>\n  var a = <?= $x ?>;  // ソ\n</script>", kSame},
        {"in a script, comments deleted", TM_HTML_COMMENT_DEL,
         "<script>var a = '<%= x %>'; <!-- y --></script>", kSame},
        {"in a quoted value", kDefault, "<p title=\"<%= t  %>\">a  ソ</p>",
         "<p title=\"<%= t  %>\">a ソ</p>"},
        {"inside a tag", TM_COLLAPSE_SPACES,
         "<input <% if  x %>checked<% end %>  value='a  表'>  b",
         "<input <% if  x %>checked<% end %> value='a  表'> b"},
        {"the rest trims", kDefault, "<%@ Page %>  \n\n  <p>  ソ  </p>",
         "<%@ Page %>\n<p> ソ </p>"},
    };
    ExpectHtmlInBoth(cases);
}

TEST(PageSafetyCommentsInContext, Table) {
    const Case cases[] = {
        {"in a STYLE element", kDefault, "<body><style><!--\n p { color: red }\n--></style>",
         "<body><style><!--\np { color: red }\n--></style>"},
        {"in a quoted value", kDefault, "<body><p title=\"x <!-- ソ --> z\">", kSame},
        {"forms a reference", kDefault, "<body>&am<!-- x -->p;", kSame},
        {"forms a numeric reference", kDefault, "<body>表&<!-- x -->#38;", kSame},
        {"forms a tag", kDefault, "<body>a<<!-- y -->div>", kSame},
        {"forms an end tag", kDefault, "<body>a</<!-- y -->b>", kSame},
        {"forms a comment", kDefault, "<body><!<!-- x -->-- ソ -->", kSame},
        {"the second of two forms a tag", kDefault, "<body><<!--a--><!--b-->div>",
         "<body><<!--b-->div>"},
        {"reference already whole", kDefault, "<body>&amp;<!-- x --> ソ", "<body>&amp; ソ"},
        {"text then a tag", kDefault, "<body>a <!-- x --><b>ソ</b>", "<body>a <b>ソ</b>"},
        {"< and a blank", kDefault, "<body>a <<!-- x --> b", "<body>a < b"},
        // where a comment ends, as a browser ends it
        {"<!--> is a whole comment", kDefault, "<body><p>a<!-->ソ<!--->表</p>",
         "<body><p>aソ表</p>"},
        {"--!> ends a comment", kDefault, "<body>a<!-- x --!>ソ<!-- y -->b", "<body>aソb"},
        {"--> after a dash", kDefault, "<body>a<!-- x --->表", "<body>a表"},
    };
    ExpectHtmlInBoth(cases);
}

TEST(PageSafetyInlineNeighbours, Table) {
    constexpr TrimMode kBit18 = kDefault | TM_BETWEEN_INLINE_TAGS;
    const Case cases[] = {
        {"script between", kDefault, "<b>Hello</b> <script>f();</script> <b>ソ</b>", kSame},
        {"custom element", kDefault, "<b>a</b> <my-el>表</my-el>", kSame},
        {"SSI between", kDefault, "<body><b>a</b> <!--#include virtual=\"x\" --> <b>ソ</b>", kSame},
        {"nobr", kDefault, "<b>a</b> <nobr>ソ</nobr>", kSame},
        {"server code after text", kDefault, "Hello <?= $name ?> <b>ソ</b>", kSame},
        {"svg text", kDefault, "<tspan>x</tspan> <tspan>表</tspan>", kSame},
        {"style between", kDefault, "<b>a</b> <style>p{}</style> <i>ソ</i>", kSame},
        {"kept comment and script between", kDefault,
         "<i>a</i> <!-- x --> <script></script> <i>ソ</i>", kSame},
        {"textarea is inline", kDefault, "<b>a</b> <textarea>x</textarea> <b>ソ</b>", kSame},
        {"blocks around a script", kDefault, "<div>a</div> <script></script> <div>ソ</div>",
         "<div>a</div><script></script><div>ソ</div>"},
        {"block on one side", kDefault, "<b>a</b> <!-- x --> <script></script> <p>ソ</p>",
         "<b>a</b><!-- x --><script></script><p>ソ</p>"},
        {"at the start", kDefault, "<!-- x --> <b>ソ</b>", "<!-- x --><b>ソ</b>"},
        {"at the end", TM_BETWEEN_TAGS, "<b>ソ</b> <!-- x --> ", "<b>ソ</b><!-- x --> "},
        {"SVG text preserved", kDefault,
         "<text xml:space=\"preserve\"> a  <tspan>ソ</tspan>  <text>b</text>\n  c </text>  d  e",
         "<text xml:space=\"preserve\"> a  <tspan>ソ</tspan>  <text>b</text>\n  c </text> d e"},
        {"tspan preserved", kDefault, "<tspan XML:SPACE = 'Preserve'>  表  </tspan>", kSame},
        {"SVG text not preserved", kDefault, "<text xml:space=\"default\">  a  ソ</text>",
         "<text xml:space=\"default\"> a ソ</text>"},
        {"bit 18 deletes them", kBit18, "<b>Hello</b> <script>f();</script> <b>ソ</b>",
         "<b>Hello</b><script>f();</script><b>ソ</b>"},
    };
    ExpectHtmlInBoth(cases);
}

TEST(PageSafetyCssStrings, Table) {
    constexpr TrimMode kCr = kDefault | TM_CR_REG_AS_WSP | TM_ZENKAKU_AS_WSP;
    const Case cases[] = {
        {"blanks in a string", kDefault,
         "<style>\np::before { content: \"  two  spaces  \"; }\n  q { color:  red }\n</style>",
         "<style>\np::before { content: \"  two  spaces  \"; }\nq { color: red }\n</style>"},
        {"continued string", kCr, "<style>p { content: \"one \\\n  line\" }\n</style>",
         "<style>p { content: \"one \\\n  line\" } </style>"},
        {"full-width blanks in a string", kCr, "<style>p { content: '表　　ソ' }</style>", kSame},
        {"apostrophe in a comment", kDefault,
         "<style>/* it's */ p {  a: b }  q { c: 'x  y' }</style>",
         "<style>/* it's */ p { a: b } q { c: 'x  y' }</style>"},
        {"trail byte before the quote", kDefault, "<style>p { content: \"表\" }  q {  }</style>",
         "<style>p { content: \"表\" } q { }</style>"},
        {"string left open at a line end", kDefault, "<style>p { a: \"x  y\n  b:  c }</style>",
         "<style>p { a: \"x  y\n b: c }</style>"},
        {"quotes outside a style sheet", kDefault, "<p>\"a  ソ\"</p>  <style></style>  \"b  c\"",
         "<p>\"a ソ\"</p><style></style> \"b c\""},
    };
    ExpectHtmlInBoth(cases);
}

// A few characters the trail-byte rules must read as one character in both charsets.
TEST(PageSafetyCharsetInvariant, Table) {
    const Case cases[] = {
        {"marker between names", TM_HTML_COMMENT_DEL, "<script>ソ-->ビ", "<script>ソ ビ"},
        {"marker after a name", TM_HTML_COMMENT_DEL, "<script>a=ソ<!--x-->ビ</script>",
         "<script>a=ソ ビ</script>"},
        {"marker after an operator", TM_HTML_COMMENT_DEL, "<script>a=表+<!--x-->ソ</script>",
         "<script>a=表+ソ</script>"},
    };
    ExpectHtmlInBoth(cases);
}

}  // namespace
}  // namespace trimlet::test
