// A second trim changes nothing, in every mode: pages made of the constructs the passes
// treat specially, in random order and in both charsets.

#include <cstdint>
#include <string>

#include "engine_cases.h"

namespace trimlet::test {
namespace {

constexpr std::string_view kPieces[] = {
    " ",
    "  ",
    "\t",
    "\n",
    "\n\n",
    "　",
    "表",
    "ソ",
    "a",
    "x = 1;",
    "<p>",
    "</p>",
    "<b>",
    "</b>",
    "<div>",
    "<pre>",
    "</pre>",
    "<textarea>",
    "</textarea>",
    "<xmp>",
    "</xmp>",
    "<script>",
    "</script>",
    "<script language=vbs>",
    "<style>",
    "</style>",
    "<!--",
    "-->",
    "<!-- c -->",
    "<!--[if IE]>",
    "<![endif]-->",
    "<!-- ko x -->",
    "<% x %>",
    "<?= y ?>",
    "<body>",
    "</body>",
    "\"",
    "'",
    "<a title=\"",
    "\">",
    "//",
    "/*",
    "*/",
    "/*! l */",
    "// @license x",
    "&am",
    "p;",
    "<",
    ">",
    "!",
    "-",
    "--",
    "return",
    "+",
    "++",
    "(",
    ")",
    "}",
    "{",
    "rem ",
    "' c",
    "\\",
    "`",
    "/x/",
    "<my-el>",
    "<tspan>",
};

constexpr TrimMode kModes[] = {
    kDefault,
    0xFFFFFFFF,
    kDefault | TM_CR_REG_AS_WSP | TM_ZENKAKU_AS_WSP,
    kDefault | TM_INSIDE_PRE | TM_BETWEEN_INLINE_TAGS,
    kDefault & ~(TM_BODY_COMMENTS_ONLY | TM_KEEP_SCRIPT_HTML_COMMENT),
    TM_HTML_COMMENT_DEL | TM_COLLAPSE_SPACES | TM_CR_REG_AS_WSP,
    TM_BETWEEN_TAGS | TM_CR_REG_AS_WSP | TM_BLANK_LINES_MERGE,
    kDefault | TM_SPECIAL_COMMENTS_DEL | TM_CR_REG_AS_WSP,
};

// One line-break convention per page: a page that mixes them may change its convention
// when a trim deletes the only line break of one kind.
std::string RandomPage(uint32_t& seed, size_t pieces, bool crlf) {
    std::string page;
    for (size_t k = 0; k < pieces; ++k) {
        seed = seed * 1664525u + 1013904223u;
        const std::string_view piece = kPieces[(seed >> 8) % std::size(kPieces)];
        for (char c : piece)
            page += crlf && c == '\n' ? "\r\n" : std::string_view(&c, 1);
    }
    return page;
}

// Results the first trim used to leave for a second one to change.
TEST(SecondTrim, Table) {
    constexpr TrimMode kAll = 0xFFFFFFFF;
    constexpr TrimMode kCr = kDefault | TM_CR_REG_AS_WSP;
    const Case cases[] = {
        {"blank left at a body's start", kAll, "<script>\n// c\nvar a = 1;\n</script>",
         "<script>var a=1;</script>"},
        {"comment formed by a deletion", kDefault, "<body><!<!-- x -->-- ソ -->", kSame},
        {"rem kept a comment", TM_COLLAPSE_SPACES, "<script language=vbs>x = 1 rem  <b>\n</script>",
         "<script language=vbs>x=1 rem <b>\n</script>"},
        {"name ending in a trail byte r", kDefault, "<script language=vbs>y = ビem + 1</script>",
         "<script language=vbs>y=ビem+1</script>"},
        {"string a line break ends", kCr, "<script>s = \"表\n< b</script>",
         "<script>s=\"表\n<b</script>"},
        {"comment hiding a script end", kDefault,
         "<script><!--\n// <script> ソ\nvar a = 1; /* x */\n</script>\n// b --></script>",
         "<script><!--\n// <script> ソ\nvar a=1;\n</script>\n// b --></script>"},
        {"markers without a <script in the body", kDefault,
         "<script><!--\n// <!-- ソ -->\nvar a = 1;\n</script>",
         "<script><!--\nvar a=1;\n</script>"},
        {"--> after code is an operator", kDefault, "<script>x = n -->// ソ\n</script>",
         "<script>x=n-->\n</script>"},
        {"<!-- in code ends its line", kCr, "<script>var j = a<!--ソ\n; f(j)\n</script>",
         "<script>var j=a<!--ソ\n;f(j)</script>"},
        {"rem with an apostrophe", kDefault, "<script language=vbs>x = 1 REM'ソ\n</script>",
         "<script language=vbs>x=1\n</script>"},
        {"a '/' that may start a regex", kCr, "<script>a = b /\nc / d</script>",
         "<script>a=b/\nc/d</script>"},
        {"'<' before a script tag is text", kAll, "<<script><script </script>/\r< ソ",
         "<<script><script</script>/ < ソ"},
        {"blank that keeps '<!' from '--'", kDefault, "<script>a = b <! --ソ\n</script>",
         "<script>a=b<! --ソ\n</script>"},
        {"script tag inside an earlier tag's name", kAll, "<p<script><script </script>\"\"\r< ソ",
         "<p<script><script </script>\"\"\r<ソ"},
        {"script tag inside an earlier tag's attributes", kAll,
         "<d <script><script \"</script>\">/\n> ソ", "<d <script><script \"</script>\">/\n>ソ"},
        {"blank that keeps '</' from a tag name", kDefault, "<script>a = b </ script ソ",
         "<script>a=b</ script ソ"},
        {"quote that opens no value", kAll, "<a\"=\"><script>\"\"\r< ソ",
         "<a\"=\"><script>\"\" < ソ"},
        // A control byte after '<' is text, not '!', '/', '%' or '?' (0x20 set in it).
        {"'<' and a control byte before a script tag", kAll,
         "<\x01<script><script </script>\"\"\r< ソ", "<\x01<script><script</script>\"\" < ソ"},
        {"'<' and a control byte is no server code", kAll, "<\x05 a  b <p>  c", "<\x05 a b <p> c"},
    };
    ExpectHtmlInBoth(cases);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string once = Html(Encode(c.input, Charset::Cp932), c.mode);
        EXPECT_EQ(Html(once, c.mode), once);
    }
}

// A CP932 lead byte with no trail (a damaged text) keeps the blank after it: without it
// the lead byte would take the next byte as its trail, and a second trim would read a
// different script. In UTF-8 the same byte is one invalid character and trims alike.
TEST(SecondTrim, LoneLeadByte) {
    constexpr TrimMode kCr = kDefault | TM_CR_REG_AS_WSP;
    const Case cases[] = {
        {"line break before a brace", kCr, "<script>a = 1\xFB\n}/b//\n</script>",
         "<script>a=1\xFB }/b//\n</script>"},
        {"blank before an operator", kDefault, "<script>a = \xFB ~b;</script>",
         "<script>a=\xFB ~b;</script>"},
    };
    for (Charset cs : {Charset::Cp932, Charset::Utf8}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            const std::string once = Html(c.input, c.mode, cs);
            EXPECT_EQ(Html(once, c.mode, cs), once);
            if (cs == Charset::Cp932) {
                EXPECT_EQ(once, Expected(c));
            }
        }
    }
}

TEST(SecondTrim, ChangesNothing) {
    uint32_t seed = 19;
    for (int round = 0; round < 1500; ++round) {
        const std::string page = RandomPage(seed, 4 + round % 24, round % 3 == 0);
        for (Charset cs : {Charset::Cp932, Charset::Utf8}) {
            const std::string text = Encode(page, cs);
            for (TrimMode mode : kModes) {
                const std::string once = Html(text, mode, cs);
                const std::string twice = Html(once, mode, cs);
                ASSERT_EQ(twice, once) << "mode " << std::hex << mode << " page\n" << page;
                const bool vb = round % 2 == 1;
                const std::string script = Script(text, mode, vb, cs);
                ASSERT_EQ(Script(script, mode, vb, cs), script)
                    << "mode " << std::hex << mode << (vb ? " VBScript\n" : " JavaScript\n")
                    << page;
            }
        }
    }
}

}  // namespace
}  // namespace trimlet::test
