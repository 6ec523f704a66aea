// Adding single entries and the preview of rows.

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "editor_fixture.h"
#include "settings/profile_keys.h"

namespace trimlet::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

using EntryTest = EditorTest;

TEST_F(EntryTest, NewRowIsCheckedSelectedAndShowsItsSizes) {
    const std::string page = Write("page.htm");
    const std::string empty = Write("empty.js", "");

    EXPECT_RESULT(Editor().AddFileByPath(page, 0), RESULT_OK);
    EXPECT_RESULT(Editor().AddFileByPath(empty, 0), RESULT_OK);

    EXPECT_THAT(Names(), ElementsAre("page.htm", "empty.js"));
    EXPECT_THAT(Images(), ElementsAre(ImageHtmlChecked, ImageScriptChecked));
    EXPECT_THAT(SelectedRows(), ElementsAre(0, 1));
    EXPECT_THAT(SizeTexts(0), ElementsAre("8", "8(100%)", TimeText(page)));
    EXPECT_THAT(SizeTexts(1), ElementsAre("0", "0(100%)", TimeText(empty)));
    EXPECT_TRUE(Editor().TaskModified());
    EXPECT_THAT(dialogs.Calls(), ::testing::IsEmpty());

    Make();
    EXPECT_RESULT(Editor().AddFileByPath(page, ADD_KEEP_UNMODIFIED), RESULT_OK);
    EXPECT_FALSE(Editor().TaskModified());
}

TEST_F(EntryTest, SameFileInAnotherLetterCaseIsOneFileUnderWindowsStyle) {
    Make(PathStyle::Windows);
    EXPECT_RESULT(Editor().AddEntry(0, WindowsRecord("Index.htm"), "C:\\Docs \\\\"),
                  RESULT_NOT_FOUND);
    EXPECT_EQ(List().Entry(0)->folder, "C:\\Docs\\");
    List().DeselectAll();

    EXPECT_RESULT(Editor().AddEntry(1, WindowsRecord("INDEX.HTM"), "c:\\docs"),
                  RESULT_ALREADY_LISTED);
    EXPECT_THAT(Names(), ElementsAre("C:\\Docs\\Index.htm"));
    EXPECT_THAT(SelectedRows(), ElementsAre(0));
}

TEST_F(EntryTest, NamesDifferingInCaseAreTwoFilesUnderPosixStyle) {
    const std::string lower = Write("a.html");
    const std::string upper = Write("A.html");
    EXPECT_RESULT(Editor().AddFileByPath(lower, 0), RESULT_OK);
    EXPECT_RESULT(Editor().AddFileByPath(upper, 0), RESULT_OK);
    EXPECT_RESULT(Editor().AddFileByPath(lower, ADD_QUIET), RESULT_ALREADY_LISTED);
    EXPECT_THAT(Names(), ElementsAre("a.html", "A.html"));
}

TEST_F(EntryTest, FolderNameEndingInBlankIsKept) {
    const std::string path = Write("site /page.htm");
    EXPECT_RESULT(Editor().AddFileByPath(path, 0), RESULT_OK);
    EXPECT_EQ(List().Entry(0)->folder, Base() + "site /");
    EXPECT_THAT(Names(), ElementsAre("site /page.htm"));
}

TEST_F(EntryTest, FileWithoutExtensionHasNoPictureAndCannotBeChecked) {
    EXPECT_RESULT(Editor().AddFileByPath(Write("README"), 0), RESULT_OK);
    EXPECT_THAT(Images(), ElementsAre(ImageNone));
    Editor().MarkSelected();
    Editor().ToggleCheck(0);
    EXPECT_THAT(Images(), ElementsAre(ImageNone));
    EXPECT_FALSE(Editor().CanRun());

    // Its preview failing, the same name gets the plain HTML picture instead.
    Make(PathStyle::Windows);
    EXPECT_RESULT(Editor().AddEntry(0, WindowsRecord("README"), "C:\\x\\"), RESULT_NOT_FOUND);
    EXPECT_THAT(Images(), ElementsAre(ImageHtml));
}

TEST_F(EntryTest, FailedPreviewKeepsTheRowUncheckedWithPlaceholders) {
    // A pipe is no regular file, and a file of 4 GiB is too large: both fail whoever runs
    // the test. The big file is sparse and takes no room.
    const std::string pipe = dir.File("pipe.js");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    const std::string big = Write("big.htm", "");
    fs::resize_file(big, std::uint64_t{1} << 32);

    struct Case {
        const char* name;
        std::string path;
        Result result;
        int messageId;
        int image;
    };
    const Case cases[] = {
        {"cannot be read", pipe, RESULT_FILE_ERROR, MSG_FILE_ACCESS_ERROR, ImageScript},
        {"too large", big, RESULT_TOO_LARGE, MSG_FILE_PROCESSING_ERROR, ImageHtml},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Make();
        dialogs.ClearCalls();
        dialogs.AnswerMessage(c.messageId, MessageAnswer::Ok);
        EXPECT_RESULT(Editor().AddFileByPath(c.path, 0), c.result);
        EXPECT_EQ(dialogs.Calls().at(0).text, FormatMessage(c.messageId, c.path));
        EXPECT_EQ(dialogs.Calls()[0].icon, MessageIcon::Stop);
        EXPECT_THAT(Images(), ElementsAre(c.image));
        EXPECT_EQ(SizeTexts(0), Placeholders());
        EXPECT_THAT(SelectedRows(), ::testing::IsEmpty());
        // The row is in the list, so the task has changed.
        EXPECT_TRUE(Editor().TaskModified());
    }

    Make();
    dialogs.AnswerMessage(MSG_FILE_ACCESS_ERROR, MessageAnswer::Cancel);
    EXPECT_RESULT(Editor().AddFileByPath(pipe, 0), RESULT_STOPPED);
    EXPECT_RESULT(Editor().AddFileByPath(big, ADD_QUIET), RESULT_TOO_LARGE);
    EXPECT_EQ(List().RowCount(), 2u);
}

