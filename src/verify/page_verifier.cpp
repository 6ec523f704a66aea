#include "verify/page_verifier.h"

#include <gumbo.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <new>
#include <unordered_map>
#include <utility>
#include <vector>

#include "common/messages.h"
#include "engine/comment_kinds.h"
#include "engine/preformatted.h"
#include "platform/codepage.h"
#include "text/stylesheets.h"
#include "text/text_loading.h"
#include "verify/script_tokens.h"
#include "verify/text_rules.h"
#include "verify/verify_texts.h"

namespace trimlet {

namespace {

using verify::CollapseBlanks;
using verify::Excerpt;
using verify::FirstDifference;
using verify::IsBlankText;
namespace text = verify::text;

std::string Format(std::string_view format, std::initializer_list<FormatArg> args) {
    return FormatText(format, args);
}

std::size_t LineOf(std::string_view text, std::size_t offset) {
    offset = std::min(offset, text.size());
    return 1 + static_cast<std::size_t>(std::count(text.begin(), text.begin() + offset, '\n'));
}

// ---- the text the parser reads ------------------------------------------------------

Result ToUtf8(std::string_view text, Charset charset, std::string& out) {
    out.clear();
    if (charset == Charset::Cp932) return Cp932ToUtf8(text, out);
    try {
        out.assign(text);
    } catch (const std::bad_alloc&) {
        return RESULT_OUT_OF_MEMORY;
    }
    return RESULT_OK;
}

// ---- server code: compared byte for byte before any parsing -------------------------

struct Span {
    std::size_t begin;
    std::string_view text;
};

// The "<% %>" and "<? ?>" stretches of `t` outside HTML comments, in order; an unterminated
// one runs to the end.
std::vector<Span> ServerCodeSpans(std::string_view t) {
    std::vector<Span> spans;
    for (std::size_t i = t.find('<'); i != std::string_view::npos; i = t.find('<', i)) {
        const char next = i + 1 < t.size() ? t[i + 1] : '\0';
        std::string_view close;
        if (t.compare(i, 4, "<!--") == 0) {
            const std::size_t end = t.find("-->", i + 4);
            i = end == std::string_view::npos ? t.size() : end + 3;
            continue;
        }
        if (next == '%') close = "%>";
        if (next == '?') close = "?>";
        if (close.empty()) {
            ++i;
            continue;
        }
        const std::size_t end = t.find(close, i + 2);
        const std::size_t stop = end == std::string_view::npos ? t.size() : end + 2;
        spans.push_back(Span{i, t.substr(i, stop - i)});
        i = stop;
    }
    return spans;
}

bool CompareServerCode(std::string_view a, std::string_view b, Verdict& verdict) {
    const std::vector<Span> sa = ServerCodeSpans(a);
    const std::vector<Span> sb = ServerCodeSpans(b);
    for (std::size_t k = 0; k < std::max(sa.size(), sb.size()); ++k) {
        const std::string_view ta = k < sa.size() ? sa[k].text : text::kEndOfText;
        const std::string_view tb = k < sb.size() ? sb[k].text : text::kEndOfText;
        if (k < sa.size() && k < sb.size() && ta == tb) continue;
        const std::size_t at = FirstDifference(ta, tb);
        const std::size_t line = k < sa.size() ? LineOf(a, sa[k].begin + at) : LineOf(a, a.size());
        verdict.status = VerifyStatus::Differs;
        verdict.difference =
            Format(text::kServerCodeDiffers, {line, Excerpt(ta, at), Excerpt(tb, at)});
        return false;
    }
    return true;
}

// ---- the parse ----------------------------------------------------------------------

struct GumboOutputDeleter {
    void operator()(GumboOutput* output) const noexcept {
        if (output) gumbo_destroy_output(&kGumboDefaultOptions, output);
    }
};
using ParsedPage = std::unique_ptr<GumboOutput, GumboOutputDeleter>;

ParsedPage Parse(std::string_view utf8) {
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0;
    return ParsedPage(gumbo_parse_with_options(&options, utf8.data(), utf8.size()));
}

// Where the page's BODY is in the text, as the trimmer finds it: from each "<body" tag
// outside comments, scripts and styles to the next "</body" (a page of joined pages has
// many).
struct BodyRange {
    std::vector<std::pair<std::size_t, std::size_t>> spans;  // begin, end (npos: the end)
    bool Holds(std::size_t offset) const {
        for (const auto& [begin, end] : spans)
            if (offset > begin && (end == std::string_view::npos || offset < end)) return true;
        return false;
    }
};

bool TagNameAt(std::string_view t, std::size_t i, std::string_view name) {
    if (t.size() - i < name.size() + 1) return false;
    for (std::size_t k = 0; k < name.size(); ++k) {
        char c = t[i + k];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
        if (c != name[k]) return false;
    }
    const std::size_t after = i + name.size();
    return after == t.size() || !std::isalnum(static_cast<unsigned char>(t[after]));
}

BodyRange FindBody(std::string_view t) {
    BodyRange range;
    for (std::size_t i = t.find('<'); i != std::string_view::npos; i = t.find('<', i + 1)) {
        if (t.compare(i, 4, "<!--") == 0) {
            const std::size_t end = t.find("-->", i + 4);
            if (end == std::string_view::npos) break;
            i = end + 2;
        } else if (TagNameAt(t, i + 1, "body")) {
            if (range.spans.empty() || range.spans.back().second != std::string_view::npos)
                range.spans.emplace_back(i, std::string_view::npos);
        } else if (TagNameAt(t, i + 1, "/body")) {
            if (!range.spans.empty() && range.spans.back().second == std::string_view::npos)
                range.spans.back().second = i;
        } else if (TagNameAt(t, i + 1, "script") || TagNameAt(t, i + 1, "style")) {
            const bool script = TagNameAt(t, i + 1, "script");
            std::size_t j = i + 1;
            for (;;) {
                j = t.find("</", j);
                if (j == std::string_view::npos) return range;
                if (TagNameAt(t, j + 2, script ? "script" : "style")) break;
                j += 2;
            }
            i = j;
        }
    }
    return range;
}

// ---- the tree walk ------------------------------------------------------------------

std::string ElementName(const GumboNode* node) {
    const GumboElement& e = node->v.element;
    if (e.tag != GUMBO_TAG_UNKNOWN) return gumbo_normalized_tagname(e.tag);
    GumboStringPiece piece = e.original_tag;
    gumbo_tag_from_original_text(&piece);
    std::string name(piece.data ? piece.data : "", piece.length);
    for (char& c : name)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return name;
}

bool IsElement(const GumboNode* node) {
    return node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_TEMPLATE;
}

bool IsHtmlTag(const GumboNode* node, GumboTag tag) {
    return IsElement(node) && node->v.element.tag_namespace == GUMBO_NAMESPACE_HTML &&
           node->v.element.tag == tag;
}

const char* AttributeValue(const GumboNode* node, const char* name) {
    const GumboAttribute* a = gumbo_get_attribute(&node->v.element.attributes, name);
    return a ? a->value : nullptr;
}

// Elements a browser lays out as blocks (or does not show): a blank beside one is not shown.
bool IsBlockLevel(const GumboNode* node) {
    const GumboElement& e = node->v.element;
    if (e.tag_namespace == GUMBO_NAMESPACE_SVG) {
        // Each TEXT is placed on its own; only the SVG picture itself and the runs inside a
        // TEXT flow with their neighbours.
        const std::string name = ElementName(node);
        return name != "svg" && name != "tspan" && name != "a" && name != "textpath";
    }
    if (e.tag_namespace != GUMBO_NAMESPACE_HTML) return false;
    switch (e.tag) {
        case GUMBO_TAG_HTML:
        case GUMBO_TAG_HEAD:
        case GUMBO_TAG_BODY:
        case GUMBO_TAG_TITLE:
        case GUMBO_TAG_META:
        case GUMBO_TAG_LINK:
        case GUMBO_TAG_BASE:
        case GUMBO_TAG_ADDRESS:
        case GUMBO_TAG_ARTICLE:
        case GUMBO_TAG_ASIDE:
        case GUMBO_TAG_BLOCKQUOTE:
        case GUMBO_TAG_BR:
        case GUMBO_TAG_CENTER:
        case GUMBO_TAG_DD:
        case GUMBO_TAG_DETAILS:
        case GUMBO_TAG_DIR:
        case GUMBO_TAG_DIV:
        case GUMBO_TAG_DL:
        case GUMBO_TAG_DT:
        case GUMBO_TAG_FIELDSET:
        case GUMBO_TAG_FIGCAPTION:
        case GUMBO_TAG_FIGURE:
        case GUMBO_TAG_FOOTER:
        case GUMBO_TAG_FORM:
        case GUMBO_TAG_FRAMESET:
        case GUMBO_TAG_FRAME:
        case GUMBO_TAG_H1:
        case GUMBO_TAG_H2:
        case GUMBO_TAG_H3:
        case GUMBO_TAG_H4:
        case GUMBO_TAG_H5:
        case GUMBO_TAG_H6:
        case GUMBO_TAG_HEADER:
        case GUMBO_TAG_HGROUP:
        case GUMBO_TAG_HR:
        case GUMBO_TAG_LI:
        case GUMBO_TAG_MAIN:
        case GUMBO_TAG_MENU:
        case GUMBO_TAG_NAV:
        case GUMBO_TAG_NOFRAMES:
        case GUMBO_TAG_OL:
        case GUMBO_TAG_OPTGROUP:
        case GUMBO_TAG_OPTION:
        case GUMBO_TAG_P:
        case GUMBO_TAG_PRE:
        case GUMBO_TAG_LISTING:
        case GUMBO_TAG_XMP:
        case GUMBO_TAG_PLAINTEXT:
        case GUMBO_TAG_SECTION:
        case GUMBO_TAG_SUMMARY:
        case GUMBO_TAG_TABLE:
        case GUMBO_TAG_CAPTION:
        case GUMBO_TAG_COLGROUP:
        case GUMBO_TAG_COL:
        case GUMBO_TAG_TBODY:
        case GUMBO_TAG_THEAD:
        case GUMBO_TAG_TFOOT:
        case GUMBO_TAG_TR:
        case GUMBO_TAG_TD:
        case GUMBO_TAG_TH:
        case GUMBO_TAG_UL:
        case GUMBO_TAG_SELECT:
        case GUMBO_TAG_DATALIST:
            return true;
        case GUMBO_TAG_UNKNOWN:
            return ElementName(node) == "dialog";
        default:
            return false;
    }
}

// Whether the edges of `node`'s content are inline content: its text flows on beside it.
bool FlowsInline(const GumboNode* node) {
    if (node->v.element.tag_namespace == GUMBO_NAMESPACE_SVG) {
        const std::string name = ElementName(node);
        return name == "text" || name == "tspan" || name == "textpath";
    }
    return !IsBlockLevel(node);
}

// Elements that show nothing where they stand: a blank is judged by what lies beyond them.
bool IsHidden(const GumboNode* node) {
    return IsHtmlTag(node, GUMBO_TAG_SCRIPT) || IsHtmlTag(node, GUMBO_TAG_STYLE) ||
           node->type == GUMBO_NODE_TEMPLATE;
}

bool IsPreKin(const GumboNode* node) {
    return IsHtmlTag(node, GUMBO_TAG_PRE) || IsHtmlTag(node, GUMBO_TAG_LISTING) ||
           IsHtmlTag(node, GUMBO_TAG_XMP) || IsHtmlTag(node, GUMBO_TAG_PLAINTEXT) ||
           IsHtmlTag(node, GUMBO_TAG_TEXTAREA);
}

bool IsStyledPreformatted(const GumboNode* node) {
    const char* style = AttributeValue(node, "style");
    if (!style) return false;
    std::string lower(style);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    for (std::size_t at = lower.find("white-space"); at != std::string::npos;
         at = lower.find("white-space", at + 1)) {
        std::size_t v = lower.find(':', at);
        if (v == std::string::npos) break;
        ++v;
        while (v < lower.size() && verify::IsAsciiBlank(lower[v]))
            ++v;
        const std::string_view value = std::string_view(lower).substr(v);
        if (value.starts_with("pre") || value.starts_with("break-spaces")) return true;
    }
    return false;
}

bool PreservesSvgSpace(const GumboNode* node) {
    if (node->v.element.tag_namespace != GUMBO_NAMESPACE_SVG) return false;
    const GumboVector& attributes = node->v.element.attributes;
    for (unsigned k = 0; k < attributes.length; ++k) {
        const auto* a = static_cast<const GumboAttribute*>(attributes.data[k]);
        const bool space =
            std::strcmp(a->name, "xml:space") == 0 ||
            (a->attr_namespace == GUMBO_ATTR_NAMESPACE_XML && std::strcmp(a->name, "space") == 0);
        if (space && std::strcmp(a->value, "preserve") == 0) return true;
    }
    return false;
}

enum class ScriptLanguage { JavaScript, VbScript, Data };

ScriptLanguage LanguageOf(const GumboNode* script) {
    std::string type;
    if (const char* value = AttributeValue(script, "type")) type = value;
    std::string lower;
    for (char c : type) {
        if (verify::IsAsciiBlank(c)) continue;
        lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    }
    if (const std::size_t semicolon = lower.find(';'); semicolon != std::string::npos)
        lower.resize(semicolon);
    if (lower.empty()) {
        const char* language = AttributeValue(script, "language");
        if (language && std::string_view(language).find("vb") != std::string_view::npos)
            return ScriptLanguage::VbScript;
        if (language && (std::string_view(language).find("VB") != std::string_view::npos ||
                         std::string_view(language).find("Vb") != std::string_view::npos))
            return ScriptLanguage::VbScript;
        return ScriptLanguage::JavaScript;
    }
    if (lower == "text/vbscript" || lower == "text/vbs") return ScriptLanguage::VbScript;
    static constexpr std::string_view kJavaScript[] = {"text/javascript",
                                                       "application/javascript",
                                                       "application/ecmascript",
                                                       "text/ecmascript",
                                                       "module",
                                                       "text/jscript",
                                                       "application/x-javascript",
                                                       "text/x-javascript",
                                                       "text/livescript",
                                                       "application/x-ecmascript",
                                                       "text/x-ecmascript",
                                                       "text/javascript1.0",
                                                       "text/javascript1.1",
                                                       "text/javascript1.2",
                                                       "text/javascript1.3",
                                                       "text/javascript1.4",
                                                       "text/javascript1.5"};
    for (std::string_view js : kJavaScript)
        if (lower == js) return ScriptLanguage::JavaScript;
    return ScriptLanguage::Data;
}

bool IsTextNode(const GumboNode* node) {
    return node->type == GUMBO_NODE_TEXT || node->type == GUMBO_NODE_WHITESPACE ||
           node->type == GUMBO_NODE_CDATA;
}

// The text of an element's text children, in order.
std::string ChildText(const GumboNode* node, std::size_t& line) {
    std::string text;
    line = node->v.element.start_pos.line;
    const GumboVector& children = node->v.element.children;
    bool first = true;
    for (unsigned k = 0; k < children.length; ++k) {
        const auto* child = static_cast<const GumboNode*>(children.data[k]);
        if (!IsTextNode(child)) continue;
        if (first) line = child->v.text.start_pos.line;
        first = false;
        text += child->v.text.text;
    }
    return text;
}

bool CompareTokens(const std::vector<verify::Token>& a, const std::vector<verify::Token>& b,
                   bool lineBreaks, const std::string& path, std::size_t lineOffset,
                   std::string& difference) {
    const auto shown = [](const std::vector<verify::Token>& tokens, std::size_t k) {
        if (k >= tokens.size()) return std::string(text::kEndOfText);
        if (tokens[k].kind == verify::TokenKind::LineEnd) return std::string(text::kLineEnd);
        return Excerpt(tokens[k].text, 0);
    };
    for (std::size_t k = 0; k < std::max(a.size(), b.size()); ++k) {
        const bool same =
            k < a.size() && k < b.size() && a[k].kind == b[k].kind && a[k].text == b[k].text;
        const std::size_t line =
            lineOffset + (k < a.size() ? a[k].line : (a.empty() ? 1 : a.back().line));
        if (!same) {
            difference = Format(text::kScriptDiffers, {path, line, shown(a, k), shown(b, k)});
            return false;
        }
        if (lineBreaks && a[k].breakBefore != b[k].breakBefore && verify::LineBreakMatters(a, k)) {
            difference = Format(text::kScriptBreakLost, {path, shown(a, k), line});
            return false;
        }
    }
    return true;
}

// One child as the walk sees it: texts side by side (also across a deleted comment) are one.
struct Item {
    enum class Kind { Element, Text, Comment } kind = Kind::Text;
    const GumboNode* node = nullptr;
    std::string text;  // text or comment body
    std::size_t line = 0;
    bool blank = false;
};

// Browsers build no deeper trees than a few hundred levels either.
constexpr std::size_t kMaxDepth = 512;

class Walker {
  public:
    Walker(TrimMode mode, const VerifyOptions& options, std::string_view original, BodyRange body)
        : mode_(mode), options_(options), original_(original), body_(body) {}

