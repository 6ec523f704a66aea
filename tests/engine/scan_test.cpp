// The shared scanning helpers: SCRIPT language and body end, character starts, and the
// shortcuts the passes take (sixteen-byte stop search, cached SCRIPT blocks, literals
// handed from step to step) against the plain definitions they stand for.

#include <cstdint>
#include <string>

#include "engine/markup.h"
#include "engine/passes.h"
#include "engine_cases.h"

namespace trimlet::test {
namespace {

using engine::ScriptKind;

TEST(ScriptLanguage, Table) {
    const struct {
        const char* name;
        std::string_view tag;
        ScriptKind kind;
    } cases[] = {
        {"no attributes", "<script>", ScriptKind::JavaScript},
        {"language", "<SCRIPT LANGUAGE=VBScript>", ScriptKind::VbScript},
        {"type", "<script type=\"text/vbscript\">", ScriptKind::VbScript},
        {"type decides first", "<script type=text/javascript language=vbs>",
         ScriptKind::JavaScript},
        {"language decides first", "<script language=vbs type=text/javascript>",
         ScriptKind::VbScript},
        {"name without value", "<script language type=text/vbscript>", ScriptKind::JavaScript},
        {"quoted '>' skipped", "<script title=\">\" language=vbs>", ScriptKind::VbScript},
        {"unterminated", "<script type=\"text/vbs", ScriptKind::VbScript},
        {"empty type", "<script type=\"\">", ScriptKind::JavaScript},
        {"JSON", "<script type=\"application/json\">", ScriptKind::Data},
        {"template after language", "<script language=vbs type=text/x-template>", ScriptKind::Data},
        {"encoded", "<script language=\"VBScript.Encode\">", ScriptKind::Data},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(engine::ScriptLanguageOf(Charset::Cp932, c.tag, 0), c.kind);
    }
}

// The search without regard to case gives the first match from `from`, or the text's size,
// however it finds its candidates (by a first '<', by a byte that is no letter, or byte by
// byte).
TEST(FindNoCase, FirstMatchOrTheSize) {
    const struct {
        std::string_view text;
        size_t from;
        std::string_view lower;
        size_t expected;
    } rows[] = {
        {"a WHITE-space: b white-space", 0, "white-space", 2},
        {"a WHITE-space: b white-space", 3, "white-space", 17},
        {"-space white-", 0, "white-space", 13},
        {"x-white-space", 1, "white-space", 2},
        {"<LINK rel=x><link", 1, "<link", 12},
        {"STYLESHEET", 0, "stylesheet", 0},
        {"no match here", 0, "<link", 13},
        {"", 0, "white-space", 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(engine::FindNoCase(r.text, r.from, r.lower), r.expected);
    }
}

// Long texts are searched many bytes at a time: a match is found at every position, across
// the blocks' boundaries and in either case, past decoys that share its first and last bytes
// and a background of its first byte, and none is found that would run past the end.
TEST(FindNoCase, LongTextsAtEveryPosition) {
    for (const std::string_view lower : {"<link", "white-space", "</script", "ab"}) {
        std::string decoy(lower);
        decoy[1] = '#';
        std::string upper(lower);
        for (char& c : upper)
            c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        for (size_t at = 0; at < 50; ++at) {
            SCOPED_TRACE(std::string(lower) + " at " + std::to_string(at));
            std::string text(at, lower[0]);
            if (at >= decoy.size()) text.replace(at - decoy.size(), decoy.size(), decoy);
            text += at % 2 ? upper : std::string(lower);
            text.append(40, lower[0]);
            EXPECT_EQ(engine::FindNoCase(text, 0, lower), at);
            EXPECT_EQ(engine::FindNoCase(text, at + 1, lower), text.size());
            // Cut one byte short, the match is gone.
            const std::string_view cut = std::string_view(text).substr(0, at + lower.size() - 1);
            EXPECT_EQ(engine::FindNoCase(cut, 0, lower), cut.size());
        }
    }
}

// A text's line breaks are CR LF when any pair stands in it, however late; LF alone when
// it has LF but no pair; CR alone when it has only CR; CR LF when it has none.
TEST(LineBreakConvention, Table) {
    const struct {
        std::string_view text;
        std::string_view expected;
    } rows[] = {
        {"a\nb\nc\r\n", "\r\n"}, {"a\r\rb\n\n", "\n"}, {"a\n\rb", "\n"},
        {"a\rb\r", "\r"},        {"ab", "\r\n"},       {"", "\r\n"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::PrintToString(std::string(r.text)));
        EXPECT_EQ(engine::LineBreakConvention(r.text), r.expected);
    }
}

TEST(ScriptBodyEnd, Table) {
    const struct {
        const char* name;
        ScriptKind kind;
        std::string_view body;  // the body ends at the first '#' replaced by "</script>"
    } cases[] = {
        {"escaped in a regex", ScriptKind::JavaScript, "r=/<\\/script>/;#"},
        {"upper case", ScriptKind::JavaScript, "a#"},
        {"VBScript backslash", ScriptKind::VbScript, "x=\"C:\\\"#"},
        {"VBScript comment does not", ScriptKind::VbScript, "' x#"},
        // where a browser ends the element
        {"end tag with /", ScriptKind::JavaScript, "a/#"},
        {"script inside <!--", ScriptKind::JavaScript, "<!-- w('<script></script>'); -->#"},
        {"script inside <!-- left open", ScriptKind::JavaScript, "<!-- w('<script>'); </script>#"},
        {"<!--> closes itself", ScriptKind::JavaScript, "<!--><script>#"},
        {"--> ends the hiding", ScriptKind::JavaScript, "<!-- --> <script>#</script>"},
        {"<script-x> hides nothing", ScriptKind::JavaScript, "<!-- <script-x>#</script>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text(c.body);
        const size_t mark = text.find('#');
        const std::string_view name = c.name;
        text.replace(mark, 1,
                     name == "upper case"       ? "</SCRIPT>"
                     : name == "end tag with /" ? "</script/>"
                                                : "</script>");
        EXPECT_EQ(engine::ScriptBodyEnd(Charset::Cp932, text, 0, c.kind), mark);
    }
}

TEST(Characters, StartsAndTrailingBlanks) {
    using engine::CharStartsAt;
    using engine::TrailingBlanksStart;
    EXPECT_FALSE(CharStartsAt(Charset::Cp932, "\x88\x81\x40", 0, 1));  // 81 is a trail here
    EXPECT_TRUE(CharStartsAt(Charset::Cp932, "\x81\x81\x81\x40", 0, 2));
    EXPECT_TRUE(CharStartsAt(Charset::Cp932, "a\x81\x40", 0, 1));
    EXPECT_FALSE(CharStartsAt(Charset::Utf8, "\xE3\x80\x80", 0, 1));
    EXPECT_EQ(TrailingBlanksStart(Charset::Cp932, "a\x88\x81\x40", 0, 4, true), 4u);
    EXPECT_EQ(TrailingBlanksStart(Charset::Cp932, "a \x81\x40\t", 0, 5, true), 1u);
    EXPECT_EQ(TrailingBlanksStart(Charset::Cp932, "a \x81\x40\t", 0, 5, false), 4u);
    EXPECT_EQ(TrailingBlanksStart(Charset::Utf8, "a\xE3\x80\x80 ", 0, 5, true), 1u);
}

// Texts of bytes the stop sets care about, in random order.
std::string RandomText(uint32_t& seed, size_t size) {
    static constexpr std::string_view kAlphabet = " \t\r\n<sSpPa/\"\x81\x40\xE3\x80'>=?";
    std::string text;
    for (size_t i = 0; i < size; ++i) {
        seed = seed * 1103515245u + 12345u;
        text += kAlphabet[(seed >> 16) % kAlphabet.size()];
    }
    return text;
}

template <class Set>
void ExpectSameStops(const Set& set, const std::string& text) {
    engine::BlockScan<Set> scan(set, text);
    size_t expected = 0;
    for (size_t i = 0; i <= text.size(); i = expected + 1) {
        expected = i;
        while (expected < text.size() && !set.StopsAt(text, expected))
            ++expected;
        ASSERT_EQ(scan.Next(i, text.size()), expected) << "from " << i;
        if (expected >= text.size()) break;
    }
}

TEST(Stops, SixteenBytesAtATimeMatchOneByOne) {
    uint32_t seed = 7;
    for (int round = 0; round < 40; ++round) {
        const std::string text = RandomText(seed, 1 + round * 7);
        ExpectSameStops(engine::StopSet("\"/<", round % 2 == 0), text);
        ExpectSameStops(engine::MarkupStops{}, text);
        ExpectSameStops(
            engine::PassStops({.singles = "\r\n", .scriptTags = true, .textTags = true}), text);
        ExpectSameStops(engine::PassStops({.singles = {},
                                           .runs = true,
                                           .lineBreakRuns = round % 2 == 0,
                                           .high = round % 3 == 0,
                                           .scriptTags = true,
                                           .textTags = false}),
                        text);
    }
}

// Runs one HTML pass over a copy of `text`, in place as the engine runs it.
std::string RunPass(void (*pass)(const engine::PassContext&, engine::PassOutput&, std::string_view),
                    const engine::PassContext& ctx, std::string_view text) {
    std::string work(text);
    engine::PassOutput out(work.data(), work.size());
    pass(ctx, out, work);
    work.resize(out.size());
    return work;
}

// Runs passes 3 to 5 over `text` twice, once reading everything itself and once with what
// `shared` carries from each pass to the next; both runs must give the same text.
template <class Shared>
void ExpectSameWithCarried(TrimMode mode, std::string_view text,
                           Shared* engine::PassContext::*member) {
    engine::PassContext plain;
    plain.mode = mode;
    plain.newline = "\r\n";
    Shared shared;
    engine::PassContext carried = plain;
    carried.*member = &shared;
    std::string a(text), b(text);
    for (auto pass : {engine::TrimLineEnds, engine::CollapseSpaces, engine::DeleteBlankLines}) {
        a = RunPass(pass, plain, a);
        b = RunPass(pass, carried, b);
        shared.EndPass();
        EXPECT_EQ(a, b);
    }
}

// Passes 3 to 5 take the extents of SCRIPT blocks, and passes 4 and 5 the quoted attribute
// values, from the pass before.
TEST(Stops, CarriedBlocksAndValuesChangeNothing) {
    const std::string_view texts[] = {
        "<p>  a  </p>\r\n\r\n  <script>  x = 1;  // c\r\n</script>  \r\n<pre>  <script> y "
        "</script>\r\n\r\n</pre>\r\n\r\n<SCRIPT type=text/x-t>  a  </SCRIPT>\r\n  b  ",
        "  <script>`\r\n\r\n  ${a}`</script>\r\n\r\n<script>/* x",
        "<p title=\"a  b\"><script>s = '  '</script>  <a href='x\r\n\r\n  y'>  c\r\n\r\n"
        "<pre title=\" <p> \">  d  </pre> <img alt=\"\t\" src=x>  \r\n\r\n<b c=\"d  e\">",
        "  <a b=\"  \r\n\r\n  \"  c=it's>  x  \r\n\r\n  <d e=' <script> '>  \r\n\r\n<f g=\"  ",
        "<!-- a=\"  -->  <p q = \"a\x81\x40\x81\x40\">\x81\x40\x81\x40\r\n\r\n<p r=\"\r\n\">",
        // A blank past the first sixteen bytes of a value, a double quote in an apostrophe
        // value, a long value without blanks, an unterminated one.
        "<a b=\"0123456789abcdefghij  k\" c='x\"y  z' d=\"0123456789abcdefghijklm\">  \r\n\r\n"
        " <e f=\"gh",
    };
    for (const TrimMode mode : {kDefault, kDefault | TM_ZENKAKU_AS_WSP | TM_BLANK_LINES_MERGE}) {
        for (std::string_view text : texts) {
            ExpectSameWithCarried(mode, text, &engine::PassContext::blocks);
            ExpectSameWithCarried(mode, text, &engine::PassContext::values);
        }
    }
}

// Pass 2 takes the ends and literals of the SCRIPT bodies pass 1 had to scan.
TEST(Stops, MeasuredScriptBlocksChangeNothing) {
    const std::string_view texts[] = {
        "<body><!-- a --><script>\r\n<!--\r\nf( 'a  b' ); // c -->\r\n//-->\r\n</script>"
        "<!-- b --><script language=vbs>  x = \"C:\\\" ' y</script><script type=text/x-t> a "
        "</script>"
        "<script><!-- r = /[/]/;  s = `  ${ `x` }  `;</script><script>/* open",
    };
    for (std::string_view text : texts) {
        engine::ScriptBuffers scripts;
        engine::PassContext plain;
        plain.mode = kDefault;
        plain.scripts = &scripts;
        engine::MeasuredScriptBlocks measured;
        engine::PassContext cached = plain;
        cached.measured = &measured;
        const std::string commentsA = RunPass(engine::DeleteHtmlComments, plain, text);
        const std::string commentsB = RunPass(engine::DeleteHtmlComments, cached, text);
        ASSERT_EQ(commentsA, commentsB);
        EXPECT_EQ(RunPass(engine::TrimScriptBlocks, plain, commentsA),
                  RunPass(engine::TrimScriptBlocks, cached, commentsB));
    }
}

// The script steps take literals and comments from the step before instead of scanning.
TEST(Stops, CarriedPiecesChangeNothing) {
    const std::string_view texts[] = {
        "a = b + c; // sum\r\n/* x */ s = 'a  b' + \"c\\\"  d\" + `e\r\n\r\n  f`;\r\n\r\n",
        "r = /[/]  x/g.test(s) / 2;  q = x++ / 3; // y\r\nreturn /'/;\r\n",
    };
    for (std::string_view text : texts) {
        engine::ScriptBuffers plainBuffers, carriedBuffers;
        const std::string plain(
            engine::TrimScript(kDefault, Charset::Cp932, false, plainBuffers, text));
        engine::PieceList pieces;
        size_t bodyEnd = 0;
        EXPECT_TRUE(engine::ScriptBodyEnd(Charset::Cp932, text, 0, ScriptKind::JavaScript, bodyEnd,
                                          &pieces));
        EXPECT_EQ(bodyEnd, text.size());
        EXPECT_EQ(
            engine::TrimScript(kDefault, Charset::Cp932, false, carriedBuffers, text, &pieces),
            plain);
    }
}

// A script of little but literals keeps its lists of pieces short: past kMaxPieces the
// steps scan their texts themselves, with the same result.
TEST(ScriptPieces, ListsStayShortAndResultsSame) {
    struct Row {
        const char* name;
        std::string_view unit;
        std::string_view trimmed;
    };
    const Row rows[] = {
        {"data array", "\"a\",  ", "\"a\","},
        {"line comments", "s = 'a  b';  // c\r\n", "s='a  b';\r\n"},
        {"block comments", "x=/**/y;", "x=y;"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string text, expected;
        for (size_t k = 0; k < engine::kMaxPieces + 100; ++k) {
            text += row.unit;
            expected += row.trimmed;
        }
        engine::ScriptBuffers buffers;
        EXPECT_EQ(engine::TrimScript(kDefault, Charset::Cp932, false, buffers, text), expected);
        EXPECT_LE(buffers.firstPieces.capacity(), engine::kMaxPieces);
        EXPECT_LE(buffers.secondPieces.capacity(), engine::kMaxPieces);

        const std::string page = "<script>" + text + "</script>";
        for (TrimMode mode : {kDefault, kDefault & ~TM_KEEP_SCRIPT_HTML_COMMENT})
            EXPECT_EQ(Html(page, mode), "<script>" + expected + "</script>");
        engine::ScriptBuffers scripts;
        engine::PassContext ctx;
        ctx.mode = kDefault;
        ctx.scripts = &scripts;
        RunPass(engine::TrimScriptBlocks, ctx, page);
        EXPECT_LE(scripts.bodyPieces.capacity(), engine::kMaxPieces);
    }
}

// Past kMaxNotedBlocks the passes find SCRIPT blocks themselves, with the same result.
TEST(ScriptPieces, ManyBlocksSameResult) {
    std::string page = "<body>", expected = "<body>";
    for (size_t k = 0; k < engine::kMaxNotedBlocks + 100; ++k) {
        page += "<script> a  =  1; // c\r\n</script>  <p>  x  </p>\r\n\r\n";
        expected += "<script>a=1;\r\n</script><p> x </p>\r\n";
    }
    for (TrimMode mode : {kDefault, kDefault & ~TM_KEEP_SCRIPT_HTML_COMMENT})
        EXPECT_EQ(Html(page, mode), expected);
}

}  // namespace
}  // namespace trimlet::test
