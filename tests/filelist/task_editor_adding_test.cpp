// Adding files: the file chooser, folders, drops and the text question.

#include <filesystem>

#include "editor_fixture.h"

namespace trimlet::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(ExtensionListTest, ItemsOfBothListsInOrderWithoutBlanksOrEmptyItems) {
    EXPECT_EQ(CombinedExtensions("HTM:HTML", "JS:VBS"), "HTM:HTML:JS:VBS");
    EXPECT_EQ(CombinedExtensions("  ", "JS "), "JS");
    EXPECT_EQ(ExtensionItems(CombinedExtensions(" HTM: :shtml ", "js:")),
              (std::vector<std::string>{"HTM", "shtml", "js"}));
}

using AddFolderTest = EditorTest;

TEST_F(AddFolderTest, AddsMatchingFilesSortedAndSelectedAndReportsTheCount) {
    const std::string site = Folder("site");
    Write("site/b.HTML");
    Write("site/a.htm");
    Write("site/menu.js");
    Write("site/notes.txt");
    Write("site/deeper/inner.htm");
    Folder("site/old.htm");  // a folder matching the pattern is not a file

    dialogs.AnswerBrowseFolder(site);
    Editor().AddFolderCommand();

    EXPECT_THAT(Names(), ElementsAre("site/a.htm", "site/b.HTML", "site/menu.js"));
    EXPECT_THAT(Images(), ElementsAre(ImageHtmlChecked, ImageHtmlChecked, ImageScriptChecked));
    EXPECT_THAT(SelectedRows(), ElementsAre(0, 1, 2));
    EXPECT_EQ(List().BaseFolderLabel(), site + "/");
    EXPECT_EQ(List().Text(0, 0), "a.htm");
    EXPECT_TRUE(Editor().TaskModified());
    EXPECT_THAT(dialogs.Sequence(), ElementsAre("BrowseFolderDialog", "message 20009"));
    EXPECT_EQ(dialogs.Calls()[1].text, "3 個のファイルをリストに追加しました。");
    EXPECT_EQ(dialogs.Calls()[1].icon, MessageIcon::Information);
}

TEST_F(AddFolderTest, FolderWithEverythingListedReportsTheListedCount) {
    const std::string site = Folder("site");
    Write("site/a.htm");
    Write("site/b.js");
    Editor().AddChosenFolder(site);
    List().DeselectAll();
    Editor().SetTaskModified(false);
    dialogs.ClearCalls();

    // Given with a trailing separator, the folder still finds its listed files.
    Editor().AddChosenFolder(site + "/");
    EXPECT_THAT(dialogs.MessageIds(), ElementsAre(MSG_FOLDER_ALL_LISTED));
    EXPECT_EQ(dialogs.Calls()[0].text,
              "指定のフォルダ内には、処理対象に追加できるファイルがありません。\n\n"
              "このフォルダ中の 2 個のファイルが既に処理対象に指定されています。");
    EXPECT_EQ(List().RowCount(), 2u);
    EXPECT_THAT(SelectedRows(), ElementsAre(0, 1));
    EXPECT_FALSE(Editor().TaskModified());
}

TEST_F(AddFolderTest, FolderWithNothingToAddSaysSo) {
    const std::string site = Folder("site");
    Write("site/readme.txt");
    Editor().AddChosenFolder(site);
    EXPECT_THAT(dialogs.MessageIds(), ElementsAre(MSG_FOLDER_NOTHING_TO_ADD));
    EXPECT_EQ(dialogs.Calls()[0].text,
              "下記フォルダには、処理対象に追加できるファイルがありません。\n\n" + site);
    EXPECT_EQ(List().RowCount(), 0u);

    dialogs.AnswerBrowseFolder(std::nullopt);
    Editor().AddFolderCommand();
    EXPECT_THAT(dialogs.Sequence(), ElementsAre("message 20024", "BrowseFolderDialog"));
}

