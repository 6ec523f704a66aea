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

// The tip of a row whose result the last run did not write: its path and where it differs.
inline constexpr Text TXT_ROW_NOT_EQUIVALENT{
    "%s\n検証でトリム前と異なる結果になったため、書き込みませんでした：\n%s",
    "%s\nNot written: the check found the trimmed result differing from the original:\n%s"};
inline constexpr Text TXT_BASE_FOLDER_CAPTION{"フォルダ：", "Folder:"};

// Long work: the progress pane ("12 / 340") and its stop button.
inline constexpr const char* TXT_PROGRESS_FORMAT = "%d / %d";
inline constexpr Text TXT_STOP_BUTTON{"中止", "Stop"};
inline constexpr Text TXT_STOP_TIP{"現在のファイルの処理が終わったところで中止します (Esc)",
                                   "Stops once the current file is done (Esc)"};

// Shown by the commands whose windows are not built yet.
inline constexpr Text TXT_COMING_LATER{"この機能は次の版で使えるようになります。",
                                       "This command comes with the next version."};

// The before-and-after view of a file.
inline constexpr Text TXT_COMPARE_TITLE_FORMAT{"%s - 処理前と処理後の比較",
                                               "%s - Before and After"};  // file name
inline constexpr Text TXT_COMPARE_WORKING{"比較しています...", "Comparing..."};
// bytes before, bytes after, number of changes
inline constexpr Text TXT_COMPARE_SUMMARY_FORMAT{
    "処理前 %s バイト → 処理後 %s バイト　変更 %d 箇所",
    "Before %s bytes -> after %s bytes   %d changes"};
inline constexpr Text TXT_COMPARE_POSITION_FORMAT{"　（%d / %d 箇所目）", "  (change %d of %d)"};
inline constexpr Text TXT_COMPARE_BEFORE_FORMAT{"処理前 (%s)", "Before (%s)"};    // charset
inline constexpr Text TXT_COMPARE_AFTER_FORMAT{"処理後 (%s)", "After (%s)"};      // charset
inline constexpr Text TXT_COMPARE_JOINED_FORMAT{"→ %d 行目へ", "-> to line %d"};  // line number
inline constexpr Text TXT_COMPARE_CUT_SIZE{
    "ページが 2 MB を超えるため、先頭の部分だけを比較しています。以降の変更は表示していません。",
    "The page is over 2 MB, so only its beginning is compared. Later changes are not shown."};
inline constexpr Text TXT_COMPARE_CUT_TIME{
    "比較に時間がかかるため、最初の部分の変更だけを表示しています。以降の変更は表示していません。",
    "The comparison takes long, so only the first changes are shown. Later changes are not shown."};
// The check of the result, when a run would make it (verifying is on, or it failed last run).
inline constexpr Text TXT_COMPARE_VERIFY_SAME{
    "検証：トリム結果はトリム前と同じ文書です。",
    "Check: the trimmed result is the same document as the original."};
inline constexpr Text TXT_COMPARE_VERIFY_DIFFERS{
    "検証：トリム結果がトリム前と異なるため、実行しても書き込みません。\n%s",
    "Check: the trimmed result differs from the original, so a run does not write it.\n%s"};
inline constexpr Text TXT_COMPARE_VERIFY_SKIPPED{"検証：ページが大きすぎるため、検証しません。",
                                                 "Check: the page is too large to be checked."};
inline constexpr Text TXT_COMPARE_KEYS{"F8: 次の変更　Shift+F8: 前の変更　Esc: 閉じる",
                                       "F8: next change   Shift+F8: previous change   Esc: close"};
inline constexpr const char* TXT_CHARSET_SHIFT_JIS = "Shift_JIS";
inline constexpr const char* TXT_CHARSET_UTF8 = "UTF-8";
inline constexpr const char* TXT_CHARSET_UTF16 = "UTF-16";
// The guide shown in a window of our own.
inline constexpr Text TXT_HELP_WINDOW_TITLE{"Trimlet HTML! ヘルプ", "Trimlet HTML! Help"};
// The answers of the questions before unsaved changes are thrown away.
inline constexpr Text TXT_BUTTON_SAVE{"保存(&S)", "&Save"};
inline constexpr Text TXT_BUTTON_DONT_SAVE{"保存しない(&N)", "Do&n't Save"};

}  // namespace trimlet