    // Compares the children of `a` (original) and `b` (trimmed). False at the first
    // difference, which `difference` then holds.
    bool CompareChildren(const GumboNode* a, const GumboNode* b, bool exact, bool inlineParent);

    std::string difference;

  private:
    std::vector<Item> RawItems(const GumboNode* parent, bool exact) const;
    bool MatchComments(std::vector<Item>& original, const std::vector<Item>& trimmed);
    static void MergeTexts(std::vector<Item>& items);
    bool InlineBeside(const std::vector<Item>& items, std::size_t k, int step,
                      bool inlineParent) const;
    bool BlankBefore(const std::vector<Item>& items, std::size_t k) const;
    bool MayVanish(const std::vector<Item>& items, std::size_t k, bool exact,
                   bool inlineParent) const;
    bool CompareTexts(const std::vector<Item>& items, std::size_t k, const Item& b, bool exact,
                      bool inlineParent);
    bool CompareElements(const GumboNode* a, const GumboNode* b, bool exact);
    bool CompareScript(const GumboNode* a, const GumboNode* b);
    bool CompareStyle(const GumboNode* a, const GumboNode* b);
    bool CommentMayGo(const Item& comment) const;
    std::string Path() const;
    std::string Describe(const Item& item) const;
    bool Fail(std::string text) {
        difference = std::move(text);
        return false;
    }