TEST_F(AddFolderTest, CancelOnTheTextQuestionKeepsWhatWasAdded) {
    ASSERT_RESULT(Editor().AddFileByPath(Write("earlier.htm"), 0), RESULT_OK);
    const std::string site = Folder("site");
    Write("site/a.htm");
    Write("site/b.htm", kBinary);
    Write("site/c.htm");

    dialogs.AnswerMessage(MSG_NOT_TEXT_FILE, MessageAnswer::Cancel);
    Editor().AddChosenFolder(site);

    // Rows appended to a list that had rows are not sorted.
    EXPECT_THAT(Names(), ElementsAre("earlier.htm", "site/a.htm"));
    EXPECT_THAT(dialogs.MessageIds(), ElementsAre(MSG_NOT_TEXT_FILE, MSG_STOPPED, MSG_FILES_ADDED));
    EXPECT_EQ(dialogs.Calls()[0].text,
              "\"" + site +
                  "/b.htm\"\n\n上記ファイルはテキストファイルではないと思われます。\n"
                  "このファイルをリストに追加しますか？");
    EXPECT_EQ(dialogs.Calls()[2].text, "1 個のファイルをリストに追加しました。");
    EXPECT_EQ(List().Text(1, 0), site + "/a.htm");

    // Nothing added before the stop: 40001.
    Make();
    dialogs.ClearCalls();
    const std::string other = Folder("other");
    Write("other/x.htm", kBinary);
    dialogs.AnswerMessage(MSG_NOT_TEXT_FILE, MessageAnswer::Cancel);
    Editor().AddChosenFolder(other);
    EXPECT_THAT(dialogs.MessageIds(),
                ElementsAre(MSG_NOT_TEXT_FILE, MSG_STOPPED, MSG_FOLDER_HAS_NO_FILES));
}

TEST_F(AddFolderTest, UnreadableFileInTheFolderIsListedAndTheScanGoesOn) {
    const std::string site = Folder("site");
    Write("site/a.htm");
    ASSERT_EQ(::mkfifo((site + "/b.htm").c_str(), 0644), 0);
    Write("site/c.htm");

    Editor().AddChosenFolder(site);
    EXPECT_THAT(Names(), ElementsAre("site/a.htm", "site/b.htm", "site/c.htm"));
    EXPECT_THAT(Images(), ElementsAre(ImageHtmlChecked, ImageHtml, ImageHtmlChecked));
    EXPECT_EQ(SizeTexts(1), Placeholders());
    EXPECT_THAT(dialogs.MessageIds(), ElementsAre(MSG_FILES_ADDED));
    EXPECT_EQ(dialogs.Calls()[0].text, "3 個のファイルをリストに追加しました。");
}

using DropTest = EditorTest;

TEST_F(DropTest, MissingPathFolderAndFileAreHandledInTurn) {
    const std::string missing = dir.File("gone.htm");
    const std::string site = Folder("site");
    Write("site/b.htm");
    Write("site/a.js");
    const std::string page = Write("page.htm");
    const std::string binary = Write("image.htm", kBinary);

    dialogs.AnswerMessage(MSG_FILE_NOT_FOUND, MessageAnswer::Ok)
        .AnswerMessage(MSG_NOT_TEXT_FILE, MessageAnswer::No);
    Editor().AddDroppedFiles({missing, site, page, binary});

    EXPECT_THAT(Names(), ElementsAre("page.htm", "site/a.js", "site/b.htm"));
    EXPECT_THAT(SelectedRows(), ElementsAre(0, 1, 2));
    EXPECT_THAT(dialogs.MessageIds(), ElementsAre(MSG_FILE_NOT_FOUND, MSG_NOT_TEXT_FILE));
    EXPECT_EQ(dialogs.Calls()[0].text,
              "\"" + missing + "\"\n\n上記ファイルは見つかりません。処理をスキップします。");
    EXPECT_TRUE(Editor().TaskModified());

    // Dropping the folder again: everything listed, with the folder named below.
    dialogs.ClearCalls();
    dialogs.AnswerMessage(MSG_FOLDER_ALL_LISTED, MessageAnswer::Ok);
    Editor().Paste({site});
    EXPECT_EQ(dialogs.Calls()[0].text,
              "指定のフォルダ内には、処理対象に追加できるファイルがありません。\n\n"
              "このフォルダ中の 2 個のファイルが既に処理対象に指定されています。\n\n" +
                  site);
    EXPECT_EQ(List().RowCount(), 3u);
    EXPECT_THAT(SelectedRows(), ElementsAre(1, 2));
}

