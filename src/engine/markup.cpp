#include "engine/markup.h"

#include <array>
#include <cstring>
#include <iterator>

namespace trimlet::engine {

namespace {

// The bytes a tag's end is looked for at.
const StopSet& TagStops() {
    static const StopSet kStops(">\"'", false);
    return kStops;
}

const MarkupStops kMarkupStops;

// The end of the quoted value whose opening quote `quote` is at q, and whether the value
// holds anything a later pass acts on (blanks, line breaks, '<', and with `fullWidth`
// every byte from 0x80 up). One search finds the closing quote of most values, which
// hold none of these.
struct ValueSpan {
    size_t end;  // the closing quote, or the end of the text
    bool acted;
};

ValueSpan FindValueEnd(std::string_view t, size_t q, char quote, bool fullWidth) {
    static const StopSet kDouble("\"\t \r\n<", false);
    static const StopSet kSingle("'\t \r\n<", false);
    static const StopSet kDoubleWide("\"\t \r\n<", true);
    static const StopSet kSingleWide("'\t \r\n<", true);
    const StopSet& stops =
        quote == '"' ? (fullWidth ? kDoubleWide : kDouble) : (fullWidth ? kSingleWide : kSingle);
    const size_t n = t.size();
    const size_t stop = stops.Find(t, q + 1, n);
    if (stop >= n) return {n, false};
    if (t[stop] == quote) return {stop, false};
    const size_t close = FindByte(t, stop, quote);
    return {close == kNone ? n : close, true};
}

size_t FindByteOrEnd(std::string_view t, size_t from, char c) {
    const size_t at = FindByte(t, from, c);
    return at == kNone ? t.size() : at;
}

// Elements laid out as blocks, or not shown at all, sorted.
constexpr std::string_view kBlockNames[] = {
    "address", "area",     "article",  "aside",  "base",     "basefont",   "blockquote", "body",
    "br",      "caption",  "center",   "col",    "colgroup", "dd",         "details",    "dialog",
    "dir",     "div",      "dl",       "dt",     "fieldset", "figcaption", "figure",     "footer",
    "form",    "frame",    "frameset", "h1",     "h2",       "h3",         "h4",         "h5",
    "h6",      "head",     "header",   "hgroup", "hr",       "html",       "isindex",    "legend",
    "li",      "link",     "listing",  "main",   "menu",     "meta",       "nav",        "noframes",
    "ol",      "optgroup", "option",   "p",      "param",    "plaintext",  "pre",        "search",
    "section", "source",   "summary",  "table",  "tbody",    "td",         "tfoot",      "th",
    "thead",   "title",    "tr",       "track",  "ul",       "xmp",
};
constexpr size_t kLongestBlockName = 10;

// A tag name of at most 15 bytes, lower-cased, padded with zeros and with its length in
// the last byte, as two numbers: two names compare in two instructions.
struct PackedName {
    uint64_t low = 0;
    uint64_t high = 0;
    bool operator==(const PackedName&) const = default;
};

PackedName Pack(std::string_view name) {
    char bytes[16] = {};
    for (size_t k = 0; k < name.size(); ++k) {
        const char c = name[k];
        bytes[k] = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    bytes[15] = static_cast<char>(name.size());
    PackedName packed;
    std::memcpy(&packed.low, bytes, 8);
    std::memcpy(&packed.high, bytes + 8, 8);
    return packed;
}

}  // namespace

size_t MarkupEnd(std::string_view t, size_t lt, MarkupKind kind) {
    const size_t n = t.size();
    if (kind == MarkupKind::Comment) {
        return CommentEnd(t, lt);
    }
    if (kind == MarkupKind::ServerCode) return ServerCodeEnd(t, lt);
    if (kind != MarkupKind::Tag) {
        const size_t gt = FindByte(t, lt + 1, '>');
        return gt == kNone ? n : gt + 1;
    }
    const StopSet& stops = TagStops();
    size_t i = lt + 1;
    while ((i = stops.Find(t, i, n)) < n) {
        const char c = t[i];
        if (c == '>') return i + 1;
        if (QuoteOpensValue(t, lt, i)) {
            const size_t close = FindByte(t, i + 1, c);
            if (close == kNone) return n;
            i = close + 1;
        } else {
            ++i;
        }
    }
    return n;
}

std::string_view TagNameAt(std::string_view t, size_t lt) {
    // The bytes that end a name here: blanks, line breaks, '/' and '>'.
    static constexpr std::array<bool, 256> kEndsName = [] {
        std::array<bool, 256> ends{};
        for (const char c : std::string_view(" \t\r\n/>"))
            ends[static_cast<uint8_t>(c)] = true;
        return ends;
    }();
    size_t begin = lt + 1;
    if (begin < t.size() && t[begin] == '/') ++begin;
    size_t end = begin;
    while (end < t.size() && !kEndsName[ByteAt(t, end)])
        ++end;
    return t.substr(begin, end - begin);
}

namespace {

// Whether the start tag at lt says xml:space="preserve".
bool PreservesSpace(std::string_view t, size_t lt) {
    const std::string_view tag = t.substr(0, MarkupEnd(t, lt, MarkupKind::Tag));
    const size_t at = FindNoCase(tag, lt, "xml:space");
    if (at >= tag.size()) return false;
    size_t k = SkipBlanks(Charset::Cp932, tag, at + 9, {false, true});
    if (k >= tag.size() || tag[k] != '=') return false;
    k = SkipBlanks(Charset::Cp932, tag, k + 1, {false, true});
    if (k < tag.size() && (tag[k] == '"' || tag[k] == '\'')) ++k;
    return StartsWithNoCaseAt(tag, k, "preserve");
}

}  // namespace

TextElement NamedTextElementAt(std::string_view t, size_t lt) {
    if (lt + 1 >= t.size()) return TextElement::None;
    const auto named = [&](std::string_view lower) {
        return StartsWithNoCaseAt(t, lt + 1, lower) && TagNameEndsAt(t, lt + 1 + lower.size());
    };
    switch (ByteAt(t, lt + 1) | 0x20) {
        case 'p':
            if (StartsWithNoCaseAt(t, lt, "<pre") && PreNameAt(t, lt, 4)) return TextElement::Pre;
            return named("plaintext") ? TextElement::Plaintext : TextElement::None;
        case 'l':
            return named("listing") ? TextElement::Listing : TextElement::None;
        case 't':
            if (named("textarea")) return TextElement::Textarea;
            if (named("title")) return TextElement::Title;
            if ((named("text") || named("tspan") || named("textpath")) && PreservesSpace(t, lt))
                return TextElement::SvgText;
            return TextElement::None;
        case 'x':
            return named("xmp") ? TextElement::Xmp : TextElement::None;
        case 's':
            return named("style") ? TextElement::Style : TextElement::None;
        default:
            return TextElement::None;
    }
}

size_t TextContentEnd(std::string_view t, size_t from, TextElement e) {
    std::string_view end;
    switch (e) {
        case TextElement::Textarea:
            end = "</textarea";
            break;
        case TextElement::Xmp:
            end = "</xmp";
            break;
        case TextElement::Title:
            end = "</title";
            break;
        case TextElement::Style:
            end = "</style";
            break;
        default:
            return t.size();
    }
    for (size_t i = from; (i = FindNoCase(t, i, end)) < t.size(); ++i) {
        if (TagNameEndsAt(t, i + end.size())) return i;
    }
    return t.size();
}

bool IsBlockElementName(std::string_view name) {
    // The names are sorted, so those with one first letter lie together: a table by the
    // first letter gives the few to compare with.
    struct Range {
        uint8_t begin = 0;
        uint8_t end = 0;
    };
    static const std::array<Range, 26> kByFirstLetter = [] {
        std::array<Range, 26> table{};
        for (size_t k = 0; k < std::size(kBlockNames); ++k) {
            Range& range = table[static_cast<size_t>(kBlockNames[k][0] - 'a')];
            if (range.begin == range.end) range.begin = static_cast<uint8_t>(k);
            range.end = static_cast<uint8_t>(k + 1);
        }
        return table;
    }();
    static const std::array<PackedName, std::size(kBlockNames)> kPacked = [] {
        std::array<PackedName, std::size(kBlockNames)> packed{};
        for (size_t k = 0; k < std::size(kBlockNames); ++k)
            packed[k] = Pack(kBlockNames[k]);
        return packed;
    }();
    if (name.empty() || name.size() > kLongestBlockName) return false;
    const uint8_t first = static_cast<uint8_t>(name[0]) | 0x20;
    if (first < 'a' || first > 'z') return false;
    const PackedName packed = Pack(name);
    const Range range = kByFirstLetter[first - 'a'];
    for (size_t k = range.begin; k < range.end; ++k) {
        if (kPacked[k] == packed) return true;
    }
    return false;
}

QuotedValues::QuotedValues(std::string_view text, CopiedValues* copied, bool fullWidth,
                           Charset charset)
    : text_(text),
      copied_(copied),
      fullWidth_(fullWidth),
      charset_(charset),
      stops_(kMarkupStops, text) {
    if (copied && copied->Known()) known_ = &copied->List();
}

void QuotedValues::Note(size_t begin, size_t end, size_t outShift) {
    if (copied_) copied_->Note(begin + outShift, end + outShift);
}

size_t QuotedValues::NextValueEndAt(size_t i, size_t outShift) {
    if (!known_) return Scan(i, outShift);
    const auto& list = *known_;
    while (next_ < list.size() && list[next_].second <= i) {
        Note(list[next_].first, list[next_].second, outShift);
        ++next_;
    }
    if (next_ < list.size() && list[next_].first <= i) {
        valueBegin_ = list[next_].first;
        valueEnd_ = list[next_].second;
        Note(valueBegin_, valueEnd_, outShift);
        ++next_;
        return valueEnd_;
    }
    return kNone;
}

void QuotedValues::SkipTo(size_t to) {
    if (known_) {
        while (next_ < known_->size() && (*known_)[next_].first < to)
            ++next_;
    } else if (to > pos_) {
        pos_ = to;
        tagStart_ = kNone;
    }
}

void QuotedValues::SkipOver(size_t to) {
    if (known_) {
        SkipTo(to);
    } else if (to > pos_) {
        pos_ = to;
    }
}

void QuotedValues::Finish(size_t outShift) {
    if (!copied_) return;
    if (known_) {
        for (; next_ < known_->size(); ++next_)
            Note((*known_)[next_].first, (*known_)[next_].second, outShift);
    } else if (!text_.empty()) {
        Scan(text_.size() - 1, outShift);
    }
}

// Reads the style sheet up to i: its strings are values, its comments hold none.
size_t QuotedValues::ScanStyleSheet(size_t i, size_t outShift) {
    static const StopSet kStringStarts("\"'/", false);
    while (pos_ <= i && pos_ < styleEnd_) {
        const size_t p = kStringStarts.Find(text_, pos_, styleEnd_);
        if (p > i || p >= styleEnd_) {
            pos_ = p;
            break;
        }
        if (text_[p] == '/') {
            if (p + 1 < styleEnd_ && text_[p + 1] == '*') {
                const size_t close = text_.substr(0, styleEnd_).find("*/", p + 2);
                pos_ = close == kNone ? styleEnd_ : close + 2;
            } else {
                pos_ = p + 1;
            }
            continue;
        }
        // A string ends at its quote, or before a line break it does not escape.
        const char quote = text_[p];
        size_t j = p + 1;
        bool acted = false;
        while (j < styleEnd_ && text_[j] != quote) {
            const uint8_t c = ByteAt(text_, j);
            if (c == '\r' || c == '\n' || c == '\f') break;
            if (c == ' ' || c == '\t' || c == '<' || (c >= 0x80 && fullWidth_)) acted = true;
            if (c == '\\' && j + 1 < styleEnd_) {
                acted = true;
                j += text_[j + 1] == '\r' && j + 2 < styleEnd_ && text_[j + 2] == '\n'
                         ? 3
                         : 1 + CharLength(charset_, text_, j + 1);
                continue;
            }
            j += CharLength(charset_, text_, j);
        }
        if (j > styleEnd_) j = styleEnd_;
        valueBegin_ = p + 1;
        if (j < styleEnd_ && text_[j] != quote) {
            // The line break that ends a string left open stays with it: joined to the
            // next line, the string would run on.
            j += text_[j] == '\f' ? 1 : LineBreakLength(text_, j);
            if (j > styleEnd_) j = styleEnd_;
            acted = true;
        }
        valueEnd_ = j;
        pos_ = j < styleEnd_ && text_[j] == quote ? j + 1 : j;
        if (acted) Note(valueBegin_, valueEnd_, outShift);
        if (i >= valueBegin_ && i < valueEnd_) return valueEnd_;
    }
    return kNone;
}

// Reads the tags up to i.
size_t QuotedValues::Scan(size_t i, size_t outShift) {
    const size_t n = text_.size();
    if (pos_ < styleEnd_) {
        if (const size_t end = ScanStyleSheet(i, outShift); end != kNone) return end;
        if (pos_ < styleEnd_) return kNone;
    }
    while (pos_ <= i && pos_ < n) {
        // Outside a tag only a '<' changes anything.
        const size_t p =
            tagStart_ == kNone ? FindByteOrEnd(text_, pos_, '<') : stops_.Next(pos_, n);
        if (p > i) {
            pos_ = p;  // nothing between changes the state
            // Whether a quote opens a value is read off the blanks before it, which the
            // pass may write over before it gets there: it is decided now.
            if (tagStart_ != kNone && p < n && (text_[p] == '"' || text_[p] == '\'')) {
                decidedQuote_ = p;
                decidedOpens_ = QuoteOpensValue(text_, tagStart_, p);
            }
            break;
        }
        const char c = text_[p];
        pos_ = p + 1;
        if (tagStart_ == kNone) {
            if (c != '<') continue;
            const MarkupKind kind = MarkupAt(text_, p);
            if (kind == MarkupKind::Comment || kind == MarkupKind::ServerCode) {
                pos_ = MarkupEnd(text_, p, kind);
            } else if (kind != MarkupKind::None) {
                tagStart_ = p;
                // Read now: by the tag's end, a pass may have written over its start.
                tagIsStyle_ =
                    (text_[p + 1] | 0x20) == 's' && TextElementAt(text_, p) == TextElement::Style;
            }
        } else if (c == '>') {
            tagStart_ = kNone;
            if (tagIsStyle_) {
                styleEnd_ = TextContentEnd(text_, pos_, TextElement::Style);
                if (const size_t end = ScanStyleSheet(i, outShift); end != kNone) return end;
                if (pos_ < styleEnd_) return kNone;
            }
        } else if (c != '<' &&
                   (p == decidedQuote_ ? decidedOpens_ : QuoteOpensValue(text_, tagStart_, p))) {
            const ValueSpan value = FindValueEnd(text_, p, c, fullWidth_);
            valueBegin_ = p + 1;
            valueEnd_ = value.end;
            pos_ = value.end < n ? value.end + 1 : n;
            // Only values that hold something a later pass stops at need to be carried.
            if (value.acted) Note(valueBegin_, valueEnd_, outShift);
            if (i >= valueBegin_ && i < valueEnd_) return valueEnd_;
        }
    }
    return kNone;
}

}  // namespace trimlet::engine
