#pragma once
// Part of the reference engine, frozen: see reference/engine/trim_engine.h.
// Tags as a browser reads them, for the passes that must not change what a page shows:
// where a tag ends, whether it belongs to an inline element, and which bytes lie inside a
// quoted attribute value.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "reference/engine/blanks.h"
#include "reference/engine/bytes.h"
#include "reference/engine/pass_context.h"
#include "reference/engine/script_scanner.h"
#include "reference/engine/stops.h"

namespace trimlet::reference::engine {

enum class MarkupKind : uint8_t {
    None,         // a '<' of text ("a < b")
    Tag,          // a start or end tag: '<' or "</" followed by a letter
    Comment,      // "<!--" up to the next "-->"
    Declaration,  // "<!DOCTYPE ...>", "</ ...>": up to the first '>'
    ServerCode,   // "<% ... %>" or "<? ... ?>": code a server runs, never ours to change
};

// What the '<' at lt starts.
inline MarkupKind MarkupAt(std::string_view t, size_t lt) {
    if (lt + 1 >= t.size()) return MarkupKind::None;
    const uint8_t c = ByteAt(t, lt + 1);
    if ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') return MarkupKind::Tag;
    if (c == '!') {
        return StartsWithAt(t, lt, "<!--") ? MarkupKind::Comment : MarkupKind::Declaration;
    }
    if (c == '%' || c == '?') return MarkupKind::ServerCode;
    if (c != '/') return MarkupKind::None;
    if (lt + 2 >= t.size()) return MarkupKind::Declaration;
    const uint8_t d = ByteAt(t, lt + 2) | 0x20;
    return d >= 'a' && d <= 'z' ? MarkupKind::Tag : MarkupKind::Declaration;
}

// End of the comment whose "<!--" is at lt: just after the "-->" (or "--!>") that closes it,
// or t.size(). "<!-->" and "<!--->" are whole, empty comments, as a browser reads them.
inline size_t CommentEnd(std::string_view t, size_t lt) {
    const size_t n = t.size();
    size_t i = lt + 4;
    if (i < n && t[i] == '>') return i + 1;
    if (StartsWithAt(t, i, "->")) return i + 2;
    while ((i = t.find("--", i)) != kNone) {
        if (StartsWithAt(t, i + 2, ">")) return i + 3;
        if (StartsWithAt(t, i + 2, "!>")) return i + 4;
        ++i;
    }
    return n;
}

// End of the markup of `kind` at lt: just after the '>' that closes it, or t.size().
// In a tag, a '>' inside a quoted attribute value does not close it.
size_t MarkupEnd(std::string_view t, size_t lt, MarkupKind kind);

// A PRE start or end tag starts at i: "<pre" or "</pre" followed by the end of the
// name, or by a letter, so that "<preview>" ... "</preview>" is a PRE block as it has
// always been (leaving text untrimmed is harmless). A digit, '-', '_' or '.' makes a
// custom element ("<pre-loader>"), trimmed like other text and no end of a PRE block.
inline bool PreNameAt(std::string_view in, size_t i, size_t length) {
    const uint8_t c = i + length < in.size() ? ByteAt(in, i + length) | 0x20 : 0;
    return (c >= 'a' && c <= 'z') || TagNameEndsAt(in, i + length);
}
inline bool PreStartTagAt(std::string_view in, size_t i) {
    return StartsWithNoCaseAt(in, i, "<pre") && PreNameAt(in, i, 4);
}
inline bool PreEndTagAt(std::string_view in, size_t i) {
    return StartsWithNoCaseAt(in, i, "</pre") && PreNameAt(in, i, 5);
}

// End of the server code at lt ("<%" or "<?"): just after its "%>" or "?>", or t.size().
// Quotes and markers inside it mean nothing to the page.
inline size_t ServerCodeEnd(std::string_view t, size_t lt) {
    const char close[2] = {t[lt + 1], '>'};
    const size_t end = t.find(std::string_view(close, 2), lt + 2);
    return end == kNone ? t.size() : end + 2;
}

// Whether server code ("<%", "<?") stands in t[begin, end).
inline bool ServerCodeIn(std::string_view t, size_t begin, size_t end) {
    const std::string_view span = t.substr(0, end);
    for (size_t k = begin; (k = FindByte(span, k, '<')) != kNone; ++k) {
        if (k + 1 < end && (t[k + 1] == '%' || t[k + 1] == '?')) return true;
    }
    return false;
}

// Elements whose content a browser does not read as ordinary flowing text.
enum class TextElement : uint8_t {
    None,
    Pre,        // shown as written; markup inside
    Listing,    // the same
    Textarea,   // a form's text: everything up to "</textarea" is text
    Xmp,        // shown as written: everything up to "</xmp" is text
    Plaintext,  // shown as written up to the end of the page
    Title,      // text up to "</title"
    Style,      // a style sheet up to "</style"
    SvgText,    // SVG "text", "tspan" or "textPath" with xml:space="preserve": as written
    Styled,     // made preformatted by the page's CSS: as written, markup inside
};

// The same as TextElementAt, for a tag whose first two letters may begin one.
TextElement NamedTextElementAt(std::string_view t, size_t lt);

// The element whose start tag begins at lt (letter case ignored), or None. Most tags are
// told apart by their first two letters, without a call.
inline TextElement TextElementAt(std::string_view t, size_t lt) {
    if (lt + 3 >= t.size()) return TextElement::None;  // every name has three letters or more
    const uint8_t first = ByteAt(t, lt + 1) | 0x20;
    const uint8_t second = ByteAt(t, lt + 2) | 0x20;
    switch (first) {
        case 'p':  // pre, plaintext
            return second == 'r' || second == 'l' ? NamedTextElementAt(t, lt) : TextElement::None;
        case 't':  // textarea, title, text, textpath, tspan
            return second == 'e' || second == 'i' || second == 's' ? NamedTextElementAt(t, lt)
                                                                   : TextElement::None;
        case 'l':  // listing
            return second == 'i' ? NamedTextElementAt(t, lt) : TextElement::None;
        case 'x':  // xmp
            return second == 'm' ? NamedTextElementAt(t, lt) : TextElement::None;
        case 's':  // style
            return second == 't' ? NamedTextElementAt(t, lt) : TextElement::None;
        default:
            return TextElement::None;
    }
}

// Whether a browser shows the content of `e` as written (passes 3 to 7 copy it).
inline bool ShownAsWritten(TextElement e) {
    return e == TextElement::Pre || e == TextElement::Listing || e == TextElement::Textarea ||
           e == TextElement::Xmp || e == TextElement::Plaintext || e == TextElement::SvgText ||
           e == TextElement::Styled;
}

// Whether the content of `e` is text to its end tag, with no markup inside.
inline bool HoldsOnlyText(TextElement e) {
    return e != TextElement::None && e != TextElement::Pre && e != TextElement::Listing &&
           e != TextElement::SvgText && e != TextElement::Styled;
}

// Where the content of the text-only element `e` that starts at `from` ends: at the '<'
// of its end tag, or t.size() (PLAINTEXT has none).
size_t TextContentEnd(std::string_view t, size_t from, TextElement e);

// The element name of the tag at lt ("span" for "<span ...>" and "</SPAN>").
std::string_view TagNameAt(std::string_view t, size_t lt);

// Whether `name` (letter case ignored) names an element a browser lays out as a block (or
// does not show), so that blanks beside its tags show as nothing. Every other element,
// custom and unknown ones included, counts as inline: the blanks between two of them show
// as a space.
bool IsBlockElementName(std::string_view name);
inline bool IsInlineElementName(std::string_view name) {
    return !IsBlockElementName(name);
}

// The quoted attribute values that passes 3 to 5 copy unchanged. The first of these
// passes finds them while it goes and notes where those that hold anything a pass acts on
// (blanks, line breaks, '<') land in its output; the later ones take them from there
// instead of reading every tag again.
class CopiedValues {
  public:
    using Span = std::pair<size_t, size_t>;  // after the opening quote; up to the closing one

