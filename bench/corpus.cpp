#include "corpus.h"

#include <cstdint>
#include <string_view>

namespace trimlet::bench {

namespace {

struct Word {
    std::string_view utf8;
    std::string_view cp932;
};

// Several have a CP932 trail byte of 0x5C or 0x7C.
constexpr Word kWords[] = {
    {"日本語", "\x93\xFA\x96\x7B\x8C\xEA"},
    {"表示", "\x95\x5C\x8E\xA6"},
    {"予定", "\x97\x5C\x92\xE8"},
    {"能力", "\x94\x5C\x97\xCD"},
    {"申し込み", "\x90\x5C\x82\xB5\x8D\x9E\x82\xDD"},
    {"ソフト", "\x83\x5C\x83\x74\x83\x67"},
    {"ポイント", "\x83\x7C\x83\x43\x83\x93\x83\x67"},
    {"十分", "\x8F\x5C\x95\xAA"},
    {"構成", "\x8D\x5C\x90\xAC"},
    {"機能", "\x8B\x40\x94\x5C"},
    {"お知らせ", "\x82\xA8\x92\x6D\x82\xE7\x82\xB9"},
    {"最新", "\x8D\xC5\x90\x56"},
    {"情報", "\x8F\xEE\x95\xF1"},
    {"会社", "\x89\xEF\x8E\xD0"},
    {"案内", "\x88\xC4\x93\xE0"},
    {"地図", "\x92\x6E\x90\x7D"},
    {"電話", "\x93\x64\x98\x62"},
    {"番号", "\x94\xD4\x8D\x86"},
    {"営業", "\x89\x63\x8B\xC6"},
    {"時間", "\x8E\x9E\x8A\xD4"},
    {"今日", "\x8D\xA1\x93\xFA"},
    {"天気", "\x93\x56\x8B\x43"},
    {"季節", "\x8B\x47\x90\xDF"},
    {"お茶", "\x82\xA8\x92\x83"},
    {"図書館", "\x90\x7D\x8F\x91\x8A\xD9"},
    {"開館", "\x8A\x4A\x8A\xD9"},
    {"検索", "\x8C\x9F\x8D\xF5"},
    {"結果", "\x8C\x8B\x89\xCA"},
    {"ページ", "\x83\x79\x81\x5B\x83\x57"},
    {"ダウンロード", "\x83\x5F\x83\x45\x83\x93\x83\x8D\x81\x5B\x83\x68"},
    {"ソース", "\x83\x5C\x81\x5B\x83\x58"},
    {"貼る", "\x93\x5C\x82\xE9"},
    {"ボタン", "\x83\x7B\x83\x5E\x83\x93"},
    {"メニュー", "\x83\x81\x83\x6A\x83\x85\x81\x5B"},
    {"データ", "\x83\x66\x81\x5B\x83\x5E"},
    {"更新", "\x8D\x58\x90\x56"},
    {"東京", "\x93\x8C\x8B\x9E"},
    {"駅", "\x89\x77"},
    {"徒歩", "\x93\x6B\x95\xE0"},
    {"詳細", "\x8F\xDA\x8D\xD7"},
    {"こちら", "\x82\xB1\x82\xBF\x82\xE7"},
    {"について", "\x82\xC9\x82\xC2\x82\xA2\x82\xC4"},
    {"です", "\x82\xC5\x82\xB7"},
    {"ます", "\x82\xDC\x82\xB7"},
    {"の", "\x82\xCC"},
    {"に", "\x82\xC9"},
    {"を", "\x82\xF0"},
    {"は", "\x82\xCD"},
    {"が", "\x82\xAA"},
    {"から", "\x82\xA9\x82\xE7"},
    {"、", "\x81\x41"},
};
constexpr Word kStop = {"。", "\x81\x42"};
constexpr Word kFullWidthBlank = {"　", "\x81\x40"};
constexpr Word kOpenQuote = {"「", "\x81\x75"};
constexpr Word kCloseQuote = {"」", "\x81\x76"};

constexpr std::string_view kEnglish[] = {
    "the",  "tea",   "room", "opens", "at",       "nine", "and",  "closes", "late",
    "each", "month", "we",   "serve", "seasonal", "cups", "from", "the",    "hills",
    "with", "care",  "read", "more",  "about",    "our",  "shop", "today",  "news",
};

class Rng {
  public:
    std::uint32_t Below(std::uint32_t n) {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return static_cast<std::uint32_t>(state_ % n);
    }

  private:
    std::uint64_t state_ = 0x9E3779B97F4A7C15ull;
};

class Writer {
  public:
    Writer(Charset charset, std::string& out) : charset_(charset), out_(out) {}

    void Open(std::string_view tag) {
        Line(tag);
        ++depth_;
    }
    void Close(std::string_view tag) {
        --depth_;
        Line(tag);
    }
    void Line(std::string_view text) {
        Indent();
        out_ += text;
        out_ += "\r\n";
    }
    void Blank() { out_ += rng_.Below(3) == 0 ? "    \r\n" : "\r\n"; }
    void Indent() { out_.append(static_cast<std::size_t>(depth_) * 2, ' '); }
    void Put(std::string_view text) { out_ += text; }
    void Put(const Word& word) { out_ += charset_ == Charset::Cp932 ? word.cp932 : word.utf8; }
    std::uint32_t Below(std::uint32_t n) { return rng_.Below(n); }

