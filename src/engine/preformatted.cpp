#include "engine/preformatted.h"

#include <algorithm>
#include <array>

#include "engine/bytes.h"
#include "engine/markup.h"

namespace trimlet::engine {

namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

std::string LowerCopy(std::string_view s) {
    std::string lower(s);
    for (char& c : lower)
        c = Lower(c);
    return lower;
}

bool IsCssBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

bool IsIdentByte(char c) {
    const auto u = static_cast<uint8_t>(c);
    return static_cast<unsigned>((u | 0x20) - 'a') < 26u || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || u >= 0x80;
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsCssBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsCssBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// The closing quote of the CSS string whose quote is at i (a backslash escapes the next
// character), or a position at or past the end.
size_t StringEnd(std::string_view s, size_t i) {
    const char quote = s[i];
    while (++i < s.size() && s[i] != quote) {
        if (s[i] == '\\') ++i;
    }
    return i;
}

// The style sheet with its comments made blanks.
std::string WithoutComments(std::string_view css) {
    std::string text;
    text.reserve(css.size());
    for (size_t i = 0; i < css.size();) {
        if (css[i] == '/' && i + 1 < css.size() && css[i + 1] == '*') {
            const size_t end = css.find("*/", i + 2);
            text += ' ';
            i = end == std::string_view::npos ? css.size() : end + 2;
        } else if (css[i] == '"' || css[i] == '\'') {
            const size_t end = std::min(StringEnd(css, i) + 1, css.size());
            text.append(css.substr(i, end - i));
            i = end;
        } else {
            text += css[i++];
        }
    }
    return text;
}

// From i, the first of `stops` outside strings, parentheses and brackets, or s.size().
size_t FindOutside(std::string_view s, size_t i, std::string_view stops) {
    int depth = 0;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '\\') {
            ++i;
        } else if (c == '"' || c == '\'') {
            i = StringEnd(s, i);
        } else if (c == '(' || c == '[') {
            ++depth;
        } else if ((c == ')' || c == ']') && depth > 0) {
            --depth;
        } else if (depth == 0 && stops.find(c) != std::string_view::npos) {
            return i;
        }
    }
    return s.size();
}

// The '}' that closes the block whose '{' is at `open`, or s.size().
size_t BlockEnd(std::string_view s, size_t open) {
    int depth = 0;
    for (size_t i = open; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '\\') {
            ++i;
        } else if (c == '"' || c == '\'') {
            i = StringEnd(s, i);
        } else if (c == '{') {
            ++depth;
        } else if (c == '}' && --depth == 0) {
            return i;
        }
    }
    return s.size();
}

// The identifier at i (escapes taken as the character they stand for); i moves past it.
std::string ReadIdent(std::string_view s, size_t& i) {
    std::string ident;
    while (i < s.size()) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            ident += s[i + 1];
            i += 2;
        } else if (IsIdentByte(s[i])) {
            ident += s[i++];
        } else {
            break;
        }
    }
    return ident;
}

// Adds one compound selector; the classes and ids in its pseudo-classes' arguments are
// added each alone, which keeps more than needed but never less.
void AddCompound(std::string_view compound, PreformattedSelectors& set) {
    PreformattedSelectors::Compound c;
    size_t i = 0;
    if (i < compound.size() && IsIdentByte(compound[i])) {
        c.type = ReadIdent(compound, i);
        if (i < compound.size() && compound[i] == '|') {  // a namespace prefix
            ++i;
            c.type = i < compound.size() && IsIdentByte(compound[i]) ? ReadIdent(compound, i) : "";
        }
    } else if (i < compound.size() && compound[i] == '*') {
        ++i;
    }
    while (i < compound.size()) {
        const char k = compound[i];
        if (k == '.' || k == '#') {
            ++i;
            std::string name = ReadIdent(compound, i);
            if (name.empty()) continue;
            if (k == '.') {
                c.classes.push_back(std::move(name));
            } else {
                c.id = std::move(name);
            }
        } else if (k == '[') {
            i = FindOutside(compound, i + 1, "]") + 1;
        } else if (k == '(') {
            const size_t close = FindOutside(compound, i + 1, ")");
            const std::string_view inner = compound.substr(i + 1, close - i - 1);
            for (size_t p = 0; p < inner.size(); ++p) {
                if (inner[p] == '[') p = FindOutside(inner, p + 1, "]");
                if (p >= inner.size() || (inner[p] != '.' && inner[p] != '#')) continue;
                const char kind = inner[p++];
                const std::string name = ReadIdent(inner, p);
                if (kind == '.') {
                    set.AddClass(name);
                } else {
                    set.AddId(name);
                }
                --p;
            }
            i = close + 1;
        } else {
            ++i;
        }
    }
    // A compound of attributes and pseudo-classes alone ("*", "[lang]") names no element
    // the passes could tell; it is left out.
    if (!c.type.empty() || !c.classes.empty() || !c.id.empty()) set.Add(std::move(c));
}

