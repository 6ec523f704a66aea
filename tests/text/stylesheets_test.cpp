// Style sheets beside a page teach which of its elements keep their blanks; a run reads
// each sheet once.

#include "text/stylesheets.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "engine/trim_engine.h"
#include "test_support.h"
#include "text/file_look.h"
#include "text/trim_file.h"

namespace trimlet {
namespace {

using test::TempDir;

constexpr std::string_view kScripts = "JS:VBS";

std::string Trimmed(const std::string& path, TrimMode mode = kDefaultTrimMode,
                    StylesheetCache* cache = nullptr) {
    std::string out;
    std::uint64_t in = 0, size = 0;
    EXPECT_RESULT(TrimFile(path, mode, kScripts, out, in, size, nullptr, {}, cache), RESULT_OK);
    return out;
}

// The page in CP932 bytes: the two characters the rows use.
std::string InCharset(std::string_view utf8, Charset cs) {
    if (cs == Charset::Utf8) return std::string(utf8);
    std::string out(utf8);
    for (const auto& [u, c] :
         {std::pair<std::string_view, std::string_view>{"表", "\x95\x5C"}, {"ソ", "\x83\x5C"}}) {
        for (size_t at; (at = out.find(u)) != std::string::npos;)
            out.replace(at, u.size(), c);
    }
    return out;
}

TEST(Stylesheets, LinksAndTheirPaths) {
    const std::string page =
        "<link rel=stylesheet href=a.css><LINK REL='alternate Stylesheet' HREF=\"../b.css\">"
        "<!-- <link rel=stylesheet href=c.css> --><link rel=icon href=d.ico>"
        "<link href=e.css><link rel=stylesheet href=''>";
    EXPECT_EQ(LinkedStylesheetHrefs(page), (std::vector<std::string>{"a.css", "../b.css"}));

    const struct {
        const char* href;
        const char* path;
    } rows[] = {
        {"style.css", "/site/docs/style.css"},
        {"../style.css?v=2#x", "/site/style.css"},
        {"../../style.css", "/style.css"},
        {"./css/my%20style.css", "/site/docs/css/my style.css"},
        {"https://example.com/x.css", ""},
        {"//example.com/x.css", ""},
        {"/x.css", ""},
        {"data:text/css,.a{}", ""},
        {"  ", ""},
    };
    // The cache gives the same paths, the second time from memory, and keeps pages of
    // other folders (or none) apart.
    StylesheetCache cache;
    for (int round = 0; round < 2; ++round) {
        for (const auto& row : rows) {
            SCOPED_TRACE(row.href);
            EXPECT_EQ(LocalStylesheetPath("/site/docs/page.html", row.href), row.path);
            EXPECT_EQ(cache.LocalPath("/site/docs/page.html", row.href), row.path);
        }
        EXPECT_EQ(cache.LocalPath("/site/page.html", "style.css"), "/site/style.css");
        EXPECT_EQ(cache.LocalPath("page.html", "style.css"), "style.css");
        EXPECT_EQ(cache.LocalPath("/site/docs/other.html", "style.css"), "/site/docs/style.css");
    }
}

// Rows of pages trimmed from disk beside their style sheets, in both charsets.
TEST(Stylesheets, PagesBesideTheirSheets) {
    TempDir dir;
    dir.Write("site/top.css", ".up2 { white-space: pre }");
    dir.Write("site/docs/up.css", "@media screen { #up1 { white-space: pre-wrap } }");
    dir.Write("site/docs/api/same.css", "span.same { white-space: pre-line }");
    dir.Write("site/docs/api/marked.css", "\xEF\xBB\xBF.marked { white-space: pre }");
    const struct {
        const char* name;
        const char* page;
        const char* expected;
    } rows[] = {
        {"one folder up",
         "<link rel=stylesheet href=../up.css><p id=up1>  表  a  </p>  <p>  b  </p>",
         "<link rel=stylesheet href=../up.css><p id=up1>  表  a  </p><p> b </p>"},
        {"two folders up",
         "<link rel=stylesheet href=\"../../top.css\">\n<div class=up2>\n  ソ\n    x\n</div>\n  y",
         "<link rel=stylesheet href=\"../../top.css\">\n<div class=up2>\n  ソ\n    x\n</div>\ny"},
        {"same folder, compound",
         "<link rel=stylesheet href=same.css><span class=same>  a  </span><b class=same>  b</b>",
         "<link rel=stylesheet href=same.css><span class=same>  a  </span><b class=same> b</b>"},
        {"sheet saved with a byte-order mark",
         "<link rel=stylesheet href=marked.css><p class=marked>  a  </p>",
         "<link rel=stylesheet href=marked.css><p class=marked>  a  </p>"},
        {"missing sheet", "<link rel=stylesheet href=gone.css><p class=up2>  a  </p>",
         "<link rel=stylesheet href=gone.css><p class=up2> a </p>"},
        {"remote sheet never fetched",
         "<link rel=stylesheet href=http://127.0.0.1:9/x.css><p>  a  </p>",
         "<link rel=stylesheet href=http://127.0.0.1:9/x.css><p> a </p>"},
    };
    for (Charset cs : {Charset::Cp932, Charset::Utf8}) {
        SCOPED_TRACE(cs == Charset::Cp932 ? "CP932" : "UTF-8");
        for (const auto& row : rows) {
            SCOPED_TRACE(row.name);
            const std::string path = dir.Write("site/docs/api/page.html", InCharset(row.page, cs));
            EXPECT_EQ(Trimmed(path), InCharset(row.expected, cs));
            // Standard input has no folder: only its own STYLE elements and attributes count.
            std::string fromInput;
            std::uint64_t size = 0;
            ASSERT_RESULT(TrimBytesAs(FileKind::Html, kDefaultTrimMode, InCharset(row.page, cs),
                                      fromInput, size),
                          RESULT_OK);
            std::string plain;
            ASSERT_RESULT(TrimHtmlText(InCharset(row.page, cs), plain, kDefaultTrimMode, cs),
                          RESULT_OK);
            EXPECT_EQ(fromInput, plain);
        }
    }
}

// A page whose CSS makes nothing preformatted is trimmed exactly as the engine alone trims it.
TEST(Stylesheets, NothingPreformattedTrimsAsBefore) {
    TempDir dir;
    dir.Write("plain.css", "p { white-space: normal; color: red } pre { margin: 0 }");
    const std::string page =
        "<link rel=stylesheet href=plain.css>\n<style>.x{color:blue}</style>\n"
        "<p class=x>  a  </p>\n\n<pre>  b  </pre>\n";
    const std::string path = dir.Write("page.html", page);
    for (TrimMode mode : {kDefaultTrimMode, TrimMode{0xFFFFFFFF}}) {
        std::string plain;
        ASSERT_RESULT(TrimHtmlText(page, plain, mode), RESULT_OK);
        EXPECT_EQ(Trimmed(path, mode), plain);
    }
}

// Adding a folder of 1,000 pages that share one style sheet reads it once; a sheet changed
// since is read again, and a cleared cache reads it anew. (The sheet counts as left alone
// from the moment it was written; see the next test.)
TEST(Stylesheets, OneReadForPagesSharingASheet) {
    TempDir dir;
    dir.Write("shared.css", ".code { white-space: pre }");
    std::vector<std::string> paths;
    for (int k = 0; k < 1000; ++k) {
        paths.push_back(dir.Write("pages/p" + std::to_string(k) + ".html",
                                  "<link rel=stylesheet href=../shared.css>"
                                  "<div class=code>  kept  </div><p>  trimmed  </p>"));
    }
    StylesheetCache cache(std::chrono::nanoseconds(0));
    for (const std::string& path : paths) {
        FileLook look;
        LookAtFile(path, kDefaultTrimMode, kScripts, 0, true, look, {}, &cache);
        ASSERT_RESULT(look.result, RESULT_OK);
        ASSERT_EQ(look.bytes,
                  "<link rel=stylesheet href=../shared.css><div class=code>  kept  </div><p> "
                  "trimmed </p>");
    }
    EXPECT_EQ(cache.ReadCount(), 1u);

    dir.Write("shared.css", ".other { white-space: pre-wrap }");
    EXPECT_EQ(Trimmed(paths[0], kDefaultTrimMode, &cache),
              "<link rel=stylesheet href=../shared.css><div class=code> kept </div><p> trimmed "
              "</p>");
    EXPECT_EQ(cache.ReadCount(), 2u);
    cache.Clear();
    (void)Trimmed(paths[1], kDefaultTrimMode, &cache);
    EXPECT_EQ(cache.ReadCount(), 3u);
}

// A sheet read just after it changed may change again without its stamp showing it (file
// times are coarse), so it is read again for each page until it has been left alone long
// enough; a rewrite that keeps size and modification time is seen by its status-change time.
TEST(Stylesheets, ASheetIsTrustedOnceLeftAlone) {
    TempDir dir;
    const std::string sheet = dir.Write("a.css", ".k { white-space: pre }");
    const std::string page = dir.Write(
        "p.html", "<link rel=stylesheet href=a.css><b class=k>  x  </b><b class=o>  y  </b>");
    const auto settle = std::chrono::milliseconds(300);
    StylesheetCache cache(settle);
    (void)Trimmed(page, kDefaultTrimMode, &cache);
    (void)Trimmed(page, kDefaultTrimMode, &cache);
    EXPECT_EQ(cache.ReadCount(), 2u);
    std::this_thread::sleep_for(settle * 2);
    (void)Trimmed(page, kDefaultTrimMode, &cache);
    (void)Trimmed(page, kDefaultTrimMode, &cache);
    EXPECT_EQ(cache.ReadCount(), 3u);

    const auto modified = std::filesystem::last_write_time(sheet);
    {
        std::fstream rewrite(sheet, std::ios::binary | std::ios::in | std::ios::out);
        rewrite << ".o { white-space: pre }";
    }
    std::filesystem::last_write_time(sheet, modified);
    EXPECT_EQ(Trimmed(page, kDefaultTrimMode, &cache),
              "<link rel=stylesheet href=a.css><b class=k> x </b><b class=o>  y  </b>");
}

std::string Source(std::string_view relative) {
    const char* root = std::getenv("TRIMLET_SOURCE_DIR");
    return root ? std::string(root) + "/tests/text/pages/" + std::string(relative) : "";
}

// The elements (each whole, from its start tag to its end tag) of generated documentation
// that its style sheet makes preformatted, as they stand in the page.
std::vector<std::string> Listings(const std::string& page, std::string_view start) {
    std::vector<std::string> found;
    for (size_t at = 0; (at = page.find(start, at)) != std::string::npos; ++at)
        found.push_back(page.substr(at, page.find("</div>", at) + 6 - at));
    return found;
}

TEST(Stylesheets, GeneratedDocumentationKeepsItsListings) {
    const struct {
        const char* page;
        const char* listing;  // the start of each preformatted element
        size_t count;
    } pages[] = {
        {"doxygen/html/widget_8h_source.html", "<div class=\"line\">", 12},
        {"javadoc/com/example/Copier.html", "<div class=\"member-signature\">", 2},
    };
    for (const auto& p : pages) {
        SCOPED_TRACE(p.page);
        const std::string path = Source(p.page);
        if (path.empty()) GTEST_SKIP() << "TRIMLET_SOURCE_DIR is not set";
        const std::string page = test::ReadAll(path);
        const std::vector<std::string> listings = Listings(page, p.listing);
        ASSERT_EQ(listings.size(), p.count);
        for (TrimMode mode : {kDefaultTrimMode, kDefaultTrimMode | TM_CR_REG_AS_WSP |
                                                    TM_BETWEEN_TAGS | TM_BETWEEN_INLINE_TAGS}) {
            const std::string trimmed = Trimmed(path, mode);
            EXPECT_LT(trimmed.size(), page.size());
            for (const std::string& listing : listings)
                EXPECT_NE(trimmed.find(listing), std::string::npos) << listing;
            // Without its style sheet the page loses the alignment of its listings.
            std::string alone;
            ASSERT_RESULT(TrimHtmlText(page, alone, mode, Charset::Utf8), RESULT_OK);
            EXPECT_EQ(alone.find(listings[0]), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace trimlet
