#pragma once
// A task editor over a fresh temporary folder, an in-memory profile and scripted dialogs,
// with readers for what the list and the dialogs show.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "batch/format.h"
#include "editor/task_editor.h"
#include "scripted_dialogs.h"
#include "settings/memory_profile.h"
#include "test_support.h"

namespace trimlet::test {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Content the trim leaves as it is, whatever the mode: 8 bytes.
inline constexpr std::string_view kPlainHtml = "<p>a</p>";
// A NUL byte in the first kilobyte: the file does not look like text.
inline constexpr std::string_view kBinary{"GIF89a\0\0\x01\x02", 10};
// Columns 1 to 3 of a row whose file could not be measured.
inline const std::vector<std::string> kPlaceholders = {"---", "---( --%)", "----/--/-- --:--"};

// A message box as Shown() lists it: its id, a blank, its text.
template <typename... Args>
std::string Msg(int id, const Args&... args) {
    return std::to_string(id) + " " + FormatMessage(id, args...);
}

// A task file of the current format listing `paths`.
inline std::string TaskText(const std::vector<std::string>& paths,
                            std::string_view version = "1.50.00",
                            std::string_view mode = "260143148",
                            std::string_view folder = "Trimlet") {
    std::string text = "TrimletHTML TASK FILE\r\n";
    for (std::string_view line : {version, mode, folder})
        (text += line) += "\r\n";
    for (const std::string& path : paths)
        (text += path) += "\r\n";
    return text;
}

class EditorTest : public ::testing::Test {
  protected:
    void TearDown() override {
        EXPECT_THAT(dialogs.UnexpectedCalls(), IsEmpty());
        EXPECT_TRUE(dialogs.AllAnswersUsed());
    }

    // A new editor over the same profile; the dialog calls recorded so far are forgotten.
    TaskEditor& Make(PathStyle style = PathStyle::Posix) {
        dialogs.ClearCalls();
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
    // The temporary folder with one trailing separator.
    std::string Base() { return dir.path().string() + "/"; }
    // Writes a plain page under each name and drops them all on the list.
    void Drop(std::initializer_list<std::string_view> names) {
        std::vector<std::string> paths;
        for (std::string_view name : names)
            paths.push_back(Write(name));
        Editor().AddDroppedFiles(paths);
    }

    // f(row) for every row.
    template <typename F>
    auto PerRow(F f) {
        std::vector<decltype(f(std::size_t{0}))> values;
        for (std::size_t row = 0; row < List().RowCount(); ++row)
            values.push_back(f(row));
        return values;
    }
    // The rows' full paths, relative to the temporary folder where they lie in it.
    std::vector<std::string> Names() {
        return PerRow([&](std::size_t row) {
            const std::string path = List().FullPath(row);
            return path.rfind(Base(), 0) == 0 ? path.substr(Base().size()) : path;
        });
    }
    std::vector<int> Images() {
        return PerRow([&](std::size_t row) { return List().Image(row); });
    }
    // One character per row: '1' selected, '0' not.
    std::string Selected() {
        std::string marks;
        for (bool selected : PerRow([&](std::size_t row) { return List().IsSelected(row); }))
            marks += selected ? '1' : '0';
        return marks;
    }
    // Columns 1 to 3 of `row`.
    std::vector<std::string> SizeTexts(std::size_t row) {
        return {List().Text(row, 1), List().Text(row, 2), List().Text(row, 3)};
    }
    // Column 3 as the list shows the file's current time.
    std::string TimeText(const std::string& path) {
        FindRecord record;
        EXPECT_EQ(GetFindRecord(path, record), RESULT_OK);
        return FormatListTime(record.lastWriteTime);
    }

    // Every dialog shown, in order: message boxes as Msg() writes them, others by Key().
    std::vector<std::string> Shown() {
        std::vector<std::string> shown;
        for (const DialogCall& call : dialogs.Calls()) {
            shown.push_back(call.kind == DialogKind::Message
                                ? std::to_string(call.messageId) + " " + call.text
                                : call.Key());
        }
        return shown;
    }
    // The last summary shown: succeeded, skipped, source total, trimmed total.
    std::vector<std::uint64_t> Summary() {
        const RunSummary& s = dialogs.Calls().back().summary;
        return {s.succeededCount, s.skippedCount, s.sourceTotal, s.trimmedTotal};
    }

    TempDir dir;
    MemoryProfile profile;
    ScriptedDialogs dialogs;
    std::unique_ptr<TaskEditor> editor;
};

}  // namespace trimlet::test
