#pragma once
// The texts the user sees, kept in one place: the numbered message table (id -> text)
// and the fixed texts of the dialogs (titles, labels, buttons, report lines), each in
// Japanese (the system's own words) and English (our translation), shown in the current
// language (common/language.h).
// Texts are UTF-8. A message is shown with FormatMessage, which fills its "%s", "%d",
// "%02d", ... from typed arguments and can neither overflow nor misread an argument.

#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "common/language.h"

namespace trimlet {

// One row of the message table: id, Japanese, English.
struct Message {
    int id;
    const char* japanese;
    const char* english;
};

// True when both texts are there, not empty, and hold the same printf conversions in the
// same order ("%s", "%d", "%02d"; "%%" is no conversion), so either fills from the same
// arguments.
constexpr bool SameConversions(const char* japanese, const char* english) {
    if (japanese == nullptr || english == nullptr || *japanese == 0 || *english == 0) return false;
    auto next = [](const char*& p) -> char {
        for (; *p; ++p) {
            if (*p != '%') continue;
            ++p;
            if (*p == '%') continue;
            while (*p && !(*p >= 'a' && *p <= 'z' && *p != 'l' && *p != 'h') &&
                   !(*p >= 'A' && *p <= 'Z'))
                ++p;
            while (*p == 'l' || *p == 'h')
                ++p;
            if (*p) return *p++;
            return 0;
        }
        return 0;
    };
    const char* a = japanese;
    const char* b = english;
    for (;;) {
        const char ca = next(a);
        const char cb = next(b);
        if (ca != cb) return false;
        if (ca == 0) return true;
    }
}

// Reached only while a Text is built from a pair SameConversions refuses, so the build
// stops there: a text cannot lack its English, nor take other arguments in it.
void TextNeedsBothLanguages();

// A fixed text of a window or dialog in both languages. It converts to the text of the
// current language where it is used, so keep Text (never a copied const char*) in tables
// that are built before the language is known.
class Text {
  public:
    consteval Text(const char* japanese, const char* english)
        : japanese_(japanese), english_(english) {
        if (!SameConversions(japanese, english)) TextNeedsBothLanguages();
    }

    const char* In(Language language) const {
        return language == Language::English ? english_ : japanese_;
    }
    const char* Get() const { return In(CurrentLanguage()); }
    operator const char*() const { return Get(); }
    operator std::string_view() const { return Get(); }

