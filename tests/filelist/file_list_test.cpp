#include "filelist/file_list.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace trimlet {
namespace {

using ::testing::ElementsAre;
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

// Each row's full path ("(none)" without entry), or with `names` its name column.
std::vector<std::string> Paths(const FileList& list, bool names = false) {
    std::vector<std::string> paths;
    for (std::size_t row = 0; row < list.RowCount(); ++row) {
        paths.push_back(names             ? list.Text(row, kColumnName)
                        : list.Entry(row) ? list.FullPath(row)
                                          : "(none)");
    }
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

// A view's selection drops the rows it is told are about to go, and passes that on.
class DeselectingObserver : public FileListObserver {
  public:
    explicit DeselectingObserver(FileList& list) : list_(list) {}
    void RowsAboutToBeRemoved(std::size_t f, std::size_t l) override {
        for (std::size_t row = f; row <= l; ++row)
            list_.SetSelected(row, false);
    }
    void ListAboutToBeReset() override { list_.DeselectAll(); }

  private:
    FileList& list_;
};

TEST(FileListRemoveTest, TheSelectedRowsGoEvenWhenAnObserverDeselectsThem) {
    struct Case {
        const char* name;
        std::vector<std::size_t> selected;
        std::vector<std::string> left;
    };
    const Case cases[] = {
        {"one row", {1}, {"/a/0.htm", "/a/2.htm", "/a/3.htm"}},
        {"a block", {1, 2}, {"/a/0.htm", "/a/3.htm"}},
        {"scattered", {0, 2}, {"/a/1.htm", "/a/3.htm"}},
        {"all", {0, 1, 2, 3}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FileList list(PathStyle::Posix);
        for (int i = 0; i < 4; ++i)
            AddRow(list, "/a/", std::to_string(i) + ".htm");
        for (std::size_t row : c.selected)
            list.SetSelected(row, true);
        list.CheckRow(3);
        DeselectingObserver observer(list);
        list.AddObserver(&observer);
        EXPECT_EQ(list.RemoveSelectedRows(), c.selected.size());
        list.RemoveObserver(&observer);
        EXPECT_EQ(Paths(list), c.left);
        EXPECT_EQ(list.SelectedCount(), 0u);
        EXPECT_EQ(list.CheckedCount(), c.left.size());
        // The index follows: every row left is found, the removed ones are not.
        for (std::size_t row = 0; row < c.left.size(); ++row)
            EXPECT_EQ(list.FindRow(c.left[row]), std::optional<std::size_t>(row));
        for (std::size_t row : c.selected)
            EXPECT_FALSE(list.FindRow("/a/" + std::to_string(row) + ".htm"));
    }
}

TEST(FileListRemoveTest, ARangeIsSelectedWithOneNotice) {
    FileList list(PathStyle::Posix);
    for (int i = 0; i < 6; ++i)
        AddRow(list, "/a/", std::to_string(i) + ".htm");
    struct Counter : FileListObserver {
        int changes = 0;
        void RowsChanged(std::size_t, std::size_t) override { ++changes; }
    } counter;
    list.AddObserver(&counter);
    list.SetSelectedRange(1, 99, true);  // cut at the end
    EXPECT_EQ(list.SelectedCount(), 5u);
    list.SetSelectedRange(2, 3, false);
    EXPECT_EQ(list.SelectedCount(), 3u);
    list.SetSelectedRange(2, 3, false);  // nothing changes: nobody is told
    list.SetSelectedRange(7, 9, true);   // past the end: nothing
    EXPECT_EQ(counter.changes, 2);
    EXPECT_FALSE(list.IsSelected(0));
    EXPECT_TRUE(list.IsSelected(1));
    EXPECT_FALSE(list.IsSelected(2));
    EXPECT_TRUE(list.IsSelected(5));
    list.RemoveObserver(&counter);
}

TEST(ImageForNameTest, KindComesFromTheExtensionLists) {
    const std::pair<std::string_view, int> cases[] = {
        {"INDEX.Htm", ImageHtmlChecked},   {"menu.js", ImageScriptChecked},
        {"notes.txt", ImageTextChecked},   {"page.htm.bak", ImageTextChecked},
        {"Makefile", ImageNone},           {"page. htm", ImageHtmlChecked},
        {"page.html", ImageTextChecked},    // " HTML" is an item with a blank in it
        {"page.", ImageHtmlChecked},        // the empty item
        {"a.b\\README", ImageTextChecked},  // a backslash is a name byte here
    };
    for (const auto& [file, image] : cases) {
        SCOPED_TRACE(file);
        EXPECT_EQ(ImageForName(PathStyle::Posix, file, "htm: HTML::", "JS:VBS"), image);
    }
    EXPECT_EQ(ImageForName(PathStyle::Windows, "C:\\a.b\\README", "HTM", "JS"), ImageNone);
}

TEST(FileListSortTest, ColumnClicksCycleThroughDirections) {
    FileList list(PathStyle::Posix);
    AddRow(list, "/b/", "2.htm", 20, 300);
    AddRow(list, "/a/", "1.htm", 30, 100);
    AddRow(list, "/c/", "3.htm", 10, 200);
    // Names ascend where sizes fall.
    const std::vector<std::string> up = {"/a/1.htm", "/b/2.htm", "/c/3.htm"};
    const std::vector<std::string> down(up.rbegin(), up.rend());
    const std::vector<std::string> byTime = {"/a/1.htm", "/c/3.htm", "/b/2.htm"};
    const struct {
        int column;
        bool ascending;
        std::vector<std::string> order;
    } steps[] = {
        {0, true, up},     {0, false, down},
        {0, true, up},    // the same column flips
        {1, true, down},  // a new column starts ascending
        {3, true, byTime}, {3, false, {byTime.rbegin(), byTime.rend()}},
    };
    for (const auto& step : steps) {
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
    for (auto [name, size] :
         {std::pair{"3", 3 * kGiB}, {"1", 2}, {"2", 2 * kGiB}, {"5", 5 * kGiB}, {"0", 0}})
        AddRow(list, "/d/", name, size);

    list.Sort(kColumnSourceSize, true);
    EXPECT_THAT(Paths(list), ElementsAre("/d/0", "/d/1", "/d/2", "/d/3", "/d/5", "(none)"));
    list.Sort(kColumnTrimmedSize, false);
    EXPECT_THAT(Paths(list), ElementsAre("/d/5", "/d/3", "/d/2", "/d/1", "/d/0", "(none)"));
    // Sort leaves the remembered column alone.
    EXPECT_EQ(list.SortColumn(), 0);
    EXPECT_FALSE(list.LastSortAscending());
}

TEST(FileListIndexTest, IndexAndObserversFollowSortRemoveAndFree) {
    FileList list(PathStyle::Posix);
    RecordingObserver observer(list);
    list.AddObserver(&observer);
    for (const char* name : {"d", "b", "a", "c", "e", "f"})
        AddRow(list, "/w/", name);
    EXPECT_EQ(list.FindRow("/w/a"), 2u);
    EXPECT_FALSE(list.FindRow("/w/A")) << "Posix paths respect letter case";

    list.Sort(kColumnName, true);
    EXPECT_EQ(list.FindRow("/w/e"), 4u);

    // One run of selected rows is removed as such; scattered rows go in one pass, reported
    // as a reset.
    list.SetSelected(1, true);
    list.SetSelected(2, true);
    EXPECT_EQ(list.RemoveSelectedRows(), 2u);
    EXPECT_THAT(Paths(list), ElementsAre("/w/a", "/w/d", "/w/e", "/w/f"));
    EXPECT_FALSE(list.FindRow("/w/b"));
    EXPECT_EQ(list.FindRow("/w/e"), 2u);
    list.SetSelected(0, true);
    list.SetSelected(2, true);
    list.RemoveSelectedRows();
    EXPECT_EQ(list.FindRow("/w/f"), 1u);
    EXPECT_EQ(list.SelectedCount(), 0u);
    EXPECT_THAT(observer.events, ElementsAre("reset?0..0 n=6", "reset0..0 n=6", "-?1..2 n=6",
                                             "-1..2 n=4", "reset?0..0 n=4", "reset0..0 n=2"));
    list.RemoveObserver(&observer);

    list.FreeAllEntries();
    EXPECT_EQ(list.RowCount(), 2u);
    EXPECT_FALSE(list.FindRow("/w/d"));
}

TEST(FileListWindowsTest, FoldsAsciiLettersButNotTrailBytesAndLabelsTheCommonFolder) {
    FileList list(PathStyle::Windows);
    AddRow(list, "C:\\a\\", "Index.HTM");
    // 83 41 and 83 61 are two different katakana; their trail bytes look like "A" and "a".
    AddRow(list, "c:\\A\\", "\x83\x41.htm");
    EXPECT_EQ(list.FindRow("c:\\a\\index.htm"), 0u);
    EXPECT_EQ(list.FindRow("C:\\A\\\x83\x41.HTM"), 1u);
    EXPECT_FALSE(list.FindRow("C:\\a\\\x83\x61.htm"));
    EXPECT_TRUE(list.SelectRowByPath("C:\\A\\INDEX.htm"));
    EXPECT_TRUE(list.IsSelected(0));
    EXPECT_FALSE(list.IsSelected(1));

    list.RefreshBaseFolder(false);
    EXPECT_EQ(list.BaseFolderLabel(), "");
    EXPECT_THAT(Paths(list, true), ElementsAre("", ""));
    list.RefreshBaseFolder(true);
    EXPECT_EQ(list.BaseFolderLabel(), "C:\\a\\");
    EXPECT_THAT(Paths(list, true), ElementsAre("Index.HTM", "\x83\x41.htm"));
    AddRow(list, "C:\\b\\", "three.htm");
    list.RefreshBaseFolder(true);
    EXPECT_EQ(list.BaseFolderLabel(), "");
    EXPECT_THAT(Paths(list, true),
                ElementsAre("C:\\a\\Index.HTM", "c:\\A\\\x83\x41.htm", "C:\\b\\three.htm"));
}

}  // namespace
}  // namespace trimlet