// Adds what the selector list `prelude` selects by its last compounds.
void AddSelectors(std::string_view prelude, PreformattedSelectors& set) {
    for (size_t from = 0; from < prelude.size();) {
        const size_t comma = FindOutside(prelude, from, ",");
        const std::string_view selector = TrimBlanks(prelude.substr(from, comma - from));
        // The last compound begins after the last combinator outside brackets.
        size_t last = 0;
        for (size_t i = 0; (i = FindOutside(selector, i, " \t\r\n\f>+~")) < selector.size();)
            last = ++i;
        AddCompound(selector.substr(last), set);
        from = comma + 1;
    }
}

bool AtRuleHoldsRules(std::string_view name) {
    static constexpr std::array<std::string_view, 7> kNames = {
        "media", "supports", "layer", "container", "document", "-moz-document", "scope"};
    return std::find(kNames.begin(), kNames.end(), name) != kNames.end();
}

void LearnRules(std::string_view css, PreformattedSelectors& set, int depth) {
    for (size_t i = 0; i < css.size();) {
        const size_t stop = FindOutside(css, i, "{;}");
        if (stop >= css.size()) return;
        if (css[stop] != '{') {  // a statement ("@import ...;") or a stray brace
            i = stop + 1;
            continue;
        }
        const std::string_view prelude = TrimBlanks(css.substr(i, stop - i));
        const size_t end = BlockEnd(css, stop);
        const std::string_view body =
            css.substr(stop + 1, (end < css.size() ? end : css.size()) - stop - 1);
        if (!prelude.empty() && prelude.front() == '@') {
            size_t k = 1;
            const std::string name = LowerCopy(ReadIdent(prelude, k));
            if (AtRuleHoldsRules(name) && depth < 32) LearnRules(body, set, depth + 1);
        } else if (DeclarationsPreformat(body)) {
            AddSelectors(prelude, set);
        }
        i = end + 1;
    }
}

bool IsNeverPreformatted(std::string_view name) {
    // Asked for every start tag of a page that learned some selector: the first letter
    // picks the few names to compare with.
    const auto any = [&](std::initializer_list<std::string_view> names) {
        return std::any_of(names.begin(), names.end(),
                           [&](std::string_view n) { return EqualsNoCase(name, n); });
    };
    if (name.size() < 2 || name.size() > 8) return false;
    switch (LowerLetter(static_cast<uint8_t>(name[0]))) {
        case 'a':
            return any({"area"});
        case 'b':
            return any({"base", "basefont", "bgsound", "br"});
        case 'c':
            return any({"col"});
        case 'e':
            return any({"embed"});
        case 'f':
            return any({"frame"});
        case 'h':
            return any({"hr"});
        case 'i':
            return any({"img", "input", "iframe"});
        case 'k':
            return any({"keygen"});
        case 'l':
            return any({"link"});
        case 'm':
            return any({"meta"});
        case 'n':
            return any({"noembed"});
        case 'p':
            return any({"param"});
        case 's':
            return any({"source", "script", "style"});
        case 't':
            return any({"track", "textarea", "title"});
        case 'w':
            return any({"wbr"});
        default:
            return false;
    }
}

// What the bytes of a start tag are to its attributes, one table lookup each: the tags of
// a page that learned some selector are read by four passes.
enum : uint8_t { kAttrBlank = 1, kAttrSlash = 2, kAttrGt = 4, kAttrEq = 8 };
constexpr std::array<uint8_t, 256> kAttrClass = [] {
    std::array<uint8_t, 256> t{};
    for (const char c : std::string_view(" \t\r\n\f"))
        t[static_cast<uint8_t>(c)] = kAttrBlank;
    t['/'] = kAttrSlash;
    t['>'] = kAttrGt;
    t['='] = kAttrEq;
    return t;
}();

