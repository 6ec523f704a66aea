#include "engine/blanks.h"
#include "engine/bytes.h"
#include "engine/pass_context.h"
#include "engine/script_scanner.h"
#include "engine/stops.h"

namespace trimlet::engine {

namespace {

// Characters after which a '/' starts a regular expression rather than a division.
constexpr std::array<bool, 256> kRegexPrefix = [] {
    std::array<bool, 256> t{};
    for (char c : std::string_view("(,=:[!&|?{};+-*%<>~^"))
        t[static_cast<uint8_t>(c)] = true;
    return t;
}();

// The bytes the script scanner stops at; in CP932 also every byte from 0x80 up, so that
// it steps over double-byte characters whole and never reads a trail byte as a '`'.
const StopSet& ScriptStops(bool vbScript, bool cp932) {
    static const StopSet kSets[4] = {
        StopSet("\"'`/()", false),
        StopSet("\"'`/()", true),
        StopSet("\"'rR:", false),
        StopSet("\"'rR:", true),
    };
    return kSets[(vbScript ? 2 : 0) + (cp932 ? 1 : 0)];
}

// The bytes a JavaScript string literal stops at.
const StopSet& StringStops(char quote, bool cp932) {
    static const StopSet kSets[4] = {
        StopSet("\"\\\r\n", false),
        StopSet("\"\\\r\n", true),
        StopSet("'\\\r\n", false),
        StopSet("'\\\r\n", true),
    };
    return kSets[(quote == '\'' ? 2 : 0) + (cp932 ? 1 : 0)];
}

bool IsRegexKeyword(std::string_view word) {
    static constexpr std::string_view kKeywords[] = {
        "return", "typeof", "case", "do",    "else",       "in",    "of",
        "new",    "delete", "void", "throw", "instanceof", "yield", "await"};
    for (std::string_view k : kKeywords) {
        if (word == k) return true;
    }
    return false;
}

bool RemAt(std::string_view t, size_t i) {
    if (!StartsWithNoCaseAt(t, i, "rem")) return false;
    // "rem'x" is a comment either way: the apostrophe would start one itself.
    return i + 3 >= t.size() || IsBlankOrBreak(ByteAt(t, i + 3)) || t[i + 3] == '\'';
}

bool IsConditionKeyword(std::string_view word) {
    return word == "if" || word == "while" || word == "for" || word == "with";
}

bool IsAsciiLetter(uint8_t c) {
    return (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
}

bool IsAttributeValueChar(uint8_t c) {
    return ((kByteClass[c] & kWord) && c != '$') || c == '-' || c == '.' || c == ':';
}

// Skips an attribute value: a quoted value, or a run of letters, digits, '-', '.', ':'
// and '_'.
size_t SkipAttributeValue(std::string_view t, size_t i) {
    if (i < t.size() && (t[i] == '"' || t[i] == '\'')) {
        const size_t close = FindByte(t, i + 1, t[i]);
        return close == kNone ? t.size() : close + 1;
    }
    while (i < t.size() && IsAttributeValueChar(ByteAt(t, i)))
        ++i;
    return i;
}

struct AttributeValue {
    std::string_view text;
    size_t next;  // where the attribute scan goes on
};

// The value after an attribute's '=': blanks, one optional quote, blanks, then up to
// the matching quote, or up to a blank or '>' when unquoted.
AttributeValue ReadAttributeValue(std::string_view t, size_t i) {
    const size_t n = t.size();
    i = SkipBlanks(Charset::Cp932, t, i, {false, true});
    if (i < n && (t[i] == '"' || t[i] == '\'')) {
        const size_t close = FindByte(t, i + 1, t[i]);
        const size_t begin = SkipBlanks(Charset::Cp932, t, i + 1, {false, true});
        const size_t end = close == kNone ? n : close;
        return {t.substr(begin < end ? begin : end, begin < end ? end - begin : 0),
                close == kNone ? n : close + 1};
    }
    size_t end = i;
    while (end < n && !IsBlankOrBreak(ByteAt(t, end)) && t[end] != '>')
        ++end;
    return {t.substr(i, end - i), end};
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlankOrBreak(static_cast<uint8_t>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && IsBlankOrBreak(static_cast<uint8_t>(s.back())))
        s.remove_suffix(1);
    return s;
}

// A "type" value that names a language this engine trims as script.
bool IsScriptType(std::string_view value) {
    value = TrimBlanks(value);
    const size_t params = value.find(';');
    if (params != kNone) value = TrimBlanks(value.substr(0, params));
    static constexpr std::string_view kTypes[] = {
        "",
        "module",
        "text/javascript",
        "application/javascript",
        "text/ecmascript",
        "application/ecmascript",
        "application/x-javascript",
        "application/x-ecmascript",
        "text/x-javascript",
        "text/x-ecmascript",
        "text/jscript",
        "text/livescript",
        "text/javascript1.0",
        "text/javascript1.1",
        "text/javascript1.2",
        "text/javascript1.3",
        "text/javascript1.4",
        "text/javascript1.5",
    };
    for (std::string_view type : kTypes) {
        if (EqualsNoCase(value, type)) return true;
    }
    return StartsWithNoCaseAt(value, 0, "text/vbs");
}

// An encoded script ("JScript.Encode", "VBScript.Encode") must not be touched.
bool IsEncodedLanguage(std::string_view value) {
    value = TrimBlanks(value);
    constexpr std::string_view kSuffix = ".encode";
    return value.size() >= kSuffix.size() &&
           StartsWithNoCaseAt(value, value.size() - kSuffix.size(), kSuffix);
}

bool AttributeNameAt(std::string_view t, size_t i, std::string_view lower) {
    if (!StartsWithNoCaseAt(t, i, lower)) return false;
    const size_t after = i + lower.size();
    return after < t.size() && (IsBlankOrBreak(ByteAt(t, after)) || t[after] == '=');
}

}  // namespace

size_t FindNoCase(std::string_view t, size_t from, std::string_view lower) {
    const size_t n = t.size();
    const size_t last = lower.size() - 1;
    if (from >= n || n - from <= last) return n;
    // A text byte matches a letter of `lower` in either case: its two forms differ in bit
    // 0x20 only. A candidate's first and last bytes are looked at before the rest.
    const uint8_t first = static_cast<uint8_t>(lower[0]);
    const uint8_t lastByte = static_cast<uint8_t>(lower[last]);
    const uint8_t firstFold = first >= 'a' && first <= 'z' ? 0x20 : 0;
    const uint8_t lastFold = lastByte >= 'a' && lastByte <= 'z' ? 0x20 : 0;
    size_t i = from;
#if defined(__SSE2__)
    // Sixteen candidates at a time, without a call for each occurrence of a common first
    // byte ("<link" in a page full of tags).
    const __m128i firstBytes = _mm_set1_epi8(static_cast<char>(first));
    const __m128i lastBytes = _mm_set1_epi8(static_cast<char>(lastByte));
    const __m128i firstFolds = _mm_set1_epi8(static_cast<char>(firstFold));
    const __m128i lastFolds = _mm_set1_epi8(static_cast<char>(lastFold));
    for (; n - i >= last + 16; i += 16) {
        const char* p = t.data() + i;
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + last));
        const __m128i hits = _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(a, firstFolds), firstBytes),
                                           _mm_cmpeq_epi8(_mm_or_si128(b, lastFolds), lastBytes));
        for (unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(hits)); bits != 0;
             bits &= bits - 1) {
            const size_t at = i + static_cast<size_t>(__builtin_ctz(bits));
            if (StartsWithNoCaseAt(t, at, lower)) return at;
        }
    }
