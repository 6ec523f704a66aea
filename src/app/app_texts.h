#pragma once
// The fixed texts of the main window: menus, status bar, and the notices of the window
// itself. The numbered messages and the dialogs' texts are in common/messages.h.

namespace trimlet {

inline constexpr const char* TXT_IDLE_STATUS = "ﾚﾃﾞｨ";
// The window title: the task's name and the program's.
inline constexpr const char* TXT_WINDOW_TITLE_FORMAT = "%s - Trimlet HTML!";
// A recent task in the File menu: its number (the mnemonic) and its path.
inline constexpr const char* TXT_RECENT_TASK_FORMAT = "&%d %s";
inline constexpr const char* TXT_RECENT_TASKS_PLACEHOLDER = "最近使ったタスク";
inline constexpr const char* TXT_RECENT_TASK_PROMPT = "指定のタスクを開く";
inline constexpr const char* TXT_TASK_FILE_TYPE = "Trimlet HTMLタスクファイル";

inline constexpr const char* TXT_MENU_FILE = "ファイル(&F)";
inline constexpr const char* TXT_MENU_EDIT = "編集(&E)";
inline constexpr const char* TXT_MENU_VIEW = "表示(&V)";
inline constexpr const char* TXT_MENU_TRIM = "トリムレット(&S)";
inline constexpr const char* TXT_MENU_HELP = "ヘルプ(&H)";

inline constexpr const char* TXT_BASE_FOLDER_CAPTION = "フォルダ：";

// Long work: the progress pane ("12 / 340") and its stop button.
inline constexpr const char* TXT_PROGRESS_FORMAT = "%d / %d";
inline constexpr const char* TXT_STOP_BUTTON = "中止";
inline constexpr const char* TXT_STOP_TIP =
    "現在のファイルの処理が終わったところで中止します (Esc)";

// Shown by the commands whose windows are not built yet.
inline constexpr const char* TXT_COMING_LATER = "この機能は次の版で使えるようになります。";

// The guide shown in a window of our own.
inline constexpr const char* TXT_HELP_WINDOW_TITLE = "Trimlet HTML! ヘルプ";
// The answers of the questions before unsaved changes are thrown away.
inline constexpr const char* TXT_BUTTON_SAVE = "保存(&S)";
inline constexpr const char* TXT_BUTTON_DONT_SAVE = "保存しない(&N)";

}  // namespace trimlet
