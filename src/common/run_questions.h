#pragma once
// The few questions a run of files asks: a message box (a failed file, a read-only output,
// a stop), the folder-creation dialog and the output-exists dialog. The run loop and its
// per-file step ask through this narrow interface; Dialogs, the whole port to the user, is
// one, and the grouped writes of a run are one that first completes what waits.

#include <cstdint>
#include <string>
#include <string_view>

#include "common/messages.h"

namespace trimlet {

enum class MessageIcon { None, Information, Question, Exclamation, Stop };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// A plain message box: message `id` already formatted into `text`.
struct MessageRequest {
    int id = 0;
    std::string text;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

struct FolderCreationAnswer {
    bool accepted = false;         // OK (true) or cancel (false)
    bool createFromNowOn = false;  // "create missing folders automatically" was ticked
};

// Radio indexes of the output-exists dialog, as stored in the profile.
inline constexpr int OVERWRITE_CHOICE_OVERWRITE = 0;
inline constexpr int OVERWRITE_CHOICE_SKIP = 1;
inline constexpr int OVERWRITE_CHOICE_IF_NEWER = 2;

struct OutputExistsRequest {
    std::string message;     // the message line (MSG_OUTPUT_EXISTS or MSG_OVERWRITING_ORIGINAL)
    std::string inputText;   // description of the input file
    std::string outputText;  // description of the output file, or MSG_OUTPUT_IS_ORIGINAL
    int radioIndex = OVERWRITE_CHOICE_OVERWRITE;  // initially selected choice
    bool forAllEnabled = true;                    // whether "以後すべて" can be pressed
};

enum class OutputExistsClose { Ok, ForAll, Cancel };

struct OutputExistsAnswer {
    OutputExistsClose closedWith = OutputExistsClose::Cancel;
    int radioIndex = OVERWRITE_CHOICE_OVERWRITE;  // the choice selected when it was closed
};

class RunQuestions {
  public:
    virtual ~RunQuestions() = default;

    // A message box with the request's text, icon and buttons; returns the button pressed
    // (closing the box counts as Cancel where there is one).
    virtual MessageAnswer ShowMessage(const MessageRequest& request) = 0;

    // Formats message `id` with `args` and shows it as ShowMessage does.
    template <typename... Args>
    MessageAnswer Ask(int id, MessageIcon icon, MessageButtons buttons, const Args&... args) {
        return ShowMessage(MessageRequest{id, FormatMessage(id, args...), icon, buttons});
    }

    // "フォルダ作成の確認": shows `text` (MSG_CREATE_FOLDER_QUESTION formatted with the missing
    // folder) and a clear check box; returns OK or cancel and the check box.
    virtual FolderCreationAnswer FolderCreationDialog(std::string_view text) = 0;

    // "出力ファイル既存時の処理": the message line, both file descriptions and the three
    // choices; returns how it was closed (OK, "以後すべて", cancel) and the chosen index.
    virtual OutputExistsAnswer OutputExistsDialog(const OutputExistsRequest& request) = 0;
};

}  // namespace trimlet
