// The logic of the options pages: extension lists and the output folder name, the action
// page, and the two pages that edit the trim mode.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "scripted_dialogs.h"
#include "settings/extension_lists.h"
#include "settings/memory_profile.h"
#include "settings/output_options.h"
#include "settings/profile_keys.h"
#include "settings/trim_options.h"
#include "settings/working_settings.h"

namespace trimlet {
namespace {

using Items = std::vector<std::string>;

TEST(ExtensionLists, StoredListsComeBackSortedIgnoringCase) {
    const std::pair<const char*, const char*> cases[] = {
        {"HTM::HTML", ":HTM:HTML"},  // the empty piece is an item and sorts first
        {"JS:", "JS"},               // nothing after the last colon adds nothing
        {"shtml:HTML:Htm", "Htm:HTML:shtml"},
    };
    for (const auto& [stored, again] : cases) {
        SCOPED_TRACE(stored);
        MemoryProfile profile;
        ScriptedDialogs dialogs;
        profile.WriteString("FILE_FILTER", stored);
        ASSERT_TRUE(ApplyOutputPage(dialogs, profile, ReadOutputPage(profile)));
        EXPECT_EQ(profile.FindString("FILE_FILTER"), again);
    }
    EXPECT_EQ(SplitExtensionList("HTM::HTML"), (Items{"HTM", "", "HTML"}));
}

TEST(ExtensionLists, TypedExtensionIsCleanedOrRefused) {
    struct Case {
        std::string_view typed;
        const char* cleaned;
        int refusalId;
    };
    const Case cases[] = {
        {" .shtml\t ", "shtml", 0},
        {" . \t.　.php　", "php", 0},  // full-width blanks are cut too
        {"...", "", MSG_EXTENSION_EMPTY},
        {"tar.gz", "tar.gz", MSG_EXTENSION_BAD_CHARACTERS},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const TypedExtension result = CheckTypedExtension(c.typed);
        EXPECT_EQ(result.cleaned, c.cleaned);
        EXPECT_EQ(result.refusalId, c.refusalId);
    }
}

TEST(OutputFolderName, RefusedByStyle) {
    struct Case {
        PathStyle style;
        std::string_view name;
        bool badCharacter;
        bool refused;
    };
    constexpr PathStyle W = PathStyle::Windows;
    constexpr PathStyle P = PathStyle::Posix;
    using namespace std::string_view_literals;
    // "D:" is two bytes, not a drive prefix; CP932 "ポ" (83 7C) has a trail byte, not a bar.
    const Case cases[] = {
        // Windows: characters only
        {W, "D:\\out", false, false},
        {W, "out:1", true, true},
        {W, "a*b", true, true},
        {W, "D:", true, true},
        {W, "a/b", true, true},
        {W, "\x83\x7C", false, false},
        {W, "..", false, false},
        // Posix: a relative name is one folder beside the inputs
        {P, "Trimlet", false, false},
        {P, "..\\out", true, true},
        {P, "D:/out", true, true},
        {P, ".", false, true},
        {P, "..", false, true},
        {P, "../site/out", false, true},
        {P, "out/sub", false, true},
        {P, "out/", false, true},
        {P, "...", false, false},
        {P, ".out", false, false},
        {P, "a\0b"sv, false, true},
        // Posix: an absolute name is one fixed folder
        {P, "/srv/out", false, false},
        {P, "/srv/a\0"sv, false, true},
        {P, "\xE5\x87\xBA\xE5\x8A\x9B", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name));
        EXPECT_EQ(HasBadOutputFolderCharacters(c.style, c.name), c.badCharacter);
        EXPECT_EQ(IsRefusedOutputFolderName(c.style, c.name), c.refused);
    }
}

TEST(OutputFolderName, RefusalNamesWhatTheStyleRefuses) {
    for (const PathStyle style : {PathStyle::Windows, PathStyle::Posix}) {
        ScriptedDialogs dialogs;
        MemoryProfile profile;
        OutputPageState page = ReadOutputPage(profile);
        page.outputFolderName = "a*b";
        EXPECT_FALSE(ApplyOutputPage(dialogs, profile, page, style));
        ASSERT_EQ(dialogs.Calls().size(), 1u);
        const std::string& text = dialogs.Calls().front().text;
        if (style == PathStyle::Posix) {
            EXPECT_EQ(dialogs.Calls().front().messageId, MSG_FOLDER_NAME_REFUSED_POSIX);
            EXPECT_NE(text.find(".."), std::string::npos);
            EXPECT_NE(text.find("NUL"), std::string::npos);
        } else {
            EXPECT_EQ(dialogs.Calls().front().messageId, MSG_FOLDER_NAME_BAD_CHARACTERS);
        }
        EXPECT_EQ(ReadOutputFolderName(profile), "Trimlet");
    }
}

struct OutputPageFixture : testing::Test {
    ScriptedDialogs dialogs;
    MemoryProfile profile;
    OutputPageState page = ReadOutputPage(profile);
};

TEST_F(OutputPageFixture, NameIsStoredCleanedAndBlankOnlyAfterTheNotice) {
    EXPECT_FALSE(NoticeBlankOutputFolderName(dialogs, " o"));
    EXPECT_TRUE(NoticeBlankOutputFolderName(dialogs, " \t"));
    EXPECT_EQ(dialogs.MessageIds(), std::vector<int>{15013});

    for (const auto& [typed, stored] : {std::pair{"  out\t", "out"}, std::pair{"   ", ""}}) {
        page.outputFolderName = typed;
        ASSERT_TRUE(ApplyOutputPage(dialogs, profile, page));
        EXPECT_EQ(profile.FindString("OUTPUT_FOLDER_NAME"), stored);
    }
}

TEST_F(OutputPageFixture, DuplicatesAcrossListsAreRefusedWithTheListedText) {
    struct Case {
        ExtensionListKind target;
        const char* extension;
        int messageId;
        const char* shown;
    };
    const Case cases[] = {
        {ExtensionListKind::Html, "js", 40007, "拡張子 JS "},
        {ExtensionListKind::Script, "htm", 40009, "拡張子 HTM "},
        {ExtensionListKind::Script, "Vbs", 40008, "拡張子 VBS "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.extension);
        dialogs.ClearCalls();
        EXPECT_FALSE(AddExtension(dialogs, page, c.target, c.extension));
        ASSERT_EQ(dialogs.MessageIds(), std::vector<int>{c.messageId});
        EXPECT_THAT(dialogs.Calls()[0].text, testing::StartsWith(c.shown));
    }
    EXPECT_EQ(page.htmlExtensions, (Items{"HTM", "HTML"}));
    EXPECT_EQ(page.scriptExtensions, (Items{"JS", "VBS"}));
}

TEST_F(OutputPageFixture, AddedAndRemovedExtensionsAreStoredInListOrder) {
    dialogs.AnswerAddExtension("shtml").AnswerAddExtension(std::nullopt);
    EXPECT_TRUE(AddExtensionFromDialog(dialogs, page, ExtensionListKind::Html));
    EXPECT_FALSE(AddExtensionFromDialog(dialogs, page, ExtensionListKind::Html));
    EXPECT_TRUE(AddExtension(dialogs, page, ExtensionListKind::Html, "asp"));
    EXPECT_TRUE(RemoveExtension(page, ExtensionListKind::Html, 0));
    EXPECT_FALSE(RemoveExtension(page, ExtensionListKind::Script, 2));
    ASSERT_TRUE(ApplyOutputPage(dialogs, profile, page));
    EXPECT_EQ(profile.FindString("FILE_FILTER"), "HTM:HTML:shtml");
    EXPECT_EQ(profile.FindString("FILE_FILTER_SCR"), "JS:VBS");
}

TEST(ActionPage, AnyStoredActionButZeroRunsAndIsStoredAsOne) {
    MemoryProfile profile;
    profile.WriteInteger("MRUL_OPEN_ACTION", 2);
    const ActionPageState page = ReadActionPage(profile);
    EXPECT_TRUE(page.runRecentTask);
    ApplyActionPage(profile, page);
    EXPECT_EQ(profile.FindInteger("MRUL_OPEN_ACTION"), 1);
    EXPECT_EQ(profile.FindInteger("ALERT_SETTING_NOT_SAME"), 1);
}

// Verifying is off in a profile that never stored it, and follows the page both ways.
TEST(ActionPage, VerifyingIsOffUntilStoredAndRoundTrips) {
    MemoryProfile profile;
    const auto noFolder = [](std::string&) { return false; };
    EXPECT_FALSE(ReadActionPage(profile).verifyTrimResults);
    WorkingSettings settings = LoadWorkingSettings(profile, noFolder);
    EXPECT_FALSE(settings.verifyTrimResults);
    ApplyActionPage(profile, ReadActionPage(profile));
    EXPECT_EQ(profile.FindInteger("VERIFY_TRIM_RESULTS"), 0);

    for (const bool on : {true, false}) {
        SCOPED_TRACE(on);
        ActionPageState page = ReadActionPage(profile);
        page.verifyTrimResults = on;
        ApplyActionPage(profile, page);
        EXPECT_EQ(profile.FindInteger("VERIFY_TRIM_RESULTS"), on ? 1 : 0);
        EXPECT_EQ(ReadActionPage(profile).verifyTrimResults, on);
        EXPECT_EQ(ReadActionPage(profile).alertSettingNotSame, true) << "the others stay";
        EXPECT_EQ(LoadWorkingSettings(profile, noFolder).verifyTrimResults, on);
        ReloadOptionSettings(profile, settings);
        EXPECT_EQ(settings.verifyTrimResults, on);
    }
}

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

TEST(TrimPages, SpecialCommentsBoxOwnsItsBitAndNeedsADeletion) {
    MemoryProfile profile;
    CommentPageState comments = ReadCommentPage(profile);
    EXPECT_FALSE(comments.specialCommentsDel);
    EXPECT_TRUE(comments.SpecialCommentsEnabled());
    comments.specialCommentsDel = true;
    ApplyCommentPage(profile, comments);
    EXPECT_EQ(ReadTrimMode(profile), kDefaultTrimMode | TM_SPECIAL_COMMENTS_DEL);
    comments.htmlCommentDel = false;
    EXPECT_TRUE(comments.SpecialCommentsEnabled());
    comments.scriptCommentDel = false;
    EXPECT_FALSE(comments.SpecialCommentsEnabled());
    ApplyCommentPage(profile, comments);
    EXPECT_TRUE(ReadCommentPage(profile).specialCommentsDel) << "a disabled box keeps its bit";
}

TEST(TrimPages, KeptCommentsAreCleanedAndStoredOnlyWhenChanged) {
    EXPECT_EQ(CleanKeptComment("  \t<!-- ko "), "<!-- ko ");
    EXPECT_EQ(CleanKeptComment("keep\r\nmore"), "keep");
    EXPECT_EQ(CleanKeptComment(" \n x"), "");
    MemoryProfile profile;
    ApplyKeptComments(profile, {});
    EXPECT_FALSE(profile.HasKey("KEEP_COMMENTS")) << "an empty list unchanged writes nothing";
    const std::vector<std::string> typed = {" google_ad", "", "  ", "// keep"};
    ApplyKeptComments(profile, typed);
    EXPECT_EQ(ReadKeptComments(profile), (std::vector<std::string>{"google_ad", "// keep"}));
    ApplyKeptComments(profile, {});
    EXPECT_TRUE(ReadKeptComments(profile).empty());
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
