// The commands that trim files ahead on worker threads show, ask and write exactly what a run
// one file at a time does, in the same order, also when files fail, change under them or the
// user stops.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "batch/format.h"
#include "common/messages.h"
#include "common/scripted_dialogs.h"
#include "filelist/task_editor.h"
#include "settings/memory_profile.h"
#include "test_support.h"

namespace trimlet::test {
namespace {

namespace fs = std::filesystem;

// Scripted answers, with a hook that runs when the output-exists dialog comes up: the
// moment to change files the workers may have trimmed already.
class HookedDialogs final : public Dialogs {
  public:
    ScriptedDialogs script;
    std::function<void()> onOutputExists;
    std::function<void(const MessageRequest&)> onMessage;

    OutputExistsAnswer OutputExistsDialog(const OutputExistsRequest& request) override {
        if (onOutputExists) onOutputExists();
        return script.OutputExistsDialog(request);
    }
    MessageAnswer ShowMessage(const MessageRequest& r) override {
        if (onMessage) onMessage(r);
        return script.ShowMessage(r);
    }
    FolderCreationAnswer FolderCreationDialog(std::string_view text) override {
        return script.FolderCreationDialog(text);
    }
    SettingsMismatchAnswer SettingsMismatchDialog(std::string_view report) override {
        return script.SettingsMismatchDialog(report);
    }
    std::optional<std::uint32_t> AlertVersionDialog(std::uint32_t mode) override {
        return script.AlertVersionDialog(mode);
    }
    void ResultSummaryDialog(const RunSummary& summary) override {
        script.ResultSummaryDialog(summary);
    }
    std::optional<std::string> OpenTaskFileDialog(int titleId, std::string_view folder) override {
        return script.OpenTaskFileDialog(titleId, folder);
    }
    std::optional<std::string> SaveTaskFileDialog(std::string_view folder,
                                                  std::string_view name) override {
        return script.SaveTaskFileDialog(folder, name);
    }
    std::optional<ChosenFiles> AddFilesDialog(std::string_view folder) override {
        return script.AddFilesDialog(folder);
    }
    std::optional<std::string> BrowseFolderDialog() override { return script.BrowseFolderDialog(); }
    bool AlertCRRegAsWSPDialog(bool dontShowAgain) override {
        return script.AlertCRRegAsWSPDialog(dontShowAgain);
    }
    std::optional<std::string> AddExtensionDialog() override { return script.AddExtensionDialog(); }
    bool OptionsSheet() override { return script.OptionsSheet(); }
};

std::string Page(int i) {
    std::string page = "<html>\n  <!-- page " + std::to_string(i) + " -->\n  <p>  text  </p>\n";
    page.append(static_cast<std::size_t>(i % 9) * 41, ' ');
    return page + "\n<script>\n  var x = " + std::to_string(i) + " ;  // n\n</script>\n</html>\n";
}

std::string Name(int i) {
    return (i < 10 ? "p0" : "p") + std::to_string(i) + ".htm";
}

// Everything a command left behind, with the site's folder written as "<site>".
struct Record {
    std::vector<std::string> shown;
    std::vector<std::string> rows;     // path, images, size columns (not the time)
    std::vector<std::string> outputs;  // the output folder's files and contents
    RunSummary summary;
    bool operator==(const Record& o) const {
        return shown == o.shown && rows == o.rows && outputs == o.outputs &&
               summary.succeededCount == o.summary.succeededCount &&
               summary.skippedCount == o.summary.skippedCount &&
               summary.sourceTotal == o.summary.sourceTotal &&
               summary.trimmedTotal == o.summary.trimmedTotal;
    }
};

void PrintTo(const Record& r, std::ostream* os) {
    for (const auto& list : {r.shown, r.rows, r.outputs}) {
        for (const std::string& s : list)
            *os << s << "\n";
    }
}

constexpr int kPages = 30;

class SiteRun {
  public:
    explicit SiteRun(bool ahead) : site_((dir_.path() / "site").string()) {
        fs::create_directories(fs::path(site_) / "Trimlet");
        for (int i = 0; i < kPages; ++i)
            dir_.Write("site/" + Name(i), Page(i));
        dir_.Write("site/Trimlet/" + Name(4), "old");
        editor_ = std::make_unique<TaskEditor>(dialogs, profile_, PathStyle::Posix,
                                               [this](std::string& f) {
                                                   f = site_;
                                                   return true;
                                               });
        TrimAheadOptions options;
        options.threads = 2;
        options.maxFilesAhead = 64;
        options.settledSeconds = 0;
        if (!ahead) options.maxFilesAhead = 0;
        editor_->SetTrimAheadOptions(options);
        editor_->Settings().alertCreateOutputFolder = false;
        editor_->AddChosenFolder(site_);
    }

    std::string File(int i) const { return site_ + "/" + Name(i); }
    TaskEditor& Editor() { return *editor_; }

    Record Take() {
        Record record;
        const auto relative = [this](std::string text) {
            for (std::size_t at; (at = text.find(site_)) != std::string::npos;)
                text.replace(at, site_.size(), "<site>");
            return text;
        };
        for (const DialogCall& call : dialogs.script.Calls()) {
            record.shown.push_back(call.Key() + " " + relative(call.text));
            if (call.kind == DialogKind::ResultSummary) record.summary = call.summary;
        }
        FileList& list = editor_->List();
        for (std::size_t row = 0; row < list.RowCount(); ++row) {
            record.rows.push_back(relative(list.FullPath(row)) + " " +
                                  std::to_string(list.Image(row)) + " " + list.Text(row, 1) + " " +
                                  list.Text(row, 2));
        }
        for (int i = 0; i < kPages; ++i) {
            const std::string out = site_ + "/Trimlet/" + Name(i);
            if (fs::exists(out)) record.outputs.push_back(Name(i) + " " + ReadAll(out));
        }
        dialogs.script.ClearCalls();
        return record;
    }

