#pragma once
// The dialogs of the command line. Questions are written to the question stream (standard
// error) in the words of the desktop's messages, followed by their choices, and the answer
// is read as a line from the input stream (standard input):
//
//   message boxes        "[O]K / [C]ancel", "[Y]es / [N]o", "[Y]es / [N]o / [C]ancel";
//                        a box with only OK is printed and not waited for
//   folder creation      "[O]K / [A] <create missing folders automatically> / [C]ancel"
//   output exists        the three numbered choices (the preselected one marked "*"), then
//                        "[0-2] [O]K / [A] 以後すべて / [C]ancel": a digit picks a choice,
//                        a letter closes the dialog ("1", "1a", "a", "c")
//   settings mismatch    "[Y]es / [N]o / [C]ancel / [R] <take without asking from now on>"
//   old task version     the five script options as they are ticked, "[O]K / [C]ancel"
//
// A question is answered without asking when the dialogs are not interactive (standard
// input is no terminal, or --yes was given) and when standard input ends. Each then takes
// its safe answer, printed after the question as "(answer: ...)":
//
//   OK/Cancel message    OK: skips the file and goes on (the run's per-file problems)
//   Yes/No message       No: for a task made by a newer version, nothing is run
//   Yes/No/Cancel        No: a read-only output is kept
//   folder creation      OK, box clear: the folder is made, the setting is left as it is
//   output exists        the configured choice (--overwrite=all|skip|newer) for all files,
//                        or without one the preselected choice for all files
//   settings mismatch    No, box clear: the current settings stay and nothing is stored
//   old task version     cancelled: no script option is added
//   line-break hint      closed with its box as it was
//   choosers, options    nothing chosen, cancelled
//
// An --overwrite choice is applied without asking even when interactive; the caller then
// clears RunContext::rememberOverwriteChoice so the option does not become the desktop's
// preselection. The result summary goes to the output stream (standard output).

#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "common/dialogs.h"

namespace trimlet::cli {

// The answer to an existing output given on the command line.
enum class OverwritePolicy { Ask, All, Skip, Newer };

// "all", "skip" or "newer"; nothing for any other text.
std::optional<OverwritePolicy> ParseOverwritePolicy(std::string_view text);

class TerminalDialogs final : public Dialogs {
  public:
    TerminalDialogs(std::istream& in, std::ostream& questions, std::ostream& out, bool interactive,
                    OverwritePolicy overwrite = OverwritePolicy::Ask);

    // On the standard streams; interactive when standard input is a terminal and
    // `assumeYes` is false.
    static std::unique_ptr<TerminalDialogs> ForStandardStreams(bool assumeYes,
                                                               OverwritePolicy overwrite);

    bool Interactive() const { return interactive_; }
    // Called with every message box shown (a run's report keeps each file's message).
    void SetMessageShown(std::function<void(const MessageRequest&)> shown) {
        messageShown_ = std::move(shown);
    }
    // False when an --overwrite choice answers the output-exists dialog.
    bool RemembersOverwriteChoice() const { return overwrite_ == OverwritePolicy::Ask; }

    MessageAnswer ShowMessage(const MessageRequest& request) override;
    FolderCreationAnswer FolderCreationDialog(std::string_view text) override;
    OutputExistsAnswer OutputExistsDialog(const OutputExistsRequest& request) override;
    SettingsMismatchAnswer SettingsMismatchDialog(std::string_view report) override;
    std::optional<std::uint32_t> AlertVersionDialog(std::uint32_t initialMode) override;
    void ResultSummaryDialog(const RunSummary& summary) override;
    std::optional<std::string> OpenTaskFileDialog(int titleId, std::string_view folder) override;
    std::optional<std::string> SaveTaskFileDialog(std::string_view folder,
                                                  std::string_view proposedName) override;
    std::optional<ChosenFiles> AddFilesDialog(std::string_view folder) override;
    std::optional<std::string> BrowseFolderDialog() override;
    bool AlertCRRegAsWSPDialog(bool dontShowAgain) override;
    std::optional<std::string> AddExtensionDialog() override;
    bool OptionsSheet() override;

  private:
    // Writes `text` as lines ("\r\n" becomes "\n"), each prefixed with `indent` after the
    // first.
    void Show(std::string_view text, std::string_view indent = {});
    // Prints `choices` and reads one answer, lower-cased and trimmed; nothing when not
    // interactive or at the end of the input.
    std::optional<std::string> Prompt(std::string_view choices);
    void ShowAnswer(std::string_view answer);

    std::istream& in_;
    std::ostream& questions_;
    std::ostream& out_;
    bool interactive_;
    OverwritePolicy overwrite_;
    std::function<void(const MessageRequest&)> messageShown_;
};

}  // namespace trimlet::cli
