#include "task/settings_report.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "scripted_dialogs.h"
#include "settings/memory_profile.h"
#include "settings/profile_keys.h"

namespace trimlet {
namespace {

constexpr TrimMode kDefault = kDefaultTrimMode;
constexpr const char* kStars = "*********************************\r\n";

TEST(SettingsReport, ReportsEachDifferingItemInItsSection) {
    struct Case {
        const char* name;
        TrimMode current;
        const char* currentFolder;
        TrimMode file;
        const char* fileFolder;
        std::string report;
    };
    const Case cases[] = {
        {"OnlyABitWithoutMeaning", kDefault, "Trimlet", kDefault | 0x80000000, "TRIMLET", ""},
        // blanks between inline elements, under the between-tags item and before PRE
        {"BetweenInlineTagsBesideItsNeighbours", kDefault | TM_BETWEEN_INLINE_TAGS, "a",
         (kDefault & ~TM_BETWEEN_TAGS) | TM_INSIDE_PRE, "a",
         std::string(kStars) +
             "*****  　空白文字の削除\r\n\r\n"
             "○ タグ間の空白文字を削除する\r\n"
             "　 現在の設定：ON　 タスクファイルの設定：OFF\r\n"
             "\r\n"
             "○ インライン要素の間の空白文字も削除する\r\n"
             "　 現在の設定：ON　 タスクファイルの設定：OFF\r\n"
             "\r\n"
             "○ <PRE>タグ内部でも空白文字の処理を行う (CSSで整形済みとされた要素の内部を含"
             "む)\r\n"
             "　 現在の設定：OFF　タスクファイルの設定：ON\r\n"},
        // the blank-line item reports both choices, even when they read the same
        {"BothBlankLineBitsAgainstDelete", 0x60, "a", 0x20, "a",
         std::string(kStars) + "*****  　空白文字の削除\r\n\r\n"
                               "○ 空白行の扱い\r\n"
                               "　 現在の設定\t：空白行を削除する\r\n"
                               "　 タスクファイル\t：空白行を削除する\r\n"},
        // deleting the special comments too is a line of the last comment section
        {"SpecialComments", TM_SPECIAL_COMMENTS_DEL, "a", 0, "a",
         std::string(kStars) +
             "*****  スクリプトのコメント削除\r\n\r\n"
             "○ 特別なコメント（条件付きコメント、ライセンスコメントなど）も削除する\r\n"
             "　 現在の設定：ON　 タスクファイルの設定：OFF\r\n"},
        // an old task file whose script options were not switched on
        {"ScriptSectionAndFolder", TM_SCRIPT_LINE_COMMENT | TM_VBS_REM_COMMENT, "Trimlet", 0,
         "site",
         std::string(kStars) +
             "*****  スクリプトのコメント削除\r\n\r\n"
             "○ // 以後行末までを削除\r\n"
             "　 現在の設定：ON　 タスクファイルの設定：OFF\r\n"
             "\r\n"
             "○ REM，シングルクォート(’) 以後行末までを削除\r\n"
             "　 現在の設定：ON　 タスクファイルの設定：OFF\r\n"
             "\r\n\r\n" +
             kStars + "*****  　出力フォルダの名前\r\n\r\n　現在の設定\t:Trimlet\r\n" +
             "　タスクファイル\t:site\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(BuildSettingsReport(c.current, c.currentFolder, c.file, c.fileFolder), c.report);
    }
}

// The user's list is no part of a task file: it follows a comment section, since it stays
// under either setting, and is left out when no comment setting differs.
TEST(SettingsReport, KeptCommentsFollowTheCommentSections) {
    const std::vector<std::string> kept = {"<!-- google_ad", "@preserve"};
    const std::string report = BuildSettingsReport(
        kDefault, "Trimlet", kDefault | TM_SPECIAL_COMMENTS_DEL, "site", PathStyle::Windows, kept);
    EXPECT_EQ(report,
              std::string(kStars) +
                  "*****  スクリプトのコメント削除\r\n\r\n"
                  "○ 特別なコメント（条件付きコメント、ライセンスコメントなど）も削除する\r\n"
                  "　 現在の設定：OFF　タスクファイルの設定：ON\r\n"
                  "\r\n"
                  "○ 常に残すコメント（どちらの設定でも残ります）\r\n"
                  "　 <!-- google_ad\r\n"
                  "　 @preserve\r\n"
                  "\r\n\r\n" +
                  kStars + "*****  　出力フォルダの名前\r\n\r\n　現在の設定\t:Trimlet\r\n" +
                  "　タスクファイル\t:site\r\n");
    EXPECT_EQ(BuildSettingsReport(kDefault, "Trimlet", kDefault | TM_INSIDE_PRE, "Trimlet",
                                  PathStyle::Windows, kept)
                  .find(TXT_REPORT_KEPT_COMMENTS.In(Language::Japanese)),
              std::string::npos);
}

// Windows folders ignore letter case; Posix folders "Trimlet" and "trimlet" are two.
TEST(SettingsReport, DifferenceOfFolderNamesFollowsThePathStyle) {
    struct Case {
        const char* name;
        PathStyle style;
        TrimMode fileMode;
        std::string_view fileFolder;
        bool differ;
    };
    const Case cases[] = {
        {"windows, case only", PathStyle::Windows, kDefault, "TRIMLET", false},
        {"windows, trailing blank", PathStyle::Windows, kDefault, "Trimlet ", true},
        {"posix, case only", PathStyle::Posix, kDefault, "trimlet", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TaskSettingsDiffer(kDefault, "Trimlet", c.fileMode, c.fileFolder, c.style),
                  c.differ);
        const bool reported =
            BuildSettingsReport(kDefault, "Trimlet", c.fileMode, c.fileFolder, c.style)
                .find(TXT_REPORT_FOLDER_HEADING) != std::string::npos;
        EXPECT_EQ(reported, c.differ && c.fileMode == kDefault);
    }
    EXPECT_TRUE(TaskSettingsDiffer(kDefault, "Äout", kDefault, "äout"));  // ASCII letters only
}

struct StepFixture : testing::Test {
    ScriptedDialogs dialogs;
    MemoryProfile profile;

    SettingsStepOutcome Step(TrimMode fileMode, std::string_view fileFolder) {
        return RunSettingsStep(dialogs, profile, kDefault, "Trimlet", fileMode, fileFolder);
    }
};

TEST_F(StepFixture, YesWithTheBoxTakesAndStopsAsking) {
    dialogs.AnswerSettingsMismatch({MessageAnswer::Yes, false})
        .AnswerSettingsMismatch({MessageAnswer::Yes, true});
    EXPECT_EQ(Step(0x80000000, "Trimlet"), SettingsStepOutcome::Taken);
    EXPECT_EQ(ReadTrimMode(profile), 0x80000000u);
    EXPECT_FALSE(profile.HasKey("ALERT_SETTING_NOT_SAME"));

    EXPECT_EQ(Step(kDefault, ""), SettingsStepOutcome::Taken);
    EXPECT_EQ(dialogs.Calls()[1].text, BuildSettingsReport(kDefault, "Trimlet", kDefault, ""));
    EXPECT_EQ(ReadTrimMode(profile), kDefault);
    EXPECT_EQ(profile.FindString("OUTPUT_FOLDER_NAME"), "");
    EXPECT_EQ(profile.FindInteger("ALERT_SETTING_NOT_SAME"), 0);

    // from now on a differing task is taken without a question
    EXPECT_EQ(Step(0x2C, "Out"), SettingsStepOutcome::Taken);
    EXPECT_EQ(dialogs.Calls().size(), 2u);
    EXPECT_EQ(ReadOutputFolderName(profile), "Out");
}

TEST_F(StepFixture, EqualSettingsNoAndCancelWriteNothingWhateverTheBox) {
    dialogs.AnswerSettingsMismatch({MessageAnswer::No, true})
        .AnswerSettingsMismatch({MessageAnswer::Cancel, true});
    EXPECT_EQ(Step(kDefault, "trimlet"), SettingsStepOutcome::Kept);
    EXPECT_EQ(dialogs.PendingAnswers(), 2u) << "equal settings ask nothing";
    EXPECT_EQ(Step(0x2C, "out"), SettingsStepOutcome::Kept);
    EXPECT_EQ(Step(0x2C, "out"), SettingsStepOutcome::Cancelled);
    EXPECT_TRUE(dialogs.AllAnswersUsed());
    EXPECT_EQ(profile.ChangeCount(), 0);
}

}  // namespace
}  // namespace trimlet