    HookedDialogs dialogs;

  private:
    TempDir dir_;
    std::string site_;
    MemoryProfile profile_;
    std::unique_ptr<TaskEditor> editor_;
};

// Lists the site, then runs the checked rows: p07 vanished (20000), p04's output exists
// (asked; meanwhile p05 grows and p09 is replaced), p02 unchecked.
Record RunSite(bool ahead, MessageAnswer onMissing) {
    SiteRun run(ahead);
    run.Editor().ToggleCheck(2);
    fs::remove(run.File(7));
    run.dialogs.onOutputExists = [&] {
        TempDir scratch;
        std::string other = Page(9);
        other[1] = 'H';
        fs::copy_file(scratch.Write("x", Page(5) + "<p>grown</p>\n"), run.File(5),
                      fs::copy_options::overwrite_existing);
        fs::rename(scratch.Write("y", other), run.File(9));  // a new file in its place
    };
    run.dialogs.script.AnswerOutputExists({OutputExistsClose::Ok, OVERWRITE_CHOICE_OVERWRITE})
        .AnswerMessage(MSG_FILE_NOT_FOUND, onMissing);
    run.Take();
    run.Editor().RunCheckedFiles();
    EXPECT_TRUE(run.dialogs.script.AllAnswersUsed());
    EXPECT_THAT(run.dialogs.script.UnexpectedCalls(), ::testing::IsEmpty());
    return run.Take();
}

TEST(TrimAheadCommands, RunAndStopShowAskAndWriteWhatASequentialRunDoes) {
    for (MessageAnswer onMissing : {MessageAnswer::Ok, MessageAnswer::Cancel}) {
        SCOPED_TRACE(onMissing == MessageAnswer::Ok ? "run through" : "stopped at p07");
        const Record sequential = RunSite(false, onMissing);
        EXPECT_EQ(RunSite(true, onMissing), sequential);
        if (onMissing == MessageAnswer::Cancel) {
            EXPECT_EQ(sequential.outputs.size(), 6u);  // p00, p01, p03 to p06
            continue;
        }
        // The changed files were written as they were when their turn came.
        EXPECT_THAT(sequential.outputs, ::testing::Contains(::testing::HasSubstr("grown")));
        EXPECT_EQ(sequential.summary.succeededCount, kPages - 2u);
    }
}

TEST(TrimAheadCommands, AddingAndRefreshingShowWhatTrimmingEachInTurnShows) {
    std::vector<Record> records;
    for (bool ahead : {false, true}) {
        SiteRun run(ahead);
        Record added = run.Take();
        fs::remove(run.File(3));
        std::string grown = Page(8) + "<!-- more -->";
        TempDir scratch;
        fs::copy_file(scratch.Write("x", grown), run.File(8), fs::copy_options::overwrite_existing);
        run.dialogs.script.AnswerMessage(MSG_FILE_DOES_NOT_EXIST, MessageAnswer::Ok);
        run.Editor().RefreshAll();
        records.push_back(added);
        records.push_back(run.Take());
    }
    EXPECT_EQ(records[2], records[0]);
    EXPECT_EQ(records[3], records[1]);
}

// Adds a site with two files that do not look like text: p02 is kept, and made a page while
// asked about; p05 is left out. What was shown, then each row's name and sizes.
std::vector<std::string> AddSiteWithBinaries(bool ahead) {
    TempDir dir;
    for (int i = 0; i < 8; ++i)
        dir.Write("site/" + Name(i), i == 2 || i == 5 ? std::string("GIF89a\0\0", 8) : Page(i));
    HookedDialogs dialogs;
    MemoryProfile profile;
    TaskEditor editor(dialogs, profile, PathStyle::Posix);
    TrimAheadOptions options;
    options.threads = 2;
    options.maxFilesAhead = ahead ? 64 : 0;
    options.settledSeconds = 0;
    editor.SetTrimAheadOptions(options);
    dialogs.onMessage = [&](const MessageRequest& request) {
        if (request.text.find(Name(2)) != std::string::npos) dir.Write("site/" + Name(2), Page(40));
    };
    dialogs.script.AnswerMessage(MSG_NOT_TEXT_FILE, MessageAnswer::Yes)
        .AnswerMessage(MSG_NOT_TEXT_FILE, MessageAnswer::No);
    editor.AddChosenFolder((dir.path() / "site").string());
    EXPECT_TRUE(dialogs.script.AllAnswersUsed());
    std::vector<std::string> shown = dialogs.script.Sequence();
    for (std::size_t row = 0; row < editor.List().RowCount(); ++row)
        shown.push_back(editor.List().Text(row, 0) + " " + editor.List().Text(row, 1));
    return shown;
}

TEST(TrimAheadCommands, AddingAsksAboutNonTextFilesInOrderAndMeasuresThemAfterTheAnswer) {
    const std::vector<std::string> sequential = AddSiteWithBinaries(false);
    EXPECT_EQ(AddSiteWithBinaries(true), sequential);
    ASSERT_EQ(sequential.size(), 10u);
    EXPECT_THAT(std::vector(sequential.begin(), sequential.begin() + 3),
                ::testing::ElementsAre("message 20022", "message 20022", "message 20009"));
    // The kept file shows the size of the page it became while the user was asked.
    EXPECT_EQ(sequential[5], Name(2) + " " + FormatSize(Page(40).size()));
}

}  // namespace
}  // namespace trimlet::test
