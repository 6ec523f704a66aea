#include "cli/cli_support.h"

#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <vector>

#include "cli/option_names.h"
#include "common/messages.h"
#include "platform/durable_write.h"
#include "platform/system_error.h"
#include "settings/migration.h"
#include "settings/overlay_profile.h"
#include "settings/profile_keys.h"
#include "settings/qt_profile.h"

namespace trimlet::cli {

namespace {

std::unique_ptr<Profile>& ProfileSlot() {
    static std::unique_ptr<Profile> profile;
    return profile;
}

// The option at args[i], moving i past it; returns what the option's `take` returns, or
// kExitBadUsage when it is no option of the command or lacks its value.
int TakeOption(Args args, std::size_t& i, std::string_view usage, std::span<const Option> options) {
    const std::string_view arg = args[i];
    bool missing = false;
    for (const Option& option : options) {
        if (!option.takesValue) {
            if (arg != option.name && (option.alias.empty() || arg != option.alias)) continue;
            ++i;
            return option.take({});
        }
        if (std::optional<std::string_view> value = OptionValue(args, i, option.name, missing))
            return option.take(*value);
    }
    return BadUsage(usage, missing ? text::kMissingValue : text::kUnknownOption, arg);
}

}  // namespace

void OpenCliProfile(const std::string& path) {
    std::unique_ptr<const Profile> base;
    const char* named = std::getenv(kProfileEnvironmentVariable);
    if (!path.empty() || (named != nullptr && *named != '\0')) base = OpenProfile(path);
    ProfileSlot() = std::make_unique<OverlayProfile>(std::move(base));
    MigrateProfile(*ProfileSlot());
}

Profile& CliProfile() {
    if (!ProfileSlot()) OpenCliProfile({});
    return *ProfileSlot();
}

std::optional<TrimMode> ParseTrimMode(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text[0] == '+' || text[0] == '-') return std::nullopt;
    std::uint32_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

int BadUsage(std::string_view usage, std::string_view problem, std::string_view detail) {
    std::cerr << text::kProgram << ": " << problem;
    if (!detail.empty()) std::cerr << " '" << detail << '\'';
    std::cerr << '\n' << text::kUsageHeader << ' ' << usage << '\n';
    return kExitBadUsage;
}

std::string_view ResultWords(Result result) {
    switch (result) {
        case RESULT_NOT_FOUND:
            return text::kNotFound;
        case RESULT_IS_FOLDER:
            return text::kIsFolder;
        case RESULT_FILE_ERROR:
            return text::kCannotOpen;
        case RESULT_ACCESS_ERROR:
            return text::kReadWriteFailed;
        case RESULT_TOO_LARGE:
            return text::kTooLarge;
        case RESULT_OUT_OF_MEMORY:
        case RESULT_SCRIPT_NO_MEMORY:
            return text::kOutOfMemory;
        case RESULT_INVALID_UTF16:
            return text::kInvalidUtf16;
        case RESULT_UNCLEAR_UTF16:
            return text::kUnclearUtf16;
        case RESULT_BAD_PATH:
        case RESULT_INVALID_ARGUMENT:
            return text::kBadPath;
        case RESULT_FILE_CHANGED:
            return text::kChangedSinceRead;
        case RESULT_NO_RECOVERY_FILE:
            return text::kNoRecoveryFile;
        default:
            return text::kFailed;
    }
}

int FailureWords(std::string_view what, std::string_view path, std::string_view words) {
    std::cerr << text::kProgram << ": " << what << ' ' << path << ": " << words << '\n';
    return kExitFailed;
}

int Failure(std::string_view what, std::string_view path, Result result) {
    std::cerr << text::kProgram << ": " << what << ' ' << path << ": " << ResultWords(result);
    if (const int error = LastSystemError(); error != 0)
        std::cerr << ": " << SystemErrorText(error, Language::English);
    std::cerr << '\n';
    return kExitFailed;
}

void PrintWriteNotices() {
    for (const WriteNotice& notice : TakeWriteNotices()) {
        const bool restored = notice.kind == WriteNotice::Kind::Restored;
        std::cerr << text::kProgram << ": " << notice.path << ": "
                  << (restored ? text::kRestoredOldContent : text::kLeftoverKept) << '\n';
    }
}

bool WriteStdout(std::string_view bytes) {
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size()) {
        NoteSystemError(errno);
        return false;
    }
    if (std::fflush(stdout) != 0) {
        NoteSystemError(errno);
        return false;
    }
    return !std::ferror(stdout);
}