    void Japanese(int words) {
        for (int i = 0; i < words; ++i) {
            Put(kWords[rng_.Below(std::size(kWords))]);
            if (rng_.Below(12) == 0) Put(kFullWidthBlank);
        }
        Put(kStop);
    }
    void English(int words) {
        for (int i = 0; i < words; ++i) {
            if (i > 0) Put(rng_.Below(15) == 0 ? "  " : " ");
            Put(kEnglish[rng_.Below(std::size(kEnglish))]);
        }
        Put(".");
    }

    // An inline script: old-style hidden in a comment, with comments and strings.
    void Script() {
        Open("<script type=\"text/javascript\">");
        Line("<!--");
        const int functions = 1 + static_cast<int>(rng_.Below(2));
        for (int f = 0; f < functions; ++f)
            Function(f);
        Line("//-->");
        Close("</script>");
    }

    void Function(int n) {
        Indent();
        Put("// ");
        Japanese(3);
        Put("\r\n");
        Indent();
        Put("function update" + std::to_string(n) + "( list, count ) {\r\n");
        ++depth_;
        Line("var total = 0;  /* running sum */");
        Indent();
        Put("var label = \"");
        Japanese(2);
        Put(" // not a comment\";\r\n");
        Line("for (var i = 0; i < list.length; i++) {");
        ++depth_;
        Line("if ( list[ i ].value > count ) {");
        Line("  total += list[ i ].value * 2;   // double it");
        Line("} else if (/^[0-9]+$/.test(list[i].name)) {");
        Line("  total = total - 1;");
        Line("}");
        --depth_;
        Line("}");
        Blank();
        Line("document.getElementById( 'total' ).innerHTML = label + ' : ' + total;");
        Line("return total;");
        --depth_;
        Line("}");
        Blank();
    }

    void Section() {
        Open("<div class=\"section\">");
        Indent();
        Put("<h2>");
        Japanese(2 + static_cast<int>(rng_.Below(3)));
        Put("</h2>\r\n");
        if (rng_.Below(2) == 0) Line("<!-- section " + std::to_string(rng_.Below(100)) + " -->");
        const int paragraphs = 2 + static_cast<int>(rng_.Below(3));
        for (int p = 0; p < paragraphs; ++p) {
            Open("<p>");
            for (int l = 0; l < 3; ++l) {
                Indent();
                if (rng_.Below(3) == 0) {
                    English(8 + static_cast<int>(rng_.Below(8)));
                } else {
                    Put(kOpenQuote);
                    Japanese(6 + static_cast<int>(rng_.Below(10)));
                    Put(kCloseQuote);
                }
                Put(rng_.Below(4) == 0 ? "   \r\n" : "\r\n");
            }
            Close("</p>");
            if (rng_.Below(3) == 0) Blank();
        }
        if (rng_.Below(3) == 0) {
            Open("<table border=\"1\">");
            for (int r = 0; r < 4; ++r) {
                Indent();
                Put("<tr>  <td>");
                Put(kWords[rng_.Below(std::size(kWords))]);
                Put("</td>  <td align=\"right\">" + std::to_string(rng_.Below(10000)) +
                    "</td>  </tr>\r\n");
            }
            Close("</table>");
        }
        if (rng_.Below(5) == 0) {
            Line("<pre>");
            Put("  kept    as\r\n\r\n      written\r\n");
            Line("</pre>");
        }
        if (rng_.Below(5) == 0) Script();
        Close("</div>");
        Blank();
        Blank();
    }

    void Page() {
        Line("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">");
        Open("<html>");
        Open("<head>");
        Line(charset_ == Charset::Cp932
                 ? "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">"
                 : "<meta charset=\"utf-8\">");
        Indent();
        Put("<title>");
        Japanese(3);
        Put("</title>\r\n");
        Line("<!-- generated page, do not edit -->");
        Script();
        Close("</head>");
        Blank();
        Open("<body bgcolor=\"#ffffff\" onload=\"update0( items, 3 );\">");
        Line("<!--#include virtual=\"/header.html\"-->");
        Open("<ul class=\"menu\">");
        for (int i = 0; i < 6; ++i) {
            Indent();
            Put("<li><a href=\"page" + std::to_string(rng_.Below(500)) + ".html\">");
            Put(kWords[rng_.Below(std::size(kWords))]);
            Put("</a></li>\r\n");
        }
        Close("</ul>");
        Blank();
        const int sections = 3 + static_cast<int>(rng_.Below(4));
        for (int s = 0; s < sections; ++s)
            Section();
        Line("<!-- Dovetag -->");
        Line("<!-- footer -->");
        Close("</body>");
        Close("</html>");
    }

  private:
    Charset charset_;
    std::string& out_;
    Rng rng_;
    int depth_ = 0;
};

}  // namespace

std::string MakeHtmlCorpus(Charset charset, std::size_t minBytes) {
    std::string out;
    out.reserve(minBytes + 64 * 1024);
    Writer writer(charset, out);
    while (out.size() < minBytes)
        writer.Page();
    return out;
}

std::string MakeScriptCorpus(Charset charset, std::size_t minBytes) {
    std::string out;
    out.reserve(minBytes + 64 * 1024);
    Writer writer(charset, out);
    for (int n = 0; out.size() < minBytes; ++n) {
        writer.Function(n);
        if (n % 8 == 0) {
            writer.Put("/*\r\n * ");
            writer.English(12);
            writer.Put("\r\n */\r\n");
        }
    }
    return out;
}

}  // namespace trimlet::bench
