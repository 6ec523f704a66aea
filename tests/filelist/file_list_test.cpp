#include "filelist/file_list.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace trimlet {
namespace {

constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;

// Adds a row for folder + name with the given sizes and time; no entry when `folder` is
// empty.
void AddRow(FileList& list, std::string folder, std::string name, std::uint64_t size = 0,
            FileTime modified = 0) {
    std::unique_ptr<FileEntry> entry;
    if (!folder.empty()) {
        entry = std::make_unique<FileEntry>();
        entry->folder = std::move(folder);
        entry->findData.name = std::move(name);
        entry->sourceSize = size;
        entry->trimmedSize = size / 2;
        entry->findData.lastWriteTime = modified;
    }
    list.InsertRow(list.RowCount(), std::move(entry), ImageHtmlChecked, {}, false);
}

std::vector<std::string> Paths(const FileList& list) {
    std::vector<std::string> paths;
    for (std::size_t row = 0; row < list.RowCount(); ++row)
        paths.push_back(list.Entry(row) ? list.FullPath(row) : "(none)");
    return paths;
}

// Records removals and resets with the row count seen at each.
class RecordingObserver : public FileListObserver {
  public:
    explicit RecordingObserver(const FileList& list) : list_(list) {}
    std::vector<std::string> events;

    void RowsAboutToBeRemoved(std::size_t f, std::size_t l) override { Add("-?", f, l); }
    void RowsRemoved(std::size_t f, std::size_t l) override { Add("-", f, l); }
    void ListAboutToBeReset() override { Add("reset?", 0, 0); }
    void ListReset() override { Add("reset", 0, 0); }

  private:
    void Add(const char* what, std::size_t f, std::size_t l) {
        events.push_back(std::string(what) + std::to_string(f) + ".." + std::to_string(l) +
                         " n=" + std::to_string(list_.RowCount()));
    }
    const FileList& list_;
};

TEST(ImageForNameTest, KindComesFromTheExtensionLists) {
    struct Case {
        const char* name;
        PathStyle style;
        std::string_view file;
        std::string_view html;
        int image;
    };
    const Case cases[] = {
        {"html item", PathStyle::Posix, "index.htm", "HTM:HTML", ImageHtmlChecked},
        {"case ignored", PathStyle::Posix, "INDEX.Html", "htm:html", ImageHtmlChecked},
        {"script", PathStyle::Posix, "menu.js", "HTM:HTML", ImageScriptChecked},
        {"other text", PathStyle::Posix, "notes.txt", "HTM:HTML", ImageTextChecked},
        {"last dot counts", PathStyle::Posix, "page.htm.bak", "HTM:HTML", ImageTextChecked},
        {"no dot", PathStyle::Posix, "Makefile", "HTM:HTML", ImageNone},
        {"blank after dot", PathStyle::Posix, "page. htm", "HTM:HTML", ImageHtmlChecked},
        {"blank inside item", PathStyle::Posix, "page.html", "HTM: HTML", ImageTextChecked},
        {"empty list item", PathStyle::Posix, "page.", "HTM::HTML", ImageHtmlChecked},
        {"dot in folder only", PathStyle::Windows, "C:\\a.b\\README", "HTM", ImageNone},
        {"backslash is a name byte", PathStyle::Posix, "a.b\\README", "HTM", ImageTextChecked},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ImageForName(c.style, c.file, c.html, "JS:VBS"), c.image);
    }
}

TEST(FileListSortTest, ColumnClicksCycleThroughDirections) {
    FileList list(PathStyle::Posix);
    AddRow(list, "/b/", "2.htm", 20, 300);
    AddRow(list, "/a/", "1.htm", 30, 100);
    AddRow(list, "/c/", "3.htm", 10, 200);

    struct Step {
        int column;
        bool ascending;
        std::vector<std::string> order;
    };
    const Step steps[] = {
        {0, true, {"/a/1.htm", "/b/2.htm", "/c/3.htm"}},   // first click on column 0
        {0, false, {"/c/3.htm", "/b/2.htm", "/a/1.htm"}},  // same column again
        {0, true, {"/a/1.htm", "/b/2.htm", "/c/3.htm"}},   // and a third time
        {1, true, {"/c/3.htm", "/b/2.htm", "/a/1.htm"}},   // a new column starts ascending
        {3, true, {"/a/1.htm", "/c/3.htm", "/b/2.htm"}},
        {3, false, {"/b/2.htm", "/c/3.htm", "/a/1.htm"}},
        {2, true, {"/c/3.htm", "/b/2.htm", "/a/1.htm"}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.column);
        list.SortByColumnClick(step.column);
        EXPECT_EQ(list.SortColumn(), step.column);
        EXPECT_EQ(list.LastSortAscending(), step.ascending);
        EXPECT_EQ(Paths(list), step.order);
    }
}

