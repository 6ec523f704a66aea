#include <gtest/gtest.h>

#include "common/scripted_dialogs.h"
#include "settings/memory_profile.h"
#include "settings/profile_keys.h"
#include "settings/trim_options.h"

namespace trimlet {
namespace {

TEST(TrimPages, ApplyingAPageUnchangedKeepsEveryBitItDoesNotOwn) {
    const std::pair<TrimMode, TrimMode> cases[] = {
        {0xF07C0783 | kDefaultTrimMode, 0xF07C0783 | kDefaultTrimMode},  // bits without meaning
        {0x60, 0x20},  // both blank-line bits read as delete; a page never writes both
        {0, 0},
    };
    for (const auto& [stored, written] : cases) {
        SCOPED_TRACE(stored);
        MemoryProfile profile;
        WriteTrimMode(profile, stored);
        EXPECT_EQ(ReadWhitespacePage(profile).blankLines, BlankLineChoiceOf(written));
        ApplyWhitespacePage(profile, ReadWhitespacePage(profile));
        ApplyCommentPage(profile, ReadCommentPage(profile));
        EXPECT_EQ(ReadTrimMode(profile), written);
    }
    MemoryProfile empty;
    ApplyCommentPage(empty, ReadCommentPage(empty));
    EXPECT_EQ(empty.FindWord("MODE"), kDefaultTrimMode);
}

TEST(TrimPages, PagesAppliedInTurnDoNotUndoEachOther) {
    MemoryProfile profile;
    WhitespacePageState whitespace = ReadWhitespacePage(profile);
    CommentPageState comments = ReadCommentPage(profile);
    whitespace.crRegAsWsp = true;
    whitespace.blankLines = BlankLineChoice::Merge;
    EXPECT_FALSE(whitespace.BlankLineRadiosEnabled());
    comments.keepSsi = false;
    ApplyWhitespacePage(profile, whitespace);
    ApplyCommentPage(profile, comments);
    // the disabled blank-line choice is stored all the same
    EXPECT_EQ(ReadTrimMode(profile), (kDefaultTrimMode | TM_CR_REG_AS_WSP | TM_BLANK_LINES_MERGE) &
                                         ~(TM_BLANK_LINES_DELETE | TM_KEEP_SSI));
}

TEST(LineBreakHint, ShownOnlyWhenDueAndRemembersTheBox) {
    MemoryProfile profile;
    ScriptedDialogs dialogs;
    dialogs.AnswerAlertCRRegAsWSP(false).AnswerAlertCRRegAsWSP(true);
    EXPECT_TRUE(OfferCrRegAsWspHint(dialogs, profile));
    EXPECT_FALSE(profile.HasKey("SHOW_ALERT_CR_REG_AS_WSP")) << "a clear box writes nothing";

    // the stored mode counts, not the comment page's unsaved state
    WriteTrimMode(profile, kDefaultTrimMode & ~TM_SCRIPT_COMMENT_DEL);
    EXPECT_FALSE(OfferCrRegAsWspHint(dialogs, profile));
    WriteTrimMode(profile, kDefaultTrimMode);

    EXPECT_TRUE(OfferCrRegAsWspHint(dialogs, profile));
    EXPECT_EQ(profile.FindInteger("SHOW_ALERT_CR_REG_AS_WSP"), 1);
    EXPECT_FALSE(OfferCrRegAsWspHint(dialogs, profile));
    EXPECT_EQ(dialogs.Calls().size(), 2u);
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}

}  // namespace
}  // namespace trimlet