TEST_F(EntryTest, UnreadableFileIsReportedAsAnAccessError) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop root";
    const std::string path = Write("secret.htm");
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    dialogs.AnswerMessage(MSG_FILE_ACCESS_ERROR, MessageAnswer::Ok);
    EXPECT_RESULT(Editor().AddFileByPath(path, 0), RESULT_FILE_ERROR);
    EXPECT_THAT(Images(), ElementsAre(ImageHtml));
    EXPECT_EQ(SizeTexts(0), Placeholders());
}

TEST_F(EntryTest, PathsThatCannotBeListedAddNoRow) {
    const std::string missing = dir.File("missing.htm");
    const std::string folder = Folder("sub.htm");

    dialogs.AnswerMessage(MSG_FILE_PROCESSING_ERROR, MessageAnswer::Ok);
    EXPECT_RESULT(Editor().AddFileByPath(missing, 0), RESULT_NOT_FOUND);
    EXPECT_RESULT(Editor().AddFileByPath(missing, ADD_QUIET), RESULT_NOT_FOUND);
    EXPECT_RESULT(Editor().AddFileByPath(folder, 0), RESULT_INVALID_ARGUMENT);
    EXPECT_RESULT(Editor().AddFileByPath("", 0), RESULT_INVALID_ARGUMENT);

    EXPECT_THAT(dialogs.MessageIds(), ElementsAre(MSG_FILE_INFO_FAILED, MSG_FILE_PROCESSING_ERROR));
    EXPECT_EQ(dialogs.Calls()[0].text, "\"" + missing +
                                           "\"\n\n上記ファイルの情報検索に失敗しました。"
                                           "このファイルをリストに追加できません。");
    EXPECT_EQ(List().RowCount(), 0u);
    EXPECT_FALSE(Editor().TaskModified());
}

using PreviewTest = EditorTest;

TEST_F(PreviewTest, RefreshShowsTheFileAsItIsNow) {
    const std::string a = Write("a.htm");
    const std::string b = Write("b.htm");
    ASSERT_RESULT(Editor().AddFileByPath(a, 0), RESULT_OK);
    ASSERT_RESULT(Editor().AddFileByPath(b, 0), RESULT_OK);
    Editor().UnmarkSelected();

    Write("a.htm", "<p>longer text</p>");
    Write("b.htm", "");
    Editor().RefreshAll();
    EXPECT_THAT(SizeTexts(0), ElementsAre("18", "18(100%)", TimeText(a)));
    EXPECT_THAT(SizeTexts(1), ElementsAre("0", "0(100%)", TimeText(b)));
    // Unchecked rows are refreshed too, and keep their pictures.
    EXPECT_THAT(Images(), ElementsAre(ImageHtml, ImageHtml));
    // The stored sizes follow, so sorting matches what the rows show.
    List().Sort(kColumnSourceSize, true);
    EXPECT_THAT(Names(), ElementsAre("b.htm", "a.htm"));
    EXPECT_THAT(dialogs.Calls(), ::testing::IsEmpty());
}

TEST_F(PreviewTest, VanishedFileIsReportedAndCancelStopsTheRefresh) {
    const std::string paths[] = {Write("1.htm"), Write("2.htm"), Write("3.htm")};
    for (const std::string& path : paths)
        ASSERT_RESULT(Editor().AddFileByPath(path, 0), RESULT_OK);
    fs::remove(paths[1]);
    Write("3.htm", "<b>x</b><i>y</i>");

    // OK goes on with placeholders on the vanished row.
    dialogs.AnswerMessage(MSG_FILE_DOES_NOT_EXIST, MessageAnswer::Ok);
    Editor().RefreshAll();
    EXPECT_EQ(dialogs.Calls().at(0).text, "\"" + paths[1] + "\" は存在しません。");
    EXPECT_EQ(SizeTexts(1), Placeholders());
    EXPECT_EQ(List().Text(2, 1), "16");
    EXPECT_THAT(Images(), ElementsAre(ImageHtmlChecked, ImageHtmlChecked, ImageHtmlChecked));

    // Cancel stops with 15004; rows below keep their texts.
    Write("3.htm", "");
    dialogs.ClearCalls();
    dialogs.AnswerMessage(MSG_FILE_DOES_NOT_EXIST, MessageAnswer::Cancel);
    Editor().RefreshAll();
    EXPECT_THAT(dialogs.MessageIds(), ElementsAre(MSG_FILE_DOES_NOT_EXIST, MSG_STOPPED));
    EXPECT_EQ(dialogs.Calls().back().text, "処理を中止します。");
    EXPECT_EQ(List().Text(2, 1), "16");
    EXPECT_RESULT(Editor().RefreshRow(7), RESULT_INVALID_ARGUMENT);
}

TEST_F(PreviewTest, ReloadAfterOptionsTakesTheNewSettingsAndRefreshes) {
    const std::string path = Write("page.htm");
    ASSERT_RESULT(Editor().AddFileByPath(path, 0), RESULT_OK);
    fs::remove(path);

    WriteTrimMode(profile, 0x20);
    dialogs.AnswerMessage(MSG_FILE_DOES_NOT_EXIST, MessageAnswer::Ok);
    Editor().ReloadAfterOptions();
    EXPECT_EQ(Editor().Settings().trimMode, 0x20u);
    EXPECT_EQ(SizeTexts(0), Placeholders());
}

}  // namespace
}  // namespace trimlet::test
