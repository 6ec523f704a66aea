// trimlet preview: the file list's columns for each file, as the desktop would show them.

#include <cstdint>
#include <iostream>
#include <span>
#include <string>
#include <vector>

#include "batch/format.h"
#include "cli/commands.h"
#include "cli/json_report.h"
#include "common/messages.h"
#include "platform/file_info.h"
#include "platform/system_error.h"
#include "text/file_look.h"

namespace trimlet::cli {

namespace {

// One line of the preview: path, size, trimmed size with percentage, time; placeholders
// when the file cannot be trimmed. `entry` gets the same for the JSON report.
std::string PreviewLine(const std::string& path, TrimMode mode, std::string_view scriptExtensions,
                        std::span<const std::string> kept, Result& result, JsonFile& entry) {
    FileLook look;
    LookAtFile(path, mode, scriptExtensions, 0, false, look, kept);
    result = look.result;
    entry = JsonFile{.path = path, .result = result};
    if (result == RESULT_OK) {
        entry.size = look.inputSize;
        entry.trimmedSize = look.outputSize;
    } else {
        entry.messageId = MessageIdOf(result);
        entry.message = FormatMessage(entry.messageId, path);
    }
    const FindRecord& record = look.record;
    const std::uint64_t sourceSize = look.inputSize, trimmedSize = look.outputSize;

    std::string line = path;
    line += '\t';
    if (result != RESULT_OK) {
        ((((line += kSizePlaceholder) += '\t') += kTrimmedSizePlaceholder) += '\t') +=
            kTimePlaceholder;
    } else {
        line += FormatSize(record.size) + '\t' + FormatSize(trimmedSize) +
                FormatPercent(trimmedSize, sourceSize) + '\t' +
                FormatListTime(record.lastWriteTime);
    }
    return line + '\n';
}

}  // namespace

int RunPreviewCommand(Args args) {
    constexpr CommandHelp kPreview{text::kPreviewUsage, text::kPreviewHelp};
    TrimSettingArgs settings;
    std::vector<std::string> files;
    bool json = false;
    const Option options[] = {settings.ModeOption(kPreview.usage),
                              settings.NamesOption(kPreview.usage),
                              settings.PrintModeOption(),
                              settings.ScriptExtensionsOption(),
                              settings.KeepCommentOption(kPreview.usage),
                              {.name = "--json", .take = [&json](std::string_view) {
                                   json = true;
                                   return kExitOk;
                               }}};
    const auto addFile = [&](std::string_view arg) {
        if (arg.empty()) return BadUsage(kPreview.usage, text::kMissingFile);
        files.emplace_back(arg);
        return kExitOk;
    };
    if (std::optional<int> status = ReadArgs(args, kPreview, options, addFile)) return *status;
    if (std::optional<int> printed = settings.PrintModeIfAsked()) return *printed;
    if (files.empty()) return BadUsage(kPreview.usage, text::kMissingFile);
    const TrimMode mode = settings.Mode();
    const std::string scriptExtensions = settings.ScriptExtensions();
    const std::vector<std::string> kept = settings.KeptComments();

    int status = kExitOk;
    std::vector<JsonFile> entries;
    for (const std::string& file : files) {
        Result result = RESULT_OK;
        ClearSystemError();
        JsonFile entry;
        std::string line = PreviewLine(file, mode, scriptExtensions, kept, result, entry);
        if (!json && !WriteStdout(line))
            return Failure(text::kCannotWrite, text::kStandardOutput, RESULT_ACCESS_ERROR);
        if (result != RESULT_OK) status = Failure(text::kCannotTrim, file, result);
        entries.push_back(std::move(entry));
    }
    if (json && !WriteStdout(JsonReport("preview", entries)))
        return Failure(text::kCannotWrite, text::kStandardOutput, RESULT_ACCESS_ERROR);
    return status;
}

}  // namespace trimlet::cli
