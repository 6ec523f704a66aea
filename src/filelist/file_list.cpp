#include "filelist/file_list.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace trimlet {

namespace {

constexpr std::string_view kBlanks = " \t\r\n\v\f";

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsCp932Lead(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

bool IsCp932Trail(unsigned char c) {
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

int CompareTimes(FileTime a, FileTime b) {
    return a < b ? -1 : (a > b ? 1 : 0);
}

int CompareSizes(std::uint64_t a, std::uint64_t b) {
    return a < b ? -1 : (a > b ? 1 : 0);
}

}  // namespace

int CheckedImage(int image) {
    switch (image) {
        case ImageHtml:
            return ImageHtmlChecked;
        case ImageText:
            return ImageTextChecked;
        case ImageScript:
            return ImageScriptChecked;
        default:
            return image;
    }
}

int UncheckedImage(int image) {
    switch (image) {
        case ImageHtmlChecked:
            return ImageHtml;
        case ImageTextChecked:
            return ImageText;
        case ImageScriptChecked:
            return ImageScript;
        default:
            return image;
    }
}

int ToggledImage(int image) {
    return IsCheckedImage(image) ? UncheckedImage(image) : CheckedImage(image);
}

bool IsCheckedImage(int image) {
    return image == ImageHtmlChecked || image == ImageTextChecked || image == ImageScriptChecked;
}

bool ExtensionInList(std::string_view extension, std::string_view list) {
    if (!extension.empty() && extension.front() == '.') extension.remove_prefix(1);
    // ":" + list + ":" holding ":" + extension + ":" is the same as one item being equal.
    for (;;) {
        const std::size_t colon = list.find(':');
        const std::string_view item = list.substr(0, colon);
        if (item.size() == extension.size() &&
            std::equal(item.begin(), item.end(), extension.begin(),
                       [](char a, char b) { return AsciiUpper(a) == AsciiUpper(b); })) {
            return true;
        }
        if (colon == std::string_view::npos) return false;
        list.remove_prefix(colon + 1);
    }
}

int ImageForName(PathStyle style, std::string_view name, std::string_view htmlExtensions,
                 std::string_view scriptExtensions) {
    name = TrimBlanks(name);
    const std::size_t separator = name.rfind(PathSeparator(style));
    if (separator != std::string_view::npos) name.remove_prefix(separator + 1);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return ImageNone;
    std::string_view extension = name.substr(dot + 1);
    const std::size_t first = extension.find_first_not_of(kBlanks);
    extension = first == std::string_view::npos ? std::string_view() : extension.substr(first);
    if (ExtensionInList(extension, htmlExtensions)) return ImageHtmlChecked;
    if (ExtensionInList(extension, scriptExtensions)) return ImageScriptChecked;
    return ImageTextChecked;
}

std::string StoredFolder(PathStyle style, std::string_view folder) {
    if (folder.empty()) return {};
    std::string stored = CutTrailingSeparators(style, folder);
    stored.push_back(PathSeparator(style));
    return stored;
}

// ---- Observers ----

void FileList::AddObserver(FileListObserver* observer) {
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void FileList::RemoveObserver(FileListObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void FileList::NotifyChanged(std::size_t first, std::size_t last) {
    for (FileListObserver* o : observers_)
        o->RowsChanged(first, last);
}

// ---- Reading ----

const FileEntry* FileList::Entry(std::size_t row) const {
    return row < rows_.size() ? rows_[row].entry.get() : nullptr;
}

int FileList::Image(std::size_t row) const {
    return row < rows_.size() ? rows_[row].image : ImageNone;
}

const std::string& FileList::Warning(std::size_t row) const {
    static const std::string kNone;
    return row < rows_.size() ? rows_[row].warning : kNone;
}

const std::string& FileList::Text(std::size_t row, int column) const {
    static const std::string kNone;
    if (row >= rows_.size() || column < 0 || column >= kColumnCount) return kNone;
    return rows_[row].texts[static_cast<std::size_t>(column)];
}

bool FileList::IsSelected(std::size_t row) const {
    return row < rows_.size() && rows_[row].selected;
}

bool FileList::IsChecked(std::size_t row) const {
    return row < rows_.size() && IsCheckedImage(rows_[row].image);
}

std::string FileList::FullPath(std::size_t row) const {
    const FileEntry* entry = Entry(row);
    if (!entry) return {};
    return entry->folder + entry->findData.name;
}

std::optional<std::size_t> FileList::FindRow(std::string_view path) const {
    const auto found = index_.find(PathKey(path));
    if (found == index_.end()) return std::nullopt;
    return found->second;
}

std::optional<std::size_t> FileList::FindRowByIdentity(const FileIdentity& identity) const {
    if (!identity.Known()) return std::nullopt;
    const auto found = identityIndex_.find(identity);
    if (found == identityIndex_.end()) return std::nullopt;
    return found->second;
}

std::string FileList::PathKey(std::string_view path) const {
    std::string key(path);
    if (style_ == PathStyle::Posix) return key;
    for (std::size_t i = 0; i < key.size(); ++i) {
        const auto c = static_cast<unsigned char>(key[i]);
        if (IsCp932Lead(c) && i + 1 < key.size() &&
            IsCp932Trail(static_cast<unsigned char>(key[i + 1]))) {
            ++i;  // a trail byte is never a letter
            continue;
        }
        key[i] = AsciiLower(key[i]);
    }
    return key;
}

std::string FileList::EntryKey(const FileEntry& entry) const {
    return PathKey(entry.folder + entry.findData.name);
}

void FileList::RebuildIndex() {
    index_.clear();
    index_.reserve(rows_.size());
    identityIndex_.clear();
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        // emplace keeps an earlier row with the same key: the first row wins.
        const FileEntry* entry = rows_[row].entry.get();
        if (!entry) continue;
        index_.emplace(EntryKey(*entry), row);
        if (entry->findData.identity.Known()) identityIndex_.emplace(entry->findData.identity, row);
    }
}

// ---- Rows ----

std::size_t FileList::InsertRow(std::size_t index, std::unique_ptr<FileEntry> entry, int image,
                                std::array<std::string, kColumnCount> texts, bool selected) {
    index = std::min(index, rows_.size());
    for (FileListObserver* o : observers_)
        o->RowsAboutToBeInserted(index, index);
    const bool append = index == rows_.size();
    std::string key = entry ? EntryKey(*entry) : std::string();
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(index),
                 Row{std::move(entry), image, std::move(texts), selected, {}});
    if (selected) ++selectedCount_;
    if (IsCheckedImage(image)) ++checkedCount_;
    if (!append) {
        RebuildIndex();
    } else if (const FileEntry* added = rows_[index].entry.get()) {
        index_.emplace(std::move(key), index);
        if (added->findData.identity.Known())
            identityIndex_.emplace(added->findData.identity, index);
    }
    for (FileListObserver* o : observers_)
        o->RowsInserted(index, index);
    return index;
}

std::size_t FileList::RemoveSelectedRows() {
    if (selectedCount_ == 0) return 0;
    // The rows to go are fixed before anyone is told: an observer that deselects the rows
    // it is told are about to be removed (as a view's selection does) changes nothing here.
    std::vector<bool> doomed(rows_.size(), false);
    // One run of selected rows is removed as such; scattered rows are removed in one pass
    // and reported as a reset, so that removing every other row of a long list stays linear.
    std::size_t blocks = 0;
    std::size_t first = 0;
    std::size_t last = 0;
    std::size_t removed = 0;
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        if (!rows_[row].selected) continue;
        doomed[row] = true;
        ++removed;
        if (row == 0 || !rows_[row - 1].selected) {
            ++blocks;
            first = row;
        }
        last = row;
    }
    if (blocks == 1) {
        for (FileListObserver* o : observers_)
            o->RowsAboutToBeRemoved(first, last);
    } else {
        for (FileListObserver* o : observers_)
            o->ListAboutToBeReset();
    }
    std::size_t kept = 0;
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        if (doomed[row]) continue;
        if (kept != row) rows_[kept] = std::move(rows_[row]);
        ++kept;
    }
    rows_.resize(kept);
    selectedCount_ = 0;
    checkedCount_ = 0;
    for (const Row& r : rows_) {
        if (IsCheckedImage(r.image)) ++checkedCount_;
        if (r.selected) ++selectedCount_;
    }
    RebuildIndex();
    if (blocks == 1) {
        for (FileListObserver* o : observers_)
            o->RowsRemoved(first, last);
    } else {
        for (FileListObserver* o : observers_)
            o->ListReset();
    }
    return removed;
}