// Calls f(name, value) for each attribute of the start tag at lt, until f returns false.
template <class F>
void ForEachAttribute(std::string_view in, size_t lt, F f) {
    const size_t n = in.size();
    const auto is = [&](size_t k, uint8_t classes) { return kAttrClass[ByteAt(in, k)] & classes; };
    size_t i = lt + 1;
    while (i < n && !is(i, kAttrBlank | kAttrSlash | kAttrGt))
        ++i;
    for (;;) {
        while (i < n && is(i, kAttrBlank | kAttrSlash))
            ++i;
        if (i >= n || in[i] == '>') return;
        const size_t nameBegin = i++;
        while (i < n && !is(i, kAttrBlank | kAttrSlash | kAttrGt | kAttrEq))
            ++i;
        const std::string_view name = in.substr(nameBegin, i - nameBegin);
        size_t j = i;
        while (j < n && is(j, kAttrBlank))
            ++j;
        std::string_view value;
        if (j < n && in[j] == '=') {
            ++j;
            while (j < n && is(j, kAttrBlank))
                ++j;
            if (j < n && (in[j] == '"' || in[j] == '\'')) {
                const size_t close = FindByte(in, j + 1, in[j]);
                const size_t end = close == kNone ? n : close;
                value = in.substr(j + 1, end - j - 1);
                i = end < n ? end + 1 : n;
            } else {
                size_t k = j;
                while (k < n && !is(k, kAttrBlank | kAttrGt))
                    ++k;
                value = in.substr(j, k - j);
                i = k;
            }
        }
        if (!f(name, value)) return;
    }
}

}  // namespace

void PreformattedSelectors::Add(Compound compound) {
    compound.type = LowerCopy(compound.type);
    compound.id = LowerCopy(compound.id);
    for (std::string& name : compound.classes)
        name = LowerCopy(name);
    std::sort(compound.classes.begin(), compound.classes.end());
    compound.classes.erase(std::unique(compound.classes.begin(), compound.classes.end()),
                           compound.classes.end());
    if (compound.type.empty() && compound.classes.empty() && compound.id.empty()) return;
    if (!compound.classes.empty() || !compound.id.empty()) needsAttributes_ = true;
    const auto at = std::lower_bound(compounds_.begin(), compounds_.end(), compound);
    if (at == compounds_.end() || *at != compound) compounds_.insert(at, std::move(compound));
}

void PreformattedSelectors::Merge(const PreformattedSelectors& other) {
    for (const Compound& c : other.compounds_)
        Add(c);
    inline_ = inline_ || other.inline_;
}

bool PreformattedSelectors::Matches(std::string_view type, std::string_view classes,
                                    std::string_view id) const {
    const auto hasClass = [&](std::string_view name) {
        for (size_t k = 0; k < classes.size();) {
            while (k < classes.size() && IsCssBlank(classes[k]))
                ++k;
            size_t e = k;
            while (e < classes.size() && !IsCssBlank(classes[e]))
                ++e;
            if (e > k && EqualsNoCase(classes.substr(k, e - k), name)) return true;
            k = e;
        }
        return false;
    };
    for (const Compound& c : compounds_) {
        if (!c.type.empty() && !EqualsNoCase(type, c.type)) continue;
        if (!c.id.empty() && !EqualsNoCase(id, c.id)) continue;
        if (std::all_of(c.classes.begin(), c.classes.end(), hasClass)) return true;
    }
    return false;
}

std::string PreformattedSelectors::Describe() const {
    std::string text;
    for (const Compound& c : compounds_) {
        if (!text.empty()) text += ' ';
        text += c.type;
        for (const std::string& name : c.classes)
            text += '.' + name;
        if (!c.id.empty()) text += '#' + c.id;
    }
    if (inline_) text += text.empty() ? "[style]" : " [style]";
    return text;
}