TEST(FileListSortTest, SizesBeyondTwoGigabytesCompareByValueAndRowsWithoutEntryGoLast) {
    FileList list(PathStyle::Posix);
    AddRow(list, "", "");
    AddRow(list, "/d/", "three.htm", 3 * kGiB);
    AddRow(list, "/d/", "one.htm", 2);
    AddRow(list, "/d/", "two.htm", 2 * kGiB);
    AddRow(list, "/d/", "five.htm", 5 * kGiB);
    AddRow(list, "/d/", "zero.htm", 0);

    list.Sort(kColumnSourceSize, true);
    EXPECT_EQ(Paths(list), (std::vector<std::string>{"/d/zero.htm", "/d/one.htm", "/d/two.htm",
                                                     "/d/three.htm", "/d/five.htm", "(none)"}));
    list.Sort(kColumnTrimmedSize, false);
    EXPECT_EQ(Paths(list), (std::vector<std::string>{"/d/five.htm", "/d/three.htm", "/d/two.htm",
                                                     "/d/one.htm", "/d/zero.htm", "(none)"}));
    // Sort leaves the remembered column alone.
    EXPECT_EQ(list.SortColumn(), 0);
    EXPECT_FALSE(list.LastSortAscending());
}

TEST(FileListIndexTest, IndexAndObserversFollowSortRemoveAndFree) {
    FileList list(PathStyle::Posix);
    RecordingObserver observer(list);
    list.AddObserver(&observer);
    for (const char* name : {"d.htm", "b.htm", "a.htm", "c.htm", "e.htm", "f.htm"})
        AddRow(list, "/w/", name);
    EXPECT_EQ(list.FindRow("/w/a.htm"), 2u);
    EXPECT_FALSE(list.FindRow("/w/A.htm")) << "Posix paths respect letter case";

    list.Sort(kColumnName, true);
    EXPECT_EQ(list.FindRow("/w/a.htm"), 0u);
    EXPECT_EQ(list.FindRow("/w/e.htm"), 4u);

    // One run of selected rows is removed as such.
    list.SetSelected(1, true);  // b
    list.SetSelected(2, true);  // c
    EXPECT_EQ(list.RemoveSelectedRows(), 2u);
    EXPECT_EQ(Paths(list),
              (std::vector<std::string>{"/w/a.htm", "/w/d.htm", "/w/e.htm", "/w/f.htm"}));
    EXPECT_FALSE(list.FindRow("/w/b.htm"));
    EXPECT_EQ(list.FindRow("/w/e.htm"), 2u);

    // Scattered rows go in one pass, reported as a reset.
    list.SetSelected(0, true);
    list.SetSelected(2, true);
    list.RemoveSelectedRows();
    EXPECT_EQ(list.FindRow("/w/f.htm"), 1u);
    EXPECT_EQ(list.SelectedCount(), 0u);
    EXPECT_EQ(observer.events,
              (std::vector<std::string>{"reset?0..0 n=6", "reset0..0 n=6", "-?1..2 n=6",
                                        "-1..2 n=4", "reset?0..0 n=4", "reset0..0 n=2"}));
    list.RemoveObserver(&observer);

    list.FreeAllEntries();
    EXPECT_EQ(list.RowCount(), 2u);
    EXPECT_FALSE(list.FindRow("/w/d.htm"));
}

TEST(FileListIndexTest, WindowsStyleFoldsAsciiLettersButNotTrailBytes) {
    FileList list(PathStyle::Windows);
    AddRow(list, "C:\\Docs\\", "Index.HTM");
    // 83 41 and 83 61 are two different katakana; their trail bytes look like "A" and "a".
    AddRow(list, "C:\\Docs\\", "\x83\x41.htm");

    EXPECT_EQ(list.FindRow("c:\\docs\\index.htm"), 0u);
    EXPECT_EQ(list.FindRow("C:\\DOCS\\\x83\x41.HTM"), 1u);
    EXPECT_FALSE(list.FindRow("C:\\Docs\\\x83\x61.htm"));
    EXPECT_TRUE(list.SelectRowByPath("C:\\DOCS\\INDEX.htm"));
    EXPECT_TRUE(list.IsSelected(0));
    EXPECT_FALSE(list.IsSelected(1));
}

TEST(FileListBaseFolderTest, LabelShowsTheCommonFolderOnly) {
    FileList list(PathStyle::Windows);
    AddRow(list, "C:\\a\\", "one.htm");
    AddRow(list, "c:\\A\\", "two.htm");

    list.RefreshBaseFolder(false);
    EXPECT_EQ(list.BaseFolderLabel(), "");
    EXPECT_EQ(list.Text(0, kColumnName), "");

    list.RefreshBaseFolder(true);
    EXPECT_EQ(list.BaseFolderLabel(), "C:\\a\\");
    EXPECT_EQ(list.Text(0, kColumnName), "one.htm");
    EXPECT_EQ(list.Text(1, kColumnName), "two.htm");

    AddRow(list, "C:\\b\\", "three.htm");
    list.RefreshBaseFolder(true);
    EXPECT_EQ(list.BaseFolderLabel(), "");
    EXPECT_EQ(list.Text(0, kColumnName), "C:\\a\\one.htm");
    EXPECT_EQ(list.Text(1, kColumnName), "c:\\A\\two.htm");
    EXPECT_EQ(list.Text(2, kColumnName), "C:\\b\\three.htm");
}

}  // namespace
}  // namespace trimlet
