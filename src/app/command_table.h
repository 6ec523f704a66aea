#pragma once
// Every command of the window: its id, the object name of its action, the menu label with
// its mnemonic, the keys, the prompt ("status bar text\ntool tip") and the theme icon.
// Labels and prompts are in Japanese and English.

#include <span>

#include "common/messages.h"

namespace trimlet {

// Commands the window handles itself (the editor's are in filelist/task_editor.h).
inline constexpr int CMD_EXIT = 57665;
inline constexpr int CMD_ABOUT = 57664;
inline constexpr int CMD_TOGGLE_TOOL_BAR = 59392;
inline constexpr int CMD_TOGGLE_STATUS_BAR = 59393;
// A row's file and its output folder, opened in the desktop's programs.
inline constexpr int CMD_OPEN_FILE = 32800;
inline constexpr int CMD_OPEN_OUTPUT_FOLDER = 32801;
// Opens the before-and-after view of each selected row.
inline constexpr int CMD_COMPARE = 32802;

struct CommandInfo {
    int id;
    const char* objectName;  // "actionRun"
    Text label;              // {"トリムレット実行(&E)", "&Execute Trim"}
    const char* keys;        // portable key sequences separated by "; ", or ""
    Text prompt;             // status bar text, "\n", tool tip, in both languages
    const char* themeIcon;   // freedesktop icon name, or ""
};

std::span<const CommandInfo> AllCommands();
// The command `id`, or nullptr.
const CommandInfo* FindCommand(int id);

}  // namespace trimlet