#endif
    for (; n - i > last; ++i) {
        if ((ByteAt(t, i) | firstFold) == first && StartsWithNoCaseAt(t, i, lower)) return i;
    }
    return n;
}

std::string_view LineBreakConvention(std::string_view t) {
    // One search for the pair: in a text of LF alone it meets no CR at all.
    if (t.find("\r\n") != kNone) return "\r\n";
    if (FindByte(t, 0, '\n') != kNone) return "\n";
    return FindByte(t, 0, '\r') != kNone ? "\r" : "\r\n";
}

bool CharStartsAt(Charset charset, std::string_view t, size_t begin, size_t p) {
    const uint8_t c = ByteAt(t, p);
    if (charset == Charset::Utf8) return (c & 0xC0) != 0x80;
    if (c < 0x40) return true;  // never a trail byte
    // The lead bytes before p pair up from the last byte that cannot be a lead (after
    // which a character starts in any case), so p starts one when their count is even.
    size_t k = p;
    while (k > begin && (kByteClass[ByteAt(t, k - 1)] & kLead932))
        --k;
    return (p - k) % 2 == 0;
}

size_t SkipBlankRun(Charset charset, std::string_view t, size_t i, BlankSet set, size_t limit) {
    const uint8_t mask = kBlank | (set.lineBreaks ? kBreak : 0);
#if defined(__SSE2__)
    // Long runs (indentation) sixteen bytes at a time; the loop below finishes.
    while (i + 16 <= limit) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t.data() + i));
        __m128i blank = _mm_or_si128(_mm_cmpeq_epi8(x, _mm_set1_epi8(' ')),
                                     _mm_cmpeq_epi8(x, _mm_set1_epi8('\t')));
        if (set.lineBreaks) {
            blank = _mm_or_si128(blank, _mm_or_si128(_mm_cmpeq_epi8(x, _mm_set1_epi8('\r')),
                                                     _mm_cmpeq_epi8(x, _mm_set1_epi8('\n'))));
        }
        const unsigned other = ~static_cast<unsigned>(_mm_movemask_epi8(blank)) & 0xFFFF;
        if (other != 0) {
            i += static_cast<size_t>(__builtin_ctz(other));
            break;
        }
        i += 16;
    }
