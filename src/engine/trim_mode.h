#pragma once
// The trim mode: one 32-bit word of option bits that tells the engine what to remove.
// Bits without a name here have no meaning; the engine never tests them and
// the settings pages keep them as they read them.

#include <cstdint>

namespace trimlet {

using TrimMode = std::uint32_t;

// Collapses each run of blanks to one space (in script code also the blanks around operators).
inline constexpr TrimMode TM_COLLAPSE_SPACES = 0x00000004;
// Removes the blanks at the start and end of every line.
inline constexpr TrimMode TM_TRIM_LINE_ENDS = 0x00000008;
// Treats line breaks as blanks, so that lines are joined where blanks may go.
inline constexpr TrimMode TM_CR_REG_AS_WSP = 0x00000010;
// Removes every blank line.
inline constexpr TrimMode TM_BLANK_LINES_DELETE = 0x00000020;
// Merges each run of blank lines into one.
inline constexpr TrimMode TM_BLANK_LINES_MERGE = 0x00000040;
// Removes HTML comments.
inline constexpr TrimMode TM_HTML_COMMENT_DEL = 0x00000800;
// With TM_HTML_COMMENT_DEL: keeps server-side include comments ("<!--#...").
inline constexpr TrimMode TM_KEEP_SSI = 0x00001000;
// With TM_HTML_COMMENT_DEL: keeps the marker comment "<!-- Dovetag -->".
inline constexpr TrimMode TM_KEEP_DOVETAG = 0x00002000;
// With TM_HTML_COMMENT_DEL: removes only the comments inside BODY.
inline constexpr TrimMode TM_BODY_COMMENTS_ONLY = 0x00004000;
// Counts the full-width blank as a blank.
inline constexpr TrimMode TM_ZENKAKU_AS_WSP = 0x00008000;
// Removes the blanks between two tags where a browser shows none.
inline constexpr TrimMode TM_BETWEEN_TAGS = 0x00010000;
// Also trims blanks inside PRE blocks, which a browser shows as written.
inline constexpr TrimMode TM_INSIDE_PRE = 0x00020000;
// With TM_BETWEEN_TAGS: also delete the blanks between two inline elements, which a
// browser shows as a space.
inline constexpr TrimMode TM_BETWEEN_INLINE_TAGS = 0x00040000;
// With TM_HTML_COMMENT_DEL or TM_SCRIPT_COMMENT_DEL: also removes the comments that mean
// something to another program (conditional comments, Knockout bindings, ESI, "/*!",
// "@cc_on", "@license"). The user's own kept beginnings stay even then.
inline constexpr TrimMode TM_SPECIAL_COMMENTS_DEL = 0x00080000;
// Removes script comments (of the kinds the three bits below choose).
inline constexpr TrimMode TM_SCRIPT_COMMENT_DEL = 0x00800000;
// With TM_SCRIPT_COMMENT_DEL: removes "/* */" comments.
inline constexpr TrimMode TM_SCRIPT_BLOCK_COMMENT = 0x01000000;
// With TM_SCRIPT_COMMENT_DEL: removes "//" comments.
inline constexpr TrimMode TM_SCRIPT_LINE_COMMENT = 0x02000000;
// With TM_SCRIPT_COMMENT_DEL: removes VBScript comments (an apostrophe or "Rem").
inline constexpr TrimMode TM_VBS_REM_COMMENT = 0x04000000;
// Keeps the "<!--" and "-->" that hide a script body from old browsers.
inline constexpr TrimMode TM_KEEP_SCRIPT_HTML_COMMENT = 0x08000000;

// The options added after task-file version 1.00 (bits 23 to 27).
inline constexpr TrimMode TM_SCRIPT_OPTIONS_MASK = 0x0F800000;

inline constexpr TrimMode kDefaultTrimMode = 0x0F81782C;  // 260143148

}  // namespace trimlet
