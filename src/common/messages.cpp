#include "common/messages.h"

#include <algorithm>
#include <cstdio>

namespace trimlet {
namespace {

// clang-format off
constexpr Message kMessages[] = {
    {100, "OLE の初期化に失敗しました。 OLE ﾗｲﾌﾞﾗﾘのﾊﾞｰｼﾞｮﾝが正しいことを確認してください。"},
    {15000, "ファイル名"},
    {15001, "元のサイズ"},
    {15002, "処理後のサイズ"},
    {15003, "更新時間"},
    {15004, "処理を中止します。"},
    {15005, "追加ファイルの選択"},
    {15006, "タスクに名前を付けて保存"},
    {15007, "タスクを開く"},
    {15008, "実行するタスクの選択"},
    {15010, "    (オリジナルを上書き)"},
    {15011, "オリジナルのファイルを上書きしようとしています。\n処理を選択してください。"},
    {15012, "出力ファイルが既に存在します。処理を選択してください。"},
    {15013, "“出力フォルダ名” に空白を設定すると、処理対象のファイルに上書きで結果を出力しますのでご注意ください。"},
    {18000, "ファイルリストをクリアします。よろしいですか？"},
    {18001, "編集中のタスクがあります。現在の編集を破棄してタスクファイルを開きますか？"},
    {18002, "タスクの変更を破棄して終了しますか？"},
    {18003, "編集中のタスクがあります。現在の編集を破棄てよろしいですか？"},
    {20000, "\"%s\"\n\n上記ファイルは見つかりません。処理をスキップします。"},
    {20001, "\"%s\" \nはフォルダーです。変換処理をスキップします。"},
    {20002, "通常のファイル \"%s\" が存在するため、出力ファイルを収納するフォルダを作成できません。"},
    {20003, "フォルダ \"%s\" が作成できません。以下の点を確認してください。\n\n1) ディスク容量の空きは十分にありますか？\n2) 指定の場所にフォルダを作成できる権限が設定されていますか？"},
    {20005, "出力ファイルを収納するための下のフォルダが存在しません。作成しますか？\n\n%s"},
    {20006, "\"%s\" という名前のフォルダが既に存在するため、ファイルのトリムレット処理をスキップします。"},
    {20007, "%s\r\n(%s   %d/%02d/%02d %d:%d)"},
    {20008, "\"%s\"\n\n上記ファイルの処理中にエラーが発生しました。このファイルの処理をスキップします。"},
    {20009, "%d 個のファイルをリストに追加しました。"},
    {20010, "\"%s\"\n\n上記ファイルの情報検索に失敗しました。このファイルをリストに追加できません。"},
    {20011, "指定のフォルダ内には、処理対象に追加できるファイルがありません。\n\nこのフォルダ中の %d 個のファイルが既に処理対象に指定されています。"},
    {20012, "\"%s\" は存在しません。"},
    {20013, "\"%s\" のオープンに失敗しました。"},
    {20014, "ファイルの書き込みでエラーが発生しました。以下の点を確認してください。\n\n1) ディスクの空き容量は十分にありますか？\n2) 他のプログラムがこのファイルを使用していませんか？"},
    {20015, "TrimletHTML タスク(%d).trh"},
    {20016, "\"%s\"\n\n上記ファイルの処理で出力ファイルの作成に失敗しました。\n【オプション】の【出力】タブにある【出力先フォルダ】の設定を確認してください。\n\nこのファイルの処理をスキップします。"},
    {20017, "このタスクファイルは新しいバージョン %s で作成されたもので、\n本バージョンで読み込むと正しく動作しない可能性があります。\n\n処理を続けますか？"},
    {20018, "\"%s\"\n\n上記ファイルの読み込みでエラーが発生しました。処理を中止します。"},
    {20019, "このファイルは読み取り専用です。強制的に上書きしますか？\n\n%s"},
    {20020, "読み取り専用属性の解除に失敗したため、\"%s\"の処理をスキップします。"},
    {20021, "\"%s\"\n\n上記ファイルのアクセスでエラーが起こりましたので、このファイルの処理をスキップします。以下の点を確認してください。\n\n　1) ファイル存在し、アクセスできるように権限が設定されている。\n　2) 他のプログラムがこのファイルを使用していない。"},
    {20022, "\"%s\"\n\n上記ファイルはテキストファイルではないと思われます。\nこのファイルをリストに追加しますか？"},
    {20023, "%d 個"},
    {20024, "下記フォルダには、処理対象に追加できるファイルがありません。\n\n%s"},
    {20025, "下記ヘルプファイルが見つかりません。\n\n%s"},
    {20026, "%d 個のファイルをリストから削除します。\n\nよろしいですか？"},
    {20040, "\"%s\"\n\n上記ファイルは UTF-16 のバイトオーダーマークで始まっていますが、正しい UTF-16 のテキストではありません (奇数のバイト数、または対になっていないサロゲート)。このファイルの処理をスキップします。"},
    {20041, "\"%s\"\n\n上記ファイルには UTF-16 のテキストと同じ並びで NUL 文字が含まれていますが、正しい UTF-16 のテキストではありません。文字コードを判別できないため、このファイルの処理をスキップします。"},
    {20042, "\"%s\"\n\n上記ファイルは名前に改行が含まれているため、タスクに保存できません。このファイルはリストに追加しません。"},
    {20043, "\"%s\"\n\n上記ファイルは読み込んだ後に他のプログラムによって変更されたため、上書きしませんでした。このファイルの処理をスキップします。"},
    {20044, "\"%s\"\n\n上記ファイルは別の名前 (ハードリンク) を持つか所有者が異なるため、ファイルに直接書き込む必要がありますが、同じフォルダに復旧用のファイルを作成できないため書き込みませんでした。このファイルの処理をスキップします。"},
    {20045, "\"%s\"\n\n上記ファイルへの前回の書き込みが途中で中断されていたため、書き込む前の内容に戻しました。"},
    {20046, "\"%s\"\n\n上記の一時ファイルまたは復旧用のファイルは、作成したプログラムが終了したことを確認できない (別のコンピューターやコンテナーで作成された) ため、削除せずに残しました。"},
    {40000, "メモリー不足のため、処理を継続できません。\n使用していないプログラムを終了するなどして、使用できるメモリーを増やしてください。"},
    {40001, "指定のフォルダには処理対象のファイルがありません。"},
    {40002, "指定のファイルは TrimletHTML のタスクファイルではありません。"},
    {40003, "ファイルの読み込み中にエラーが発生しました。"},
    {40004, "拡張子を入力してください。"},
    {40005, "拡張子に使えない文字が入っています。\nまた.(ピリオド)を入力する必要はありません。\n\n\\ / : * ? \\\" < | >\""},
    {40006, "ファイル名に使えない文字が含まれています。\n\n\\ < | > * \" ? /"},
    {40007, "拡張子 %s はスクリプトファイルの拡張子として既に登録されています。"},
    {40008, "拡張子 %s は既に登録されています。"},
    {40009, "拡張子 %s は HTML の拡張子として既に登録されています。"},
};
// clang-format on

constexpr bool SortedWithoutDuplicates(std::span<const Message> table) {
    for (std::size_t i = 1; i < table.size(); ++i) {
        if (table[i - 1].id >= table[i].id) return false;
    }
    return true;
}
static_assert(SortedWithoutDuplicates(kMessages), "message table must be sorted by id");

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
    const Message* m = Find(id);
    return m ? m->text : "";
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