#endif
    while (i < limit) {
        if (kByteClass[ByteAt(t, i)] & mask) {
            ++i;
            continue;
        }
        if (set.fullWidth) {
            const size_t len = FullWidthBlankLength(charset, t, i);
            if (len != 0 && i + len <= limit) {
                i += len;
                continue;
            }
        }
        break;
    }
    return i;
}

size_t NextLineBreak(std::string_view t, size_t i) {
    static const StopSet kBreaks("\r\n", false);
    return kBreaks.Find(t, i, t.size());
}

size_t BlanksBackTo(Charset charset, std::string_view t, size_t begin, size_t end, bool fullWidth) {
    size_t j = end;
    while (j > begin) {
        if (kByteClass[ByteAt(t, j - 1)] & kBlank) {
            --j;
        } else if (!fullWidth) {
            break;
        } else if (charset == Charset::Utf8) {
            // E3 is never a continuation byte, so E3 80 80 is a whole character.
            if (j - begin < 3 || FullWidthBlankLength(charset, t, j - 3) != 3) break;
            j -= 3;
        } else {
            if (j - begin < 2 || FullWidthBlankLength(charset, t, j - 2) != 2 ||
                !CharStartsAt(charset, t, begin, j - 2)) {
                break;
            }
            j -= 2;
        }
    }
    return j;
}

PassStops::PassStops(const Options& options) : options_(options) {
    for (size_t k = 0; k < 2; ++k) {
        const char c =
            options.singles.empty() ? '\t' : options.singles[k < options.singles.size() ? k : 0];
        if (!options.singles.empty()) single_[static_cast<uint8_t>(c)] = true;
#if defined(__SSE2__)
        singles_[k] = _mm_set1_epi8(options.singles.empty() ? '\0' : c);
#endif
    }
    if (options.runs) {
        single_['\t'] = blank_[' '] = blank_['\t'] = true;
        if (options.lineBreakRuns)
            single_['\r'] = single_['\n'] = blank_['\r'] = blank_['\n'] = true;
    }
    if (options.high) {
        for (size_t c = 0x80; c < 0x100; ++c)
            single_[c] = blank_[c] = true;
    }
    // Bit 0x20 is set on the byte after the '<' before it is looked up, so the entries of
    // bytes without it are never read.
    if (options.scriptTags) afterLt_['s'] = afterLt_['%'] = afterLt_['?'] = true;
    if (options.textTags) afterLt_['p'] = afterLt_['l'] = afterLt_['t'] = afterLt_['x'] = true;
    if (options.anyTags) {
        for (size_t c = 'a'; c <= 'z'; ++c)
            afterLt_[c] = true;
    }
}

size_t TagEnd(std::string_view t, size_t lt) {
    const size_t n = t.size();
    size_t i = lt + 1;
    while (i < n) {
        const char c = t[i];
        if (c == '>') return i + 1;
        if ((c == '"' || c == '\'') && QuoteOpensValue(t, lt, i)) {
            const size_t close = FindByte(t, i + 1, c);
            if (close == kNone) return n;
            i = close + 1;
            continue;
        }
        ++i;
    }
    return n;
}

