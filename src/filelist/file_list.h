#pragma once
// The rows of the task's file list. Each row has its FileEntry (owned, possibly absent),
// an image index that holds the file kind and the check mark, four column texts and a
// selected state. The list keeps an index of the rows by full path, so finding a listed
// file costs the same for ten rows as for ten thousand, and tells its observers about every
// change so that a window can follow.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "batch/output_paths.h"
#include "platform/file_info.h"

namespace trimlet {

// The record behind one row.
struct FileEntry {
    std::uint64_t sourceSize = 0;   // bytes the trim read; 0 when the preview failed
    std::uint64_t trimmedSize = 0;  // bytes after trimming; 0 when the preview failed
    std::string folder;             // the file's folder with exactly one trailing separator
    FindRecord findData;            // the file's record; `findData.name` is the file name
};

// Row images: the file kind and whether the next run trims the file.
inline constexpr int ImageNone = -1;  // no picture: a name without "."; never checked
inline constexpr int ImageHtml = 0;
inline constexpr int ImageText = 1;
inline constexpr int ImageHtmlChecked = 2;
inline constexpr int ImageTextChecked = 3;
inline constexpr int ImageFolder = 4;  // never given to a row
inline constexpr int ImageScript = 5;
inline constexpr int ImageScriptChecked = 6;

// The image of the same kind with the check mark (0->2, 1->3, 5->6), without it
// (2->0, 3->1, 6->5), and swapped; other images come back unchanged.
int CheckedImage(int image);
int UncheckedImage(int image);
int ToggledImage(int image);
bool IsCheckedImage(int image);

// Columns: full path (or bare name), file size, trimmed size with percentage, time.
inline constexpr int kColumnName = 0;
inline constexpr int kColumnSourceSize = 1;
inline constexpr int kColumnTrimmedSize = 2;
inline constexpr int kColumnModified = 3;
inline constexpr int kColumnCount = 4;

// Whether `extension` (one leading "." dropped) is an item of the ":"-separated `list`,
// ignoring letter case. Blanks inside the list belong to the items.
bool ExtensionInList(std::string_view extension, std::string_view list);

// The image a new row gets for the file `name`: -1 when the name (blanks trimmed, text
// after its last separator) has no "."; else by the text after the last "." (its left
// blanks trimmed) ImageHtmlChecked for an HTML extension, ImageScriptChecked for a script
// extension, ImageTextChecked for any other.
int ImageForName(PathStyle style, std::string_view name, std::string_view htmlExtensions,
                 std::string_view scriptExtensions);

// `folder` as a row stores it: trailing separators (and, in Windows style, blanks) cut,
// then exactly one separator. Empty for an empty folder.
std::string StoredFolder(PathStyle style, std::string_view folder);

// Told about every change of a FileList, after it happened (and before, where a model
// needs to know in advance). Row ranges are inclusive.
class FileListObserver {
  public:
    virtual ~FileListObserver() = default;
    virtual void RowsAboutToBeInserted(std::size_t /*first*/, std::size_t /*last*/) {}
    virtual void RowsInserted(std::size_t /*first*/, std::size_t /*last*/) {}
    virtual void RowsAboutToBeRemoved(std::size_t /*first*/, std::size_t /*last*/) {}
    virtual void RowsRemoved(std::size_t /*first*/, std::size_t /*last*/) {}
    // Texts, image or selected state of the rows changed.
    virtual void RowsChanged(std::size_t /*first*/, std::size_t /*last*/) {}
    // The rows were reordered or all removed: everything is to be read again.
    virtual void ListAboutToBeReset() {}
    virtual void ListReset() {}
    virtual void BaseFolderChanged() {}
};

class FileList {
  public:
    explicit FileList(PathStyle style) : style_(style) {}
    FileList(const FileList&) = delete;
    FileList& operator=(const FileList&) = delete;

    PathStyle Style() const { return style_; }

    void AddObserver(FileListObserver* observer);
    void RemoveObserver(FileListObserver* observer);

