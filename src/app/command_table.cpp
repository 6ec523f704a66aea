#include "app/command_table.h"

#include "editor/task_editor.h"

namespace trimlet {
namespace {

constexpr CommandInfo kCommands[] = {
    {CMD_NEW_TASK, "actionNewTask", "新規タスク作成(&N)", "", "新規にタスクを作成\n新規タスク",
     "document-new"},
    {CMD_RUN_TASK, "actionRunTask", "タスクを実行(&E)", "",
     "タスクファイルを選択し、トリムレットを実行\nタスクを実行", ""},
    {CMD_OPEN_TASK, "actionOpenTask", "タスクを開く(&O)...", "",
     "タスクファイルに記録されているファイルをリストに読み込む\nタスクを開く", "document-open"},
    {CMD_SAVE_TASK, "actionSaveTask", "タスクを保存(&S)", "",
     "現在のタスクを上書きでファイルに保存\nタスクを保存", "document-save"},
    {CMD_SAVE_TASK_AS, "actionSaveTaskAs", "タスクに名前を付けて保存(&A)...", "",
     "現在のタスクを新しい名前でファイルに保存\n現在のタスクに名前をつけて保存",
     "document-save-as"},
    {CMD_EXIT, "actionExit", "終了(&X)", "", "アプリケーションを終了\n終了", "application-exit"},
    {CMD_MARK, "actionMark", "トリムレット対象としてマーク(&C)", "Ctrl+M",
     "トリムレット対象のファイルとしてチェックマークをつける\nチェックを付ける", ""},
    {CMD_UNMARK, "actionUnmark", "マーク解除(&R)", "Ctrl+Shift+M",
     "トリムレット用にマークしたチェックを解除する\nチェックを解除", ""},
    {CMD_PASTE, "actionPaste", "貼り付け(&P)", "Ctrl+V; Shift+Ins",
     "クリップボードの内容を貼り付け\n貼り付け", "edit-paste"},
    {CMD_REMOVE, "actionRemove", "リストから削除(&D)", "Del",
     "選択されているファイルをリストから削除する\nリストから削除", "list-remove"},
    {CMD_SELECT_ALL, "actionSelectAll", "すべて選択(&A)", "Ctrl+A",
     "リストのすべてのファイルを選択\nすべて選択", "edit-select-all"},
    {CMD_CLEAR, "actionClear", "クリア(&L)", "", "処理対象ファイルをリストからすべて削除\nクリア",
     "edit-clear"},
    {CMD_TOGGLE_BASE_FOLDER_BAR, "actionBaseFolderBar", "ベースフォルダバー", "",
     "ベースフォルダバーの表示/非表示\nベースフォルダの表示切り替え", ""},
    {CMD_TOGGLE_TOOL_BAR, "actionToolBar", "ツールバー(&T)", "",
     "ツールバーの 表示/非表示\nツールバーの表示切り替え", ""},
    {CMD_TOGGLE_STATUS_BAR, "actionStatusBar", "ステータスバー(&S)", "",
     "ステータスバーの 表示/非表示\nステータスバーの表示切り替え", ""},
    {CMD_REFRESH, "actionRefresh", "最新情報に更新(&R)", "",
     "リストに表示中のファイルの情報を更新\n最新情報に更新", "view-refresh"},
    {CMD_COMPARE, "actionCompare", "処理前と処理後を比較(&D)...", "Ctrl+D",
     "選択したファイルの処理前と処理後のテキストを並べて表示\n処理前と処理後を比較", ""},
    {CMD_ADD_FILES, "actionAddFiles", "ファイルを追加(&A)...", "Ctrl+Shift+A",
     "選択したファイルをリストに追加\nファイルを追加", "list-add"},
    {CMD_ADD_FOLDER_FILES, "actionAddFolderFiles", "フォルダ内のファイルを追加(&F)...",
     "Ctrl+Shift+F",
     "フォルダ中の指定の拡張子を持つファイルをリストに追加\nフォルダ内のファイルを追加",
     "folder-open"},
    {CMD_RUN, "actionRun", "トリムレット実行(&E)", "Ctrl+Shift+E",
     "リストでチェックの付いているファイルをトリムレット\nトリムレット実行", "system-run"},
    {CMD_OPTIONS, "actionOptions", "オプション(&O)...", "",
     "トリムレットの方法と各動作の設定\nオプション", "preferences-system"},
    {CMD_HELP_CONTENTS, "actionHelpContents", "目次(&I)", "F1", "ヘルプの目次ペインを表示\n目次",
     "help-contents"},
    {CMD_ABOUT, "actionAbout", "バージョン情報(&A)...", "",
     "プログラムの情報、バージョンそして著作権を表示\nバージョン情報", "help-about"},
    {CMD_OPEN_FILE, "actionOpenFile", "ファイルを開く(&I)", "",
     "選択されているファイルを関連付けられたプログラムで開く\nファイルを開く", "document-open"},
    {CMD_OPEN_OUTPUT_FOLDER, "actionOpenOutputFolder", "出力フォルダを開く(&U)", "",
     "選択されているファイルの出力フォルダを開く\n出力フォルダを開く", "folder-open"},
};

}  // namespace

std::span<const CommandInfo> AllCommands() {
    return kCommands;
}

const CommandInfo* FindCommand(int id) {
    for (const CommandInfo& command : kCommands)
        if (command.id == id) return &command;
    return nullptr;
}

}  // namespace trimlet