ScriptKind ScriptLanguageOf(Charset charset, std::string_view t, size_t lt, size_t* lastRead) {
    const size_t n = t.size();
    Cursor cur(t, charset, lt);
    int decided = -1;  // -1 nothing yet, 0 JavaScript, 1 VBScript
    bool notScript = false;
    while (!cur.AtEnd()) {
        const int c = cur.Peek();
        if (c == '>') break;
        if (IsBlankOrBreak(static_cast<uint8_t>(c))) {
            cur.Move(1);
            continue;
        }
        if (c == '"' || c == '\'') {
            const size_t close = FindByte(t, cur.Pos() + 1, static_cast<char>(c));
            cur.Move((close == kNone ? n : close + 1) - cur.Pos());
            continue;
        }
        if (c == '=') {
            cur.Move(SkipAttributeValue(t, cur.Pos() + 1) - cur.Pos());
            continue;
        }
        const bool isLanguage = AttributeNameAt(t, cur.Pos(), "language");
        if (isLanguage || AttributeNameAt(t, cur.Pos(), "type")) {
            const size_t afterName = cur.Pos() + (isLanguage ? 8 : 4);
            const size_t eq = SkipBlanks(Charset::Cp932, t, afterName, {false, true});
            size_t next;
            if (eq < n && t[eq] == '=') {
                const AttributeValue value = ReadAttributeValue(t, eq + 1);
                if (decided < 0) {
                    decided = StartsWithNoCaseAt(value.text, 0, isLanguage ? "vbs" : "text/vbs");
                }
                if (isLanguage ? IsEncodedLanguage(value.text) : !IsScriptType(value.text)) {
                    notScript = true;
                }
                next = value.next;
            } else {
                next = SkipAttributeValue(t, eq);  // the next word is skipped as a value
            }
            cur.Move(next - cur.Pos());
            continue;
        }
        // Any other name: its first character, then the letters that follow.
        cur.MoveChar();
        while (!cur.AtEnd() && IsAsciiLetter(static_cast<uint8_t>(cur.Peek())))
            cur.Move(1);
    }
    if (lastRead) *lastRead = cur.Pos();
    if (notScript) return ScriptKind::Data;
    return decided == 1 ? ScriptKind::VbScript : ScriptKind::JavaScript;
}

size_t ScriptDataEnd(std::string_view t, size_t from) {
    enum class State { Data, Escaped, DoubleEscaped };
    const size_t n = t.size();
    State state = State::Data;
    size_t dashes = 0;  // the next "-->" at or after i in the escaped states, or n
    size_t i = from;
    for (;;) {
        if (state == State::Data) {
            i = FindByte(t, i, '<');
            if (i == kNone) return n;
            if (ScriptEndTagAt(t, i)) return i;
            if (StartsWithAt(t, i, "<!--")) {
                state = State::Escaped;
                i += 2;  // its "--" may be part of the "-->" that ends it ("<!-->")
            } else {
                ++i;
            }
            continue;
        }
        if (dashes < i) {
            dashes = t.find("-->", i);
            if (dashes == kNone) dashes = n;
        }
        const size_t lt = FindByte(t.substr(0, dashes), i, '<');
        if (lt == kNone) {
            if (dashes >= n) return n;
            state = State::Data;
            i = dashes + 3;
        } else if (state == State::Escaped) {
            if (ScriptEndTagAt(t, lt)) return lt;
            const bool opens = lt + 7 < n && ScriptStartTagAt(t, lt);
            if (opens) state = State::DoubleEscaped;
            i = lt + (opens ? 8 : 1);
        } else {
            const bool closes = lt + 8 < n && ScriptEndTagAt(t, lt);
            if (closes) state = State::Escaped;
            i = lt + (closes ? 9 : 1);
        }
    }
}

bool CollectScriptPieces(Charset charset, std::string_view t, size_t from, bool vbScript,
                         PieceList& pieces) {
    pieces.clear();
    ScriptScanner scanner(charset, t, from, vbScript);
    for (;;) {
        const ScriptToken token = scanner.Next();
        if (token.kind == PieceKind::End) return true;
        NotePiece(pieces, {token.kind, token.afterMultibyte, token.codeEnd, token.end});
        if (!PiecesComplete(pieces)) {
            pieces.clear();
            return false;
        }
    }
}

