#pragma once
// The logic of the two option pages that edit the trim mode: what a page shows for a
// stored mode, which of its controls are enabled, and how it writes its bits back. Each
// page owns a fixed set of bits; applying a page reads "MODE" afresh and replaces only
// those bits, so the pages never overwrite each other and bits without meaning survive.

#include <span>
#include <string>
#include <string_view>

#include "common/dialogs.h"
#include "engine/trim_mode.h"
#include "settings/profile.h"

namespace trimlet {

// The blank-line rule, a three-way choice held in two bits. When both bits are set the
// choice reads as Delete (the engine then behaves as merge); a page never writes both.
enum class BlankLineChoice { Delete, Merge, Leave };

BlankLineChoice BlankLineChoiceOf(TrimMode mode);
// TM_BLANK_LINES_DELETE, TM_BLANK_LINES_MERGE or 0.
TrimMode BlankLineBits(BlankLineChoice choice);

// ---- Whitespace page -------------------------------------------------------------------

inline constexpr TrimMode kWhitespacePageBits =
    TM_COLLAPSE_SPACES | TM_ZENKAKU_AS_WSP | TM_CR_REG_AS_WSP | TM_TRIM_LINE_ENDS |
    TM_BLANK_LINES_DELETE | TM_BLANK_LINES_MERGE | TM_BETWEEN_TAGS | TM_BETWEEN_INLINE_TAGS |
    TM_INSIDE_PRE;

struct WhitespacePageState {
    bool collapseSpaces = false;
    bool zenkakuAsWsp = false;
    bool crRegAsWsp = false;
    bool trimLineEnds = false;
    BlankLineChoice blankLines = BlankLineChoice::Leave;
    bool betweenTags = false;
    bool betweenInlineTags = false;
    bool insidePre = false;

    static WhitespacePageState FromMode(TrimMode mode);
    // `mode` with this page's bits replaced by the controls' states.
    TrimMode ApplyTo(TrimMode mode) const;
    // Line breaks taken as blanks switch the blank-line rule off, so its radios are
    // disabled (keeping their choice, which is still stored).
    bool BlankLineRadiosEnabled() const { return !crRegAsWsp; }
    // The inline-element box refines the between-tags box and only applies under it.
    bool BetweenInlineTagsEnabled() const { return betweenTags; }
};

// The page as it opens: from the stored "MODE".
WhitespacePageState ReadWhitespacePage(const Profile& profile);
// Stores the page: re-reads "MODE", replaces the page's bits, writes it back.
void ApplyWhitespacePage(Profile& profile, const WhitespacePageState& state);

// ---- Comment page ----------------------------------------------------------------------

inline constexpr TrimMode kCommentPageBits =
    TM_HTML_COMMENT_DEL | TM_BODY_COMMENTS_ONLY | TM_KEEP_SCRIPT_HTML_COMMENT | TM_KEEP_SSI |
    TM_KEEP_DOVETAG | TM_SCRIPT_COMMENT_DEL | TM_SCRIPT_BLOCK_COMMENT | TM_SCRIPT_LINE_COMMENT |
    TM_VBS_REM_COMMENT | TM_SPECIAL_COMMENTS_DEL;

struct CommentPageState {
    bool htmlCommentDel = false;
    bool bodyCommentsOnly = false;
    bool keepScriptHtmlComment = false;
    bool keepSsi = false;
    bool keepDovetag = false;
    bool scriptCommentDel = false;
    bool scriptBlockComment = false;
    bool scriptLineComment = false;
    bool vbsRemComment = false;
    bool specialCommentsDel = false;

    static CommentPageState FromMode(TrimMode mode);
    TrimMode ApplyTo(TrimMode mode) const;
    // The exceptions (BODY only, SCRIPT, SSI, marker) apply only when comments are deleted.
    bool HtmlExceptionsEnabled() const { return htmlCommentDel; }
    // The three script comment kinds apply only under the script master switch.
    bool ScriptKindsEnabled() const { return scriptCommentDel; }
    // Deleting the special comments too applies when either kind of comment is deleted.
    bool SpecialCommentsEnabled() const { return htmlCommentDel || scriptCommentDel; }
};

CommentPageState ReadCommentPage(const Profile& profile);
void ApplyCommentPage(Profile& profile, const CommentPageState& state);

// A comment beginning as typed into the page's list: cut at its first line break, without
// the blanks and tabs before it (the text after it is compared as it is). Empty when
// nothing is left, and the page then drops the entry.
std::string CleanKeptComment(std::string_view typed);
// Stores the page's list of comment beginnings when it differs from the stored one, so
// that a profile without the key gains none while the list stays empty.
void ApplyKeptComments(Profile& profile, std::span<const std::string> entries);

// ---- Line-break hint -------------------------------------------------------------------

// Whether ticking "line breaks count as blanks" shows the hint: the user has not turned it
// off ("SHOW_ALERT_CR_REG_AS_WSP" is 0), and the stored "MODE" (not the comment page's
// unsaved state) deletes script comments.
bool ShouldShowCrRegAsWspHint(const Profile& profile);

// Called when the line-break box becomes ticked: shows the hint when it is due and, when
// the user ticks its box, records that it is not to be shown again. True when shown.
bool OfferCrRegAsWspHint(Dialogs& dialogs, Profile& profile);

}  // namespace trimlet