std::optional<std::string_view> OptionValue(Args args, std::size_t& i, std::string_view name,
                                            bool& missing) {
    std::string_view arg = args[i];
    if (arg == name) {
        if (i + 1 >= args.size()) {
            missing = true;
            return std::nullopt;
        }
        i += 2;
        return args[i - 1];
    }
    if (arg.size() > name.size() && arg.substr(0, name.size()) == name && arg[name.size()] == '=' &&
        name.substr(0, 2) == "--") {
        ++i;
        return arg.substr(name.size() + 1);
    }
    return std::nullopt;
}

int PrintHelp(const CommandHelp& command) {
    std::cout << text::kUsageHeader << ' ' << command.usage << '\n' << command.help << '\n';
    return kExitOk;
}

std::optional<int> ReadArgs(Args args, const CommandHelp& command, std::span<const Option> options,
                            const std::function<int(std::string_view arg)>& positional) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size();) {
        const std::string_view arg = args[i];
        int status = kExitOk;
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            status = positional(arg);
            ++i;
        } else if (arg == "--") {
            optionsEnded = true;
            ++i;
        } else if (arg == "--help" || arg == "-h") {
            return PrintHelp(command);
        } else {
            status = TakeOption(args, i, command.usage, options);
        }
        if (status != kExitOk) return status;
    }
    return std::nullopt;
}

std::string AbsolutePath(std::string_view path) {
    std::string whole;
    if (path.empty() || path[0] != '/') {
        std::vector<char> buffer(4096);
        while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
            if (errno != ERANGE || buffer.size() > (1u << 20)) return {};
            buffer.resize(buffer.size() * 2);
        }
        whole = buffer.data();
        whole += '/';
    }
    whole += path;

    std::string result;
    std::size_t i = 0;
    while (i < whole.size()) {
        std::size_t end = whole.find('/', i);
        if (end == std::string::npos) end = whole.size();
        std::string_view part(whole.data() + i, end - i);
        if (!part.empty() && part != ".") (result += '/') += part;
        i = end + 1;
    }
    return result.empty() ? "/" : result;
}

Option TrimSettingArgs::ModeOption(std::string_view usage) {
    return {.name = "--mode", .takesValue = true, .take = [this, usage](std::string_view value) {
                mode = ParseTrimMode(value);
                if (!mode) return BadUsage(usage, text::kBadMode, value);
                modeByNumber = true;
                return modeByNames ? BadUsage(usage, text::kBothModeOptions) : kExitOk;
            }};
}

Option TrimSettingArgs::NamesOption(std::string_view usage) {
    return {.name = "--options", .takesValue = true, .take = [this, usage](std::string_view value) {
                std::string problem;
                mode = ParseOptionList(value, problem);
                if (!mode) return BadUsage(usage, text::kBadOptionName, problem);
                modeByNames = true;
                return modeByNumber ? BadUsage(usage, text::kBothModeOptions) : kExitOk;
            }};
}

Option TrimSettingArgs::PrintModeOption() {
    return {.name = "--print-mode", .take = [this](std::string_view) {
                printMode = true;
                return kExitOk;
            }};
}