void FileList::RemoveAllRows() {
    for (FileListObserver* o : observers_)
        o->ListAboutToBeReset();
    rows_.clear();
    index_.clear();
    identityIndex_.clear();
    selectedCount_ = 0;
    checkedCount_ = 0;
    for (FileListObserver* o : observers_)
        o->ListReset();
}

void FileList::FreeAllEntries() {
    for (Row& row : rows_)
        row.entry.reset();
    index_.clear();
    identityIndex_.clear();
}

// ---- Row state ----

void FileList::SetText(std::size_t row, int column, std::string text) {
    if (row >= rows_.size() || column < 0 || column >= kColumnCount) return;
    std::string& slot = rows_[row].texts[static_cast<std::size_t>(column)];
    if (slot == text) return;
    slot = std::move(text);
    NotifyChanged(row, row);
}

void FileList::SetSizeTexts(std::size_t row, std::string sourceSize, std::string trimmedSize,
                            std::string modified) {
    if (row >= rows_.size()) return;
    auto& texts = rows_[row].texts;
    texts[kColumnSourceSize] = std::move(sourceSize);
    texts[kColumnTrimmedSize] = std::move(trimmedSize);
    texts[kColumnModified] = std::move(modified);
    NotifyChanged(row, row);
}

void FileList::SetImage(std::size_t row, int image) {
    if (row >= rows_.size() || rows_[row].image == image) return;
    if (IsCheckedImage(rows_[row].image)) --checkedCount_;
    if (IsCheckedImage(image)) ++checkedCount_;
    rows_[row].image = image;
    NotifyChanged(row, row);
}