    bool Known() const { return known_; }
    const std::vector<Span>& List() const { return list_; }
    void Note(size_t begin, size_t end) { noted_.emplace_back(begin, end); }
    // The values noted in this pass become the known values of the next one.
    void EndPass() {
        list_.swap(noted_);
        noted_.clear();
        known_ = true;
    }

  private:
    std::vector<Span> list_;
    std::vector<Span> noted_;
    bool known_ = false;
};

// The quoted attribute values of a text's tags, and the strings of the style sheets in
// its STYLE elements, for one pass that moves forward through the text: taken from
// `copied` when an earlier pass noted them, else found by reading the tags and style
// sheets (and noted there for the next pass). Comments hold no values.
class QuotedValues {
  public:
    QuotedValues(std::string_view text, CopiedValues* copied, bool fullWidth, Charset charset);

    // When i lies inside a quoted attribute value: the position of its closing quote, or
    // the end of the text. Otherwise kNone. The pass asks at every position where it may
    // change something, before changing it; the text from the last change up to i lands
    // at its position + outShift in the output (modulo size_t). Between calls i does not
    // go back, except to a position inside a value already reported.
    size_t ValueEndAt(size_t i, size_t outShift) {
        // Most positions lie before the next value: those are answered here.
        if (i >= valueBegin_ && i < valueEnd_) return valueEnd_;
        if (known_ ? next_ >= known_->size() || (*known_)[next_].first > i : pos_ > i) return kNone;
        return NextValueEndAt(i, outShift);
    }

    // The pass went over everything before `to` without asking (a SCRIPT block, the
    // content of a PRE block); the search goes on from there, outside any tag.
    void SkipTo(size_t to);
    // The same for server code, which may stand inside a tag: the tag goes on after it.
    void SkipOver(size_t to);

    // At the end of the pass, after the rest of the text was copied.
    void Finish(size_t outShift);

  private:
    size_t NextValueEndAt(size_t i, size_t outShift);
    size_t Scan(size_t i, size_t outShift);
    size_t ScanStyleSheet(size_t i, size_t outShift);
    void Note(size_t begin, size_t end, size_t outShift);

    std::string_view text_;
    CopiedValues* copied_;
    const std::vector<CopiedValues::Span>* known_ = nullptr;
    size_t next_ = 0;  // the first known value not passed yet
    bool fullWidth_;
    Charset charset_;
    MarkupScan stops_;
    size_t styleEnd_ = 0;      // inside a style sheet up to here
    size_t pos_ = 0;           // the stops before this are handled
    size_t tagStart_ = kNone;  // the '<' of the tag pos_ is in, or kNone
    size_t valueBegin_ = 0;    // the last value found: after its opening quote ...
    size_t valueEnd_ = 0;      // ... up to its closing quote (or the end)
};

}  // namespace trimlet::reference::engine