bool ScriptBodyEnd(Charset charset, std::string_view t, size_t bodyStart, ScriptKind kind,
                   size_t& bodyEnd, PieceList* pieces) {
    bodyEnd = ScriptDataEnd(t, bodyStart);
    if (kind == ScriptKind::Data || !pieces) return true;
    return CollectScriptPieces(charset, t.substr(0, bodyEnd), bodyStart,
                               kind == ScriptKind::VbScript, *pieces);
}

size_t ScriptBodyEnd(Charset charset, std::string_view t, size_t bodyStart, ScriptKind kind) {
    size_t bodyEnd = t.size();
    (void)ScriptBodyEnd(charset, t, bodyStart, kind, bodyEnd);
    return bodyEnd;
}

ScriptBlock FindScriptBlock(Charset charset, std::string_view t, size_t lt, PieceList* pieces) {
    const size_t n = t.size();
    ScriptBlock block;
    block.kind = ScriptLanguageOf(charset, t, lt, &block.kindRead);
    block.tagEnd = TagEnd(t, lt);
    block.bodyEnd = n;
    if (block.tagEnd < n) {
        block.piecesComplete =
            ScriptBodyEnd(charset, t, block.tagEnd, block.kind, block.bodyEnd, pieces);
    }
    block.end = block.bodyEnd >= n ? n : TagEnd(t, block.bodyEnd);
    return block;
}

size_t ScriptBlockEnd(std::string_view t, size_t lt) {
    const size_t n = t.size();
    const size_t tagEnd = TagEnd(t, lt);
    if (tagEnd >= n) return n;
    const size_t bodyEnd = ScriptDataEnd(t, tagEnd);
    return bodyEnd >= n ? n : TagEnd(t, bodyEnd);
}

size_t StringLiteralEnd(Charset charset, std::string_view t, size_t i, bool vbScript) {
    const size_t n = t.size();
    size_t j = i + 1;
    if (vbScript) {
        for (; j < n; ++j) {
            const char c = t[j];
            if (c == '"') return j + 1;
            if (c == '\r' || c == '\n') return j;
        }
        return n;
    }
    const char quote = t[i];
    const bool cp932 = charset == Charset::Cp932;
    const StopSet& stops = StringStops(quote, cp932);
    for (;;) {
        // Most strings are short: a few bytes one by one before the block search.
        const size_t near = n - j < 8 ? n : j + 8;
        while (j < near && !stops.Has(ByteAt(t, j)))
            ++j;
        if (j == near) j = stops.Find(t, j, n);
        if (j >= n) break;
        const uint8_t c = ByteAt(t, j);
        if (c == static_cast<uint8_t>(quote)) return j + 1;
        if (c == '\r' || c == '\n') return j;
        if (c == '\\') {
            if (j + 1 >= n) return n;
            if (t[j + 1] == '\r' && j + 2 < n && t[j + 2] == '\n') {
                j += 3;
            } else {
                j += 1 + CharLength(charset, t, j + 1);
            }
            continue;
        }
        j += cp932 && c >= 0x80 ? CharLength(charset, t, j) : 1;
    }
    return n;
}

size_t TemplateLiteralEnd(Charset charset, std::string_view t, size_t i) {
    // levels[k] < 0: inside template text; >= 0: inside a `${` expression, at that brace depth.
    constexpr int kMaxLevels = 32;
    int levels[kMaxLevels];
    int depth = 0;
    levels[depth++] = -1;
    const size_t n = t.size();
    size_t j = i + 1;
    while (j < n) {
        const char c = t[j];
        int& top = levels[depth - 1];
        if (top < 0) {
            if (c == '\\') {
                ++j;
                if (j < n) j += CharLength(charset, t, j);
            } else if (c == '`') {
                if (--depth == 0) return j + 1;
                ++j;
            } else if (c == '$' && j + 1 < n && t[j + 1] == '{' && depth < kMaxLevels) {
                levels[depth++] = 0;
                j += 2;
            } else {
                j += CharLength(charset, t, j);
            }
            continue;
        }
        switch (c) {
            case '{':
                ++top;
                ++j;
                break;
            case '}':
                if (top == 0) {
                    --depth;
                } else {
                    --top;
                }
                ++j;
                break;
            case '`':
                if (depth < kMaxLevels) levels[depth++] = -1;
                ++j;
                break;
            case '"':
            case '\'':
                j = StringLiteralEnd(charset, t, j, false);
                break;
            case '/':
                if (j + 1 < n && t[j + 1] == '/') {
                    j = NextLineBreak(t, j);
                } else if (j + 1 < n && t[j + 1] == '*') {
                    j = BlockCommentEnd(t, j);
                } else {
                    ++j;
                }
                break;
            default:
                j += CharLength(charset, t, j);
        }
    }
    return n;
}

