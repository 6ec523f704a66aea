// Both charsets: the same text in CP932 and in UTF-8 gives the same result, trail bytes
// are never taken for ASCII characters, and malformed text hides no '<'.

#include "engine_cases.h"

namespace trimlet::test {
namespace {

TEST(Charsets, SameResultInBoth) {
    constexpr TrimMode kCr = kDefault | TM_CR_REG_AS_WSP | TM_ZENKAKU_AS_WSP;
    const Case html[] = {
        {"page", kDefault, "<body>\r\n  <p>表　ソ  ポ</p>\r\n\r\n  <!-- チ -->\r\n</body>",
         "<body>\r\n<p>表　ソ ポ</p>\r\n</body>"},
        {"full-width blanks", kDefault | TM_ZENKAKU_AS_WSP, "<p>表　ソ  ポ　</p>　\r\n　<b>",
         "<p>表 ソ ポ </p>\r\n<b>"},
        {"full-width blank between tags", TM_BETWEEN_TAGS | TM_ZENKAKU_AS_WSP, "<p>　 <b>表</b>",
         "<p><b>表</b>"},
        {"script strings", kDefault,
         "<script>\r\n  s = \"表\";  // ソ\r\n  t = 'ポ' + `チ  ${ a }`;\r\n</script>",
         "<script>s=\"表\";\r\nt='ポ'+`チ  ${ a }`;\r\n</script>"},
        {"VBScript", kDefault,
         "<script language=vbscript>\r\nx = \"ソ\" ' 表\r\ny = ビem + 1\r\n</script>",
         "<script language=vbscript>x=\"ソ\"\r\ny=ビem+1\r\n</script>"},
        // SCRIPT elements, tag names, comment deletion, regular expressions
        {"string left open", kDefault, "<script>s = \"表</script><p>ソ  ポ</p>",
         "<script>s=\"表</script><p>ソ ポ</p>"},
        {"custom element", kDefault, "<script-x><p>表 http://ソ  ポ</p></script-x>",
         "<script-x><p>表 http://ソ ポ</p></script-x>"},
        {"no fusion", kDefault, "<script>x = 表 -/**/-ソ + 表/**/ソ;</script>",
         "<script>x=表- -ソ+表 ソ;</script>"},
        {"regex after if", kDefault, "<script>if (表) /チ\"/.test(b); q = \"  ポ  \";</script>",
         "<script>if(表)/チ\"/.test(b);q=\"  ポ  \";</script>"},
        // what a browser shows and what a script does
        {"inline elements", kDefault | TM_ZENKAKU_AS_WSP, "<p>\r\n<b>表</b>　<i>ソ</i>　<br>",
         "<p>\r\n<b>表</b> <i>ソ</i><br>"},
        {"attribute value", kDefault | TM_ZENKAKU_AS_WSP,
         "<meta content=\"表  ソ　　ポ\">　　<p title='\r\n　チ'>",
         "<meta content=\"表  ソ　　ポ\"><p title='\r\n　チ'>"},
        {"highlighted listing", kCr, "<pre><b>表</b>　<i>ソ</i>\r\n</pre>", kSame},
        {"script line breaks", kCr,
         "<script>\r\nx = 表\r\ny = ソreturn\r\n}\r\nビeturn\r\n}\r\nreturn\r\n}\r\n"
         "z = 'ポ'\r\n(チ)　\r\n</script>",
         "<script>x=表\r\ny=ソreturn}\r\nビeturn}\r\nreturn\r\n}\r\nz='ポ'\r\n(チ)</script>"},
    };
    for (Charset cs : {Charset::Cp932, Charset::Utf8}) {
        for (const Case& c : html) {
            SCOPED_TRACE(c.name);
            SCOPED_TRACE(cs == Charset::Cp932 ? "CP932" : "UTF-8");
            EXPECT_EQ(Html(Encode(c.input, cs), c.mode, cs), Encode(Expected(c), cs));
        }
    }
}

TEST(Charsets, TrailBytesPassUnchanged) {
    const std::string text = Encode("表ソポチビem表", Charset::Cp932);
    const std::string page = "<p>" + text + "</p>";
    for (TrimMode mode :
         {kDefault, kDefault | TM_ZENKAKU_AS_WSP | TM_CR_REG_AS_WSP, ~TrimMode{0}}) {
        SCOPED_TRACE(mode);
        EXPECT_EQ(Html(page, mode), page);
        EXPECT_EQ(Script(text, mode, false), text);
        EXPECT_EQ(Script(text, mode, true), text);
    }
}

TEST(Charsets, MalformedTextHidesNothing) {
    const Case cp932[] = {
        {"lead before <", TM_BETWEEN_TAGS, "\x81<p>  </p>", "\x81<p></p>"},
        {"lead at the end", TM_COLLAPSE_SPACES, "a  \x81", "a \x81"},
    };
    ExpectHtml(cp932, Charset::Cp932);
    const Case utf8[] = {
        {"lead before <", TM_BETWEEN_TAGS, "\xE3<p>  </p>", "\xE3<p></p>"},
        {"cut full-width blank", TM_TRIM_LINE_ENDS | TM_ZENKAKU_AS_WSP, "a \xE3\x80", kSame},
        {"stray continuation", TM_COLLAPSE_SPACES, "\x80  \xBF", "\x80 \xBF"},
    };
    ExpectHtml(utf8, Charset::Utf8);
    EXPECT_EQ(Script("s = \x81\"a // b\"; // c", kDefault, false), "s=\x81\"a // b\";");
    EXPECT_EQ(Script("s = \xE8\"a // b\"; // c", kDefault, false, Charset::Utf8),
              "s=\xE8\"a // b\";");
}

TEST(Charsets, NulIsAnOrdinaryByte) {
    const Case cases[] = {
        {"collapse", TM_COLLAPSE_SPACES, "a  \0  b"sv, "a \0 b"sv},
        {"comment", TM_HTML_COMMENT_DEL, "<!--\0-->x\0"sv, "x\0"sv},
        {"between tags", TM_BETWEEN_TAGS, "<p>\0</p>  <b>"sv, "<p>\0</p><b>"sv},
        {"script after NUL", kDefault, "\0<script> a = 1; </script>"sv,
         "\0<script>a=1;</script>"sv},
    };
    ExpectHtml(cases);
}

}  // namespace
}  // namespace trimlet::test
