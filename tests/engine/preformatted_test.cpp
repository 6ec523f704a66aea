// Elements a page's CSS makes preformatted: what the style sheets teach, and the passes
// copying those elements like PRE.

#include <cstdint>
#include <string>

#include "engine/preformatted.h"
#include "engine_cases.h"

namespace trimlet::test {
namespace {

using engine::PreformattedSelectors;

PreformattedSelectors Learned(std::string_view page) {
    PreformattedSelectors set;
    engine::LearnFromStyleElements(page, set);
    return set;
}

std::string Styled(std::string_view input, TrimMode mode, Charset cs = Charset::Cp932) {
    const Preformatted learned = LearnedFrom(input);
    return Html(input, mode, cs, {}, &learned);
}

TEST(Preformatted, DeclarationsAndSelectors) {
    struct Row {
        const char* css;
        const char* learned;  // PreformattedSelectors::Describe
    };
    const Row rows[] = {
        {".line { white-space: pre-wrap }", ".line"},
        {"#Code{WHITE-SPACE:PRE}", "#code"},
        {"code { white-space : pre-line ; }", "code"},
        {"div.fragment.x#y { white-space: break-spaces }", "div.fragment.x#y"},
        {".member-signature .parameters { white-space: pre }", ".parameters"},
        {"ul > li + li ~ span.k { white-space: pre }", "span.k"},
        {"a, b.c { white-space: pre }", "a b.c"},
        {"@media screen { @media (min-width: 1px) { .m { white-space: pre } } }", ".m"},
        {"@font-face { white-space: pre } .n { white-space: normal }", ""},
        {"/* .c { white-space: pre } */ .d { color: red }", ""},
        {".e { -webkit-white-space: pre; white-space: nowrap }", ""},
        {".f { white-space-collapse: preserve }", ".f"},
        {".g[title='.h x'] { white-space: pre }", ".g"},
        {".i:not(.j)::before, :is(#k, .l) { white-space: pre }", "#k .i .j .l"},
        {"* , [lang] { white-space: pre }", ""},
        {".md\\:k { white-space: pre !important }", ".md:k"},
        {"@import url(x.css); .l { white-space: pre", ".l"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.css);
        PreformattedSelectors set;
        engine::LearnPreformattedSelectors(row.css, set);
        EXPECT_EQ(set.Describe(), row.learned);
    }
    PreformattedSelectors set;
    engine::LearnPreformattedSelectors("div.line, #c.k { white-space: pre }", set);
    EXPECT_TRUE(set.Matches("DIV", "x  LINE", ""));
    EXPECT_FALSE(set.Matches("span", "line", ""));
    EXPECT_FALSE(set.Matches("div", "lines", ""));
    EXPECT_TRUE(set.Matches("p", "k", "C"));
    EXPECT_FALSE(set.Matches("p", "", "c"));
}

TEST(Preformatted, StyleElementsAndAttributes) {
    EXPECT_TRUE(Learned("<p style='color: red'>x</p><style>.a{color:red}</style>").Empty());
    EXPECT_TRUE(Learned("<!-- <style>.a{white-space:pre}</style> -->").Empty());
    EXPECT_TRUE(Learned("<script>s='<style>.a{white-space:pre}</style>'</script>").Empty());
    EXPECT_TRUE(Learned("<p style='white-space: pre'>x</p>").InlineStyles());
    // A browser reads these attributes past the '>' that ends the tag for the passes.
    EXPECT_TRUE(Learned("<a=\t'='>'style=white-space:pre").InlineStyles());
    EXPECT_TRUE(Learned("<a \x81\x40=\f\">\"style=white-space:pre").InlineStyles());
    EXPECT_EQ(Learned("<STYLE media=all>.A{white-space:pre}</STYLE>").Describe(), ".a");
}

// Void elements and those holding only text are never preformatted, whatever their class;
// names that merely begin like them are.
TEST(Preformatted, WhichElementsCanBe) {
    PreformattedSelectors set;
    set.AddClass("x");
    const struct {
        const char* name;
        bool can;
    } rows[] = {
        {"area", false},
        {"BASE", false},
        {"basefont", false},
        {"bgsound", false},
        {"Br", false},
        {"col", false},
        {"embed", false},
        {"frame", false},
        {"hr", false},
        {"IMG", false},
        {"input", false},
        {"keygen", false},
        {"link", false},
        {"meta", false},
        {"param", false},
        {"source", false},
        {"track", false},
        {"wbr", false},
        {"script", false},
        {"style", false},
        {"textarea", false},
        {"TITLE", false},
        {"iframe", false},
        {"noembed", false},
        {"div", true},
        {"b", true},
        {"i", true},
        {"areas", true},
        {"colgroup", true},
        {"frameset", true},
        {"s", true},
        {"td", true},
        {"textareas", true},
        {"noembeds", true},
        {"\xC2\xA0"
         "br",
         true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string tag = std::string("<") + row.name + " class=x>";
        EXPECT_EQ(engine::StartTagPreformatted(tag, 0, set), row.can);
    }
}

constexpr std::string_view kSheet = "<style>.line{white-space:pre-wrap}</style>\n";

TEST(Preformatted, ElementsKeepTheirBlanks) {
    constexpr TrimMode kAll =
        kDefault | TM_CR_REG_AS_WSP | TM_ZENKAKU_AS_WSP | TM_BETWEEN_TAGS | TM_BETWEEN_INLINE_TAGS;
    const Case cases[] = {
        {"class", kAll,
         "<style>.line{white-space:pre-wrap}</style>\n<div class=\"x line\">  表  a\n   b  </div>"
         "  <p>  ソ  </p>",
         "<style>.line{white-space:pre-wrap}</style><div class=\"x line\">  表  a\n   b  </div>"
         "<p> ソ </p>"},
        {"id", kDefault,
         "<style>#code{white-space:pre}</style>\n<div id=code>  a  </div>\n<div>  b  </div>",
         "<style>#code{white-space:pre}</style>\n<div id=code>  a  </div>\n<div> b </div>"},
        {"type", kDefault, "<style>code{white-space:pre}</style>\n<CODE>  a  b</CODE>  c  d",
         "<style>code{white-space:pre}</style>\n<CODE>  a  b</CODE> c d"},
        {"compound", kDefault,
         "<style>div.fragment{white-space:pre}</style>\n<div class=fragment>  a\n\n  b</div>\n\n"
         "<div>  c</div>",
         "<style>div.fragment{white-space:pre}</style>\n<div class=fragment>  a\n\n  b</div>\n"
         "<div> c</div>"},
        {"combinator: the last compound", kDefault,
         "<style>.sig .params{white-space:pre}</style>\n<span class=params>(int  a,\n      int "
         " b)</span>  ソ  x",
         "<style>.sig .params{white-space:pre}</style>\n<span class=params>(int  a,\n      int "
         " b)</span> ソ x"},
        {"@media", kDefault,
         "<style>@media print { .m { white-space: pre } }</style>\n<p class='m'>  a  </p>", kSame},
        {"inline style", kDefault, "<p style=\"white-space: pre\">  a  </p>\n<p>  b  </p>",
         "<p style=\"white-space: pre\">  a  </p>\n<p> b </p>"},
        {"nested element of the same name", kDefault,
         "<style>.line{white-space:pre}</style><div class=line>  <div>  a  </div>  表  </div>  b",
         "<style>.line{white-space:pre}</style><div class=line>  <div>  a  </div>  表  </div> b"},
        {"nested span with its own blanks", kDefault,
         "<style>div.line{white-space:pre}</style><div class=line><span class=lineno>   20"
         "</span>  <span>public</span>:</div>",
         kSame},
        {"void element never is", kDefault,
         "<style>br,.b{white-space:pre}</style><br class=b>  a  <br>  b",
         "<style>br,.b{white-space:pre}</style><br class=b> a <br> b"},
        {"trimmed inside PRE when asked", kDefault | TM_INSIDE_PRE,
         "<style>.line{white-space:pre}</style><div class=line>  a  </div>",
         "<style>.line{white-space:pre}</style><div class=line> a </div>"},
        {"CSS that makes nothing preformatted", kDefault,
         "<style>.line{white-space:normal;color:red}</style>\n<div class=line>  a  </div>",
         "<style>.line{white-space:normal;color:red}</style>\n<div class=line> a </div>"},
    };
    for (Charset cs : {Charset::Cp932, Charset::Utf8}) {
        SCOPED_TRACE(cs == Charset::Cp932 ? "CP932" : "UTF-8");
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            const std::string input = Encode(c.input, cs);
            const std::string once = Styled(input, c.mode, cs);
            EXPECT_EQ(once, Encode(Expected(c), cs));
            EXPECT_EQ(Styled(once, c.mode, cs), once);
        }
    }
}

// Without a set, or with one that names nothing, the trim is the one it always was.
TEST(Preformatted, NothingLearnedTrimsAsBefore) {
    const std::string page = std::string(kSheet) + "<div class=other>  a  </div>  <pre>  b </pre>";
    const Preformatted none;
    const Preformatted other = BuiltAs([](auto& set) { set.AddClass("unused"); });
    for (TrimMode mode : {kDefault, TrimMode{0xFFFFFFFF}}) {
        const std::string plain = Html(page, mode);
        EXPECT_EQ(Html(page, mode, Charset::Cp932, {}, &none), plain);
        EXPECT_EQ(Html(page, mode, Charset::Cp932, {}, &other), plain);
    }
}

// A second trim changes nothing: random pages of styled elements and the constructs the
// passes treat specially.
TEST(Preformatted, SecondTrimChangesNothing) {
    constexpr std::string_view kPieces[] = {
        " ",
        "  ",
        "\t",
        "\n",
        "\n\n",
        "　",
        "表",
        "a",
        "<div>",
        "</div>",
        "<div class=line>",
        "<span class='k line'>",
        "</span>",
        "<p id=code>",
        "</p>",
        "<pre>",
        "</pre>",
        "<br>",
        "<b style='white-space:pre'>",
        "</b>",
        "<script>",
        "</script>",
        "<!--",
        "-->",
        "<textarea>",
        "</textarea>",
        "\"",
        "'",
        "<",
        ">",
        "<% x %>",
        "<div title=\"",
        "<style>.k{white-space:pre}</style>",
        "<style>",
        "</style>",
        "#code{white-space:pre}",
    };
    constexpr TrimMode kModes[] = {kDefault, 0xFFFFFFFF, kDefault | TM_CR_REG_AS_WSP,
                                   kDefault | TM_INSIDE_PRE | TM_BETWEEN_INLINE_TAGS};
    const Preformatted set = BuiltAs([](auto& each) {
        each.AddClass("line");
        each.AddId("code");
        each.NoteInlineStyles();
    });
    uint32_t seed = 7;
    for (int round = 0; round < 1500; ++round) {
        std::string page;
        for (int k = 0; k < 4 + round % 24; ++k) {
            seed = seed * 1664525u + 1013904223u;
            page += kPieces[(seed >> 8) % std::size(kPieces)];
        }
        for (Charset cs : {Charset::Cp932, Charset::Utf8}) {
            const std::string text = Encode(page, cs);
            for (TrimMode mode : kModes) {
                std::string once = Html(text, mode, cs, {}, &set);
                std::string twice = Html(once, mode, cs, {}, &set);
                ASSERT_EQ(twice, once) << "mode " << std::hex << mode << " page\n" << page;
                // The second trim learns from the first one's result, as a user's would.
                const Preformatted learned = LearnedFrom(text);
                once = Html(text, mode, cs, {}, &learned);
                const Preformatted relearned = LearnedFrom(once);
                twice = Html(once, mode, cs, {}, &relearned);
                ASSERT_EQ(twice, once) << "mode " << std::hex << mode << " learning, page\n"
                                       << page;
            }
        }
    }
}

}  // namespace
}  // namespace trimlet::test