  private:
    const char* japanese_;
    const char* english_;
};

// ---- Message ids ---------------------------------------------------------------------

// start-up
inline constexpr int MSG_OLE_INIT_FAILED = 100;

// list column titles
inline constexpr int MSG_COLUMN_FILE_NAME = 15000;     // "ファイル名"
inline constexpr int MSG_COLUMN_SOURCE_SIZE = 15001;   // "元のサイズ"
inline constexpr int MSG_COLUMN_TRIMMED_SIZE = 15002;  // "処理後のサイズ"
inline constexpr int MSG_COLUMN_MODIFIED = 15003;      // "更新時間"

// stop confirmation, file dialog titles, output-exists dialog lines, notices
inline constexpr int MSG_STOPPED = 15004;
inline constexpr int MSG_TITLE_ADD_FILES = 15005;
inline constexpr int MSG_TITLE_SAVE_TASK_AS = 15006;
inline constexpr int MSG_TITLE_OPEN_TASK = 15007;
inline constexpr int MSG_TITLE_RUN_TASK = 15008;
inline constexpr int MSG_OUTPUT_IS_ORIGINAL = 15010;    // output field text, no "%"
inline constexpr int MSG_OVERWRITING_ORIGINAL = 15011;  // message line, output == input
inline constexpr int MSG_OUTPUT_EXISTS = 15012;         // message line otherwise
inline constexpr int MSG_BLANK_OUTPUT_FOLDER_NOTICE = 15013;

// questions before the list is thrown away
inline constexpr int MSG_CONFIRM_CLEAR = 18000;
inline constexpr int MSG_DISCARD_AND_OPEN = 18001;
inline constexpr int MSG_DISCARD_AND_EXIT = 18002;
inline constexpr int MSG_DISCARD_AND_NEW = 18003;
inline constexpr int MSG_DISCARD_AND_OPEN_NAMED = 18004;  // %s task path

// per-file messages ("%s" is a path unless said otherwise)
inline constexpr int MSG_FILE_NOT_FOUND = 20000;
inline constexpr int MSG_INPUT_IS_FOLDER = 20001;
inline constexpr int MSG_OUTPUT_FOLDER_BLOCKED = 20002;
inline constexpr int MSG_CANNOT_CREATE_FOLDER = 20003;
inline constexpr int MSG_CREATE_FOLDER_QUESTION = 20005;  // text of the folder-creation dialog
inline constexpr int MSG_OUTPUT_IS_FOLDER = 20006;
inline constexpr int MSG_FILE_DESCRIPTION = 20007;  // path, size text, y, m, d, h, min
inline constexpr int MSG_FILE_PROCESSING_ERROR = 20008;
inline constexpr int MSG_FILES_ADDED = 20009;  // %d count
inline constexpr int MSG_FILE_INFO_FAILED = 20010;
inline constexpr int MSG_FOLDER_ALL_LISTED = 20011;  // %d count
inline constexpr int MSG_FILE_DOES_NOT_EXIST = 20012;
inline constexpr int MSG_OPEN_FAILED = 20013;
inline constexpr int MSG_TASK_WRITE_ERROR = 20014;    // no argument
inline constexpr int MSG_PROPOSED_TASK_NAME = 20015;  // %d number
inline constexpr int MSG_OUTPUT_CREATE_FAILED = 20016;
inline constexpr int MSG_NEWER_TASK_VERSION = 20017;  // %s version text
inline constexpr int MSG_TASK_READ_ERROR = 20018;
inline constexpr int MSG_READ_ONLY_OVERWRITE = 20019;
inline constexpr int MSG_READ_ONLY_CLEAR_FAILED = 20020;
inline constexpr int MSG_FILE_ACCESS_ERROR = 20021;
inline constexpr int MSG_NOT_TEXT_FILE = 20022;
inline constexpr int MSG_FILE_COUNT = 20023;             // "%d 個"
inline constexpr int MSG_FOLDER_NOTHING_TO_ADD = 20024;  // %s folder
inline constexpr int MSG_HELP_FILE_MISSING = 20025;
inline constexpr int MSG_CONFIRM_REMOVE = 20026;           // %d count
inline constexpr int MSG_INVALID_UTF16 = 20040;            // marked as UTF-16, not valid UTF-16
inline constexpr int MSG_UNCLEAR_UTF16 = 20041;            // NUL bytes as in UTF-16, not UTF-16
inline constexpr int MSG_NAME_HAS_LINE_BREAK = 20042;      // a file name a task cannot hold
inline constexpr int MSG_FILE_CHANGED_SINCE_READ = 20043;  // replaced by another program
inline constexpr int MSG_CANNOT_OPEN_ON_DESKTOP = 20044;   // a row's file or output folder
inline constexpr int MSG_SAME_OUTPUT = 20047;              // input, output, the earlier input
inline constexpr int MSG_NOT_PAGE_OR_SCRIPT = 20048;       // neither a page nor a script by name
inline constexpr int MSG_TRIM_NOT_EQUIVALENT = 20049;      // path, where the pages differ
inline constexpr int MSG_VERIFY_SKIPPED_LARGE = 20050;     // too large to verify
inline constexpr int MSG_NO_RECOVERY_FILE = 20051;         // must be copied into, no recovery file
inline constexpr int MSG_RESTORED_OLD_CONTENT = 20052;     // an interrupted copy rolled back
inline constexpr int MSG_LEFTOVER_KEPT = 20053;  // a leftover whose maker is not provably gone

// errors and refusals
inline constexpr int MSG_OUT_OF_MEMORY = 40000;
inline constexpr int MSG_FOLDER_HAS_NO_FILES = 40001;
inline constexpr int MSG_NOT_TASK_FILE = 40002;
inline constexpr int MSG_TASK_READ_FAILED = 40003;
inline constexpr int MSG_EXTENSION_EMPTY = 40004;
inline constexpr int MSG_EXTENSION_BAD_CHARACTERS = 40005;
inline constexpr int MSG_FOLDER_NAME_BAD_CHARACTERS = 40006;
inline constexpr int MSG_EXTENSION_IS_SCRIPT = 40007;  // %s extension
inline constexpr int MSG_EXTENSION_LISTED = 40008;     // %s extension
inline constexpr int MSG_EXTENSION_IS_HTML = 40009;    // %s extension
inline constexpr int MSG_FOLDER_NAME_REFUSED_POSIX = 40010;

// ---- The table -----------------------------------------------------------------------

// Every message, sorted by id, no id twice.
std::span<const Message> AllMessages();

// The text of message `id` in the current language (or `language`); the empty text for an
// id not in the table.
const char* MessageText(int id);
const char* MessageText(int id, Language language);

bool HasMessage(int id);

// ---- Formatting ----------------------------------------------------------------------

// One argument of a formatted text: a text or an integer. Other types do not convert,
// so a wrong argument is a compile error rather than garbage on screen.
class FormatArg {
  public:
    enum class Kind { Text, Signed, Unsigned };

    FormatArg(std::string_view text) : kind_(Kind::Text), text_(text) {}
    FormatArg(const std::string& text) : kind_(Kind::Text), text_(text) {}
    FormatArg(const char* text) : kind_(Kind::Text), text_(text ? text : "") {}
    template <std::signed_integral T>
    FormatArg(T value) : kind_(Kind::Signed), signed_(value) {}
    template <std::unsigned_integral T>
    FormatArg(T value) : kind_(Kind::Unsigned), unsigned_(value) {}
    FormatArg(bool) = delete;
    FormatArg(char) = delete;