size_t RegexLiteralEnd(Charset charset, std::string_view t, size_t i, size_t* stop) {
    const size_t n = t.size();
    bool inClass = false;
    size_t j = i + 1;
    while (j < n) {
        const uint8_t c = ByteAt(t, j);
        if (c == '\r' || c == '\n') break;
        if (c == '\\') {
            ++j;
            if (j >= n || (kByteClass[ByteAt(t, j)] & kBreak)) break;
            j += CharLength(charset, t, j);
            continue;
        }
        if (inClass) {
            if (c == ']') inClass = false;
        } else if (c == '[') {
            inClass = true;
        } else if (c == '/') {
            ++j;
            while (j < n && IsAsciiLetter(ByteAt(t, j)))
                ++j;
            return j;
        }
        j += c >= 0x80 ? CharLength(charset, t, j) : 1;
    }
    *stop = j < n ? j : n;
    return kNone;
}

size_t BlockCommentEnd(std::string_view t, size_t i) {
    size_t j = i + 2;
    while ((j = FindByte(t, j, '*')) != kNone) {
        if (j + 1 < t.size() && t[j + 1] == '/') return j + 2;
        ++j;
    }
    return t.size();
}

bool VbsCommentAt(std::string_view t, size_t i) {
    if (i >= t.size()) return false;
    if (t[i] == '\'') return true;
    if (t[i] == ':') return RemAt(t, SkipSpacesTabs(t, i + 1));
    return RemAt(t, i);
}

ScriptScanner::ScriptScanner(Charset charset, std::string_view text, size_t pos, bool vbScript)
    : text_(text),
      pos_(pos),
      charset_(charset),
      vbScript_(vbScript),
      stops_(ScriptStops(vbScript, charset == Charset::Cp932), text) {}

bool ScriptScanner::WordStartAt(size_t runStart, size_t at, size_t mbEnd) const {
    if (at == runStart) return true;
    return at != mbEnd && !IsWordish(ByteAt(text_, at - 1));
}

// Decides from the last significant character before `at` whether a '/' there may
// start a regular expression. Only the current stretch of code is looked at; what came
// before it is summed up in regexAllowed_.
bool ScriptScanner::RegexAllowedAt(size_t runStart, size_t at, size_t mbEnd) const {
    size_t j = at;
    while (j > runStart && IsBlankOrBreak(ByteAt(text_, j - 1)))
        --j;
    if (j == runStart) return regexAllowed_;
    if (j == mbEnd) return false;  // after a double-byte character, as after a name
    const uint8_t c = ByteAt(text_, j - 1);
    if (c >= 0x80) return false;
    if (c == ')') return j == conditionEnd_;  // "if (a) /x/.test(b)"
    if (kRegexPrefix[c]) {
        // "x++ /" and "x-- /" divide; after "<!--", which comments out its line, a
        // line starts afresh.
        if ((c == '+' || c == '-') && j - 1 > runStart && ByteAt(text_, j - 2) == c) {
            return c == '-' && j - 3 > runStart && StartsWithAt(text_, j - 4, "<!--");
        }
        return true;
    }
    if (!(kByteClass[c] & kWord)) return false;
    size_t k = j - 1;
    while (k > runStart && k != mbEnd && (kByteClass[ByteAt(text_, k - 1)] & kWord))
        --k;
    if (k == mbEnd) return false;
    if (k > runStart && (text_[k - 1] == '.' || ByteAt(text_, k - 1) >= 0x80)) return false;
    return IsRegexKeyword(text_.substr(k, j - k));
}

