#include "settings/trim_options.h"

#include "settings/profile_keys.h"

namespace trimlet {

namespace {

TrimMode Bit(bool on, TrimMode bit) {
    return on ? bit : 0;
}

}  // namespace

BlankLineChoice BlankLineChoiceOf(TrimMode mode) {
    if (mode & TM_BLANK_LINES_DELETE) return BlankLineChoice::Delete;
    if (mode & TM_BLANK_LINES_MERGE) return BlankLineChoice::Merge;
    return BlankLineChoice::Leave;
}

TrimMode BlankLineBits(BlankLineChoice choice) {
    switch (choice) {
        case BlankLineChoice::Delete:
            return TM_BLANK_LINES_DELETE;
        case BlankLineChoice::Merge:
            return TM_BLANK_LINES_MERGE;
        case BlankLineChoice::Leave:
            break;
    }
    return 0;
}

// ---- Whitespace page -------------------------------------------------------------------

WhitespacePageState WhitespacePageState::FromMode(TrimMode mode) {
    WhitespacePageState s;
    s.collapseSpaces = (mode & TM_COLLAPSE_SPACES) != 0;
    s.zenkakuAsWsp = (mode & TM_ZENKAKU_AS_WSP) != 0;
    s.crRegAsWsp = (mode & TM_CR_REG_AS_WSP) != 0;
    s.trimLineEnds = (mode & TM_TRIM_LINE_ENDS) != 0;
    s.blankLines = BlankLineChoiceOf(mode);
    s.betweenTags = (mode & TM_BETWEEN_TAGS) != 0;
    s.betweenInlineTags = (mode & TM_BETWEEN_INLINE_TAGS) != 0;
    s.insidePre = (mode & TM_INSIDE_PRE) != 0;
    return s;
}

TrimMode WhitespacePageState::ApplyTo(TrimMode mode) const {
    return (mode & ~kWhitespacePageBits) | Bit(collapseSpaces, TM_COLLAPSE_SPACES) |
           Bit(zenkakuAsWsp, TM_ZENKAKU_AS_WSP) | Bit(crRegAsWsp, TM_CR_REG_AS_WSP) |
           Bit(trimLineEnds, TM_TRIM_LINE_ENDS) | BlankLineBits(blankLines) |
           Bit(betweenTags, TM_BETWEEN_TAGS) | Bit(betweenInlineTags, TM_BETWEEN_INLINE_TAGS) |
           Bit(insidePre, TM_INSIDE_PRE);
}

WhitespacePageState ReadWhitespacePage(const Profile& profile) {
    return WhitespacePageState::FromMode(ReadTrimMode(profile));
}

void ApplyWhitespacePage(Profile& profile, const WhitespacePageState& state) {
    WriteTrimMode(profile, state.ApplyTo(ReadTrimMode(profile)));
}

// ---- Comment page ----------------------------------------------------------------------

CommentPageState CommentPageState::FromMode(TrimMode mode) {
    CommentPageState s;
    s.htmlCommentDel = (mode & TM_HTML_COMMENT_DEL) != 0;
    s.bodyCommentsOnly = (mode & TM_BODY_COMMENTS_ONLY) != 0;
    s.keepScriptHtmlComment = (mode & TM_KEEP_SCRIPT_HTML_COMMENT) != 0;
    s.keepSsi = (mode & TM_KEEP_SSI) != 0;
    s.keepDovetag = (mode & TM_KEEP_DOVETAG) != 0;
    s.scriptCommentDel = (mode & TM_SCRIPT_COMMENT_DEL) != 0;
    s.scriptBlockComment = (mode & TM_SCRIPT_BLOCK_COMMENT) != 0;
    s.scriptLineComment = (mode & TM_SCRIPT_LINE_COMMENT) != 0;
    s.vbsRemComment = (mode & TM_VBS_REM_COMMENT) != 0;
    return s;
}

TrimMode CommentPageState::ApplyTo(TrimMode mode) const {
    return (mode & ~kCommentPageBits) | Bit(htmlCommentDel, TM_HTML_COMMENT_DEL) |
           Bit(bodyCommentsOnly, TM_BODY_COMMENTS_ONLY) |
           Bit(keepScriptHtmlComment, TM_KEEP_SCRIPT_HTML_COMMENT) | Bit(keepSsi, TM_KEEP_SSI) |
           Bit(keepDovetag, TM_KEEP_DOVETAG) | Bit(scriptCommentDel, TM_SCRIPT_COMMENT_DEL) |
           Bit(scriptBlockComment, TM_SCRIPT_BLOCK_COMMENT) |
           Bit(scriptLineComment, TM_SCRIPT_LINE_COMMENT) | Bit(vbsRemComment, TM_VBS_REM_COMMENT);
}

CommentPageState ReadCommentPage(const Profile& profile) {
    return CommentPageState::FromMode(ReadTrimMode(profile));
}

void ApplyCommentPage(Profile& profile, const CommentPageState& state) {
    WriteTrimMode(profile, state.ApplyTo(ReadTrimMode(profile)));
}

// ---- Line-break hint -------------------------------------------------------------------

bool ShouldShowCrRegAsWspHint(const Profile& profile) {
    return !ReadCrRegAsWspHintOff(profile) && (ReadTrimMode(profile) & TM_SCRIPT_COMMENT_DEL);
}

bool OfferCrRegAsWspHint(Dialogs& dialogs, Profile& profile) {
    if (!ShouldShowCrRegAsWspHint(profile)) return false;
    if (dialogs.AlertCRRegAsWSPDialog(ReadCrRegAsWspHintOff(profile))) {
        WriteCrRegAsWspHintOff(profile);
    }
    return true;
}

}  // namespace trimlet
