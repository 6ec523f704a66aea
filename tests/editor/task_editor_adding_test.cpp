// Adding files: the file chooser, folders, drops and the text question.

#include <sys/stat.h>

#include "editor_fixture.h"
#include "platform/documents_folder.h"

namespace trimlet::test {
namespace {

std::string NotTextQuestion(const std::string& path) {
    return Msg(MSG_NOT_TEXT_FILE, path);
}
std::string Added(int count) {
    return Msg(MSG_FILES_ADDED, count);
}
const std::string kAllListedTwo = Msg(MSG_FOLDER_ALL_LISTED, 2);

TEST(ExtensionListTest, ItemsOfBothListsInOrderWithoutBlanksOrEmptyItems) {
    EXPECT_EQ(CombinedExtensions("HTM:HTML", "JS:VBS"), "HTM:HTML:JS:VBS");
    EXPECT_EQ(CombinedExtensions("  ", "JS "), "JS");
    EXPECT_THAT(ExtensionItems(CombinedExtensions(" HTM: :shtml ", "js:")),
                ElementsAre("HTM", "shtml", "js"));
}

using AddFolderTest = EditorTest;

TEST_F(AddFolderTest, AddsMatchingFilesSortedAndSelectedAndReportsTheCount) {
    const std::string site = Folder("site");
    for (const char* name : {"b.HTML", "a.htm", "menu.js", "notes.txt", "deeper/inner.htm"})
        Write(std::string("site/") + name);
    Folder("site/old.htm");  // a folder matching the pattern is not a file
    // A file whose preview fails is listed, and the scan goes on after it.
    ASSERT_EQ(::mkfifo((site + "/c.htm").c_str(), 0644), 0);

    dialogs.AnswerBrowseFolder(site);
    Editor().AddFolderCommand();
    EXPECT_THAT(Names(), ElementsAre("site/a.htm", "site/b.HTML", "site/c.htm", "site/menu.js"));
    EXPECT_THAT(Images(),
                ElementsAre(ImageHtmlChecked, ImageHtmlChecked, ImageHtml, ImageScriptChecked));
    EXPECT_EQ(SizeTexts(2), kPlaceholders);
    EXPECT_EQ(Selected(), "1111");
    EXPECT_EQ(List().BaseFolderLabel(), site + "/");
    EXPECT_TRUE(Editor().TaskModified());
    EXPECT_THAT(Shown(), ElementsAre("BrowseFolderDialog", Added(4)));
}

TEST_F(AddFolderTest, FolderWithNothingNewSaysWhetherItsFilesAreListed) {
    const std::string site = Folder("site");
    Write("site/readme.txt");
    Editor().AddChosenFolder(site);
    dialogs.AnswerBrowseFolder(std::nullopt);
    Editor().AddFolderCommand();

    Write("site/a.htm");
    Write("site/b.js");
    Editor().AddChosenFolder(site);
    List().DeselectAll();
    Editor().SetTaskModified(false);
    // Given with a trailing separator, the folder still finds its listed files.
    Editor().AddChosenFolder(site + "/");
    EXPECT_THAT(Shown(), ElementsAre(Msg(MSG_FOLDER_NOTHING_TO_ADD, site), "BrowseFolderDialog",
                                     Added(2), kAllListedTwo));
    EXPECT_EQ(Selected(), "11");
    EXPECT_FALSE(Editor().TaskModified());
}

TEST_F(AddFolderTest, CancelOnTheTextQuestionKeepsWhatWasAdded) {
    Drop({"earlier.htm"});
    Write("site/a.htm");
    const std::string binary = Write("site/b.htm", kBinary);
    Write("site/c.htm");
    dialogs.AnswerMessage(MSG_NOT_TEXT_FILE, MessageAnswer::Cancel);
    Editor().AddChosenFolder(dir.File("site"));
    // Rows appended to a list that had rows are not sorted.
    EXPECT_THAT(Names(), ElementsAre("earlier.htm", "site/a.htm"));
    EXPECT_THAT(Shown(), ElementsAre(NotTextQuestion(binary), Msg(MSG_STOPPED), Added(1)));

    // Nothing added before the stop: 40001.
    Make();
    Write("other/x.htm", kBinary);
    dialogs.AnswerMessage(MSG_NOT_TEXT_FILE, MessageAnswer::Cancel);
    Editor().AddChosenFolder(dir.File("other"));
    EXPECT_THAT(dialogs.MessageIds(),
                ElementsAre(MSG_NOT_TEXT_FILE, MSG_STOPPED, MSG_FOLDER_HAS_NO_FILES));
}

using DropTest = EditorTest;

TEST_F(DropTest, MissingPathFolderAndFileAreHandledInTurn) {
    const std::string missing = dir.File("gone.htm");
    const std::string site = Folder("site");
    Write("site/b.htm");
    Write("site/a.js");
    const std::string binary = Write("image.htm", kBinary);
    dialogs.AnswerMessage(MSG_FILE_NOT_FOUND, MessageAnswer::Ok)
        .AnswerMessage(MSG_NOT_TEXT_FILE, MessageAnswer::No)
        .AnswerMessage(MSG_FOLDER_ALL_LISTED, MessageAnswer::Ok);
    Editor().AddDroppedFiles({missing, site, Write("page.htm"), binary});
    EXPECT_THAT(Names(), ElementsAre("page.htm", "site/a.js", "site/b.htm"));
    EXPECT_EQ(Selected(), "111");
    EXPECT_TRUE(Editor().TaskModified());

    // Dropping the folder again: everything listed, with the folder named below.
    Editor().Paste({site});
    EXPECT_THAT(Shown(), ElementsAre(Msg(MSG_FILE_NOT_FOUND, missing), NotTextQuestion(binary),
                                     kAllListedTwo + "\n\n" + site));
    EXPECT_EQ(Selected(), "011");
}

TEST_F(DropTest, CancelStopsAndKeepsWhatWasAddedBefore) {
    dialogs.AnswerMessage(MSG_FILE_NOT_FOUND, MessageAnswer::Cancel)
        .AnswerMessage(MSG_FOLDER_NOTHING_TO_ADD, MessageAnswer::Cancel);
    const std::string later = Write("later.htm");
    Editor().AddDroppedFiles({Write("first.htm"), dir.File("gone.htm"), later});
    Editor().AddDroppedFiles({Folder("empty"), later});
    EXPECT_THAT(Names(), ElementsAre("first.htm"));
    EXPECT_THAT(dialogs.MessageIds(),
                ElementsAre(MSG_FILE_NOT_FOUND, MSG_FOLDER_NOTHING_TO_ADD, MSG_STOPPED));
}

using AddFilesTest = EditorTest;

TEST_F(AddFilesTest, ChosenFilesAreAddedSelectedAndSortedIntoAnEmptyList) {
    for (const char* name : {"c.htm", "a.htm", "d.htm"})
        Write(std::string("docs/") + name);
    Write("docs/b.htm", kBinary);
    const std::string docs = dir.File("docs");
    Editor().Settings().lastFileOpenFolder = dir.File("gone");
    dialogs.AnswerAddFiles(ChosenFiles{docs, {"c.htm", "b.htm", "a.htm", "a.htm"}})
        .AnswerMessage(MSG_NOT_TEXT_FILE, MessageAnswer::No)
        .AnswerMessage(MSG_FILE_PROCESSING_ERROR, MessageAnswer::Ok)  // the second a.htm
        .AnswerAddFiles(ChosenFiles{docs + "/", {"d.htm"}});
    Editor().AddFilesCommand();
    EXPECT_THAT(Names(), ElementsAre("docs/a.htm", "docs/c.htm"));
    EXPECT_EQ(Selected(), "11");

    // Into a list with rows: appended in the chosen order, earlier rows deselected.
    Editor().AddFilesCommand();
    EXPECT_THAT(Names(), ElementsAre("docs/a.htm", "docs/c.htm", "docs/d.htm"));
    EXPECT_EQ(Selected(), "001");
    EXPECT_EQ(List().BaseFolderLabel(), docs + "/");
    EXPECT_THAT(dialogs.MessageIds(), ElementsAre(MSG_NOT_TEXT_FILE, MSG_FILE_PROCESSING_ERROR));
    // A remembered folder that no longer exists starts the chooser in the documents folder.
    EXPECT_EQ(dialogs.Calls()[0].folder, dir.path().string());
    EXPECT_EQ(dialogs.Calls()[3].folder, docs);
}

TEST_F(AddFilesTest, DecliningASingleNonTextFileStops) {
    const std::string docs = Folder("docs");
    Write("docs/b.htm", kBinary);
    for (MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Cancel, MessageAnswer::Yes}) {
        dialogs.AnswerMessage(MSG_NOT_TEXT_FILE, answer);
        Editor().AddChosenFiles(ChosenFiles{docs, {"b.htm"}});
    }
    // No and Cancel both stop and add nothing; Yes adds it.
    EXPECT_THAT(dialogs.MessageIds(), ElementsAre(MSG_NOT_TEXT_FILE, MSG_STOPPED, MSG_NOT_TEXT_FILE,
                                                  MSG_STOPPED, MSG_NOT_TEXT_FILE));
    EXPECT_THAT(Names(), ElementsAre("docs/b.htm"));
    EXPECT_EQ(Selected(), "1");
}

TEST_F(AddFilesTest, TheFirstFolderIsTheListsOwnAndTypedPathsElsewhereAreTakenAsTyped) {
    Drop({"site/a.htm"});
    Write("other/b.htm");
    Editor().Settings().lastFileOpenFolder.clear();
    dialogs.ClearCalls();
    // b.htm typed with its path; c.htm typed but missing there: reported, not dropped.
    dialogs.AnswerAddFiles(
        ChosenFiles{dir.File("site"), {dir.File("other/b.htm"), dir.File("other/c.htm")}});
    Editor().AddFilesCommand();
    EXPECT_EQ(dialogs.Calls()[0].folder, dir.File("site/"));
    EXPECT_THAT(Names(), ElementsAre("site/a.htm", "other/b.htm"));
    ASSERT_THAT(dialogs.MessageIds(), ElementsAre(MSG_FILE_INFO_FAILED));
    EXPECT_NE(dialogs.Calls()[1].text.find(dir.File("other/c.htm")), std::string::npos);
}

TEST_F(AddFilesTest, AFreshProfileDoesNotOpenTheChooserInTheProgramsFolder) {
    // Without a documents folder the lookup answers the program's folder, and a new profile
    // keeps that as the last folder files were added from.
    const std::string home = Folder("home");
    ScopedEnv homeEnv("HOME", home);
    editor = std::make_unique<TaskEditor>(dialogs, profile, PathStyle::Posix, [](std::string& f) {
        f = ProgramFolder();
        return true;
    });
    dialogs.AnswerAddFiles(std::nullopt);
    Editor().AddFilesCommand();
    ASSERT_FALSE(dialogs.Calls().empty());
    EXPECT_EQ(dialogs.Calls()[0].folder, home);
}

}  // namespace
}  // namespace trimlet::test