TEST_F(DropTest, CancelStopsAndKeepsWhatWasAddedBefore) {
    const std::string first = Write("first.htm");
    const std::string missing = dir.File("gone.htm");
    const std::string later = Write("later.htm");
    const std::string empty = Folder("empty");

    dialogs.AnswerMessage(MSG_FILE_NOT_FOUND, MessageAnswer::Cancel);
    Editor().AddDroppedFiles({first, missing, later});
    EXPECT_THAT(Names(), ElementsAre("first.htm"));
    EXPECT_THAT(dialogs.MessageIds(), ElementsAre(MSG_FILE_NOT_FOUND));

    dialogs.ClearCalls();
    dialogs.AnswerMessage(MSG_FOLDER_NOTHING_TO_ADD, MessageAnswer::Cancel);
    Editor().AddDroppedFiles({empty, later});
    EXPECT_THAT(Names(), ElementsAre("first.htm"));
    EXPECT_THAT(dialogs.MessageIds(), ElementsAre(MSG_FOLDER_NOTHING_TO_ADD, MSG_STOPPED));
}

using AddFilesTest = EditorTest;

TEST_F(AddFilesTest, ChosenFilesAreAddedSelectedAndSortedIntoAnEmptyList) {
    Write("docs/c.htm");
    Write("docs/a.htm");
    Write("docs/b.htm", kBinary);
    Write("docs/d.htm");
    const std::string docs = dir.File("docs");
    Editor().Settings().lastFileOpenFolder = dir.File("gone");

    dialogs.AnswerAddFiles(ChosenFiles{docs, {"c.htm", "b.htm", "a.htm", "a.htm"}})
        .AnswerMessage(MSG_NOT_TEXT_FILE, MessageAnswer::No)
        .AnswerMessage(MSG_FILE_PROCESSING_ERROR, MessageAnswer::Ok);
    Editor().AddFilesCommand();

    // A remembered folder that no longer exists starts the chooser in the documents folder.
    EXPECT_EQ(dialogs.Calls()[0].folder, dir.path().string());
    EXPECT_EQ(Editor().Settings().lastFileOpenFolder, docs);
    EXPECT_THAT(Names(), ElementsAre("docs/a.htm", "docs/c.htm"));
    EXPECT_THAT(SelectedRows(), ElementsAre(0, 1));
    // The second a.htm is already listed.
    EXPECT_THAT(dialogs.MessageIds(), ElementsAre(MSG_NOT_TEXT_FILE, MSG_FILE_PROCESSING_ERROR));

    // Into a list with rows: appended in the chosen order, earlier rows deselected.
    dialogs.ClearCalls();
    dialogs.AnswerAddFiles(ChosenFiles{docs + "/", {"d.htm"}});
    Editor().AddFilesCommand();
    EXPECT_EQ(dialogs.Calls()[0].folder, docs);
    EXPECT_THAT(Names(), ElementsAre("docs/a.htm", "docs/c.htm", "docs/d.htm"));
    EXPECT_THAT(SelectedRows(), ElementsAre(2));
    EXPECT_EQ(List().BaseFolderLabel(), docs + "/");
}

TEST_F(AddFilesTest, DecliningASingleNonTextFileStops) {
    const std::string docs = Folder("docs");
    Write("docs/b.htm", kBinary);
    for (MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Cancel}) {
        dialogs.ClearCalls();
        dialogs.AnswerMessage(MSG_NOT_TEXT_FILE, answer);
        Editor().AddChosenFiles(ChosenFiles{docs, {"b.htm"}});
        EXPECT_THAT(dialogs.MessageIds(), ElementsAre(MSG_NOT_TEXT_FILE, MSG_STOPPED));
        EXPECT_EQ(List().RowCount(), 0u);
    }
    dialogs.AnswerMessage(MSG_NOT_TEXT_FILE, MessageAnswer::Yes);
    Editor().AddChosenFiles(ChosenFiles{docs, {"b.htm"}});
    EXPECT_THAT(Names(), ElementsAre("docs/b.htm"));
    EXPECT_THAT(SelectedRows(), ElementsAre(0));
}

}  // namespace
}  // namespace trimlet::test
