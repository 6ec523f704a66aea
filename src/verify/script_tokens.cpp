#include "verify/script_tokens.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace trimlet::verify {

namespace {

inline std::uint8_t At(std::string_view t, std::size_t i) {
    return i < t.size() ? static_cast<std::uint8_t>(t[i]) : 0;
}

bool IsNameByte(std::uint8_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$' || c == '\\' || c >= 0x80;
}

bool IsDigit(std::uint8_t c) {
    return c >= '0' && c <= '9';
}

// The length of a line terminator at i (LF, CR, CR LF, U+2028, U+2029), else 0.
std::size_t LineBreakAt(std::string_view t, std::size_t i) {
    const std::uint8_t c = At(t, i);
    if (c == '\n') return 1;
    if (c == '\r') return At(t, i + 1) == '\n' ? 2 : 1;
    if (c == 0xE2 && At(t, i + 1) == 0x80 && (At(t, i + 2) == 0xA8 || At(t, i + 2) == 0xA9))
        return 3;
    return 0;
}

// The length of a blank that is not a line break at i (ASCII blanks, no-break space, the
// byte-order mark, the Unicode space separators), else 0.
std::size_t BlankAt(std::string_view t, std::size_t i) {
    const std::uint8_t c = At(t, i);
    if (c == ' ' || c == '\t' || c == '\v' || c == '\f') return 1;
    if (c < 0x80) return 0;
    const std::uint8_t c1 = At(t, i + 1), c2 = At(t, i + 2);
    if (c == 0xC2 && c1 == 0xA0) return 2;
    if (c == 0xEF && c1 == 0xBB && c2 == 0xBF) return 3;
    if (c == 0xE3 && c1 == 0x80 && c2 == 0x80) return 3;
    if (c == 0xE1 && c1 == 0x9A && c2 == 0x80) return 3;
    if (c == 0xE2 && c1 == 0x80 && (c2 <= 0x8A || c2 == 0xAF)) return 3;
    if (c == 0xE2 && c1 == 0x81 && c2 == 0x9F) return 3;
    return 0;
}

std::size_t LineEndFrom(std::string_view t, std::size_t i) {
    while (i < t.size() && LineBreakAt(t, i) == 0)
        ++i;
    return i;
}

constexpr std::string_view kPunctuators[] = {
    ">>>=", "...", "===", "!==", "**=", "<<=", ">>=", ">>>", "&&=", "||=", "?\?=",
    "=>",   "==",  "!=",  "<=",  ">=",  "&&",  "||",  "??",  "?.",  "++",  "--",
    "+=",   "-=",  "*=",  "/=",  "%=",  "&=",  "|=",  "^=",  "**",  "<<",  ">>",
};

std::size_t PunctuatorLength(std::string_view t, std::size_t i) {
    for (std::string_view p : kPunctuators) {
        if (t.compare(i, p.size(), p) != 0) continue;
        if (p == "?." && IsDigit(At(t, i + 2))) continue;  // a ? .5 : b
        return p.size();
    }
    return 1;
}

bool IsOneOf(std::string_view text, std::initializer_list<std::string_view> words) {
    return std::find(words.begin(), words.end(), text) != words.end();
}

// Keywords after which an expression starts: a "/" there begins a regular expression.
bool KeywordBeforeExpression(std::string_view name) {
    return IsOneOf(name, {"return", "typeof", "instanceof", "in", "of", "new", "delete", "void",
                          "throw", "case", "do", "else", "yield", "await"});
}

// `afterControl`: the last token closes the condition of "if", "while", "for" or "with",
// after which a statement (and so a regular expression) may start.
bool RegexMayFollow(const std::vector<Token>& tokens, bool afterControl) {
    if (tokens.empty() || afterControl) return true;
    const Token& last = tokens.back();
    switch (last.kind) {
        case TokenKind::Name:
            return KeywordBeforeExpression(last.text);
        case TokenKind::Punctuator:
            return !IsOneOf(last.text, {")", "]", "++", "--"});
        case TokenKind::Template:
            return last.text.back() == '{';  // "${" opens an expression
        default:
            return false;
    }
}

// The end of the regular expression starting at the "/" at i, or i when it does not end on
// its line (then the "/" is read as a punctuator).
std::size_t RegexEnd(std::string_view t, std::size_t i) {
    bool inClass = false;
    std::size_t j = i + 1;
    for (; j < t.size(); ++j) {
        if (LineBreakAt(t, j) != 0) return i;
        const char c = t[j];
        if (c == '\\') {
            if (LineBreakAt(t, j + 1) != 0) return i;
            ++j;
        } else if (c == '[') {
            inClass = true;
        } else if (c == ']') {
            inClass = false;
        } else if (c == '/' && !inClass) {
            break;
        }
    }
    if (j >= t.size()) return i;
    ++j;
    while (j < t.size() && IsNameByte(At(t, j)) && BlankAt(t, j) == 0)
        ++j;
    return j;
}

// The end of the string literal opened at i; an unterminated one ends before its line break.
std::size_t StringEnd(std::string_view t, std::size_t i) {
    const char quote = t[i];
    std::size_t j = i + 1;
    while (j < t.size()) {
        const char c = t[j];
        if (c == quote) return j + 1;
        if (c == '\\') {
            const std::size_t lb = LineBreakAt(t, j + 1);
            j += 1 + (lb != 0 ? lb : 1);
            continue;
        }
        if (LineBreakAt(t, j) != 0) return j;
        ++j;
    }
    return t.size();
}

// The end of a template piece starting at i (after "`" or "}"): after the closing "`" or
// after "${". `opensSubstitution` tells which.
std::size_t TemplatePieceEnd(std::string_view t, std::size_t i, bool& opensSubstitution) {
    opensSubstitution = false;
    std::size_t j = i;
    while (j < t.size()) {
        const char c = t[j];
        if (c == '\\') {
            j += 2;
            continue;
        }
        if (c == '`') return j + 1;
        if (c == '$' && At(t, j + 1) == '{') {
            opensSubstitution = true;
            return j + 2;
        }
        ++j;
    }
    return t.size();
}

std::size_t NumberEnd(std::string_view t, std::size_t i) {
    const bool hex = t[i] == '0' && (At(t, i + 1) | 0x20) == 'x';
    std::size_t j = i;
    while (j < t.size()) {
        const std::uint8_t c = At(t, j);
        if (IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' ||
            c == '.') {
            ++j;
            if (!hex && (c | 0x20) == 'e' && (At(t, j) == '+' || At(t, j) == '-')) ++j;
            continue;
        }
        break;
    }
    return j;
}

}  // namespace