    TrimMode mode_;
    const VerifyOptions& options_;
    std::string_view original_;
    BodyRange body_;
    std::vector<std::string> path_;
};

std::string Walker::Path() const {
    if (path_.empty()) return std::string(text::kDocument);
    std::string path;
    for (const std::string& segment : path_) {
        if (!path.empty()) path += text::kPathSeparator;
        path += segment;
    }
    return path;
}

std::string Walker::Describe(const Item& item) const {
    switch (item.kind) {
        case Item::Kind::Element:
            return "<" + ElementName(item.node) + ">";
        case Item::Kind::Comment:
            return std::string(text::kComment) + " \"" + Excerpt(item.text, 0) + "\"";
        case Item::Kind::Text:
            break;
    }
    if (item.blank) return std::string(text::kBlankMissing);
    return std::string(text::kText) + " \"" + Excerpt(item.text, 0) + "\"";
}

std::vector<Item> Walker::RawItems(const GumboNode* parent, bool exact) const {
    const GumboVector& children = parent->type == GUMBO_NODE_DOCUMENT ? parent->v.document.children
                                                                      : parent->v.element.children;
    std::vector<Item> items;
    items.reserve(children.length);
    const bool fullWidth = (mode_ & TM_ZENKAKU_AS_WSP) != 0;
    for (unsigned k = 0; k < children.length; ++k) {
        const auto* child = static_cast<const GumboNode*>(children.data[k]);
        Item item;
        item.node = child;
        if (IsElement(child)) {
            item.kind = Item::Kind::Element;
            item.line = child->v.element.start_pos.line;
        } else if (child->type == GUMBO_NODE_COMMENT) {
            item.kind = Item::Kind::Comment;
            item.text = child->v.text.text;
            item.line = child->v.text.start_pos.line;
        } else if (IsTextNode(child)) {
            item.kind = Item::Kind::Text;
            item.text = child->v.text.text;
            item.line = child->v.text.start_pos.line;
            item.blank = !exact && IsBlankText(item.text, fullWidth);
        } else {
            continue;
        }
        items.push_back(std::move(item));
    }
    return items;
}

bool Walker::CommentMayGo(const Item& comment) const {
    const GumboStringPiece& source = comment.node->v.text.original_text;
    // "<? ?>", "<!...>" and "</ ...>" read as comments are not comments to the trimmer.
    if (source.length < 4 || std::memcmp(source.data, "<!--", 4) != 0) return false;
    if ((mode_ & TM_HTML_COMMENT_DEL) == 0) return false;
    if ((mode_ & TM_BODY_COMMENTS_ONLY) != 0 && !body_.Holds(comment.node->v.text.start_pos.offset))
        return false;
    const std::string_view whole(source.data, source.length);
    return !KeepsCommentKind(HtmlCommentKind(whole, options_.keptComments), mode_);
}

// Kept comments must come out as they were (blanks aside); the others may be missing.
// Takes the missing ones out of `original`.
bool Walker::MatchComments(std::vector<Item>& original, const std::vector<Item>& trimmed) {
    const auto same = [](const Item& a, const Item& b) {
        return CollapseBlanks(a.text, false) == CollapseBlanks(b.text, false);
    };
    std::vector<bool> dropped(original.size(), false);
    std::size_t oi = 0;
    for (const Item& b : trimmed) {
        if (b.kind != Item::Kind::Comment) continue;
        bool matched = false;
        for (; oi < original.size(); ++oi) {
            const Item& a = original[oi];
            if (a.kind != Item::Kind::Comment) continue;
            if (same(a, b)) {
                matched = true;
                ++oi;
                break;
            }
            if (!CommentMayGo(a)) {
                const std::string excerpt = Excerpt(a.text, 0);
                return Fail(Format(text::kCommentMissing, {Path(), a.line, excerpt}));
            }
            dropped[oi] = true;
        }
        if (!matched) return Fail(Format(text::kCommentExtra, {Path(), Excerpt(b.text, 0)}));
    }
    for (; oi < original.size(); ++oi) {
        const Item& a = original[oi];
        if (a.kind != Item::Kind::Comment) continue;
        if (!CommentMayGo(a))
            return Fail(Format(text::kCommentMissing, {Path(), a.line, Excerpt(a.text, 0)}));
        dropped[oi] = true;
    }
    std::vector<Item> kept;
    kept.reserve(original.size());
    for (std::size_t k = 0; k < original.size(); ++k)
        if (!dropped[k]) kept.push_back(std::move(original[k]));
    original = std::move(kept);
    return true;
}

void Walker::MergeTexts(std::vector<Item>& items) {
    std::vector<Item> merged;
    merged.reserve(items.size());
    for (Item& item : items) {
        if (item.kind == Item::Kind::Text && !merged.empty() &&
            merged.back().kind == Item::Kind::Text) {
            merged.back().text += item.text;
            merged.back().blank = merged.back().blank && item.blank;
            continue;
        }
        merged.push_back(std::move(item));
    }
    items = std::move(merged);
}

// Whether the first thing shown beside items[k] (before it for step -1, after for +1) is
// inline content: text, or an element not laid out as a block. Blanks, comments, scripts
// and styles are looked past; the parent's edge counts as what the parent is.
bool Walker::InlineBeside(const std::vector<Item>& items, std::size_t k, int step,
                          bool inlineParent) const {
    for (std::size_t i = k;;) {
        if (step < 0 ? i == 0 : i + 1 >= items.size()) return inlineParent;
        i = step < 0 ? i - 1 : i + 1;
        const Item& item = items[i];
        if (item.kind == Item::Kind::Comment) continue;
        if (item.kind == Item::Kind::Text) {
            if (item.blank) continue;
            return true;
        }
        if (IsHidden(item.node)) continue;
        return !IsBlockLevel(item.node);
    }
}

// Whether the text shown just before items[k], past comments, scripts and styles, ends with
// a blank: a blank after it adds nothing.
bool Walker::BlankBefore(const std::vector<Item>& items, std::size_t k) const {
    const bool fullWidth = (mode_ & TM_ZENKAKU_AS_WSP) != 0;
    for (std::size_t i = k; i > 0;) {
        const Item& item = items[--i];
        if (item.kind == Item::Kind::Comment) continue;
        if (item.kind == Item::Kind::Element) {
            if (IsHidden(item.node)) continue;
            return false;
        }
        if (item.blank || item.text.empty()) return false;
        const std::string_view text = item.text;
        return verify::IsAsciiBlank(text.back()) ||
               (fullWidth && text.size() >= 3 && text.ends_with("\xE3\x80\x80"));
    }
    return false;
}

bool Walker::MayVanish(const std::vector<Item>& items, std::size_t k, bool exact,
                       bool inlineParent) const {
    if (exact || !items[k].blank) return false;
    if (BlankBefore(items, k)) return true;
    if ((mode_ & TM_BETWEEN_TAGS) != 0 && (mode_ & TM_BETWEEN_INLINE_TAGS) != 0) return true;
    // A blank at the start or end of a line (beside a block, or at a block's edge) shows as
    // nothing; only one between two pieces of inline content shows as a space.
    return !InlineBeside(items, k, -1, inlineParent) || !InlineBeside(items, k, +1, inlineParent);
}

bool Walker::CompareTexts(const std::vector<Item>& items, std::size_t k, const Item& b, bool exact,
                          bool inlineParent) {
    const Item& a = items[k];
    std::string_view ta = a.text, tb = b.text;
    std::string ca, cb;
    std::vector<std::size_t> origins;
    if (!exact) {
        const bool fullWidth = (mode_ & TM_ZENKAKU_AS_WSP) != 0;
        ca = CollapseBlanks(a.text, fullWidth, &origins);
        cb = CollapseBlanks(b.text, fullWidth);
        const auto trim = [](std::string& s, bool front, bool back) {
            if (back && !s.empty() && s.back() == ' ') s.pop_back();
            if (front && !s.empty() && s.front() == ' ') s.erase(0, 1);
        };
        const bool front = !InlineBeside(items, k, -1, inlineParent) || BlankBefore(items, k);
        const bool back = !InlineBeside(items, k, +1, inlineParent);
        if (front && !ca.empty() && ca.front() == ' ') origins.erase(origins.begin());
        trim(ca, front, back);
        trim(cb, front, back);
        ta = ca;
        tb = cb;
    }
    const std::size_t at = FirstDifference(ta, tb);
    if (at == std::string_view::npos) return true;
    const std::size_t origin = exact ? at : (at < origins.size() ? origins[at] : a.text.size());
    const std::size_t line = a.line + LineOf(a.text, origin) - 1;
    return Fail(Format(text::kTextDiffers, {Path(), line, Excerpt(ta, at), Excerpt(tb, at)}));
}

bool Walker::CompareScript(const GumboNode* a, const GumboNode* b) {
    std::size_t lineA = 0, lineB = 0;
    const std::string ta = ChildText(a, lineA);
    const std::string tb = ChildText(b, lineB);
    const ScriptLanguage language = LanguageOf(a);
    if (language == ScriptLanguage::Data) {
        const std::size_t at = FirstDifference(ta, tb);
        if (at == std::string::npos) return true;
        return Fail(Format(text::kScriptDiffers,
                           {Path(), lineA + LineOf(ta, at) - 1, Excerpt(ta, at), Excerpt(tb, at)}));
    }
    // The tokens count lines from the script's start; the page counts from its own.
    if (language == ScriptLanguage::VbScript)
        return CompareTokens(verify::VbScriptTokens(ta), verify::VbScriptTokens(tb), false, Path(),
                             lineA - 1, difference);
    return CompareTokens(verify::JavaScriptTokens(ta), verify::JavaScriptTokens(tb), true, Path(),
                         lineA - 1, difference);
}

bool Walker::CompareStyle(const GumboNode* a, const GumboNode* b) {
    std::size_t lineA = 0, lineB = 0;
    const std::string ta = ChildText(a, lineA);
    const std::string tb = ChildText(b, lineB);
    const std::string na = verify::NormalizeCss(ta);
    const std::string nb = verify::NormalizeCss(tb);
    const std::size_t at = FirstDifference(na, nb);
    if (at == std::string::npos) return true;
    return Fail(Format(text::kStyleDiffers, {Path(), lineA, Excerpt(na, at), Excerpt(nb, at)}));
}

bool Walker::CompareElements(const GumboNode* a, const GumboNode* b, bool exact) {
    const GumboElement& ea = a->v.element;
    const GumboElement& eb = b->v.element;
    const std::string name = ElementName(a);
    if (ea.tag_namespace != eb.tag_namespace || name != ElementName(b) || a->type != b->type)
        return Fail(
            Format(text::kElementDiffers, {Path(), ea.start_pos.line, name, ElementName(b)}));
    if (ea.attributes.length != eb.attributes.length)
        return Fail(Format(text::kAttributesDiffer, {Path(), ea.start_pos.line,
                                                     ea.attributes.length, eb.attributes.length}));
    for (unsigned k = 0; k < ea.attributes.length; ++k) {
        const auto* x = static_cast<const GumboAttribute*>(ea.attributes.data[k]);
        const auto* y = static_cast<const GumboAttribute*>(eb.attributes.data[k]);
        if (x->attr_namespace == y->attr_namespace && std::strcmp(x->name, y->name) == 0 &&
            std::strcmp(x->value, y->value) == 0)
            continue;
        const std::size_t at = FirstDifference(x->value, y->value);
        return Fail(
            Format(text::kAttributeDiffers, {Path(), x->name, ea.start_pos.line,
                                             Excerpt(x->value, at == std::string::npos ? 0 : at),
                                             Excerpt(y->value, at == std::string::npos ? 0 : at)}));
    }
    if (IsHtmlTag(a, GUMBO_TAG_SCRIPT) ||
        (ea.tag_namespace == GUMBO_NAMESPACE_SVG && name == "script"))
        return CompareScript(a, b);
    if (IsHtmlTag(a, GUMBO_TAG_STYLE)) return CompareStyle(a, b);
    bool childExact = exact;
    if (IsPreKin(a) && (mode_ & TM_INSIDE_PRE) == 0) childExact = true;
    if (options_.styledPreformatted && IsStyledPreformatted(a)) childExact = true;
    if (options_.preformatted != nullptr && (mode_ & TM_INSIDE_PRE) == 0 &&
        ea.tag_namespace == GUMBO_NAMESPACE_HTML) {
        const char* classes = AttributeValue(a, "class");
        const char* id = AttributeValue(a, "id");
        if (options_.preformatted->Matches(name, classes ? classes : "", id ? id : ""))
            childExact = true;
    }
    if (PreservesSvgSpace(a)) childExact = true;
    return CompareChildren(a, b, childExact, FlowsInline(a));
}

bool Walker::CompareChildren(const GumboNode* a, const GumboNode* b, bool exact,
                             bool inlineParent) {
    std::vector<Item> ia = RawItems(a, exact);
    const std::vector<Item> rawB = RawItems(b, exact);
    if (!MatchComments(ia, rawB)) return false;
    MergeTexts(ia);
    std::vector<Item> ib = rawB;
    MergeTexts(ib);

    // Same-named siblings get their place in the path ("div[3]").
    std::vector<std::string> names(ia.size());
    std::vector<std::size_t> places(ia.size(), 0);
    std::unordered_map<std::string, std::size_t> counts;
    for (std::size_t k = 0; k < ia.size(); ++k) {
        if (ia[k].kind != Item::Kind::Element) continue;
        names[k] = ElementName(ia[k].node);
        places[k] = ++counts[names[k]];
    }
    const auto segment = [&](std::size_t k) {
        if (counts[names[k]] < 2) return names[k];
        return names[k] + "[" + std::to_string(places[k]) + "]";
    };

    std::size_t i = 0, j = 0;
    while (i < ia.size() || j < ib.size()) {
        if (i < ia.size() && j < ib.size()) {
            const Item& x = ia[i];
            const Item& y = ib[j];
            if (x.kind == Item::Kind::Text && y.kind == Item::Kind::Text) {
                if (!CompareTexts(ia, i, y, exact, inlineParent)) return false;
                ++i, ++j;
                continue;
            }
            if (x.kind == Item::Kind::Text && MayVanish(ia, i, exact, inlineParent)) {
                ++i;
                continue;
            }
            if (x.kind != y.kind) {
                if (x.kind == Item::Kind::Text || y.kind != Item::Kind::Text)
                    return Fail(Format(text::kNodeMissing, {Path(), x.line, Describe(x)}));
                return Fail(Format(text::kNodeExtra, {Path(), y.line, Describe(y)}));
            }
            if (x.kind == Item::Kind::Comment) {
                ++i, ++j;  // MatchComments paired them
                continue;
            }
            if (path_.size() >= kMaxDepth)
                return Fail(Format(text::kTooDeep, {Path(), static_cast<int>(kMaxDepth), x.line}));
            path_.push_back(segment(i));
            if (!CompareElements(x.node, y.node, exact)) return false;
            path_.pop_back();
            ++i, ++j;
            continue;
        }
        if (i < ia.size()) {
            if (MayVanish(ia, i, exact, inlineParent)) {
                ++i;
                continue;
            }
            return Fail(Format(text::kNodeMissing, {Path(), ia[i].line, Describe(ia[i])}));
        }
        return Fail(Format(text::kNodeExtra, {Path(), ib[j].line, Describe(ib[j])}));
    }
    return true;
}

}  // namespace

Result VerifyHtml(std::string_view original, std::string_view trimmed, TrimMode mode,
                  Charset charset, Verdict& verdict, const VerifyOptions& options) {
    verdict = Verdict{};
    if (original.size() > kVerifyLimit || trimmed.size() > kVerifyLimit) {
        verdict.status = VerifyStatus::Skipped;
        return RESULT_OK;
    }
    try {
        std::string a, b;
        if (Result r = ToUtf8(original, charset, a); r != RESULT_OK) return r;
        if (Result r = ToUtf8(trimmed, charset, b); r != RESULT_OK) return r;
        if (!CompareServerCode(a, b, verdict)) return RESULT_OK;
        const ParsedPage pa = Parse(a);
        const ParsedPage pb = Parse(b);
        if (!pa || !pb) return RESULT_OUT_OF_MEMORY;
        engine::PreformattedSelectors learned;
        VerifyOptions walkOptions = options;
        if (options.preformatted == nullptr && options.learnPreformatted) {
            LearnPreformattedForPage(options.pagePath, original, options.stylesheets, learned);
            walkOptions.preformatted = &learned;
        }
        Walker walker(mode, walkOptions, a, FindBody(a));
        if (!walker.CompareChildren(pa->document, pb->document, false, false)) {
            verdict.status = VerifyStatus::Differs;
            verdict.difference = std::move(walker.difference);
        }
        return RESULT_OK;
    } catch (const std::bad_alloc&) {
        return RESULT_OUT_OF_MEMORY;
    }
}

bool ParsesWithoutError(std::string_view page, Charset charset) {
    if (page.size() > kVerifyLimit) return false;
    try {
        std::string text;
        if (ToUtf8(page, charset, text) != RESULT_OK) return false;
        GumboOptions options = kGumboDefaultOptions;
        options.max_errors = 1;
        const ParsedPage parsed(gumbo_parse_with_options(&options, text.data(), text.size()));
        return parsed && parsed->errors.length == 0;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

Result VerifyScript(std::string_view original, std::string_view trimmed, bool vbScript,
                    Charset charset, Verdict& verdict) {
    verdict = Verdict{};
    if (original.size() > kVerifyLimit || trimmed.size() > kVerifyLimit) {
        verdict.status = VerifyStatus::Skipped;
        return RESULT_OK;
    }
    try {
        std::string a, b;
        if (Result r = ToUtf8(original, charset, a); r != RESULT_OK) return r;
        if (Result r = ToUtf8(trimmed, charset, b); r != RESULT_OK) return r;
        const std::string path(text::kDocument);
        const bool same =
            vbScript ? CompareTokens(verify::VbScriptTokens(a), verify::VbScriptTokens(b), false,
                                     path, 0, verdict.difference)
                     : CompareTokens(verify::JavaScriptTokens(a), verify::JavaScriptTokens(b), true,
                                     path, 0, verdict.difference);
        if (!same) verdict.status = VerifyStatus::Differs;
        return RESULT_OK;
    } catch (const std::bad_alloc&) {
        return RESULT_OUT_OF_MEMORY;
    }
}

Result VerifyFileBytes(std::string original, std::string trimmed, FileKind kind, TrimMode mode,
                       Verdict& verdict, const VerifyOptions& options) {
    verdict = Verdict{};
    if (original.size() > kVerifyLimit || trimmed.size() > kVerifyLimit) {
        verdict.status = VerifyStatus::Skipped;
        return RESULT_OK;
    }
    FileText a, b;
    if (Result r = DecodeFileText(std::move(original), a); r != RESULT_OK) return r;
    if (Result r = DecodeFileText(std::move(trimmed), b); r != RESULT_OK) return r;
    // The trimmer writes a file back in its own bytes: read both alike.
    const Charset charset = a.charset;
    if (kind == FileKind::Html) return VerifyHtml(a.text, b.text, mode, charset, verdict, options);
    return VerifyScript(a.text, b.text, kind == FileKind::VbScript, charset, verdict);
}

Result VerifyTrimmedFile(const std::string& inputPath, std::string_view trimmedBytes, TrimMode mode,
                         std::string_view scriptExtensions, Verdict& verdict,
                         StylesheetCache* stylesheets) {
    verdict = Verdict{};
    if (trimmedBytes.size() > kVerifyLimit) {
        verdict.status = VerifyStatus::Skipped;
        return RESULT_OK;
    }
    std::string original;
    if (Result r = ReadFileStart(inputPath, true, 0, original); r != RESULT_OK) return r;
    try {
        VerifyOptions options;
        options.pagePath = inputPath;
        options.stylesheets = stylesheets;
        return VerifyFileBytes(std::move(original), std::string(trimmedBytes),
                               KindOfPath(inputPath, scriptExtensions), mode, verdict, options);
    } catch (const std::bad_alloc&) {
        return RESULT_OUT_OF_MEMORY;
    }
}

}  // namespace trimlet
