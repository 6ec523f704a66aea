#include "settings/output_options.h"

#include "common/messages.h"
#include "settings/extension_lists.h"
#include "settings/profile_keys.h"

namespace trimlet {

namespace {

constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";
constexpr std::string_view kBadWindowsFolderCharacters = "/:*?\"<|>";
constexpr std::string_view kBadPosixFolderCharacters = "\\:*?\"<|>";

bool IsCp932Lead(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

bool IsCp932Trail(unsigned char c) {
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

std::vector<std::string>& ListOf(OutputPageState& state, ExtensionListKind kind) {
    return kind == ExtensionListKind::Html ? state.htmlExtensions : state.scriptExtensions;
}

}  // namespace

// ---- File page -------------------------------------------------------------------------

OutputPageState ReadOutputPage(const Profile& profile) {
    OutputPageState state;
    state.outputFolderName = ReadOutputFolderName(profile);
    state.alertCreateOutputFolder = ReadAlertCreateOutputFolder(profile);
    state.htmlExtensions = SplitExtensionList(ReadHtmlExtensions(profile));
    state.scriptExtensions = SplitExtensionList(ReadScriptExtensions(profile));
    SortExtensionList(state.htmlExtensions);
    SortExtensionList(state.scriptExtensions);
    return state;
}

std::string CleanOutputFolderName(std::string_view fieldText) {
    const std::size_t first = fieldText.find_first_not_of(kWhiteSpace);
    if (first == std::string_view::npos) return {};
    const std::size_t last = fieldText.find_last_not_of(kWhiteSpace);
    return std::string(fieldText.substr(first, last - first + 1));
}

bool NoticeBlankOutputFolderName(Dialogs& dialogs, std::string_view fieldText) {
    if (fieldText.find_first_not_of(kWhiteSpace) != std::string_view::npos) return false;
    dialogs.Ask(MSG_BLANK_OUTPUT_FOLDER_NOTICE, MessageIcon::Information, MessageButtons::Ok);
    return true;
}

bool HasBadOutputFolderCharacters(PathStyle style, std::string_view name) {
    if (style == PathStyle::Posix) {
        // UTF-8: these ASCII bytes never occur inside a multibyte character.
        return name.find_first_of(kBadPosixFolderCharacters) != std::string_view::npos;
    }
    if (name.size() > 2 && name[1] == ':') name.remove_prefix(2);
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (IsCp932Lead(c) && i + 1 < name.size() &&
            IsCp932Trail(static_cast<unsigned char>(name[i + 1]))) {
            ++i;
            continue;
        }
        if (kBadWindowsFolderCharacters.find(name[i]) != std::string_view::npos) return true;
    }
    return false;
}

bool IsRefusedOutputFolderName(PathStyle style, std::string_view name) {
    if (HasBadOutputFolderCharacters(style, name)) return true;
    if (style != PathStyle::Posix) return false;
    if (name.find('\0') != std::string_view::npos) return true;
    // An absolute name is one fixed folder; a relative one is a single folder beside each
    // input, which "." and ".." are not.
    if (!name.empty() && name.front() == '/') return false;
    return name == "." || name == ".." || name.find('/') != std::string_view::npos;
}

bool ApplyOutputPage(Dialogs& dialogs, Profile& profile, const OutputPageState& state,
                     PathStyle style) {
    const std::string name = CleanOutputFolderName(state.outputFolderName);
    if (IsRefusedOutputFolderName(style, name)) {
        dialogs.Ask(style == PathStyle::Posix ? MSG_FOLDER_NAME_REFUSED_POSIX
                                              : MSG_FOLDER_NAME_BAD_CHARACTERS,
                    MessageIcon::None, MessageButtons::Ok);
        return false;
    }
    WriteOutputFolderName(profile, name);
    WriteAlertCreateOutputFolder(profile, state.alertCreateOutputFolder);
    WriteHtmlExtensions(profile, JoinExtensionList(state.htmlExtensions));
    WriteScriptExtensions(profile, JoinExtensionList(state.scriptExtensions));
    return true;
}

bool AddExtension(Dialogs& dialogs, OutputPageState& state, ExtensionListKind target,
                  std::string_view extension) {
    const ExtensionListKind other =
        target == ExtensionListKind::Html ? ExtensionListKind::Script : ExtensionListKind::Html;
    std::vector<std::string>& list = ListOf(state, target);
    const std::vector<std::string>& otherList = ListOf(state, other);

    if (int at = FindExtension(list, extension); at >= 0) {
        dialogs.Ask(MSG_EXTENSION_LISTED, MessageIcon::Stop, MessageButtons::Ok,
                    list[static_cast<std::size_t>(at)]);
        return false;
    }
    if (int at = FindExtension(otherList, extension); at >= 0) {
        const int id =
            target == ExtensionListKind::Html ? MSG_EXTENSION_IS_SCRIPT : MSG_EXTENSION_IS_HTML;
        dialogs.Ask(id, MessageIcon::Stop, MessageButtons::Ok,
                    otherList[static_cast<std::size_t>(at)]);
        return false;
    }
    InsertExtensionSorted(list, std::string(extension));
    return true;
}

bool AddExtensionFromDialog(Dialogs& dialogs, OutputPageState& state, ExtensionListKind target) {
    const std::optional<std::string> extension = dialogs.AddExtensionDialog();
    if (!extension) return false;
    return AddExtension(dialogs, state, target, *extension);
}

bool RemoveExtension(OutputPageState& state, ExtensionListKind target, std::size_t index) {
    std::vector<std::string>& list = ListOf(state, target);
    if (index >= list.size()) return false;
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

// ---- Action page -----------------------------------------------------------------------

ActionPageState ReadActionPage(const Profile& profile) {
    ActionPageState state;
    state.runRecentTask = ReadMruOpenAction(profile) != 0;
    state.alertSettingNotSame = ReadAlertSettingNotSame(profile);
    state.verifyTrimResults = ReadVerifyTrimResults(profile);
    return state;
}

void ApplyActionPage(Profile& profile, const ActionPageState& state) {
    WriteMruOpenAction(profile, state.runRecentTask ? 1 : 0);
    WriteAlertSettingNotSame(profile, state.alertSettingNotSame);
    WriteVerifyTrimResults(profile, state.verifyTrimResults);
}

}  // namespace trimlet
