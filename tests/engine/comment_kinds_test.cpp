// Comments that mean something to another program: told apart in one place, kept by
// default, deleted with TM_SPECIAL_COMMENTS_DEL, and the user's own always kept.

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

TEST(CommentKinds, TheUsersOwnStayInEveryMode) {
    const std::vector<std::string> kept = {"google_ad", "/* keep"};
    std::string out;
    const std::string page = "<body><!-- google_ad_section_start --><!-- x -->a";
    ASSERT_RESULT(TrimHtmlText(page, out, 0xFFFFFFFF, Charset::Utf8, kept), RESULT_OK);
    EXPECT_EQ(out, "<body><!-- google_ad_section_start -->a");
    ASSERT_RESULT(TrimScriptText("/* keep me */ a = 1; /* x */", out, 0xFFFFFFFF, false,
                                 Charset::Cp932, kept),
                  RESULT_OK);
    EXPECT_EQ(out, "/* keep me */a=1;");
}

}  // namespace
}  // namespace trimlet::test
