#include "common/messages.h"

#include <algorithm>
#include <cstdio>

namespace trimlet {
namespace {

// clang-format off
constexpr Message kMessages[] = {
    {100,
     "OLE の初期化に失敗しました。 OLE ﾗｲﾌﾞﾗﾘのﾊﾞｰｼﾞｮﾝが正しいことを確認してください。",
     "OLE could not be initialized. Make sure the OLE libraries are the right version."},
    {15000,
     "ファイル名",
     "File name"},
    {15001,
     "元のサイズ",
     "Size"},
    {15002,
     "処理後のサイズ",
     "Trimmed size"},
    {15003,
     "更新時間",
     "Modified"},
    {15004,
     "処理を中止します。",
     "Stopping."},
    {15005,
     "追加ファイルの選択",
     "Choose Files to Add"},
    {15006,
     "タスクに名前を付けて保存",
     "Save Task As"},
    {15007,
     "タスクを開く",
     "Open Task"},
    {15008,
     "実行するタスクの選択",
     "Choose a Task to Run"},
    {15010,
     "    (オリジナルを上書き)",
     "    (overwrite the original)"},
    {15011,
     "オリジナルのファイルを上書きしようとしています。\n処理を選択してください。",
     "You are about to overwrite the original file.\nChoose what to do."},
    {15012,
     "出力ファイルが既に存在します。処理を選択してください。",
     "The output file already exists. Choose what to do."},
    {15013,
     "“出力フォルダ名” に空白を設定すると、処理対象のファイルに上書きで結果を出力しますのでご注意ください。",
     "With an empty \"Output folder name\", the results are written over the files being trimmed."},
    {18000,
     "ファイルリストをクリアします。よろしいですか？",
     "Clear the file list?"},
    {18001,
     "編集中のタスクがあります。現在の編集を破棄してタスクファイルを開きますか？",
     "The task has unsaved changes. Discard them and open a task file?"},
    {18002,
     "タスクの変更を破棄して終了しますか？",
     "Discard the task's changes and exit?"},
    {18003,
     "編集中のタスクがあります。現在の編集を破棄てよろしいですか？",
     "The task has unsaved changes. Discard them?"},
    {18004,
     "\"%s\"\n\n上記タスクファイルを開くように要求されました。編集中のタスクがあります。現在の編集を破棄してタスクファイルを開きますか？",
     "\"%s\"\n\nYou asked to open the task file above. The current task has changes. Discard them and open the task file?"},
    {20000,
     "\"%s\"\n\n上記ファイルは見つかりません。処理をスキップします。",
     "\"%s\"\n\nThe file above was not found. It is skipped."},
    {20001,
     "\"%s\" \nはフォルダーです。変換処理をスキップします。",
     "\"%s\" \nis a folder. It is skipped."},
    {20002,
     "通常のファイル \"%s\" が存在するため、出力ファイルを収納するフォルダを作成できません。",
     "The folder for the output files cannot be created because a file \"%s\" is in its place."},
    {20003,
     "フォルダ \"%s\" が作成できません。以下の点を確認してください。\n\n1) ディスク容量の空きは十分にありますか？\n2) 指定の場所にフォルダを作成できる権限が設定されていますか？",
     "The folder \"%s\" cannot be created. Please check:\n\n1) Is there enough free disk space?\n2) May you create a folder in that place?"},
    {20005,
     "出力ファイルを収納するための下のフォルダが存在しません。作成しますか？\n\n%s",
     "The folder below, which is to hold the output files, does not exist. Create it?\n\n%s"},
    {20006,
     "\"%s\" という名前のフォルダが既に存在するため、ファイルのトリムレット処理をスキップします。",
     "A folder named \"%s\" already exists, so the file is not trimmed."},
    {20007,
     "%s\r\n(%s   %d/%02d/%02d %d:%d)",
     "%s\r\n(%s   %d/%02d/%02d %d:%d)"},
    {20008,
     "\"%s\"\n\n上記ファイルの処理中にエラーが発生しました。このファイルの処理をスキップします。",
     "\"%s\"\n\nAn error occurred while trimming the file above. It is skipped."},
    {20009,
     "%d 個のファイルをリストに追加しました。",
     "%d file(s) added to the list."},
    {20010,
     "\"%s\"\n\n上記ファイルの情報検索に失敗しました。このファイルをリストに追加できません。",
     "\"%s\"\n\nThe information of the file above could not be read. It cannot be added to the list."},
    {20011,
     "指定のフォルダ内には、処理対象に追加できるファイルがありません。\n\nこのフォルダ中の %d 個のファイルが既に処理対象に指定されています。",
     "The folder holds no more files to add.\n\nIts %d file(s) are already in the list."},
    {20012,
     "\"%s\" は存在しません。",
     "\"%s\" does not exist."},
    {20013,
     "\"%s\" のオープンに失敗しました。",
     "\"%s\" could not be opened."},
    {20014,
     "ファイルの書き込みでエラーが発生しました。以下の点を確認してください。\n\n1) ディスクの空き容量は十分にありますか？\n2) 他のプログラムがこのファイルを使用していませんか？",
     "An error occurred while writing the file. Please check:\n\n1) Is there enough free disk space?\n2) Is another program using the file?"},
    {20015,
     "TrimletHTML タスク(%d).trh",
     "TrimletHTML Task(%d).trh"},
    {20016,
     "\"%s\"\n\n上記ファイルの処理で出力ファイルの作成に失敗しました。\n【オプション】の【出力】タブにある【出力先フォルダ】の設定を確認してください。\n\nこのファイルの処理をスキップします。",
     "\"%s\"\n\nThe output file for the file above could not be created.\nCheck \"Output folder\" on the Files page of Options.\n\nThe file is skipped."},
    {20017,
     "このタスクファイルは新しいバージョン %s で作成されたもので、\n本バージョンで読み込むと正しく動作しない可能性があります。\n\n処理を続けますか？",
     "This task file was made by the newer version %s\nand may not work correctly with this version.\n\nContinue?"},
    {20018,
     "\"%s\"\n\n上記ファイルの読み込みでエラーが発生しました。処理を中止します。",
     "\"%s\"\n\nAn error occurred while reading the file above. Stopping."},
    {20019,
     "このファイルは読み取り専用です。強制的に上書きしますか？\n\n%s",
     "This file is read-only. Overwrite it anyway?\n\n%s"},
    {20020,
     "読み取り専用属性の解除に失敗したため、\"%s\"の処理をスキップします。",
     "The read-only attribute of \"%s\" could not be cleared, so the file is skipped."},
    {20021,
     "\"%s\"\n\n上記ファイルのアクセスでエラーが起こりましたので、このファイルの処理をスキップします。以下の点を確認してください。\n\n　1) ファイル存在し、アクセスできるように権限が設定されている。\n　2) 他のプログラムがこのファイルを使用していない。",
     "\"%s\"\n\nThe file above could not be accessed and is skipped. Please check:\n\n  1) The file exists and its permissions allow access.\n  2) No other program is using it."},
    {20022,
     "\"%s\"\n\n上記ファイルはテキストファイルではないと思われます。\nこのファイルをリストに追加しますか？",
     "\"%s\"\n\nThe file above does not seem to be a text file.\nAdd it to the list anyway?"},
    {20023,
     "%d 個",
     "%d file(s)"},
    {20024,
     "下記フォルダには、処理対象に追加できるファイルがありません。\n\n%s",
     "The folder below holds no files that can be added.\n\n%s"},
    {20025,
     "下記ヘルプファイルが見つかりません。\n\n%s",
     "The help file below cannot be found.\n\n%s"},
    {20026,
     "%d 個のファイルをリストから削除します。\n\nよろしいですか？",
     "%d file(s) will be removed from the list.\n\nAre you sure?"},
    {20040,
     "\"%s\"\n\n上記ファイルは UTF-16 のバイトオーダーマークで始まっていますが、正しい UTF-16 のテキストではありません (奇数のバイト数、または対になっていないサロゲート)。このファイルの処理をスキップします。",
     "\"%s\"\n\nThe file above begins with a UTF-16 byte-order mark but is not valid UTF-16 text (odd number of bytes, or an unpaired surrogate). It is skipped."},
    {20041,
     "\"%s\"\n\n上記ファイルには UTF-16 のテキストと同じ並びで NUL 文字が含まれていますが、正しい UTF-16 のテキストではありません。文字コードを判別できないため、このファイルの処理をスキップします。",
     "\"%s\"\n\nThe file above holds NUL bytes laid out as in UTF-16 text, but it is not valid UTF-16. Its encoding is unclear, so it is skipped."},
    {20042,
     "\"%s\"\n\n上記ファイルは名前に改行が含まれているため、タスクに保存できません。このファイルはリストに追加しません。",
     "\"%s\"\n\nThe name of the file above holds a line break, so a task cannot store it. It is not added to the list."},
    {20043,
     "\"%s\"\n\n上記ファイルは読み込んだ後に他のプログラムによって変更されたため、上書きしませんでした。このファイルの処理をスキップします。",
     "\"%s\"\n\nThe file above was changed by another program after it was read, so it was not overwritten. It is skipped."},
    {20044,
     "\"%s\"\n\n上記のファイルまたはフォルダを開けません。まだ作成されていないか、開くプログラムがありません。",
     "\"%s\"\n\nThe file or folder above cannot be opened. It does not exist yet, or no program opens it."},
    {20047,
     "\"%s\"\n\n上記ファイルの出力ファイル \"%s\" には、同じ処理で先に \"%s\" の結果を出力するため、このファイルの処理をスキップします。",
     "\"%s\"\n\nThe output file \"%s\" of the file above receives the result of \"%s\" earlier in this run, so this file is skipped."},
    {20048,
     "\"%s\"\n\n上記ファイルは拡張子が HTML ファイルにもスクリプトファイルにも当たらないため、処理をスキップします。ファイルの種類は --type で指定できます。",
     "\"%s\"\n\nThe extension of the file above is neither an HTML nor a script extension, so it is skipped. --type says what kind a file is."},
    {20049,
     "\"%s\"\n\n上記ファイルのトリム結果を検証したところ、元のページと同じ文書になりませんでした。このファイルは書き込まずにスキップします。\n\n%s",
     "\"%s\"\n\nThe trimmed result of the file above is not the same document as the original page. The file is skipped and nothing is written.\n\n%s"},
    {20050,
     "\"%s\"\n\n上記ファイルは検証できる大きさ (20 MB) を超えているため、トリム結果を検証せずに書き込みます。",
     "\"%s\"\n\nThe file above is larger than can be verified (20 MB), so its trimmed result is written without verification."},
    {20051,
     "\"%s\"\n\n上記ファイルは別の名前 (ハードリンク) を持つか所有者が異なるため、ファイルに直接書き込む必要がありますが、同じフォルダに復旧用のファイルを作成できないため書き込みませんでした。このファイルの処理をスキップします。",
     "\"%s\"\n\nThe file above has another name (a hard link) or another owner, so it must be written into in place, but no recovery file can be made in its folder, so it was not written. The file is skipped."},
    {20052,
     "\"%s\"\n\n上記ファイルへの前回の書き込みが途中で中断されていたため、書き込む前の内容に戻しました。",
     "\"%s\"\n\nThe last write into the file above was cut short, so its content before that write was restored."},
    {20053,
     "\"%s\"\n\n上記の一時ファイルまたは復旧用のファイルは、作成したプログラムが終了したことを確認できない (別のコンピューターやコンテナーで作成された) ため、削除せずに残しました。",
     "\"%s\"\n\nThe temporary or recovery file above was kept: the program that made it cannot be proved to have ended (it was made on another computer or in a container)."},
    {40000,
     "メモリー不足のため、処理を継続できません。\n使用していないプログラムを終了するなどして、使用できるメモリーを増やしてください。",
     "There is not enough memory to go on.\nClose programs you do not need to free memory."},
    {40001,
     "指定のフォルダには処理対象のファイルがありません。",
     "The folder holds no files to trim."},
    {40002,
     "指定のファイルは TrimletHTML のタスクファイルではありません。",
     "The file is not a TrimletHTML task file."},
    {40003,
     "ファイルの読み込み中にエラーが発生しました。",
     "An error occurred while reading the file."},
    {40004,
     "拡張子を入力してください。",
     "Please enter an extension."},
    {40005,
     "拡張子に使えない文字が入っています。\nまた.(ピリオド)を入力する必要はありません。\n\n\\ / : * ? \\\" < | >\"",
     "The extension holds a character that is not allowed.\nDo not type the . (period).\n\n\\ / : * ? \\\" < | >\""},
    {40006,
     "ファイル名に使えない文字が含まれています。\n\n\\ < | > * \" ? /",
     "The file name holds a character that is not allowed.\n\n\\ < | > * \" ? /"},
    {40007,
     "拡張子 %s はスクリプトファイルの拡張子として既に登録されています。",
     "The extension %s is already listed as a script extension."},
    {40008,
     "拡張子 %s は既に登録されています。",
     "The extension %s is already listed."},
    {40009,
     "拡張子 %s は HTML の拡張子として既に登録されています。",
     "The extension %s is already listed as an HTML extension."},
    {40010,
     "出力フォルダ名に使えない名前または文字が含まれています。\n\n名前全体が . または ..\n/ (/ で始まる絶対パスを除く)\nNUL \\ : * ? \" < | >",
     "The output folder name is a name or holds a character that cannot be used.\n\nthe whole name . or ..\n/ (except in an absolute path starting with /)\nNUL \\ : * ? \" < | >"},
};
// clang-format on

constexpr bool SortedWithoutDuplicates(std::span<const Message> table) {
    for (std::size_t i = 1; i < table.size(); ++i) {
        if (table[i - 1].id >= table[i].id) return false;
    }
    return true;
}
static_assert(SortedWithoutDuplicates(kMessages), "message table must be sorted by id");

constexpr bool EveryRowHasBothTexts(std::span<const Message> table) {
    for (const Message& m : table) {
        if (!SameConversions(m.japanese, m.english)) return false;
    }
    return true;
}
static_assert(EveryRowHasBothTexts(kMessages),
              "every message needs its Japanese and English text, with the same conversions");

const Message* Find(int id) {
    const auto* it = std::lower_bound(std::begin(kMessages), std::end(kMessages), id,
                                      [](const Message& m, int key) { return m.id < key; });
    if (it == std::end(kMessages) || it->id != id) return nullptr;
    return it;
}

// One conversion of a format text, as parsed: "%" flags width .precision length conv.
struct Conversion {
    std::string_view flags;
    int width = -1;
    int precision = -1;
    char conv = 0;
};

// Widths and precisions beyond this are taken for a broken format, not for a request
// to pad a message with megabytes of blanks.
constexpr int kMaxWidth = 4096;

bool ParseNumber(std::string_view format, std::size_t& i, int& value) {
    value = 0;
    while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
        value = value * 10 + (format[i] - '0');
        if (value > kMaxWidth) return false;
        ++i;
    }
    return true;
}

// Parses the conversion that starts after the "%" at `i`; on success `i` ends after it.
bool ParseConversion(std::string_view format, std::size_t& i, Conversion& c) {
    const std::size_t flagsBegin = i;
    while (i < format.size() &&
           std::string_view("-+ #0").find(format[i]) != std::string_view::npos) {
        ++i;
    }
    c.flags = format.substr(flagsBegin, i - flagsBegin);
    if (i < format.size() && format[i] >= '0' && format[i] <= '9') {
        if (!ParseNumber(format, i, c.width)) return false;
    }
    if (i < format.size() && format[i] == '.') {
        ++i;
        if (!ParseNumber(format, i, c.precision)) return false;
    }
    while (i < format.size() &&
           std::string_view("hlLqjzt").find(format[i]) != std::string_view::npos) {
        ++i;
    }
    if (i >= format.size()) return false;
    c.conv = format[i];
    if (std::string_view("sdiuxXo").find(c.conv) == std::string_view::npos) return false;
    ++i;
    return true;
}

// printf of one integer with a format built here (never taken from an argument).
template <typename T>
void AppendPrintf(std::string& out, const std::string& spec, T value) {
    char small[64];
    const int n = std::snprintf(small, sizeof small, spec.c_str(), value);
    if (n < 0) return;
    if (static_cast<std::size_t>(n) < sizeof small) {
        out.append(small, static_cast<std::size_t>(n));
        return;
    }
    const std::size_t start = out.size();
    out.resize(start + static_cast<std::size_t>(n) + 1);
    std::snprintf(out.data() + start, static_cast<std::size_t>(n) + 1, spec.c_str(), value);
    out.resize(start + static_cast<std::size_t>(n));
}

// Appends `text` cut to the precision (never inside a UTF-8 character) and padded with
// blanks to the width, on the left unless the "-" flag asks for the right.
void AppendText(std::string& out, std::string_view text, const Conversion& c, bool usePrecision) {
    if (usePrecision && c.precision >= 0 && text.size() > static_cast<std::size_t>(c.precision)) {
        std::size_t cut = static_cast<std::size_t>(c.precision);
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
            --cut;
        text = text.substr(0, cut);
    }
    const std::size_t width = c.width > 0 ? static_cast<std::size_t>(c.width) : 0;
    const std::size_t pad = width > text.size() ? width - text.size() : 0;
    const bool left = c.flags.find('-') != std::string_view::npos;
    if (!left) out.append(pad, ' ');
    out.append(text);
    if (left) out.append(pad, ' ');
}

std::string Decimal(const FormatArg& arg) {
    std::string text;
    if (arg.kind() == FormatArg::Kind::Signed) {
        AppendPrintf(text, "%lld", arg.signedValue());
    } else {
        AppendPrintf(text, "%llu", arg.unsignedValue());
    }
    return text;
}

void AppendNumber(std::string& out, const FormatArg& arg, const Conversion& c) {
    std::string spec = "%";
    spec += c.flags;
    if (c.width >= 0) spec += std::to_string(c.width);
    if (c.precision >= 0) spec += "." + std::to_string(c.precision);
    spec += "ll";
    const bool isSigned = arg.kind() == FormatArg::Kind::Signed;
    const bool decimal = c.conv == 'd' || c.conv == 'i';
    if (decimal && isSigned) {
        AppendPrintf(out, spec + 'd', arg.signedValue());
    } else if (decimal) {
        AppendPrintf(out, spec + 'u', arg.unsignedValue());
    } else {
        const unsigned long long value =
            isSigned ? static_cast<unsigned long long>(arg.signedValue()) : arg.unsignedValue();
        AppendPrintf(out, spec + c.conv, value);
    }
}

}  // namespace

