// Adding single entries and the preview of rows.

#include <sys/stat.h>

#include <filesystem>

#include "editor_fixture.h"
#include "settings/profile_keys.h"

namespace trimlet::test {
namespace {

namespace fs = std::filesystem;

// A Windows-style record; such a path never exists here, so its preview fails.
FindRecord WindowsRecord(std::string name) {
    FindRecord record;
    record.name = std::move(name);
    return record;
}

using EntryTest = EditorTest;

TEST_F(EntryTest, NewRowIsCheckedSelectedAndShowsItsSizes) {
    const std::string page = Write("site /page.htm");
    EXPECT_RESULT(Editor().AddFileByPath(page, 0), RESULT_OK);
    EXPECT_EQ(List().Entry(0)->folder, Base() + "site /") << "a blank ending a folder name stays";
    EXPECT_THAT(Images(), ElementsAre(ImageHtmlChecked));
    EXPECT_EQ(Selected(), "1");
    EXPECT_THAT(SizeTexts(0), ElementsAre("8", "8(100%)", TimeText(page)));
    EXPECT_TRUE(Editor().TaskModified());
    EXPECT_THAT(dialogs.Calls(), IsEmpty());

    Make();
    EXPECT_RESULT(Editor().AddFileByPath(page, ADD_KEEP_UNMODIFIED), RESULT_OK);
    EXPECT_FALSE(Editor().TaskModified());
}

TEST_F(EntryTest, LetterCaseMakesTwoFilesUnderPosixStyleOnly) {
    const std::string lower = Write("a.html");
    EXPECT_RESULT(Editor().AddFileByPath(lower, 0), RESULT_OK);
    EXPECT_RESULT(Editor().AddFileByPath(Write("A.html"), 0), RESULT_OK);
    EXPECT_RESULT(Editor().AddFileByPath(lower, ADD_QUIET), RESULT_ALREADY_LISTED);
    EXPECT_THAT(Names(), ElementsAre("a.html", "A.html"));

    Make(PathStyle::Windows);
    EXPECT_RESULT(Editor().AddEntry(0, WindowsRecord("Index.htm"), "C:\\Docs \\\\"),
                  RESULT_NOT_FOUND);
    List().DeselectAll();
    EXPECT_RESULT(Editor().AddEntry(1, WindowsRecord("INDEX.HTM"), "c:\\docs"),
                  RESULT_ALREADY_LISTED);
    EXPECT_THAT(Names(), ElementsAre("C:\\Docs\\Index.htm"));
    EXPECT_EQ(Selected(), "1");
    // A name without extension has no picture, but gets the plain HTML one when its preview
    // fails.
    EXPECT_RESULT(Editor().AddEntry(1, WindowsRecord("README"), "C:\\x\\"), RESULT_NOT_FOUND);
    EXPECT_EQ(List().Image(1), ImageHtml);
}

TEST_F(EntryTest, FailedPreviewKeepsTheRowUncheckedWithPlaceholders) {
    // A pipe is no regular file, and a file of 4 GiB is too large: both fail whoever runs
    // the test. The big file is sparse and takes no room. UTF-16 that is not UTF-16 is told
    // as such, not as a lack of memory.
    using namespace std::string_literals;
    const std::string marked = Write("marked.html", "\xFF\xFE<\0p\0>"s);
    const std::string unmarked = Write("unmarked.html", "<\0p\0>\0\x3D\xD8<\0/\0p\0>\0"s);
    const std::string pipe = dir.File("pipe.js");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    const std::string big = Write("big.htm", "");
    fs::resize_file(big, std::uint64_t{1} << 32);
    const struct {
        std::string path;
        Result result;
        int messageId;
        int image;
    } cases[] = {
        {pipe, RESULT_FILE_ERROR, MSG_FILE_ACCESS_ERROR, ImageScript},
        {big, RESULT_TOO_LARGE, MSG_FILE_PROCESSING_ERROR, ImageHtml},
        {marked, RESULT_INVALID_UTF16, MSG_INVALID_UTF16, ImageHtml},
        {unmarked, RESULT_UNCLEAR_UTF16, MSG_UNCLEAR_UTF16, ImageHtml},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        Make();
        dialogs.AnswerMessage(c.messageId, MessageAnswer::Ok);
        EXPECT_RESULT(Editor().AddFileByPath(c.path, 0), c.result);
        EXPECT_THAT(Shown(), ElementsAre(Msg(c.messageId, c.path)));
        EXPECT_THAT(Images(), ElementsAre(c.image));
        EXPECT_EQ(SizeTexts(0), kPlaceholders);
        EXPECT_EQ(Selected(), "0");
        // The row is in the list, so the task has changed.
        EXPECT_TRUE(Editor().TaskModified());
    }
    Make();
    dialogs.AnswerMessage(MSG_FILE_ACCESS_ERROR, MessageAnswer::Cancel);
    EXPECT_RESULT(Editor().AddFileByPath(pipe, 0), RESULT_STOPPED);
    EXPECT_RESULT(Editor().AddFileByPath(big, ADD_QUIET), RESULT_TOO_LARGE);
    EXPECT_EQ(List().RowCount(), 2u);
}

TEST_F(EntryTest, PathsThatCannotBeListedAddNoRow) {
    const std::string missing = dir.File("missing.htm");
    const std::string folder = Folder("sub.htm");
    dialogs.AnswerMessage(MSG_FILE_PROCESSING_ERROR, MessageAnswer::Ok);
    EXPECT_RESULT(Editor().AddFileByPath(missing, 0), RESULT_NOT_FOUND);
    EXPECT_RESULT(Editor().AddFileByPath(missing, ADD_QUIET), RESULT_NOT_FOUND);
    EXPECT_RESULT(Editor().AddFileByPath(folder, 0), RESULT_INVALID_ARGUMENT);
    EXPECT_RESULT(Editor().AddFileByPath("", 0), RESULT_INVALID_ARGUMENT);
    EXPECT_THAT(Shown(), ElementsAre(Msg(MSG_FILE_INFO_FAILED, missing),
                                     Msg(MSG_FILE_PROCESSING_ERROR, folder)));
    EXPECT_EQ(List().RowCount(), 0u);
    EXPECT_FALSE(Editor().TaskModified());
}

// Another path to a listed file is the same file: it is selected, not listed twice.
TEST_F(EntryTest, AnotherPathToAListedFileIsTheSameFile) {
    const std::string page = Write("site/page.html");
    fs::create_directory_symlink(dir.File("site"), dir.File("link"));
    fs::create_hard_link(page, dir.File("site/second.html"));
    EXPECT_RESULT(Editor().AddFileByPath(page, 0), RESULT_OK);
    for (const std::string& other :
         {Base() + "site/./page.html", Base() + "link/page.html", Base() + "site/second.html"}) {
        SCOPED_TRACE(other);
        List().DeselectAll();
        EXPECT_RESULT(Editor().AddFileByPath(other, ADD_QUIET), RESULT_ALREADY_LISTED);
        EXPECT_EQ(Selected(), "1");
    }
    EXPECT_THAT(Names(), ElementsAre("site/page.html"));
    // A file replaced since it was listed (trimmed in place) is still found by its path, and
    // the file that now has its old place on disk is not mistaken for it.
    Write("site/other.html");
    fs::rename(dir.File("site/other.html"), page);
    ASSERT_RESULT(Editor().RefreshRow(0), RESULT_OK);
    EXPECT_RESULT(Editor().AddFileByPath(Base() + "site/./page.html", ADD_QUIET),
                  RESULT_ALREADY_LISTED);
    EXPECT_RESULT(Editor().AddFileByPath(Base() + "site/second.html", ADD_QUIET), RESULT_OK);
}

// A task file holds one path per line: a name with a line break is refused, however added.
TEST_F(EntryTest, NamesWithALineBreakAreRefusedWithAMessage) {
    const std::string odd = Write("site/odd\nname.html");
    const std::string plain = Write("site/plain.html");
    dialogs.AnswerMessage(MSG_NAME_HAS_LINE_BREAK, MessageAnswer::Ok)
        .AnswerMessage(MSG_NAME_HAS_LINE_BREAK, MessageAnswer::Ok)
        .AnswerMessage(MSG_NAME_HAS_LINE_BREAK, MessageAnswer::Ok);
    EXPECT_RESULT(Editor().AddFileByPath(odd, 0), RESULT_BAD_PATH);
    Editor().AddDroppedFiles({odd});
    std::uint32_t added = 0;
    EXPECT_TRUE(Editor().AddFolderFiles(Folder("site"), added, ADD_QUIET));
    EXPECT_EQ(added, 1u);
    EXPECT_THAT(Names(), ElementsAre("site/plain.html"));
    EXPECT_THAT(Shown(),
                ElementsAre(Msg(MSG_NAME_HAS_LINE_BREAK, odd), Msg(MSG_NAME_HAS_LINE_BREAK, odd),
                            Msg(MSG_NAME_HAS_LINE_BREAK, odd)));
    EXPECT_EQ(List().FullPath(0), plain);
}

using PreviewTest = EditorTest;

// The sizes shown are those a run writes: the profile's comments to keep stay, and a list
// changed in the options sheet is taken when the sheet closes.
TEST_F(PreviewTest, SizesKeepTheProfilesCommentsAndFollowTheirChange) {
    profile.WriteString("KEEP_COMMENTS", "google_ad");
    Write("1.htm", "<body><!-- google_ad --><!-- x -->a");  // 35 bytes
    Editor().AddDroppedFiles({dir.File("1.htm")});
    EXPECT_THAT(SizeTexts(0), ElementsAre("35", "25( 71%)", TimeText(dir.File("1.htm"))));
    profile.WriteString("KEEP_COMMENTS", "");
    Editor().ReloadAfterOptions();
    EXPECT_THAT(SizeTexts(0), ElementsAre("35", "7( 20%)", TimeText(dir.File("1.htm"))));
}

TEST_F(PreviewTest, RefreshShowsTheFileAsItIsNowAndReportsVanishedFiles) {
    Drop({"1.htm", "2.htm", "3.htm", "4.htm"});
    Editor().UnmarkSelected();
    Write("1.htm", "<p>longer text</p>");
    Write("3.htm", "");
    fs::remove(dir.File("2.htm"));

    // OK goes on with placeholders on the vanished row; unchecked rows are refreshed too,
    // and keep their pictures. Cancel stops with 15004, and rows below keep their texts.
    dialogs.AnswerMessage(MSG_FILE_DOES_NOT_EXIST, MessageAnswer::Ok)
        .AnswerMessage(MSG_FILE_DOES_NOT_EXIST, MessageAnswer::Cancel);
    Editor().RefreshAll();
    EXPECT_THAT(SizeTexts(0), ElementsAre("18", "18(100%)", TimeText(dir.File("1.htm"))));
    EXPECT_EQ(SizeTexts(1), kPlaceholders);
    EXPECT_THAT(SizeTexts(2), ElementsAre("0", "0(100%)", TimeText(dir.File("3.htm"))));
    EXPECT_THAT(Images(), ElementsAre(ImageHtml, ImageHtml, ImageHtml, ImageHtml));
    Write("3.htm", "changed");
    Editor().RefreshAll();
    const std::string vanished = Msg(MSG_FILE_DOES_NOT_EXIST, dir.File("2.htm"));
    EXPECT_THAT(Shown(), ElementsAre(vanished, vanished, Msg(MSG_STOPPED)));
    EXPECT_EQ(List().Text(2, 1), "0");
    EXPECT_RESULT(Editor().RefreshRow(7), RESULT_INVALID_ARGUMENT);

    // The stored sizes follow, so sorting matches what the rows show.
    List().Sort(kColumnSourceSize, true);
    EXPECT_THAT(Names(), ElementsAre("2.htm", "3.htm", "4.htm", "1.htm"));
}

TEST_F(PreviewTest, ReloadAfterOptionsTakesTheNewSettingsAndRefreshes) {
    Drop({"page.htm"});
    fs::remove(dir.File("page.htm"));
    WriteTrimMode(profile, 0x20);
    dialogs.AnswerMessage(MSG_FILE_DOES_NOT_EXIST, MessageAnswer::Ok);
    Editor().ReloadAfterOptions();
    EXPECT_EQ(Editor().Settings().trimMode, 0x20u);
    EXPECT_EQ(SizeTexts(0), kPlaceholders);
}

}  // namespace
}  // namespace trimlet::test
