// TrimScriptText: the script steps in both languages, and the cases where code must be
// read by its tokens rather than byte by byte.

#include "engine_cases.h"

namespace trimlet::test {
namespace {

constexpr TrimMode kVbsComments = TM_SCRIPT_COMMENT_DEL | TM_VBS_REM_COMMENT;

TEST(JavaScriptSteps, Table) {
    const Case cases[] = {
        {"string kept", kDefault, "s = \"a // b\"; /* c */ t = 1;", "s=\"a // b\";t=1;"},
        {"line comment forced", TM_CR_REG_AS_WSP | TM_COLLAPSE_SPACES, "x = 1;\r\n// c\r\ny = 2",
         "x=1;y=2"},
        {"no step applies", TM_HTML_COMMENT_DEL, "a  =  b; // c\r\n\r\n", kSame},
        {"line comments only", TM_SCRIPT_COMMENT_DEL | TM_SCRIPT_LINE_COMMENT, "a/* x */b// y",
         "a/* x */b"},
        {"master bit off", TM_SCRIPT_BLOCK_COMMENT | TM_SCRIPT_LINE_COMMENT, "a/* x */b// y",
         kSame},
        {"comment text at a line end", TM_TRIM_LINE_ENDS, "a // c  \r\n  b", "a // c\r\nb"},
        {"merge to one", TM_BLANK_LINES_MERGE, "a\r\n\r\n\r\nb", "a\r\n\r\nb"},
        {"run at the end goes whole", TM_BLANK_LINES_MERGE, "a\r\n\r\n\r\n", "a\r\n"},
        {"delete", TM_BLANK_LINES_DELETE, "a\r\n\r\n\r\n", "a\r\n"},
        {"blank last line merge", TM_BLANK_LINES_MERGE, "a\r\n\r\n", "a\r\n"},
        {"no blank lines with CR_REG", TM_BLANK_LINES_DELETE | TM_CR_REG_AS_WSP, "a\r\n\r\nb",
         kSame},
        {"unterminated block comment", kDefault, "a = 1; /* x\r\n y", "a=1;"},
        {"unterminated string", kDefault, "s = \"a  b\r\nt  =  1", "s=\"a  b\r\nt=1"},
    };
    ExpectScript(cases, false);
}

TEST(VbScriptSteps, Table) {
    const Case cases[] = {
        {"example", kDefault, "If a = 1 Then ' check\r\nREM whole line\r\n  b = 2\r\n",
         "If a=1 Then\r\nb=2\r\n"},
        {"line breaks kept, blank lines go", TM_CR_REG_AS_WSP | TM_COLLAPSE_SPACES,
         "a = 1\r\n\r\nb = 2\r\n", "a=1\r\nb=2\r\n"},
        {": REM", kVbsComments, "x = 1 : REM note", "x = 1 "},
        {"remark is a name", kVbsComments, "remark = 2", kSame},
        {"REM at the end", kVbsComments, "x = 1\r\nrem", "x = 1\r\n"},
        {"comment line goes whole", kVbsComments, "  ' a\r\nx\r\n", "x\r\n"},
        {"no operator & or ^", kDefault, "a = b & c ^ d", "a=b & c ^ d"},
    };
    ExpectScript(cases, true);
}

// Where reading code byte by byte gives a wrong result.
TEST(JavaScriptTokens, Table) {
    const Case cases[] = {
        // literals read by characters
        {"trail 0x5C in a string", kDefault, "s = \"\x95\x5C\"; // c", "s=\"\x95\x5C\";"},
        {"trail 0x60 is no backquote", kDefault, "x = \x83\x60 + 1; // c", "x=\x83\x60+1;"},
        // apostrophe strings
        // template literals
        {"template over lines", kDefault, "s = `a  // b\r\n  c`; // d", "s=`a  // b\r\n  c`;"},
        {"nested template", kDefault, "s = `x${ f(`a  b`) }  y`;", "s=`x${ f(`a  b`) }  y`;"},
        {"blank line in template", TM_BLANK_LINES_DELETE, "s = `a\r\n\r\nb`;\r\n\r\n",
         "s = `a\r\n\r\nb`;\r\n"},
        // regular expressions
        {"regex with quote and class", kDefault, "r = /[/]\"/; // c", "r=/[/]\"/;"},
        {"division", kDefault, "x = a / b; // c / d", "x=a/b;"},
        {"after return", kDefault, "return /'/.test(s); // c", "return/'/.test(s);"},
        {"unclosed on its line", kDefault, "f(/ 2)\r\n// c", "f(/2)\r\n"},
        {"after x++", kDefault, "y = x++ / 2; // c", "y=x++/2;"},
        // no new tokens
        {"plus plus", kDefault, "a = b + ++c;", "a=b+ ++c;"},
        {"arrow-like", kDefault, "if (x-- > 0) f();", "if(x-- >0)f();"},
        {"<!", kDefault, "a = b < !c;", "a=b< !c;"},
        {"</", kDefault, "x = a < /re/.source;", "x=a< /re/.source;"},
        {"number and dot", kDefault, "n = 1 .toString();", "n=1 .toString();"},
        {"comment between names", kDefault, "a = b/**/c;", "a=b c;"},
        // line breaks and NUL
        {"stray LF ends a line comment", kDefault, "a = 1; // c\nb = 2;\r\n", "a=1;\nb=2;\r\n"},
        {"NUL is a byte", kDefault, "a = 1; \0 b = 2; // c"sv, "a=1;\0 b=2;"sv},
        {"NUL in a string", kDefault, "s = \"a\0  b\"; // c"sv, "s=\"a\0  b\";"sv},
        // found by fuzzing
        {"string ends in trail byte |", kDefault | TM_CR_REG_AS_WSP, "s = 'a\x83\x7C\r\n b",
         "s='a\x83\x7C\r\nb"},
    };
    ExpectScript(cases, false);
}

// With line breaks as blanks, a line break that may end a statement stays.
TEST(JavaScriptLineBreaks, Table) {
    constexpr TrimMode kCr = kDefault | TM_CR_REG_AS_WSP;
    constexpr TrimMode kKeepComments = TM_CR_REG_AS_WSP | TM_COLLAPSE_SPACES;
    const Case cases[] = {
        // kept: the code before can end an expression, the code after can begin one
        {"call after a block", kCr,
         "var a = function () {\r\n  x();\r\n}\r\n$(window).on(\"load\", a);",
         "var a=function(){x();}\r\n$(window).on(\"load\",a);"},
        {"name before + and ++", kCr, "a = b\r\n+c\r\nd\r\n++e", "a=b\r\n+c\r\nd\r\n++e"},
        {"x++ before a name", kCr, "x++\r\ny--\r\nz", kSame},
        {"literals", kCr, "s = \"a\"\r\nt = 'b'\r\nr = /c/g\r\n[1].map(f)\r\n`d`",
         "s=\"a\"\r\nt='b'\r\nr=/c/g\r\n[1].map(f)\r\n`d`"},
        {"] before ! and ~", kCr, "a[0]\n!b\n~c", kSame},
        {"number before .5", kCr, "a = 1\n.5", "a=1\n.5"},
        {"one line break for the run", kCr, "a  \r\n\r\n\t b", "a\r\nb"},
        {"LF in a CR LF text", kCr, "a\nb\r\n", "a\nb"},
        // kept after the jump keywords, whatever follows
        {"return", kCr, "function f() {\r\n  return\r\n  x;\r\n}", "function f(){return\r\nx;}"},
        {"break continue throw yield", kCr,
         "for (;;) { break\n}\nfor (;;) { continue\n}\nthrow\n;\nyield\n)",
         "for(;;){break\n}\nfor(;;){continue\n}\nthrow\n;yield\n)"},
        {"a longer name is no keyword", kCr, "x.returned\n}", "x.returned}"},
        {"--> starts a comment only on its own line", kCr, "f();\r\n--> x", "f();\r\n-->x"},
        // joined as before
        {"after an operator", kCr, "a = b +\r\n  c,\r\n  d;", "a=b+c,d;"},
        {"before a member", kCr, "a = b\r\n  .c()\r\n  .d();", "a=b.c().d();"},
        {"between statements", kCr, "f();\r\ng();\r\n", "f();g();"},
        {"before a closing brace", kCr, "if (a) {\r\n  b = 1\r\n}", "if(a){b=1}"},
        // comments kept
        {"line break inside a comment", kKeepComments, "a /* x\r\n y */ b", "a/*x\r\ny*/b"},
        {"comment before a break", kKeepComments, "a = b /* c */\r\n(d)", "a=b/*c*/\r\n(d)"},
        // untouched
        {"without line breaks as blanks", kDefault, "a\r\nb", kSame},
    };
    ExpectScript(cases, false);
    EXPECT_EQ(Script("a = 1\r\n+ b\r\n", kCr, true), "a=1\r\n+b\r\n");  // VBScript: lines stay
}

TEST(VbScriptTokens, Table) {
    const Case cases[] = {
        {"backslash is ordinary", kDefault, "x = \"C:\\\" ' c", "x=\"C:\\\""},
        {": remark is code", kVbsComments, "x = 1 : remark = 2", kSame},
        {"line continuation", kDefault, "MsgBox \"a\", _\r\n  \"b\"", "MsgBox \"a\", _\r\n\"b\""},
        {"stray LF ends a line", kDefault, "x = 1 ' c\ny = 2\r\n", "x=1 \ny=2\r\n"},
        {"string inside a unit", kVbsComments, "x=\"it's\" ' c", "x=\"it's\" "},
    };
    ExpectScript(cases, true);
}

// Deleting a comment never joins the code around it into other tokens.
TEST(JavaScriptCommentDeletion, Table) {
    const Case cases[] = {
        // operators
        {"minus minus", kDefault, "x = a -/**/-b;", "x=a- -b;"},
        {"plus plus plus", kDefault, "c +/**/++d", "c+ ++d"},
        {"two comments", kDefault, "x = a -/**//* y */-b;", "x=a- -b;"},
        {"number and dot", kDefault, "n = 1/**/.toString();", "n=1 .toString();"},
        {"regex and comment start", kDefault, "r = /a//**/*b;", "r=/a/ *b;"},
        {"nothing to join", kDefault, "x = a -/**/b;", "x=a-b;"},
        {"block comments kept", TM_SCRIPT_COMMENT_DEL | TM_SCRIPT_LINE_COMMENT, "a -/**/-b // c",
         "a -/**/-b "},
        // a comment over lines stands for a line break
        {"statements without semicolons", kDefault, "x = 1 /*\r\n*/ y = 2", "x=1\r\ny=2"},
        {"line break beside it already", kDefault, "a;\r\n/* c\r\n */\r\nb;", "a;\r\nb;"},
    };
    ExpectScript(cases, false);

    const Case html[] = {
        {"HTML comment markers", kDefault & ~TM_KEEP_SCRIPT_HTML_COMMENT,
         "<script>x = a -<!-- c -->-b; y = b<!-- -->c</script>", "<script>x=a- -b;y=b c</script>"},
    };
    ExpectHtml(html);
}

// After the ')' of an "if", "while", "for" or "with" condition a '/' starts a regular
// expression; after any other ')' it divides.
TEST(JavaScriptRegexAfterCondition, Table) {
    const Case cases[] = {
        {"if", kDefault, "if (a) /x\"/.test(b); q = \"  y  \";", "if(a)/x\"/.test(b);q=\"  y  \";"},
        {"for", kDefault, "for (;;) /x`/g.test(b); q = `  y  `;",
         "for(;;)/x`/g.test(b);q=`  y  `;"},
        {"nested parentheses", kDefault, "if (f(a)) /x\"/.test(b); q = \"  y  \";",
         "if(f(a))/x\"/.test(b);q=\"  y  \";"},
        {"comment between", kDefault, "if (a) /* c */ /x\"/.test(b); q = \"  y  \";",
         "if(a)/x\"/.test(b);q=\"  y  \";"},
        {"after a line break", kDefault, "if (a)\r\n  /x\"/.test(b); q = \"  y  \";",
         "if(a)\r\n/x\"/.test(b);q=\"  y  \";"},
        // division
        {"call", kDefault, "x = f(a) / 2 + \"  y  / 3\";", "x=f(a)/2+\"  y  / 3\";"},
        {"inner parenthesis of a condition", kDefault, "if (f(a) / 2 + \"  y  / 3\") g();",
         "if(f(a)/2+\"  y  / 3\")g();"},
        {"property named for", kDefault, "x = a.for(b) / 2 + \"  y  / 3\";",
         "x=a.for(b)/2+\"  y  / 3\";"},
        {"longer name", kDefault, "x = iff(b) / 2 + \"  y  / 3\";", "x=iff(b)/2+\"  y  / 3\";"},
        {"stray )", kDefault, "x = a) / 2 + \"  y  / 3\";", "x=a)/2+\"  y  / 3\";"},
    };
    ExpectScript(cases, false);
}

TEST(ScriptOutput, ReplacesAndMayAliasInput) {
    std::string text = "a  =  1";
    EXPECT_RESULT(TrimScriptText(text, text, kDefault, false), RESULT_OK);
    EXPECT_EQ(text, "a=1");
    text = "a  b";
    EXPECT_RESULT(TrimScriptText(text, text, 0, true), RESULT_OK);
    EXPECT_EQ(text, "a  b");
}

}  // namespace
}  // namespace trimlet::test
