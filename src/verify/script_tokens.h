#pragma once
// The token sequences the verifier compares script text by: what a script engine reads,
// without blanks and comments, with the line breaks that still mean something.

#include <cstddef>
#include <string_view>
#include <vector>

namespace trimlet::verify {

enum class TokenKind { Name, Number, String, Template, Regex, Punctuator, LineEnd };

struct Token {
    TokenKind kind = TokenKind::Punctuator;
    std::string_view text;     // into the tokenized text
    std::size_t line = 1;      // 1-based line of its first byte
    bool breakBefore = false;  // a line break (or a comment holding one) stands before it
};

// The tokens of JavaScript text (UTF-8): names, numbers, strings, template pieces, regular
// expressions (told from a division by the token before), punctuators. Comments, also the
// "<!--" and "-->" lines browsers skip, are left out; an unterminated construct runs to the
// end of its line or text.
std::vector<Token> JavaScriptTokens(std::string_view text);

// True when a line break before tokens[i] changes what the script means: it ends a
// statement where joining the lines would not (after "return", before "++", between two
// operands).
bool LineBreakMatters(const std::vector<Token>& tokens, std::size_t i);

// The tokens of VBScript text: names, numbers, strings, dates, punctuators, and one LineEnd
// for each run of line ends between statements (none at the start or the end). Comments
// ("'" and "Rem") are left out; "_" at a line's end joins the lines.
std::vector<Token> VbScriptTokens(std::string_view text);

}  // namespace trimlet::verify