    Kind kind() const { return kind_; }
    std::string_view text() const { return text_; }
    long long signedValue() const { return signed_; }
    unsigned long long unsignedValue() const { return unsigned_; }

  private:
    Kind kind_;
    std::string_view text_;
    long long signed_ = 0;
    unsigned long long unsigned_ = 0;
};

// Fills `format` from `args` in order, printf style: "%%", and conversions s, d, i, u, x,
// X, o with the flags "-+ #0", a width and a precision (length modifiers are accepted and
// ignored; the argument's own type decides). Integers keep their value whatever their
// width: an unsigned value is never shown negative. A text given for a number is inserted
// as it is, a number given for "%s" in decimal. A conversion without an argument, or one
// not understood, stays in the result as written. Argument texts are copied, never
// interpreted, so a "%" inside a path stays a "%".
std::string FormatText(std::string_view format, std::initializer_list<FormatArg> args);
inline std::string FormatText(const Text& format, std::initializer_list<FormatArg> args) {
    return FormatText(format.Get(), args);
}

// Message `id` filled with `args`; "(missing message <id>)" for an id not in the table.
template <typename... Args>
std::string FormatMessage(int id, const Args&... args) {
    if (!HasMessage(id)) return FormatText("(missing message %d)", {id});
    return FormatText(MessageText(id), {FormatArg(args)...});
}

// ---- Fixed texts of windows and dialogs ------------------------------------------------
// One row each: name{Japanese, English}. Names, file patterns and symbols that read the
// same in both languages stay plain texts.

inline constexpr const char* TXT_APP_TITLE = "Trimlet HTML!";
inline constexpr Text TXT_UNTITLED_TASK{"新規タスク", "Untitled"};

// buttons
inline constexpr Text TXT_BUTTON_OK{"OK", "OK"};
inline constexpr Text TXT_BUTTON_CANCEL_SHORT{"ｷｬﾝｾﾙ", "Cancel"};
inline constexpr Text TXT_BUTTON_CANCEL{"キャンセル", "Cancel"};
inline constexpr Text TXT_BUTTON_YES{"はい", "Yes"};
inline constexpr Text TXT_BUTTON_NO{"いいえ", "No"};

// placeholders of a row whose preview failed
inline constexpr const char* TXT_PLACEHOLDER_SIZE = "---";
inline constexpr const char* TXT_PLACEHOLDER_TRIMMED = "---( --%)";
inline constexpr const char* TXT_PLACEHOLDER_TIME = "----/--/-- --:--";

// folder-creation dialog
inline constexpr Text TXT_FOLDER_CREATION_TITLE{"フォルダ作成の確認", "Create Folder"};
inline constexpr Text TXT_FOLDER_CREATION_AUTO{
    "以後、フォルダが存在しない場合には自動的に作成する(&A)",
    "&Always create missing folders from now on"};

// output-exists dialog
inline constexpr Text TXT_OUTPUT_EXISTS_TITLE{"出力ファイル既存時の処理", "Output File Exists"};
inline constexpr Text TXT_OUTPUT_EXISTS_ORIGINAL{"オリジナル　 ：", "Original:    "};
inline constexpr Text TXT_OUTPUT_EXISTS_OUTPUT{"出力ファイル：", "Output file: "};
inline constexpr Text TXT_OUTPUT_EXISTS_OVERWRITE{"上書き", "Overwrite"};
inline constexpr Text TXT_OUTPUT_EXISTS_SKIP{"スキップ", "Skip"};
inline constexpr Text TXT_OUTPUT_EXISTS_IF_NEWER{"オリジナルの方が新しければ上書き",
                                                 "Overwrite if the original is newer"};
inline constexpr Text TXT_OUTPUT_EXISTS_FOR_ALL{"以後すべて", "Apply to All"};

// result summary dialog
inline constexpr Text TXT_SUMMARY_TITLE{"トリムレット処理の結果", "Trim Results"};
inline constexpr Text TXT_SUMMARY_HEADING{"トリムレット処理が完了しました！",
                                          "Trimming is complete!"};
inline constexpr Text TXT_SUMMARY_SUCCEEDED{"処理に成功したファイル：", "Files trimmed: "};
inline constexpr Text TXT_SUMMARY_SKIPPED{"処理をスキップしたファイル：", "Files skipped: "};
inline constexpr Text TXT_SUMMARY_SKIPPED_NOTE{"(または処理に失敗したファイル)", "(or failed)"};
inline constexpr Text TXT_SUMMARY_SOURCE_TOTAL{"処理前のファイルサイズ合計：",
                                               "Total size before: "};
inline constexpr Text TXT_SUMMARY_TRIMMED_TOTAL{"処理後のファイルサイズ合計：",
                                                "Total size after: "};
inline constexpr Text TXT_SUMMARY_RATE{"平均トリムレット率：", "Average trim rate: "};
inline constexpr const char* TXT_SUMMARY_NO_SIZE = "***,***";
inline constexpr const char* TXT_SUMMARY_RATE_FORMAT = "%d %%";
// The list of the files not trimmed: one line per file, its path and why.
inline constexpr Text TXT_SUMMARY_LIST_LABEL{"スキップまたは失敗したファイル(&L)：",
                                             "Skipped or failed &files:"};
inline constexpr Text TXT_SUMMARY_COPY{"一覧をコピー(&C)", "&Copy List"};
inline constexpr Text TXT_SKIPPED_LINE_FORMAT{"%s\t%s", "%s\t%s"};
inline constexpr Text TXT_SKIP_REASON_CHOSEN{"上書きしないことを選択しました",
                                             "you chose not to overwrite"};
inline constexpr Text TXT_SKIP_REASON_NOT_FOUND{"ファイルが見つかりません", "file not found"};
inline constexpr Text TXT_SKIP_REASON_ACCESS{"ファイルを開けません", "cannot open the file"};
inline constexpr Text TXT_SKIP_REASON_READ_ONLY{"出力ファイルが読み取り専用です",
                                                "the output file is read-only"};
inline constexpr Text TXT_SKIP_REASON_IS_FOLDER{"フォルダです", "it is a folder"};
inline constexpr Text TXT_SKIP_REASON_FOLDER{"出力フォルダを作成できません",
                                             "cannot create the output folder"};
inline constexpr Text TXT_SKIP_REASON_UTF16{"文字コードを判別できません",
                                            "cannot tell the character encoding"};
inline constexpr Text TXT_SKIP_REASON_CHANGED{"処理中に他のプログラムが変更しました",
                                              "changed by another program meanwhile"};
inline constexpr Text TXT_SKIP_REASON_TOO_LARGE{"ファイルが大きすぎます", "the file is too large"};
inline constexpr Text TXT_SKIP_REASON_MEMORY{"メモリーが不足しています", "out of memory"};
inline constexpr Text TXT_SKIP_REASON_NOT_EQUIVALENT{"検証でトリム前と異なる結果になりました",
                                                     "the check found the result differs"};
inline constexpr Text TXT_SKIP_REASON_DIFFERENCE{"%s：%s", "%s: %s"};  // reason, where
inline constexpr Text TXT_SKIP_REASON_OTHER{"処理に失敗しました (%s)", "trimming failed (%s)"};

// settings-mismatch dialog
inline constexpr Text TXT_MISMATCH_TITLE{"設定の読み込みの確認", "Load Task Settings"};
inline constexpr Text TXT_MISMATCH_TEXT{
    "　現在のトリムレットに関する設定と、タスクファイルに記録されている設定が異なります。\n\n"
    "現在の設定を破棄し、タスクファイルの設定を読み込みますか？",
    "The current trim settings differ from the settings recorded in the task file.\n\nDiscard the "
    "current settings and load the task file's settings?"};
inline constexpr Text TXT_MISMATCH_DONT_ASK{
    "以後、この警告を表示せずにタスクファイルの設定を読み込む(&R)",
    "Always load the task file's settings without asking (&R)"};
inline constexpr Text TXT_MISMATCH_REPORT_LABEL{"設定の相違点(D)：", "Differences (D):"};

// the difference report of the settings-mismatch dialog
inline constexpr const char* TXT_REPORT_STARS = "*********************************\r\n";
inline constexpr const char* TXT_REPORT_SECTION_SEPARATOR = "\r\n\r\n";
inline constexpr const char* TXT_REPORT_ITEM_SEPARATOR = "\r\n";
inline constexpr Text TXT_REPORT_CURRENT_ON{"　 現在の設定：ON　 タスクファイルの設定：OFF\r\n",
                                            "    Current: ON    Task file: OFF\r\n"};
inline constexpr Text TXT_REPORT_CURRENT_OFF{"　 現在の設定：OFF　タスクファイルの設定：ON\r\n",
                                             "    Current: OFF   Task file: ON\r\n"};
inline constexpr Text TXT_REPORT_WHITESPACE_HEADING{"*****  　空白文字の削除\r\n\r\n",
                                                    "*****  Deleting blanks\r\n\r\n"};
inline constexpr Text TXT_REPORT_TRIM_LINE_ENDS{
    "○ 行頭、行末の空白文字を削除する\r\n", "○ Delete blanks at the start and end of lines\r\n"};
inline constexpr Text TXT_REPORT_COLLAPSE_SPACES{
    "○ 連続する空白文字を \"半角ブランク１つ\" にまとめる\r\n",
    "○ Collapse runs of blanks into \"one space\"\r\n"};
inline constexpr Text TXT_REPORT_ZENKAKU_AS_WSP{"○ 全角ブランクを空白文字とみなす\r\n",
                                                "○ Treat the full-width space as a blank\r\n"};
inline constexpr Text TXT_REPORT_CR_REG_AS_WSP{"○ 改行コードを空白文字とみなす\r\n",
                                               "○ Treat line breaks as blanks\r\n"};
inline constexpr Text TXT_REPORT_BLANK_LINES{"○ 空白行の扱い\r\n", "○ Blank lines\r\n"};
inline constexpr Text TXT_REPORT_BETWEEN_TAGS{"○ タグ間の空白文字を削除する\r\n",
                                              "○ Delete blanks between tags\r\n"};
inline constexpr Text TXT_REPORT_BETWEEN_INLINE_TAGS{
    "○ インライン要素の間の空白文字も削除する\r\n",
    "○ Also delete blanks between inline elements\r\n"};
// Elements a page's CSS makes preformatted keep their blanks exactly when PRE does.
inline constexpr Text TXT_REPORT_INSIDE_PRE{
    "○ <PRE>タグ内部でも空白文字の処理を行う (CSSで整形済みとされた要素の内部を含む)\r\n",
    "○ Process blanks inside <PRE> too (and inside elements CSS makes preformatted)\r\n"};
inline constexpr Text TXT_REPORT_BLANK_DELETE_CURRENT{"　 現在の設定\t：空白行を削除する\r\n",
                                                      "    Current\t: Delete blank lines\r\n"};
inline constexpr Text TXT_REPORT_BLANK_DELETE_FILE{"　 タスクファイル\t：空白行を削除する\r\n",
                                                   "    Task file\t: Delete blank lines\r\n"};
inline constexpr Text TXT_REPORT_BLANK_MERGE_CURRENT{
    "　 現在の設定\t：連続する空白行を１行にまとめる\r\n",
    "    Current\t: Merge runs of blank lines into one\r\n"};
inline constexpr Text TXT_REPORT_BLANK_MERGE_FILE{
    "　 タスクファイル\t：連続する空白行を１行にまとめる\r\n",
    "    Task file\t: Merge runs of blank lines into one\r\n"};
inline constexpr Text TXT_REPORT_BLANK_NONE_CURRENT{
    "　 現在の設定\t：空白行についての処理は行わない\r\n",
    "    Current\t: Leave blank lines as they are\r\n"};
inline constexpr Text TXT_REPORT_BLANK_NONE_FILE{
    "　 タスクファイル\t：空白行についての処理は行わない\r\n",
    "    Task file\t: Leave blank lines as they are\r\n"};
inline constexpr Text TXT_REPORT_HTML_COMMENT_HEADING{"*****  HTMLのコメント削除\r\n\r\n",
                                                      "*****  Deleting HTML comments\r\n\r\n"};
inline constexpr Text TXT_REPORT_HTML_COMMENT_DEL{"○ コメントを削除する\r\n",
                                                  "○ Delete comments\r\n"};
inline constexpr Text TXT_REPORT_BODY_COMMENTS_ONLY{"○ <BODY>タグ内部のコメントのみ削除\r\n",
                                                    "○ Only comments inside <BODY>\r\n"};
inline constexpr Text TXT_REPORT_KEEP_SCRIPT_HTML_COMMENT{
    "○ <SCRIPT>タグ内部のHTMLコメントは削除しない\r\n", "○ Keep HTML comments inside <SCRIPT>\r\n"};
inline constexpr Text TXT_REPORT_KEEP_SSI{"○ SSI は削除しない\r\n", "○ Keep SSI\r\n"};
inline constexpr Text TXT_REPORT_KEEP_DOVETAG{"○ <!-- Dovetag --> は削除しない\r\n",
                                              "○ Keep <!-- Dovetag -->\r\n"};
inline constexpr Text TXT_REPORT_SCRIPT_COMMENT_HEADING{"*****  スクリプトのコメント削除\r\n\r\n",
                                                        "*****  Deleting script comments\r\n\r\n"};
inline constexpr Text TXT_REPORT_SCRIPT_COMMENT_DEL{"○ スクリプトのコメントを削除する\r\n",
                                                    "○ Delete script comments\r\n"};
inline constexpr Text TXT_REPORT_SCRIPT_BLOCK_COMMENT{"○ /* */ の削除\r\n", "○ Delete /* */\r\n"};
inline constexpr Text TXT_REPORT_SCRIPT_LINE_COMMENT{"○ // 以後行末までを削除\r\n",
                                                     "○ Delete from // to the line end\r\n"};
inline constexpr Text TXT_REPORT_VBS_REM_COMMENT{
    "○ REM，シングルクォート(’) 以後行末までを削除\r\n",
    "○ Delete from REM or a single quote (') to the line end\r\n"};
inline constexpr Text TXT_REPORT_SPECIAL_COMMENTS_DEL{
    "○ 特別なコメント（条件付きコメント、ライセンスコメントなど）も削除する\r\n",
    "○ Also delete special comments (conditional comments, licence comments and the like)\r\n"};
inline constexpr Text TXT_REPORT_KEPT_COMMENTS{"○ 常に残すコメント（どちらの設定でも残ります）\r\n",
                                               "○ Comments always kept (under either setting)\r\n"};
inline constexpr const char* TXT_REPORT_KEPT_COMMENT_ITEM = "　 ";
inline constexpr Text TXT_REPORT_FOLDER_HEADING{"*****  　出力フォルダの名前\r\n\r\n",
                                                "*****  Output folder name\r\n\r\n"};
inline constexpr Text TXT_REPORT_FOLDER_CURRENT{"　現在の設定\t:", "  Current\t:"};
inline constexpr Text TXT_REPORT_FOLDER_FILE{"　タスクファイル\t:", "  Task file\t:"};

// old-version dialog
inline constexpr Text TXT_OLD_VERSION_TITLE{"新しいオプションの指定", "New Options"};
inline constexpr Text TXT_OLD_VERSION_TEXT{
    "このタスクファイルは古いバージョン V1.00 で作成されたものです。\n"
    "以下に示す新しい設定のうち、必要なものにチェックをつけてください。",
    "This task file was made by the old version V1.00.\nCheck those of the new settings below that "
    "you need."};
inline constexpr Text TXT_OLD_VERSION_KEEP_SCRIPT_HTML_COMMENT{
    "<SCRIPT>タグ内のHTMLコメントは削除しない(&I)", "Keep HTML comments &inside <SCRIPT>"};
inline constexpr Text TXT_OLD_VERSION_SCRIPT_COMMENT_DEL{"スクリプトのコメントを削除する(&C)",
                                                         "Delete script &comments"};
inline constexpr Text TXT_OLD_VERSION_SCRIPT_BLOCK_COMMENT{"/* */ 削除(&N)",
                                                           "Delete /* */ comme&nts"};
inline constexpr Text TXT_OLD_VERSION_SCRIPT_LINE_COMMENT{"// 以後行末までを削除(&G)",
                                                          "Delete from // to the line &end"};
inline constexpr Text TXT_OLD_VERSION_VBS_REM_COMMENT{
    "REM，シングルクォート(’) 以後行末までを削除(&R)",
    "Delete from &REM or a single quote (') to the line end"};

// line-break hint dialog
inline constexpr Text TXT_LINE_BREAK_HINT_TITLE{"改行コードを空白文字とみなす場合の注意",
                                                "Treating Line Breaks as Blanks"};
inline constexpr Text TXT_LINE_BREAK_HINT_TEXT{
    "「改行コードを空白文字とみなす」を設定すると、自動的に以下の処理が行われますのでご注意ください"
    "。",
    "Please note that \"Treat line breaks as blanks\" also does the following:"};
inline constexpr Text TXT_LINE_BREAK_HINT_ITEM1{
    "JavaScript のシングルラインコメントは強制的に削除されます。",
    "JavaScript single-line comments are always deleted."};
inline constexpr Text TXT_LINE_BREAK_HINT_ITEM2{
    "VBScript を記述している部分にはこの設定は適用されません。",
    "The setting does not apply to VBScript code."};
inline constexpr const char* TXT_LINE_BREAK_HINT_NUMBER1 = "1)";
inline constexpr const char* TXT_LINE_BREAK_HINT_NUMBER2 = "2)";
inline constexpr Text TXT_LINE_BREAK_HINT_DONT_SHOW{"今後このヒントを表示しない(&A)",
                                                    "Do not show this hint &again"};

// add-extension dialog
inline constexpr Text TXT_ADD_EXTENSION_TITLE{"拡張子の追加", "Add Extension"};
inline constexpr Text TXT_ADD_EXTENSION_LABEL{"拡張子：", "Extension:"};
inline constexpr Text TXT_ADD_EXTENSION_BUTTON{"追加", "Add"};

// options sheet
inline constexpr Text TXT_OPTIONS_TITLE{"オプション", "Options"};
inline constexpr Text TXT_BUTTON_HELP{"ヘルプ", "Help"};

// whitespace page
inline constexpr Text TXT_WHITESPACE_PAGE_TITLE{"空白文字の削除", "Blanks"};
inline constexpr Text TXT_WHITESPACE_COLLAPSE_SPACES{
    "連続する空白文字を \"半角ブランク１つ\" にまとめる(&C)",
    "&Collapse runs of blanks into \"one space\""};
inline constexpr Text TXT_WHITESPACE_ZENKAKU_AS_WSP{"全角ブランクを空白文字とみなす(&F)",
                                                    "Treat the &full-width space as a blank"};
inline constexpr Text TXT_WHITESPACE_CR_REG_AS_WSP{"改行コードを空白文字とみなす(&R)",
                                                   "Treat line b&reaks as blanks"};
inline constexpr Text TXT_WHITESPACE_TRIM_LINE_ENDS{"行頭、行末の空白文字を削除する(&T)",
                                                    "&Trim blanks at the start and end of lines"};
inline constexpr Text TXT_WHITESPACE_BLANK_LINES_GROUP{"空白行の扱い", "Blank lines"};
inline constexpr Text TXT_WHITESPACE_BLANK_LINES_DELETE{"空白行を削除する", "Delete blank lines"};
inline constexpr Text TXT_WHITESPACE_BLANK_LINES_MERGE{"連続する空白行を１行にまとめる",
                                                       "Merge runs of blank lines into one"};
inline constexpr Text TXT_WHITESPACE_BLANK_LINES_LEAVE{"空白行についての処理は行わない",
                                                       "Leave blank lines as they are"};
inline constexpr Text TXT_WHITESPACE_BETWEEN_TAGS{"タグ間の空白文字を削除する(&S)",
                                                  "Delete blanks between tag&s"};
inline constexpr Text TXT_WHITESPACE_BETWEEN_INLINE_TAGS{
    "インライン要素の間の空白文字も削除する(&L)", "Also delete blanks between in&line elements"};
inline constexpr Text TXT_WHITESPACE_INSIDE_PRE{"<PRE>タグ内部でも空白文字の処理を行う(&P)",
                                                "Process blanks inside <&PRE> too"};

// comment page
inline constexpr Text TXT_COMMENT_PAGE_TITLE{"コメントの削除", "Comments"};
inline constexpr Text TXT_COMMENT_HTML_DEL{"HTML のコメント(<!--  -->)を削除する(&D)",
                                           "&Delete HTML comments (<!--  -->)"};
inline constexpr Text TXT_COMMENT_BODY_ONLY{"<BODY>タグ内部のコメントのみ削除(&B)",
                                            "Only comments inside <&BODY>"};
inline constexpr Text TXT_COMMENT_KEEP_STYLE{"<STYLE>タグ内のHTMLコメントは削除しない(&T)",
                                             "Keep HTML comments inside <S&TYLE>"};
inline constexpr Text TXT_COMMENT_KEEP_SCRIPT_HTML{"<SCRIPT>タグ内部のHTMLコメントは削除しない(&I)",
                                                   "Keep HTML comments &inside <SCRIPT>"};
inline constexpr Text TXT_COMMENT_KEEP_SSI{"SSI (<!--# -->) は削除しない(&S)",
                                           "Keep &SSI (<!--# -->)"};
inline constexpr Text TXT_COMMENT_KEEP_DOVETAG{"<!-- Dovetag -->は削除しない(&P)",
                                               "Kee&p <!-- Dovetag -->"};
inline constexpr Text TXT_COMMENT_HTML_EXCEPTIONS_GROUP{"HTMLコメント削除の例外", "Exceptions"};
inline constexpr Text TXT_COMMENT_SCRIPT_DEL{"スクリプトのコメントを削除する(&C)",
                                             "Delete script &comments"};
inline constexpr Text TXT_COMMENT_SCRIPT_BLOCK{"/* */ で囲まれるコメントを削除(&N)",
                                               "Delete /* */ comme&nts"};
inline constexpr Text TXT_COMMENT_SCRIPT_LINE{"// 以後行末までを削除(&G)",
                                              "Delete from // to the line &end"};
inline constexpr Text TXT_COMMENT_VBS_REM{"VBScript で REM，’ 以後行末までを削除(&R)",
                                          "In VBScript, delete from &REM or ' to the line end"};
// "\xE3\x80\x80" is the full-width blank.
inline constexpr Text TXT_COMMENT_SCRIPT_GROUP{
    "スクリプトファイル，<SCRIPT>タグ内\xE3\x80\x80のコメント",
    "Comments in script files and <SCRIPT>"};
inline constexpr Text TXT_COMMENT_SPECIAL_DEL{
    "特別なコメント（条件付きコメント、ライセンスコメントなど）も削除する(&E)",
    "Also delete sp&ecial comments (conditional comments, licence comments and the like)"};
inline constexpr Text TXT_COMMENT_KEPT_GROUP{"常に残すコメント（先頭の文字列）",
                                             "Comments always kept (how they begin)"};
inline constexpr Text TXT_COMMENT_KEPT_TIP{
    "<!--、//、/*、' "
    "で始まる文字列はコメントの先頭から、それ以外はコメント記号と空白の後から比べます",
    "A text that begins with <!--, //, /* or ' is compared with the start of the comment, any "
    "other with its text after the comment mark and blanks"};
inline constexpr Text TXT_COMMENT_KEPT_ADD{"追加(&A)", "&Add"};
inline constexpr Text TXT_COMMENT_KEPT_EDIT{"変更(&M)", "&Modify"};
inline constexpr Text TXT_COMMENT_KEPT_REMOVE{"削除(&V)", "Remo&ve"};

// file page
inline constexpr Text TXT_OUTPUT_PAGE_TITLE{"ファイル", "Files"};
inline constexpr Text TXT_OUTPUT_FOLDER_GROUP{"出力フォルダ", "Output folder"};
inline constexpr Text TXT_OUTPUT_FOLDER_NAME_LABEL{"出力フォルダ名(&N)：", "Output folder &name:"};
inline constexpr Text TXT_OUTPUT_CONFIRM_CREATE{"出力フォルダの作成を確認する(&S)",
                                                "A&sk before creating the output folder"};
inline constexpr Text TXT_OUTPUT_EXTENSIONS_GROUP{"拡張子", "Extensions"};
inline constexpr Text TXT_OUTPUT_HTML_EXTENSIONS_LABEL{"HTMLの拡張子(&H)", "&HTML extensions"};
inline constexpr Text TXT_OUTPUT_HTML_ADD{"追加(&1)", "&Add"};
inline constexpr Text TXT_OUTPUT_HTML_REMOVE{"削除(&2)", "&Remove"};
inline constexpr Text TXT_OUTPUT_SCRIPT_EXTENSIONS_LABEL{"スクリプトの拡張子(&C)",
                                                         "S&cript extensions"};
inline constexpr Text TXT_OUTPUT_SCRIPT_ADD{"追加(&3)", "A&dd"};
inline constexpr Text TXT_OUTPUT_SCRIPT_REMOVE{"削除(&4)", "Re&move"};

// action page
inline constexpr Text TXT_ACTION_PAGE_TITLE{"アクション", "Actions"};
inline constexpr Text TXT_ACTION_RECENT_GROUP{"“最近使ったタスク” を開いたときの動作",
                                              "When a recent task is chosen"};
inline constexpr Text TXT_ACTION_RECENT_OPEN{"タスクを開く(&O)", "&Open the task"};
inline constexpr Text TXT_ACTION_RECENT_RUN{"タスクを実行(&E)", "&Run the task"};
inline constexpr Text TXT_ACTION_OPEN_GROUP{"【タスクを開く】を実行する際の動作",
                                            "When Open Task is chosen"};
inline constexpr Text TXT_ACTION_ALERT_NOT_SAME{
    "現在のトリムレットの設定と、タスクファイル中の設定が異なる場合には確認する(&S)",
    "A&sk when the task file's settings differ from the current ones"};
inline constexpr Text TXT_ACTION_RUN_GROUP{"実行する際の動作", "When files are run"};
inline constexpr Text TXT_ACTION_VERIFY_RESULTS{"トリム結果を検証する(&V)",
                                                "&Verify each trimmed result"};
inline constexpr Text TXT_ACTION_VERIFY_RESULTS_TIP{
    "トリムしたページをトリム前と比べ、同じ文書にならないファイルは書き込みません。",
    "Compares each trimmed page with its original and does not write a file whose result is "
    "not the same document."};

// about box and its marquee
inline constexpr Text TXT_ABOUT_TITLE{"バージョン情報", "About"};
inline constexpr Text TXT_ABOUT_PRODUCT{"トリムレット HTML！ V%s",
                                        "Trimlet HTML! V%s"};  // %s version
inline constexpr const char* TXT_ABOUT_ATTRIBUTION =
    "Trimlet HTML! project  https://trimlet-html.example.org/";
inline constexpr Text TXT_MARQUEE_SCROLL{
    "Trimlet HTML! "
    "をダウンロードしていただき、ありがとうございます。今後ともよろしくお願いいたします。",
    "Thank you for downloading Trimlet HTML! We hope it serves you well."};
inline constexpr const char* TXT_MARQUEE_BLINK = "★★★★★★★★★★★★★★★★★★★★★★★★";
inline constexpr const char* TXT_MARQUEE_BAND = "─☆☆─";
inline constexpr const char* TXT_MARQUEE_TYPEWRITER = "■";

// file and folder choosers
inline constexpr Text TXT_FILTER_TASK_FILES{"タスクファイル(*.trh)", "Task files (*.trh)"};
inline constexpr const char* TXT_FILTER_TASK_FILES_PATTERN = "*.trh";
inline constexpr const char* TXT_TASK_FILE_EXTENSION = "trh";
inline constexpr Text TXT_FILTER_HTML{"HTMLドキュメント(*.htm;*.html)",
                                      "HTML documents (*.htm;*.html)"};
inline constexpr const char* TXT_FILTER_HTML_PATTERN = "*.htm;*.html";
inline constexpr Text TXT_FILTER_TEXT{"テキストファイル(*.txt)", "Text files (*.txt)"};
inline constexpr const char* TXT_FILTER_TEXT_PATTERN = "*.txt";
inline constexpr Text TXT_FILTER_ALL{"すべてのファイル(*.*)", "All files (*.*)"};
inline constexpr const char* TXT_FILTER_ALL_PATTERN = "*.*";
// The add-files dialog's filters built from the extension lists ("%s": "*.htm;*.html").
inline constexpr Text TXT_FILTER_PAGES_AND_SCRIPTS_FORMAT{"HTMLとスクリプト(%s)",
                                                          "HTML and scripts (%s)"};
inline constexpr Text TXT_FILTER_HTML_FORMAT{"HTMLドキュメント(%s)", "HTML documents (%s)"};
inline constexpr Text TXT_FILTER_SCRIPT_FORMAT{"スクリプト(%s)", "Scripts (%s)"};
inline constexpr Text TXT_BROWSE_FOLDER_TITLE{"処理対象のフォルダ選択", "Choose a Folder to Trim"};

}  // namespace trimlet
