#pragma once
// A task editor over a fresh temporary folder, an in-memory profile and scripted dialogs,
// with readers for what the list shows.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "batch/format.h"
#include "common/scripted_dialogs.h"
#include "filelist/task_editor.h"
#include "settings/memory_profile.h"
#include "test_support.h"

namespace trimlet::test {

// Content the trim leaves as it is, whatever the mode: 8 bytes.
inline constexpr std::string_view kPlainHtml = "<p>a</p>";
// A NUL byte in the first kilobyte: the file does not look like text.
inline constexpr std::string_view kBinary{"GIF89a\0\0\x01\x02", 10};

class EditorTest : public ::testing::Test {
  protected:
    void TearDown() override {
        EXPECT_THAT(dialogs.UnexpectedCalls(), ::testing::IsEmpty());
        EXPECT_TRUE(dialogs.AllAnswersUsed());
    }

    TaskEditor& Make(PathStyle style = PathStyle::Posix) {
        editor = std::make_unique<TaskEditor>(dialogs, profile, style, [this](std::string& f) {
            f = dir.path().string();
            return true;
        });
        return *editor;
    }
    TaskEditor& Editor() { return editor ? *editor : Make(); }
    FileList& List() { return Editor().List(); }

    // Writes `bytes` to dir/name and returns the full path.
    std::string Write(std::string_view name, std::string_view bytes = kPlainHtml) {
        return dir.Write(name, bytes);
    }
    // Makes dir/name a folder and returns its path (no trailing separator).
    std::string Folder(std::string_view name) {
        std::filesystem::create_directories(dir.path() / name);
        return dir.File(name);
    }
    // The folder path of the temporary folder with one trailing separator.
    std::string Base() { return dir.path().string() + "/"; }

    // The rows' full paths, relative to the temporary folder where they lie in it.
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (std::size_t row = 0; row < List().RowCount(); ++row) {
            const std::string path = List().FullPath(row);
            names.push_back(path.rfind(Base(), 0) == 0 ? path.substr(Base().size()) : path);
        }
        return names;
    }
    std::vector<int> Images() {
        std::vector<int> images;
        for (std::size_t row = 0; row < List().RowCount(); ++row)
            images.push_back(List().Image(row));
        return images;
    }
    std::vector<std::size_t> SelectedRows() {
        std::vector<std::size_t> rows;
        for (std::size_t row = 0; row < List().RowCount(); ++row) {
            if (List().IsSelected(row)) rows.push_back(row);
        }
        return rows;
    }
    // Columns 1 to 3 of `row`.
    std::vector<std::string> SizeTexts(std::size_t row) {
        return {List().Text(row, 1), List().Text(row, 2), List().Text(row, 3)};
    }
    static std::vector<std::string> Placeholders() {
        return {"---", "---( --%)", "----/--/-- --:--"};
    }
    // Column 3 as the list shows the file's current time.
    std::string TimeText(const std::string& path) {
        FindRecord record;
        EXPECT_EQ(GetFindRecord(path, record), RESULT_OK);
        return FormatListTime(record.lastWriteTime);
    }

    TempDir dir;
    MemoryProfile profile;
    ScriptedDialogs dialogs;
    std::unique_ptr<TaskEditor> editor;
};

// A Windows-style record for AddEntry; such a path never exists here, so the preview fails.
inline FindRecord WindowsRecord(std::string name) {
    FindRecord record;
    record.name = std::move(name);
    record.size = 1234;
    return record;
}

}  // namespace trimlet::test
