#pragma once
// The fixed texts of the main window: menus, status bar, and the notices of the window
// itself, in Japanese and English (one row each: name{Japanese, English}). The numbered
// messages and the dialogs' texts are in common/messages.h.

#include "common/messages.h"

namespace trimlet {

inline constexpr Text TXT_IDLE_STATUS{"ﾚﾃﾞｨ", "Ready"};
// The window title: the task's name and the program's.
inline constexpr const char* TXT_WINDOW_TITLE_FORMAT = "%s - Trimlet HTML!";
// A recent task in the File menu: its number (the mnemonic) and its path.
inline constexpr const char* TXT_RECENT_TASK_FORMAT = "&%d %s";
inline constexpr Text TXT_RECENT_TASKS_PLACEHOLDER{"最近使ったタスク", "Recent tasks"};
inline constexpr Text TXT_RECENT_TASK_PROMPT{"指定のタスクを開く", "Open this task"};
inline constexpr Text TXT_TASK_FILE_TYPE{"Trimlet HTMLタスクファイル", "Trimlet HTML task file"};

inline constexpr Text TXT_MENU_FILE{"ファイル(&F)", "&File"};
inline constexpr Text TXT_MENU_EDIT{"編集(&E)", "&Edit"};
inline constexpr Text TXT_MENU_VIEW{"表示(&V)", "&View"};
inline constexpr Text TXT_MENU_TRIM{"トリムレット(&S)", "&Trim"};
inline constexpr Text TXT_MENU_HELP{"ヘルプ(&H)", "&Help"};

inline constexpr Text TXT_BASE_FOLDER_CAPTION{"フォルダ：", "Folder:"};

// Long work: the progress pane ("12 / 340") and its stop button.
inline constexpr const char* TXT_PROGRESS_FORMAT = "%d / %d";
inline constexpr Text TXT_STOP_BUTTON{"中止", "Stop"};
inline constexpr Text TXT_STOP_TIP{"現在のファイルの処理が終わったところで中止します (Esc)",
                                   "Stops once the current file is done (Esc)"};

// Shown by the commands whose windows are not built yet.
inline constexpr Text TXT_COMING_LATER{"この機能は次の版で使えるようになります。",
                                       "This command comes with the next version."};

}  // namespace trimlet