bool DeclarationsPreformat(std::string_view declarations) {
    const std::string lower = LowerCopy(declarations);
    const std::string_view d = lower;
    for (size_t at = d.find("white-space"); at != std::string_view::npos;
         at = d.find("white-space", at + 1)) {
        if (at > 0 && IsIdentByte(d[at - 1])) continue;  // "-webkit-white-space" and the like
        size_t i = at + 11;
        const bool collapse = d.substr(i).starts_with("-collapse");
        if (collapse) i += 9;
        while (i < d.size() && IsCssBlank(d[i]))
            ++i;
        if (i >= d.size() || d[i] != ':') continue;
        ++i;
        while (i < d.size() && IsCssBlank(d[i]))
            ++i;
        const std::string_view value = d.substr(i);
        // "pre", "pre-wrap", "pre-line"; for white-space-collapse "preserve" and its kin.
        if (value.starts_with("pre") || value.starts_with("break-spaces")) return true;
    }
    return false;
}

void LearnPreformattedSelectors(std::string_view css, PreformattedSelectors& set) {
    if (FindNoCase(css, 0, "white-space") >= css.size()) return;
    const std::string text = WithoutComments(css);
    LearnRules(text, set, 0);
}

void LearnFromStyleElements(std::string_view html, PreformattedSelectors& set) {
    const size_t n = html.size();
    // Only a style sheet or a style attribute that says "white-space" teaches anything: the
    // walk ends after the last one. (A tag's attributes are read as a browser reads them,
    // which may reach past where the walk takes the tag to end.)
    size_t said = FindNoCase(html, 0, "white-space");
    for (size_t i = 0; said < n && (i = FindByte(html, i, '<')) != kNone;
         said = said >= i ? said : FindNoCase(html, i, "white-space")) {
        const MarkupKind kind = MarkupAt(html, i);
        if (kind == MarkupKind::None) {
            ++i;
            continue;
        }
        // Comments teach nothing: the trim may delete them, and a second trim must learn
        // what the first did.
        if (kind != MarkupKind::Tag || html[i + 1] == '/') {
            i = MarkupEnd(html, i, kind);
            continue;
        }
        const size_t tagEnd = MarkupEnd(html, i, kind);
        const std::string_view name = TagNameAt(html, i);
        if (EqualsNoCase(name, "style")) {
            const size_t end = TextContentEnd(html, tagEnd, TextElement::Style);
            LearnPreformattedSelectors(html.substr(tagEnd, end - tagEnd), set);
            i = end;
            continue;
        }
        if (EqualsNoCase(name, "script")) {
            const size_t end = FindNoCase(html, tagEnd, "</script");
            i = end == kNone ? n : end;
            continue;
        }
        if (!set.InlineStyles()) {
            ForEachAttribute(html, i, [&](std::string_view attribute, std::string_view value) {
                if (EqualsNoCase(attribute, "style") && DeclarationsPreformat(value)) {
                    set.NoteInlineStyles();
                    return false;
                }
                return true;
            });
        }
        i = tagEnd;
    }
}

bool StartTagPreformatted(std::string_view in, size_t lt, const PreformattedSelectors& set) {
    const std::string_view name = TagNameAt(in, lt);
    if (IsNeverPreformatted(name)) return false;
    if (!set.NeedsAttributes() && !set.InlineStyles()) return set.Matches(name, {}, {});
    std::string_view classes;
    std::string_view id;
    bool classSeen = false;
    bool idSeen = false;
    bool styled = false;
    ForEachAttribute(in, lt, [&](std::string_view attribute, std::string_view value) {
        // As a browser does, the first of two attributes of one name counts.
        if (!classSeen && EqualsNoCase(attribute, "class")) {
            classes = value;
            classSeen = true;
        } else if (!idSeen && EqualsNoCase(attribute, "id")) {
            id = value;
            idSeen = true;
        } else if (set.InlineStyles() && EqualsNoCase(attribute, "style") &&
                   DeclarationsPreformat(value)) {
            styled = true;
            return false;
        }
        return true;
    });
    return styled || set.Matches(name, classes, id);
}

std::vector<TagAttribute> StartTagAttributes(std::string_view in, size_t lt) {
    std::vector<TagAttribute> attributes;
    ForEachAttribute(in, lt, [&](std::string_view name, std::string_view value) {
        attributes.push_back({name, value});
        return true;
    });
    return attributes;
}

}  // namespace trimlet::engine