void FileList::SetWarning(std::size_t row, std::string warning) {
    if (row >= rows_.size() || rows_[row].warning == warning) return;
    rows_[row].warning = std::move(warning);
    NotifyChanged(row, row);
}

void FileList::UpdateMeasures(std::size_t row, std::uint64_t sourceSize, std::uint64_t trimmedSize,
                              const FindRecord* record) {
    if (row >= rows_.size() || !rows_[row].entry) return;
    FileEntry& entry = *rows_[row].entry;
    entry.sourceSize = sourceSize;
    entry.trimmedSize = trimmedSize;
    if (record) {
        // The name is part of the row's identity (and its index key): it stays.
        entry.findData.attributes = record->attributes;
        entry.findData.creationTime = record->creationTime;
        entry.findData.lastAccessTime = record->lastAccessTime;
        entry.findData.lastWriteTime = record->lastWriteTime;
        entry.findData.size = record->size;
        // A file trimmed in place is a new file on disk: the index follows it.
        if (record->identity != entry.findData.identity) {
            const auto old = identityIndex_.find(entry.findData.identity);
            if (old != identityIndex_.end() && old->second == row) identityIndex_.erase(old);
            entry.findData.identity = record->identity;
            if (record->identity.Known()) identityIndex_.emplace(record->identity, row);
        }
    }
}

void FileList::SetSelected(std::size_t row, bool selected) {
    if (row >= rows_.size() || rows_[row].selected == selected) return;
    rows_[row].selected = selected;
    selected ? ++selectedCount_ : --selectedCount_;
    NotifyChanged(row, row);
}

void FileList::SetSelectedRange(std::size_t first, std::size_t last, bool selected) {
    if (first >= rows_.size() || last < first) return;
    last = std::min(last, rows_.size() - 1);
    bool changed = false;
    for (std::size_t row = first; row <= last; ++row) {
        if (rows_[row].selected == selected) continue;
        rows_[row].selected = selected;
        selected ? ++selectedCount_ : --selectedCount_;
        changed = true;
    }
    if (changed) NotifyChanged(first, last);
}

void FileList::SelectAll() {
    if (rows_.empty() || selectedCount_ == rows_.size()) return;
    for (Row& row : rows_)
        row.selected = true;
    selectedCount_ = rows_.size();
    NotifyChanged(0, rows_.size() - 1);
}

