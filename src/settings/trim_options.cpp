#include "settings/trim_options.h"

#include <cstddef>
#include <vector>

#include "settings/profile_keys.h"

namespace trimlet {

namespace {

// Each box of a page and the bit it stands for, listed once for both directions.
template <class State>
struct BoxBit {
    bool State::*box;
    TrimMode bit;
};

constexpr BoxBit<WhitespacePageState> kWhitespaceBoxes[] = {
    {&WhitespacePageState::collapseSpaces, TM_COLLAPSE_SPACES},
    {&WhitespacePageState::zenkakuAsWsp, TM_ZENKAKU_AS_WSP},
    {&WhitespacePageState::crRegAsWsp, TM_CR_REG_AS_WSP},
    {&WhitespacePageState::trimLineEnds, TM_TRIM_LINE_ENDS},
    {&WhitespacePageState::betweenTags, TM_BETWEEN_TAGS},
    {&WhitespacePageState::betweenInlineTags, TM_BETWEEN_INLINE_TAGS},
    {&WhitespacePageState::insidePre, TM_INSIDE_PRE},
};

constexpr BoxBit<CommentPageState> kCommentBoxes[] = {
    {&CommentPageState::htmlCommentDel, TM_HTML_COMMENT_DEL},
    {&CommentPageState::bodyCommentsOnly, TM_BODY_COMMENTS_ONLY},
    {&CommentPageState::keepScriptHtmlComment, TM_KEEP_SCRIPT_HTML_COMMENT},
    {&CommentPageState::keepSsi, TM_KEEP_SSI},
    {&CommentPageState::keepDovetag, TM_KEEP_DOVETAG},
    {&CommentPageState::scriptCommentDel, TM_SCRIPT_COMMENT_DEL},
    {&CommentPageState::scriptBlockComment, TM_SCRIPT_BLOCK_COMMENT},
    {&CommentPageState::scriptLineComment, TM_SCRIPT_LINE_COMMENT},
    {&CommentPageState::vbsRemComment, TM_VBS_REM_COMMENT},
    {&CommentPageState::specialCommentsDel, TM_SPECIAL_COMMENTS_DEL},
};

template <class State, std::size_t N>
void TickBoxes(const BoxBit<State> (&boxes)[N], TrimMode mode, State& state) {
    for (const BoxBit<State>& b : boxes)
        state.*b.box = (mode & b.bit) != 0;
}

template <class State, std::size_t N>
TrimMode BitsOfBoxes(const BoxBit<State> (&boxes)[N], const State& state) {
    TrimMode bits = 0;
    for (const BoxBit<State>& b : boxes)
        if (state.*b.box) bits |= b.bit;
    return bits;
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
    TickBoxes(kWhitespaceBoxes, mode, s);
    s.blankLines = BlankLineChoiceOf(mode);
    return s;
}

TrimMode WhitespacePageState::ApplyTo(TrimMode mode) const {
    return (mode & ~kWhitespacePageBits) | BitsOfBoxes(kWhitespaceBoxes, *this) |
           BlankLineBits(blankLines);
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
    TickBoxes(kCommentBoxes, mode, s);
    return s;
}

TrimMode CommentPageState::ApplyTo(TrimMode mode) const {
    return (mode & ~kCommentPageBits) | BitsOfBoxes(kCommentBoxes, *this);
}

CommentPageState ReadCommentPage(const Profile& profile) {
    return CommentPageState::FromMode(ReadTrimMode(profile));
}

void ApplyCommentPage(Profile& profile, const CommentPageState& state) {
    WriteTrimMode(profile, state.ApplyTo(ReadTrimMode(profile)));
}

std::string CleanKeptComment(std::string_view typed) {
    typed = typed.substr(0, typed.find_first_of("\r\n"));
    const std::size_t first = typed.find_first_not_of(" \t");
    return first == std::string_view::npos ? std::string() : std::string(typed.substr(first));
}

void ApplyKeptComments(Profile& profile, std::span<const std::string> entries) {
    std::vector<std::string> cleaned;
    for (const std::string& entry : entries) {
        std::string clean = CleanKeptComment(entry);
        if (!clean.empty()) cleaned.push_back(std::move(clean));
    }
    if (cleaned != ReadKeptComments(profile)) WriteKeptComments(profile, cleaned);
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