std::span<const Message> AllMessages() {
    return kMessages;
}

const char* MessageText(int id) {
    return MessageText(id, CurrentLanguage());
}

const char* MessageText(int id, Language language) {
    const Message* m = Find(id);
    if (!m) return "";
    return language == Language::English ? m->english : m->japanese;
}

bool HasMessage(int id) {
    return Find(id) != nullptr;
}

std::string FormatText(std::string_view format, std::initializer_list<FormatArg> args) {
    std::string out;
    out.reserve(format.size() + 64);
    auto next = args.begin();
    std::size_t i = 0;
    while (i < format.size()) {
        const std::size_t percent = format.find('%', i);
        if (percent == std::string_view::npos) {
            out.append(format.substr(i));
            break;
        }
        out.append(format.substr(i, percent - i));
        i = percent + 1;
        if (i < format.size() && format[i] == '%') {
            out += '%';
            ++i;
            continue;
        }
        Conversion c;
        std::size_t end = i;
        if (!ParseConversion(format, end, c) || next == args.end()) {
            // Not understood, or no argument left: show the text as written.
            out += '%';
            continue;
        }
        i = end;
        const FormatArg& arg = *next++;
        if (c.conv == 's') {
            if (arg.kind() == FormatArg::Kind::Text) {
                AppendText(out, arg.text(), c, true);
            } else {
                AppendText(out, Decimal(arg), c, false);
            }
        } else if (arg.kind() == FormatArg::Kind::Text) {
            AppendText(out, arg.text(), c, false);
        } else {
            AppendNumber(out, arg, c);
        }
    }
    return out;
}

}  // namespace trimlet