void FileList::DeselectAll() {
    if (selectedCount_ == 0) return;
    for (Row& row : rows_)
        row.selected = false;
    selectedCount_ = 0;
    NotifyChanged(0, rows_.size() - 1);
}

bool FileList::SelectRowByPath(std::string_view path) {
    const std::optional<std::size_t> row = FindRow(path);
    if (!row) return false;
    SetSelected(*row, true);
    return true;
}

void FileList::CheckRow(std::size_t row) {
    SetImage(row, CheckedImage(Image(row)));
}

void FileList::UncheckRow(std::size_t row) {
    SetImage(row, UncheckedImage(Image(row)));
}

// ---- Sorting ----

void FileList::SortByColumnClick(int column) {
    const bool ascending = column == sortColumn_ ? !lastSortAscending_ : true;
    sortColumn_ = column;
    lastSortAscending_ = ascending;
    Sort(column, ascending);
}

void FileList::Sort(int column, bool ascending) {
    if (rows_.size() < 2) return;
    // Column 0 compares keys made once per row rather than paths joined per comparison.
    std::vector<std::string> keys;
    if (column == kColumnName) {
        keys.resize(rows_.size());
        for (std::size_t row = 0; row < rows_.size(); ++row) {
            if (rows_[row].entry) keys[row] = EntryKey(*rows_[row].entry);
        }
    }
    const auto compare = [&](std::size_t a, std::size_t b) {
        const FileEntry* ea = rows_[a].entry.get();
        const FileEntry* eb = rows_[b].entry.get();
        if (!ea) return eb ? 1 : 0;
        if (!eb) return -1;
        int order = 0;
        switch (column) {
            case kColumnName:
                order = keys[a].compare(keys[b]);
                order = order < 0 ? -1 : (order > 0 ? 1 : 0);
                break;
            case kColumnSourceSize:
                order = CompareSizes(ea->sourceSize, eb->sourceSize);
                break;
            case kColumnTrimmedSize:
                order = CompareSizes(ea->trimmedSize, eb->trimmedSize);
                break;
            case kColumnModified:
                order = CompareTimes(ea->findData.lastWriteTime, eb->findData.lastWriteTime);
                break;
            default:
                break;
        }
        return ascending ? order : -order;
    };

    std::vector<std::size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return compare(a, b) < 0; });

    for (FileListObserver* o : observers_)
        o->ListAboutToBeReset();
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    for (std::size_t row : order)
        sorted.push_back(std::move(rows_[row]));
    rows_.swap(sorted);
    RebuildIndex();
    for (FileListObserver* o : observers_)
        o->ListReset();
}

// ---- Base folder ----

void FileList::RefreshBaseFolder(bool showBaseFolder) {
    if (!showBaseFolder) return;
    std::string common;
    if (!rows_.empty() && rows_[0].entry) {
        common = rows_[0].entry->folder;
        for (std::size_t row = 1; row < rows_.size(); ++row) {
            const FileEntry* entry = rows_[row].entry.get();
            if (!entry || !IsSamePath(style_, entry->folder, common)) {
                common.clear();
                break;
            }
        }
    }
    bool changed = false;
    for (Row& row : rows_) {
        if (!row.entry) continue;
        std::string text = common.empty() ? row.entry->folder + row.entry->findData.name
                                          : row.entry->findData.name;
        if (row.texts[kColumnName] != text) {
            row.texts[kColumnName] = std::move(text);
            changed = true;
        }
    }
    if (changed) NotifyChanged(0, rows_.size() - 1);
    SetBaseFolderLabel(std::move(common));
}

void FileList::SetBaseFolderLabel(std::string label) {
    if (label == baseFolderLabel_) return;
    baseFolderLabel_ = std::move(label);
    for (FileListObserver* o : observers_)
        o->BaseFolderChanged();
}

void FileList::ShowFullPaths() {
    bool changed = false;
    for (Row& row : rows_) {
        if (!row.entry) continue;
        std::string path = row.entry->folder + row.entry->findData.name;
        if (row.texts[kColumnName] != path) {
            row.texts[kColumnName] = std::move(path);
            changed = true;
        }
    }
    if (changed) NotifyChanged(0, rows_.size() - 1);
}

}  // namespace trimlet