// Whether the word before the '(' at `at` is "if", "while", "for" or "with" (and not a
// property such as "x.for").
bool ScriptScanner::ConditionKeywordBefore(size_t runStart, size_t at, size_t mbEnd) const {
    size_t j = at;
    while (j > runStart && IsBlankOrBreak(ByteAt(text_, j - 1)))
        --j;
    size_t k = j;
    while (k > runStart && k != mbEnd && j - k < 6 && (kByteClass[ByteAt(text_, k - 1)] & kWord))
        --k;
    if (j - k < 2 || j - k > 5 || k == mbEnd) return false;
    if (k > runStart && (IsWordish(ByteAt(text_, k - 1)) || text_[k - 1] == '.')) return false;
    return IsConditionKeyword(text_.substr(k, j - k));
}

void ScriptScanner::OpenParen(size_t runStart, size_t at, size_t mbEnd) {
    if (parenDepth_ < kMaxDepth) {
        const uint64_t bit = uint64_t{1} << (parenDepth_ % 64);
        uint64_t& word = conditionParens_[parenDepth_ / 64];
        word = ConditionKeywordBefore(runStart, at, mbEnd) ? word | bit : word & ~bit;
    }
    ++parenDepth_;
}

void ScriptScanner::CloseParen(size_t at) {
    if (parenDepth_ == 0) return;
    --parenDepth_;
    if (parenDepth_ < kMaxDepth &&
        (conditionParens_[parenDepth_ / 64] >> (parenDepth_ % 64) & 1) != 0) {
        conditionEnd_ = at + 1;
    }
}

ScriptToken ScriptScanner::Next() {
    const size_t n = text_.size();
    const size_t runStart = pos_;
    size_t mbEnd = kNone;  // end of the last double-byte character of this stretch
    size_t i = pos_;
    for (;;) {
        i = stops_.Next(i, n);
        if (i >= n) {
            pos_ = n;
            return {n, n, PieceKind::End, mbEnd == n};
        }
        const uint8_t c = ByteAt(text_, i);
        if (c >= 0x80) {  // a CP932 lead byte: step over the whole character
            const size_t len = CharLength(charset_, text_, i);
            i += len;
            if (len > 1) mbEnd = i;
            continue;
        }
        PieceKind kind;
        size_t end;
        switch (c) {
            case '"':
                kind = PieceKind::String;
                end = StringLiteralEnd(charset_, text_, i, vbScript_);
                break;
            case '\'':
                if (vbScript_) {
                    kind = PieceKind::LineComment;
                    end = NextLineBreak(text_, i);
                } else {
                    kind = PieceKind::String;
                    end = StringLiteralEnd(charset_, text_, i, false);
                }
                break;
            case '`':
                kind = PieceKind::Template;
                end = TemplateLiteralEnd(charset_, text_, i);
                break;
            case '/': {
                const bool more = i + 1 < n;
                if (more && text_[i + 1] == '/') {
                    kind = PieceKind::LineComment;
                    end = NextLineBreak(text_, i);
                    break;
                }
                if (more && text_[i + 1] == '*') {
                    kind = PieceKind::BlockComment;
                    end = BlockCommentEnd(text_, i);
                    break;
                }
                if (i >= noRegexUntil_ && RegexAllowedAt(runStart, i, mbEnd)) {
                    size_t stop = n;
                    end = RegexLiteralEnd(charset_, text_, i, &stop);
                    if (end != kNone) {
                        kind = PieceKind::Regex;
                        break;
                    }
                    // Nothing closes it on this line; no later '/' there opens one either,
                    // which keeps the scan linear.
                    noRegexUntil_ = stop;
                }
                ++i;
                continue;
            }
            case '(':
                OpenParen(runStart, i, mbEnd);
                ++i;
                continue;
            case ')':
                CloseParen(i);
                ++i;
                continue;
            case ':':
                if (VbsCommentAt(text_, i)) {
                    kind = PieceKind::LineComment;
                    end = NextLineBreak(text_, i);
                    break;
                }
                ++i;
                continue;
            default:  // 'r' or 'R' in VBScript
                if (WordStartAt(runStart, i, mbEnd) && RemAt(text_, i)) {
                    kind = PieceKind::LineComment;
                    end = NextLineBreak(text_, i);
                    break;
                }
                ++i;
                continue;
        }
        if (kind == PieceKind::LineComment || kind == PieceKind::BlockComment) {
            regexAllowed_ = RegexAllowedAt(runStart, i, mbEnd);
        } else {
            regexAllowed_ = false;  // a literal is a value: a '/' after it divides
        }
        pos_ = end;
        return {i, end, kind, mbEnd == i};
    }
}

}  // namespace trimlet::engine