std::vector<Token> JavaScriptTokens(std::string_view t) {
    std::vector<Token> tokens;
    std::vector<int> templateDepths;  // brace depth at each open "${"
    std::vector<bool> parenControls;  // each open "(": the condition of if, while, for, with
    bool afterControl = false;
    int braceDepth = 0;
    std::size_t line = 1;
    bool sawBreak = false;
    bool lineStart = true;  // only blanks and comments so far on this line
    std::size_t i = 0;
    const auto add = [&](TokenKind kind, std::size_t end) {
        tokens.push_back(Token{kind, t.substr(i, end - i), line, sawBreak});
        for (std::size_t k = i; k < end; ++k) {
            const std::size_t lb = LineBreakAt(t, k);
            if (lb != 0) {
                ++line;
                k += lb - 1;
            }
        }
        sawBreak = false;
        lineStart = false;
        i = end;
    };
    while (i < t.size()) {
        if (const std::size_t lb = LineBreakAt(t, i)) {
            i += lb;
            ++line;
            sawBreak = true;
            lineStart = true;
            continue;
        }
        if (const std::size_t blank = BlankAt(t, i)) {
            i += blank;
            continue;
        }
        const std::uint8_t c = At(t, i);
        const std::uint8_t next = At(t, i + 1);
        const bool htmlOpen = c == '<' && t.compare(i, 4, "<!--") == 0;
        const bool htmlClose = lineStart && c == '-' && t.compare(i, 3, "-->") == 0;
        if ((c == '/' && next == '/') || htmlOpen || htmlClose) {
            i = LineEndFrom(t, i);
            continue;
        }
        if (c == '/' && next == '*') {
            const std::size_t close = t.find("*/", i + 2);
            const std::size_t end = close == std::string_view::npos ? t.size() : close + 2;
            for (std::size_t k = i; k < end; ++k) {
                if (const std::size_t b = LineBreakAt(t, k)) {
                    ++line;
                    sawBreak = true;
                    lineStart = true;
                    k += b - 1;
                }
            }
            i = end;
            continue;
        }
        if (c == '"' || c == '\'') {
            add(TokenKind::String, StringEnd(t, i));
        } else if (c == '`' ||
                   (c == '}' && !templateDepths.empty() && templateDepths.back() == braceDepth)) {
            if (c == '}') templateDepths.pop_back();
            bool opens = false;
            const std::size_t end = TemplatePieceEnd(t, i + 1, opens);
            if (opens) templateDepths.push_back(braceDepth);
            add(TokenKind::Template, end);
        } else if (IsDigit(c) || (c == '.' && IsDigit(next))) {
            add(TokenKind::Number, NumberEnd(t, i));
        } else if (IsNameByte(c)) {
            std::size_t j = i;
            while (j < t.size() && IsNameByte(At(t, j)) && BlankAt(t, j) == 0 &&
                   LineBreakAt(t, j) == 0)
                j += At(t, j) == '\\' ? 2 : 1;
            add(TokenKind::Name, std::min(j, t.size()));
        } else if (c == '/' && RegexMayFollow(tokens, afterControl) && RegexEnd(t, i) != i) {
            add(TokenKind::Regex, RegexEnd(t, i));
        } else {
            if (c == '{') ++braceDepth;
            if (c == '}') --braceDepth;
            bool closesControl = false;
            if (c == '(') {
                parenControls.push_back(
                    !tokens.empty() && tokens.back().kind == TokenKind::Name &&
                    IsOneOf(tokens.back().text, {"if", "while", "for", "with"}));
            } else if (c == ')' && !parenControls.empty()) {
                closesControl = parenControls.back();
                parenControls.pop_back();
            }
            add(TokenKind::Punctuator, i + PunctuatorLength(t, i));
            afterControl = closesControl;
            continue;
        }
        afterControl = false;
    }
    return tokens;
}