    // ---- Reading ----
    std::size_t RowCount() const { return rows_.size(); }
    bool Empty() const { return rows_.empty(); }
    // The row's entry; nullptr when it has none (or the row does not exist).
    const FileEntry* Entry(std::size_t row) const;
    int Image(std::size_t row) const;
    const std::string& Text(std::size_t row, int column) const;
    bool IsSelected(std::size_t row) const;
    // The row's image is 2, 3 or 6.
    bool IsChecked(std::size_t row) const;
    // Why the last run did not write the row's file: where the check found its trimmed
    // result differing from the page. Empty for none.
    const std::string& Warning(std::size_t row) const;
    std::size_t SelectedCount() const { return selectedCount_; }
    std::size_t CheckedCount() const { return checkedCount_; }
    // The entry's folder and name joined; empty when the row has no entry.
    std::string FullPath(std::size_t row) const;
    // The first row whose full path is `path` under the list's path style.
    std::optional<std::size_t> FindRow(std::string_view path) const;
    // The first row whose entry records the file `identity` when it was last measured;
    // nothing for an unknown identity. The file may have been replaced since.
    std::optional<std::size_t> FindRowByIdentity(const FileIdentity& identity) const;
    const std::string& BaseFolderLabel() const { return baseFolderLabel_; }

    // ---- Rows ----
    // Inserts a row at `index` (at the end when `index` is past it) and returns its index.
    std::size_t InsertRow(std::size_t index, std::unique_ptr<FileEntry> entry, int image,
                          std::array<std::string, kColumnCount> texts, bool selected);
    // Deletes every selected row (from the last to the first); returns how many.
    std::size_t RemoveSelectedRows();
    // Deletes every row.
    void RemoveAllRows();
    // Releases the entry of every row; the rows stay.
    void FreeAllEntries();

    // ---- Row state ----
    void SetText(std::size_t row, int column, std::string text);
    // Columns 1 to 3 at once.
    void SetSizeTexts(std::size_t row, std::string sourceSize, std::string trimmedSize,
                      std::string modified);
    void SetImage(std::size_t row, int image);
    void SetWarning(std::size_t row, std::string warning);
    // Stores a new measurement in the row's entry: both sizes and, when given, the file's
    // attributes, times, size and identity (the name stays). Nothing when the row has no entry.
    void UpdateMeasures(std::size_t row, std::uint64_t sourceSize, std::uint64_t trimmedSize,
                        const FindRecord* record);
    void SetSelected(std::size_t row, bool selected);
    // SetSelected for rows [first, last] (cut at the end), told to observers once.
    void SetSelectedRange(std::size_t first, std::size_t last, bool selected);
    void SelectAll();
    void DeselectAll();
    // Selects the first row whose full path is `path`; no other row changes. False when no
    // row has that path.
    bool SelectRowByPath(std::string_view path);
    // Checking maps 0->2, 1->3, 5->6, unchecking the reverse; other images stay.
    void CheckRow(std::size_t row);
    void UncheckRow(std::size_t row);

    // ---- Sorting ----
    // A click on the header of `column`: ascending, unless it is the column sorted last,
    // which then flips direction. Remembers the column and the direction.
    void SortByColumnClick(int column);
    // Sorts by `column` without touching the remembered column and direction. Rows without
    // an entry go last in both directions; equal rows keep their order.
    void Sort(int column, bool ascending);
    int SortColumn() const { return sortColumn_; }
    bool LastSortAscending() const { return lastSortAscending_; }

    // ---- Base folder ----
    // With the bar shown: when every row lies in one folder (compared by the path style),
    // the label is that folder and column 0 the bare names; otherwise the label is empty
    // and column 0 the full paths. Does nothing while the bar is hidden.
    void RefreshBaseFolder(bool showBaseFolder);
    void SetBaseFolderLabel(std::string label);
    // Column 0 of every row becomes its full path.
    void ShowFullPaths();

  private:
    struct Row {
        std::unique_ptr<FileEntry> entry;
        int image = ImageNone;
        std::array<std::string, kColumnCount> texts;
        bool selected = false;
        std::string warning;
    };

    // The key under which a path is indexed: the path itself, or in Windows style with its
    // ASCII letters folded (trail bytes of double-byte characters kept).
    std::string PathKey(std::string_view path) const;
    std::string EntryKey(const FileEntry& entry) const;
    void RebuildIndex();
    void NotifyChanged(std::size_t first, std::size_t last);

    PathStyle style_;
    std::vector<Row> rows_;
    std::unordered_map<std::string, std::size_t> index_;
    struct IdentityHash {
        std::size_t operator()(const FileIdentity& id) const {
            return std::hash<std::uint64_t>()(id.inode * 31 + id.device);
        }
    };
    std::unordered_map<FileIdentity, std::size_t, IdentityHash> identityIndex_;
    std::vector<FileListObserver*> observers_;
    std::string baseFolderLabel_;
    std::size_t selectedCount_ = 0;
    std::size_t checkedCount_ = 0;
    int sortColumn_ = 0;
    bool lastSortAscending_ = false;
};

}  // namespace trimlet