Option TrimSettingArgs::ExtOption() {
    return {.name = "--ext", .takesValue = true, .take = [this](std::string_view value) {
                for (const char c : value) {
                    if (!moreHtmlExtensions.empty() && moreHtmlExtensions.back() != ':' &&
                        (c == ',' || c == ':')) {
                        moreHtmlExtensions += ':';
                    } else if (c != ',' && c != ':' && c != '.') {
                        moreHtmlExtensions += c;
                    }
                }
                return kExitOk;
            }};
}

Option KeepCommentOption(std::vector<std::string>& list, std::string_view usage) {
    return {.name = "--keep-comment",
            .takesValue = true,
            .take = [&list, usage](std::string_view value) {
                // An entry is one line, as the profile keeps it.
                value = value.substr(0, value.find_first_of("\r\n"));
                if (value.empty()) return BadUsage(usage, text::kEmptyKeepComment);
                list.emplace_back(value);
                return kExitOk;
            }};
}

std::vector<std::string> KeptCommentsWith(std::span<const std::string> more) {
    std::vector<std::string> kept = ReadKeptComments(CliProfile());
    kept.insert(kept.end(), more.begin(), more.end());
    return kept;
}

std::string TrimSettingArgs::HtmlExtensions() const {
    std::string list = ReadHtmlExtensions(CliProfile());
    if (!moreHtmlExtensions.empty()) (list += ':') += moreHtmlExtensions;
    return list;
}

std::optional<int> TrimSettingArgs::PrintModeIfAsked() const {
    if (!printMode) return std::nullopt;
    std::cout << Mode() << '\n' << std::flush;
    return kExitOk;
}

std::string_view ResultClass(Result result) {
    if (result == RESULT_OK) return text::kResultOk;
    return result == RESULT_SKIPPED ? text::kResultSkipped : text::kResultFailed;
}

int MessageIdOf(Result result) {
    switch (result) {
        case RESULT_OK:
        case RESULT_SKIPPED:
            return 0;
        case RESULT_NOT_FOUND:
            return MSG_FILE_NOT_FOUND;
        case RESULT_IS_FOLDER:
            return MSG_INPUT_IS_FOLDER;
        case RESULT_INVALID_UTF16:
            return MSG_INVALID_UTF16;
        case RESULT_UNCLEAR_UTF16:
            return MSG_UNCLEAR_UTF16;
        case RESULT_FILE_CHANGED:
            return MSG_FILE_CHANGED_SINCE_READ;
        case RESULT_SAME_OUTPUT:
            return MSG_SAME_OUTPUT;
        case RESULT_OUT_OF_MEMORY:
            return MSG_OUT_OF_MEMORY;
        default:
            return MSG_FILE_PROCESSING_ERROR;
    }
}

Option VerbosityArgs::QuietOption(std::string_view usage) {
    return {.name = "--quiet", .alias = "-q", .take = [this, usage](std::string_view) {
                if (level == Verbosity::Verbose) return BadUsage(usage, text::kQuietVerbose);
                level = Verbosity::Quiet;
                return kExitOk;
            }};
}

Option VerbosityArgs::VerboseOption(std::string_view usage) {
    return {.name = "--verbose", .alias = "-v", .take = [this, usage](std::string_view) {
                if (level == Verbosity::Quiet) return BadUsage(usage, text::kQuietVerbose);
                level = Verbosity::Verbose;
                return kExitOk;
            }};
}

Option TrimSettingArgs::ScriptExtensionsOption() {
    return {
        .name = "--script-extensions", .takesValue = true, .take = [this](std::string_view value) {
            scriptExtensions = std::string(value);
            return kExitOk;
        }};
}

TrimMode TrimSettingArgs::Mode() const {
    return mode ? *mode : ReadTrimMode(CliProfile());
}

std::string TrimSettingArgs::ScriptExtensions() const {
    return scriptExtensions ? *scriptExtensions : ReadScriptExtensions(CliProfile());
}

}  // namespace trimlet::cli