bool LineBreakMatters(const std::vector<Token>& tokens, std::size_t i) {
    if (i == 0 || i >= tokens.size()) return false;
    const Token& before = tokens[i - 1];
    const Token& after = tokens[i];
    // Restricted productions: no line break may stand after these, or before these.
    if (before.kind == TokenKind::Name &&
        IsOneOf(before.text, {"return", "break", "continue", "throw", "yield", "async", "let"}))
        return true;
    if (after.kind == TokenKind::Punctuator && IsOneOf(after.text, {"++", "--", "=>"})) return true;
    // Otherwise a break matters where an operand ends and another begins.
    bool ends = false;
    switch (before.kind) {
        case TokenKind::Name:
            ends = !IsOneOf(before.text,
                            {"else",    "do",     "var",      "const", "typeof",     "void",
                             "delete",  "new",    "in",       "of",    "instanceof", "case",
                             "extends", "await",  "function", "class", "if",         "while",
                             "for",     "switch", "with",     "try",   "catch",      "finally",
                             "import",  "export", "default",  "get",   "set",        "static"});
            break;
        case TokenKind::Number:
        case TokenKind::String:
        case TokenKind::Regex:
            ends = true;
            break;
        case TokenKind::Template:
            ends = before.text.back() == '`';
            break;
        case TokenKind::Punctuator:
            ends = IsOneOf(before.text, {")", "]", "}", "++", "--"});
            break;
        default:
            break;
    }
    if (!ends) return false;
    switch (after.kind) {
        case TokenKind::Name:
            return !IsOneOf(after.text, {"in", "of", "instanceof"});
        case TokenKind::Number:
        case TokenKind::String:
        case TokenKind::Regex:
            return true;
        case TokenKind::Punctuator:
            if (IsOneOf(after.text, {"!", "~"})) return true;
            return after.text == "{" && before.text != ")";
        default:
            return false;  // a template continues the expression as a tag
    }
}

