// Comments that mean something to another program: told apart in one place, kept by
// default, deleted with TM_SPECIAL_COMMENTS_DEL, and the user's own always kept.

#include <optional>
#include <string>
#include <vector>

#include "engine/comment_kinds.h"
#include "engine_cases.h"

namespace trimlet::test {
namespace {

TEST(CommentKinds, Table) {
    const std::vector<std::string> user = {"google_ad", "<!--noindex", "// keep", "", "@preserve"};
    const struct {
        std::string_view comment;
        CommentKind kind;
    } html[] = {
        {"<!-- note -->", CommentKind::Plain},
        {"<!--#include virtual=\"x\" -->", CommentKind::Ssi},
        {"<!-- #exec cmd=\"ls\" -->", CommentKind::Ssi},
        {"<!-- Dovetag -->", CommentKind::Marker},
        {"<!-- Dovetag text -->", CommentKind::Plain},
        {"<!--[if IE 6]><p>old</p><![endif]-->", CommentKind::Conditional},
        {"<!--[if !IE]><!-->", CommentKind::Conditional},
        {"<!--<![endif]-->", CommentKind::Conditional},
        {"<!-- ko foreach: items -->", CommentKind::Knockout},
        {"<!-- /ko -->", CommentKind::Knockout},
        {"<!--ko-->", CommentKind::Knockout},
        {"<!-- kommentar -->", CommentKind::Plain},
        {"<!--esi <esi:include src=\"x\"/> -->", CommentKind::Esi},
        {"<!-- esi later -->", CommentKind::Plain},
        {"<!-- google_ad_section_start -->", CommentKind::UserListed},
        {"<!--noindex-->", CommentKind::UserListed},
        {"<!-- noindex -->", CommentKind::Plain},
        {"<!--", CommentKind::Plain},
    };
    for (const auto& c : html) {
        SCOPED_TRACE(c.comment);
        EXPECT_EQ(HtmlCommentKind(c.comment, user), c.kind);
    }
    const struct {
        std::string_view comment;
        CommentKind kind;
    } script[] = {
        {"// note", CommentKind::Plain},
        {"/*! jQuery v3 | (c) OpenJS */", CommentKind::Licence},
        {"/*@cc_on @if (@_jscript) a(); @end @*/", CommentKind::ConditionalCompilation},
        {"//@cc_on", CommentKind::ConditionalCompilation},
        {"// @license magnet:?xt=urn:btih:1 GPL-3.0", CommentKind::LicenceMarker},
        {"// @license-end", CommentKind::LicenceMarker},
        {"/** @license React */", CommentKind::LicenceMarker},
        {"// the @license below", CommentKind::Plain},
        {"// keep this", CommentKind::UserListed},
        {"/* @preserve x */", CommentKind::UserListed},
        {"/*", CommentKind::Plain},
    };
    for (const auto& c : script) {
        SCOPED_TRACE(c.comment);
        EXPECT_EQ(ScriptCommentKind(c.comment, user), c.kind);
    }
    EXPECT_EQ(HtmlCommentKind("<!-- google_ad -->"), CommentKind::Plain) << "no list given";
    const struct {
        std::string_view comment;
        CommentKind kind;
    } vbs[] = {
        {"' keep this", CommentKind::UserListed},
        {"'keep", CommentKind::UserListed},
        {"REM keep", CommentKind::UserListed},
        {"rem\tkeep it", CommentKind::UserListed},
        {": Rem keep", CommentKind::UserListed},
        {"' kept", CommentKind::Plain},
        {"'  // keep", CommentKind::Plain},
        {"' @preserve", CommentKind::UserListed},
        {"'", CommentKind::Plain},
    };
    const std::vector<std::string> vbsUser = {"keep ", "'keep", "REM keep", "@preserve", ""};
    for (const auto& c : vbs) {
        SCOPED_TRACE(c.comment);
        EXPECT_EQ(VbsCommentKind(c.comment, vbsUser), c.kind);
    }
    EXPECT_EQ(VbsCommentKind("' keep", {}), CommentKind::Plain);
}

TEST(CommentKinds, KeptUnlessTheModeDeletesThem) {
    EXPECT_FALSE(KeepsCommentKind(CommentKind::Plain, kDefault));
    EXPECT_TRUE(KeepsCommentKind(CommentKind::Ssi, kDefault));
    EXPECT_FALSE(KeepsCommentKind(CommentKind::Ssi, kDefault & ~TM_KEEP_SSI));
    EXPECT_TRUE(KeepsCommentKind(CommentKind::Ssi, kDefault | TM_SPECIAL_COMMENTS_DEL));
    EXPECT_FALSE(KeepsCommentKind(CommentKind::Marker, kDefault & ~TM_KEEP_DOVETAG));
    EXPECT_TRUE(KeepsCommentKind(CommentKind::Conditional, kDefault));
    EXPECT_FALSE(KeepsCommentKind(CommentKind::Conditional, kDefault | TM_SPECIAL_COMMENTS_DEL));
    EXPECT_FALSE(KeepsCommentKind(CommentKind::LicenceMarker, TM_SPECIAL_COMMENTS_DEL));
    EXPECT_TRUE(KeepsCommentKind(CommentKind::UserListed, 0xFFFFFFFF));
}

TEST(CommentKinds, PagesKeepThemByDefault) {
    constexpr TrimMode kSpecial = kDefault | TM_SPECIAL_COMMENTS_DEL;
    constexpr TrimMode kCr = kDefault | TM_CR_REG_AS_WSP;
    const Case cases[] = {
        {"conditional", kDefault, "<body><!--[if IE]><p>表</p><![endif]-->x", kSame},
        {"downlevel revealed", kDefault, "<body><!--[if !IE]><!--><p>ソ</p><!--<![endif]-->",
         kSame},
        {"knockout", kDefault, "<body><!-- ko foreach: items --><li>表</li><!-- /ko -->", kSame},
        {"ESI", kDefault, "<body><!--esi <esi:include src=\"x\"/> -->ソ", kSame},
        {"plain ones go", kDefault, "<body><!-- note ソ -->x<!-- kommentar -->", "<body>x"},
        {"bit 19 deletes them", kSpecial,
         "<body><!--[if IE]><p>表</p><![endif]--><!-- ko x -->ソ<!-- /ko -->", "<body>ソ"},
        {"licence comment", kDefault, "<script>/*! (c) ソ  x\n   y */\nvar a = 1;</script>",
         "<script>/*! (c) ソ  x\n   y */\nvar a=1;</script>"},
        {"conditional compilation", kDefault,
         "<script>/*@cc_on  @if (@_jscript) a(); @end @*/</script>", kSame},
        {"licence markers", kDefault,
         "<script>\n// @license magnet:?xt=urn  GPL\nf(表);\n// @license-end\n</script>",
         "<script>// @license magnet:?xt=urn  GPL\nf(表);\n// @license-end\n</script>"},
        {"markers with joined lines", kCr,
         "<script>\n// @license x\nf(ソ);\n// @license-end\n}\n</script>",
         "<script>// @license x\nf(ソ);// @license-end\n}</script>"},
        {"bit 19 deletes script ones", kSpecial, "<script>/*! c */ a = 1; // @license x\n</script>",
         "<script>a=1;\n</script>"},
    };
    ExpectHtmlInBoth(cases);
}

// Runs the rows in CP932 and in UTF-8 with the user's beginnings `kept`, which are given
// to the engine in the text's encoding as the file layer gives them.
template <size_t N>
void ExpectKeptInBoth(const Case (&cases)[N], const std::vector<std::string>& kept,
                      std::optional<bool> vbScript = std::nullopt) {
    for (Charset cs : {Charset::Cp932, Charset::Utf8}) {
        SCOPED_TRACE(cs == Charset::Cp932 ? "CP932" : "UTF-8");
        std::vector<std::string> encoded;
        for (const std::string& entry : kept)
            encoded.push_back(Encode(entry, cs));
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            const std::string input = Encode(c.input, cs);
            EXPECT_EQ(vbScript ? Script(input, c.mode, *vbScript, cs, encoded)
                               : Html(input, c.mode, cs, encoded),
                      Encode(Expected(c), cs));
        }
    }
}

constexpr TrimMode kSpecialDel = kDefault | TM_SPECIAL_COMMENTS_DEL;

TEST(CommentKinds, TheUsersBeginningsInPages) {
    const std::vector<std::string> kept = {"google_ad", "<!--noindex", "表ソ",
                                           "@preserve", "// keep",     "/* keep"};
    const Case cases[] = {
        {"after the opener", kDefault, "<body><!-- google_ad_section_start -->x<!-- note -->",
         "<body><!-- google_ad_section_start -->x"},
        {"after the opener, bit 19", kSpecialDel,
         "<body><!--[if IE]>ソ<![endif]--><!--\ngoogle_ad -->表", "<body><!--\ngoogle_ad -->表"},
        {"whole comment", kDefault, "<body><!--noindex-->ソ<!-- noindex -->",
         "<body><!--noindex-->ソ"},
        {"double-byte beginning", kSpecialDel, "<body><!-- 表ソ mark -->a<!-- 表 -->b",
         "<body><!-- 表ソ mark -->ab"},
        {"also outside BODY", kDefault & ~TM_BODY_COMMENTS_ONLY,
         "<head><!-- @preserve -->\n<!-- x --></head>", "<head><!-- @preserve -->\n</head>"},
        {"script comments", kDefault,
         "<script>\n/* keep  me */ a = 1; /* x */\n// keep\n// other\nb(ソ);\n</script>",
         "<script>/* keep  me */a=1;\n// keep\nb(ソ);\n</script>"},
        {"script comments, bit 19", kSpecialDel,
         "<script>/*! c */ /* @preserve 表 */ a = 1; //@cc_on\n</script>",
         "<script>/* @preserve 表 */a=1;\n</script>"},
        {"every bit", 0xFFFFFFFF, "<body><!-- google_ad --> <script>/* keep */ a();</script>",
         "<body><!-- google_ad --><script>/* keep */a();</script>"},
        {"no list entry matches", kSpecialDel, "<body><!-- googl -->x<script>// kee\n</script>",
         "<body>x<script></script>"},
    };
    ExpectKeptInBoth(cases, kept);
}

TEST(CommentKinds, TheUsersBeginningsInScripts) {
    const std::vector<std::string> kept = {"keep", "/* ソ", "'表"};
    const Case js[] = {
        {"line and block", kDefault, "a = 1; // keep ソ\nb = 2; // go\n/* ソ */ /* keep */ c();",
         "a=1;// keep ソ\nb=2;\n/* ソ */ /* keep */c();"},
        {"bit 19", kSpecialDel, "/*! lic */ /* keep */ x();", "/* keep */x();"},
    };
    ExpectKeptInBoth(js, kept, false);
    const Case vbs[] = {
        {"comment lines", kDefault, "' keep this\nx = 1\n' go\nRem keep REM\nREM other\n",
         "' keep this\nx=1\nRem keep REM\n"},
        {"after code", kDefault, "x = 1 ' keep\ny = 2 '表 too\nz = 3 ' go\n",
         "x=1 ' keep\ny=2 '表 too\nz=3\n"},
        {"bit 19 changes nothing", kSpecialDel, "' keep\n' go\n", "' keep\n"},
    };
    ExpectKeptInBoth(vbs, kept, true);
}

TEST(CommentKinds, TheUsersOwnStayInEveryMode) {
    const std::vector<std::string> kept = {"google_ad", "/* keep"};
    EXPECT_EQ(
        Html("<body><!-- google_ad_section_start --><!-- x -->a", 0xFFFFFFFF, Charset::Utf8, kept),
        "<body><!-- google_ad_section_start -->a");
    EXPECT_EQ(Script("/* keep me */ a = 1; /* x */", 0xFFFFFFFF, false, Charset::Cp932, kept),
              "/* keep me */a=1;");
}

}  // namespace
}  // namespace trimlet::test
