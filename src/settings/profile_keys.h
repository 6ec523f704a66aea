#pragma once
// Every key of the profile's "Settings" section with its type and default, in one place.
// All readers of a key use the default given here, and the typed readers below are the
// way the rest of the program reaches a setting, so no caller repeats a key or a default.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "engine/trim_mode.h"
#include "settings/profile.h"

namespace trimlet {

enum class ProfileKeyType { Integer, String };

struct ProfileKey {
    const char* name;
    ProfileKeyType type;
    std::int64_t integerDefault;  // for Integer keys
    const char* stringDefault;    // for String keys
};

constexpr ProfileKey IntegerKey(const char* name, std::int64_t fallback) {
    return {name, ProfileKeyType::Integer, fallback, nullptr};
}
constexpr ProfileKey StringKey(const char* name, const char* fallback) {
    return {name, ProfileKeyType::String, 0, fallback};
}

// The trim mode, an unsigned 32-bit word.
inline constexpr ProfileKey kKeyTrimMode = IntegerKey("MODE", kDefaultTrimMode);
// Output folder of a run: a name, a relative path or an absolute path; empty writes
// every trimmed file over its input.
inline constexpr ProfileKey kKeyOutputFolderName = StringKey("OUTPUT_FOLDER_NAME", "Trimlet");
// 1: ask before a run of the list creates a missing output folder.
inline constexpr ProfileKey kKeyAlertCreateOutputFolder =
    IntegerKey("ALERT_CREATE_OUTPUT_FOLDER", 1);
// Extensions of HTML files and of script files, without dots, separated by ":".
inline constexpr ProfileKey kKeyHtmlExtensions = StringKey("FILE_FILTER", "HTM:HTML");
inline constexpr ProfileKey kKeyScriptExtensions = StringKey("FILE_FILTER_SCR", "JS:VBS");
// A recent task or a shell open request: 0 opens the task into the list, else runs it.
inline constexpr ProfileKey kKeyMruOpenAction = IntegerKey("MRUL_OPEN_ACTION", 0);
// 1: ask before taking an opened task file's differing settings.
inline constexpr ProfileKey kKeyAlertSettingNotSame = IntegerKey("ALERT_SETTING_NOT_SAME", 1);
// 1: a run of the window checks each trimmed result against its original before writing it.
inline constexpr ProfileKey kKeyVerifyTrimResults = IntegerKey("VERIFY_TRIM_RESULTS", 0);
// Where the task file dialogs start; empty means the documents folder.
inline constexpr ProfileKey kKeyDocumentFolder = StringKey("DOCUMENT_FOLDER", "");
// Where the Add files dialog starts; empty means the documents folder.
inline constexpr ProfileKey kKeyLastFileOpenFolder = StringKey("LAST_FILE_OPEN_FOLDER", "");
inline constexpr ProfileKey kKeyShowBaseFolder = IntegerKey("SHOW_BASE_FOLDER", 1);
// 1: the hint about line breaks counting as whitespace is no longer shown.
inline constexpr ProfileKey kKeyCrRegAsWspHintOff = IntegerKey("SHOW_ALERT_CR_REG_AS_WSP", 0);
// Choice preselected when an output file exists: 0 overwrite, 1 skip, 2 overwrite when
// the input is newer.
inline constexpr ProfileKey kKeyFileOverwriteMethod = IntegerKey("FILE_OVERWRITE_METHOD", 0);
inline constexpr ProfileKey kKeyShowToolBar = IntegerKey("SHOW_TOOL_BAR", 1);
inline constexpr ProfileKey kKeyShowStatusBar = IntegerKey("SHOW_STATUS_BAR", 1);
// Beginnings of comments the user wants kept whatever the mode says, one per line (LF);
// empty for none. Profiles without the key keep only the built-in kinds.
inline constexpr ProfileKey kKeyKeptComments = StringKey("KEEP_COMMENTS", "");
// Layout version of the profile; -1 when missing. The program writes kProfileVersion.
inline constexpr ProfileKey kKeyProfileVersion = IntegerKey("VERSION", -1);

inline constexpr std::int32_t kProfileVersion = 150;

inline constexpr std::array<ProfileKey, 17> kProfileKeys = {
    kKeyTrimMode,
    kKeyOutputFolderName,
    kKeyAlertCreateOutputFolder,
    kKeyHtmlExtensions,
    kKeyScriptExtensions,
    kKeyMruOpenAction,
    kKeyAlertSettingNotSame,
    kKeyVerifyTrimResults,
    kKeyDocumentFolder,
    kKeyLastFileOpenFolder,
    kKeyShowBaseFolder,
    kKeyCrRegAsWspHintOff,
    kKeyFileOverwriteMethod,
    kKeyShowToolBar,
    kKeyShowStatusBar,
    kKeyKeptComments,
    kKeyProfileVersion,
};

// Generic access through a key of the table. Integer keys hold 32-bit words: ReadWordKey
// gives the word (a negative stored value wraps), ReadIntKey the same word as signed.
std::uint32_t ReadWordKey(const Profile& profile, const ProfileKey& key);
std::int32_t ReadIntKey(const Profile& profile, const ProfileKey& key);
bool ReadFlagKey(const Profile& profile, const ProfileKey& key);  // non-zero
std::string ReadStringKey(const Profile& profile, const ProfileKey& key);
void WriteIntegerKey(Profile& profile, const ProfileKey& key, std::int64_t value);
void WriteFlagKey(Profile& profile, const ProfileKey& key, bool value);  // 1 or 0
void WriteStringKey(Profile& profile, const ProfileKey& key, std::string_view value);

// Typed readers and writers of each setting.
inline TrimMode ReadTrimMode(const Profile& p) {
    return ReadWordKey(p, kKeyTrimMode);
}
inline void WriteTrimMode(Profile& p, TrimMode mode) {
    WriteIntegerKey(p, kKeyTrimMode, mode);
}

inline std::string ReadOutputFolderName(const Profile& p) {
    return ReadStringKey(p, kKeyOutputFolderName);
}
inline void WriteOutputFolderName(Profile& p, std::string_view name) {
    WriteStringKey(p, kKeyOutputFolderName, name);
}

inline bool ReadAlertCreateOutputFolder(const Profile& p) {
    return ReadFlagKey(p, kKeyAlertCreateOutputFolder);
}
inline void WriteAlertCreateOutputFolder(Profile& p, bool on) {
    WriteFlagKey(p, kKeyAlertCreateOutputFolder, on);
}

inline std::string ReadHtmlExtensions(const Profile& p) {
    return ReadStringKey(p, kKeyHtmlExtensions);
}
inline void WriteHtmlExtensions(Profile& p, std::string_view list) {
    WriteStringKey(p, kKeyHtmlExtensions, list);
}
inline std::string ReadScriptExtensions(const Profile& p) {
    return ReadStringKey(p, kKeyScriptExtensions);
}
inline void WriteScriptExtensions(Profile& p, std::string_view list) {
    WriteStringKey(p, kKeyScriptExtensions, list);
}

// The stored number unchanged: 0 opens, any other value runs.
inline std::int32_t ReadMruOpenAction(const Profile& p) {
    return ReadIntKey(p, kKeyMruOpenAction);
}
inline void WriteMruOpenAction(Profile& p, std::int32_t action) {
    WriteIntegerKey(p, kKeyMruOpenAction, action);
}

inline bool ReadAlertSettingNotSame(const Profile& p) {
    return ReadFlagKey(p, kKeyAlertSettingNotSame);
}
inline void WriteAlertSettingNotSame(Profile& p, bool on) {
    WriteFlagKey(p, kKeyAlertSettingNotSame, on);
}

inline bool ReadVerifyTrimResults(const Profile& p) {
    return ReadFlagKey(p, kKeyVerifyTrimResults);
}
inline void WriteVerifyTrimResults(Profile& p, bool on) {
    WriteFlagKey(p, kKeyVerifyTrimResults, on);
}

inline std::string ReadDocumentFolder(const Profile& p) {
    return ReadStringKey(p, kKeyDocumentFolder);
}
inline void WriteDocumentFolder(Profile& p, std::string_view folder) {
    WriteStringKey(p, kKeyDocumentFolder, folder);
}
inline std::string ReadLastFileOpenFolder(const Profile& p) {
    return ReadStringKey(p, kKeyLastFileOpenFolder);
}
inline void WriteLastFileOpenFolder(Profile& p, std::string_view folder) {
    WriteStringKey(p, kKeyLastFileOpenFolder, folder);
}

inline bool ReadShowBaseFolder(const Profile& p) {
    return ReadFlagKey(p, kKeyShowBaseFolder);
}
inline void WriteShowBaseFolder(Profile& p, bool on) {
    WriteFlagKey(p, kKeyShowBaseFolder, on);
}

// True once the user asked not to see the line-break hint again.
inline bool ReadCrRegAsWspHintOff(const Profile& p) {
    return ReadFlagKey(p, kKeyCrRegAsWspHintOff);
}
inline void WriteCrRegAsWspHintOff(Profile& p) {
    WriteFlagKey(p, kKeyCrRegAsWspHintOff, true);
}

// The stored index unchanged; the dialog decides what an out-of-range index means.
inline std::int32_t ReadFileOverwriteMethod(const Profile& p) {
    return ReadIntKey(p, kKeyFileOverwriteMethod);
}
inline void WriteFileOverwriteMethod(Profile& p, std::int32_t method) {
    WriteIntegerKey(p, kKeyFileOverwriteMethod, method);
}

inline bool ReadShowToolBar(const Profile& p) {
    return ReadFlagKey(p, kKeyShowToolBar);
}
inline void WriteShowToolBar(Profile& p, bool on) {
    WriteFlagKey(p, kKeyShowToolBar, on);
}
inline bool ReadShowStatusBar(const Profile& p) {
    return ReadFlagKey(p, kKeyShowStatusBar);
}
inline void WriteShowStatusBar(Profile& p, bool on) {
    WriteFlagKey(p, kKeyShowStatusBar, on);
}

// The user's comment beginnings: the stored lines without the empty ones, in their order.
std::vector<std::string> ReadKeptComments(const Profile& p);
// Stores the entries one per line, leaving out empty ones and cutting each at a line break
// (an entry holds none).
void WriteKeptComments(Profile& p, std::span<const std::string> entries);

inline std::int32_t ReadProfileVersion(const Profile& p) {
    return ReadIntKey(p, kKeyProfileVersion);
}

}  // namespace trimlet