namespace {

bool IsVbNameByte(std::uint8_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c >= 0x80;
}

bool IsRemAt(std::string_view t, std::size_t i) {
    if ((At(t, i) | 0x20) != 'r' || (At(t, i + 1) | 0x20) != 'e' || (At(t, i + 2) | 0x20) != 'm')
        return false;
    if (i > 0 && IsVbNameByte(At(t, i - 1))) return false;
    return !IsVbNameByte(At(t, i + 3));
}

}  // namespace

std::vector<Token> VbScriptTokens(std::string_view t) {
    std::vector<Token> tokens;
    std::size_t line = 1;
    std::size_t i = 0;
    bool lineStart = true;
    const auto add = [&](TokenKind kind, std::size_t end) {
        tokens.push_back(Token{kind, t.substr(i, end - i), line, false});
        lineStart = false;
        i = end;
    };
    const auto lineEnd = [&] {
        if (!tokens.empty() && tokens.back().kind != TokenKind::LineEnd)
            tokens.push_back(Token{TokenKind::LineEnd, {}, line, true});
        lineStart = true;
    };
    while (i < t.size()) {
        const std::uint8_t c = At(t, i);
        if (c == '\n' || c == '\r') {
            i += (c == '\r' && At(t, i + 1) == '\n') ? 2 : 1;
            lineEnd();
            ++line;
            continue;
        }
        if (c == ' ' || c == '\t' || (c == 0xE3 && At(t, i + 1) == 0x80 && At(t, i + 2) == 0x80)) {
            i += c < 0x80 ? 1 : 3;
            continue;
        }
        if (c == '\'' || IsRemAt(t, i) || t.compare(i, 4, "<!--") == 0 ||
            (lineStart && t.compare(i, 3, "-->") == 0)) {
            i = LineEndFrom(t, i);
            continue;
        }
        if (c == '_' && !IsVbNameByte(At(t, i + 1))) {
            // "_" as the last thing on a line continues the statement on the next line.
            std::size_t j = i + 1;
            while (At(t, j) == ' ' || At(t, j) == '\t')
                ++j;
            if (At(t, j) == '\n' || At(t, j) == '\r') {
                i = j + ((At(t, j) == '\r' && At(t, j + 1) == '\n') ? 2 : 1);
                ++line;
                continue;
            }
        }
        if (c == '"') {
            std::size_t j = i + 1;
            while (j < t.size()) {
                if (t[j] == '"') {
                    if (At(t, j + 1) == '"') {
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                if (t[j] == '\n' || t[j] == '\r') break;
                ++j;
            }
            add(TokenKind::String, j);
        } else if (c == '#') {
            const std::size_t close = t.find('#', i + 1);
            const std::size_t eol = LineEndFrom(t, i);
            add(TokenKind::String,
                close != std::string_view::npos && close < eol ? close + 1 : i + 1);
        } else if (IsDigit(c) || (c == '.' && IsDigit(At(t, i + 1))) ||
                   (c == '&' && ((At(t, i + 1) | 0x20) == 'h' || (At(t, i + 1) | 0x20) == 'o'))) {
            std::size_t j = i + 1;
            while (IsVbNameByte(At(t, j)) || At(t, j) == '.')
                ++j;
            add(TokenKind::Number, j);
        } else if (IsVbNameByte(c)) {
            std::size_t j = i;
            while (IsVbNameByte(At(t, j)) &&
                   !(At(t, j) == 0xE3 && At(t, j + 1) == 0x80 && At(t, j + 2) == 0x80))
                ++j;
            add(TokenKind::Name, j);
        } else {
            const bool two = (c == '<' && (At(t, i + 1) == '=' || At(t, i + 1) == '>')) ||
                             (c == '>' && At(t, i + 1) == '=');
            add(TokenKind::Punctuator, i + (two ? 2 : 1));
        }
    }
    if (!tokens.empty() && tokens.back().kind == TokenKind::LineEnd) tokens.pop_back();
    return tokens;
}

}  // namespace trimlet::verify
