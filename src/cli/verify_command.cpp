// trimlet verify: compares a page with its trimmed form the way a browser reads both, and
// the check that "trim --verify" makes before it writes.

#include <iostream>
#include <string>

#include "cli/commands.h"
#include "platform/system_error.h"
#include "text/text_loading.h"
#include "verify/page_verifier.h"

namespace trimlet::cli {

namespace text {
inline constexpr std::string_view kVerifyHelp =
    "Reads ORIGINAL and TRIMMED as a browser reads them (an HTML5 parser; scripts by their\n"
    "tokens) and tells whether they are the same document, as far as MODE lets a trim change\n"
    "it: blanks where a browser shows none, the comments MODE deletes. Files are decoded as a\n"
    "trim decodes them. Exit status: 0 the same, 1 they differ (the first difference is\n"
    "printed) or a file could not be read or is too large to verify (over 20 MB), 2 bad usage.";
inline constexpr std::string_view kSame = "the same document";
inline constexpr std::string_view kDiffers = "not the same document:";
inline constexpr std::string_view kTooLargeToVerify = "is too large to verify (over 20 MB)";
inline constexpr std::string_view kCannotVerify = "cannot verify";
inline constexpr std::string_view kVerifyNotWritten = "trimmed result not written:";
inline constexpr std::string_view kVerifySkipped =
    "warning: too large to verify (over 20 MB), written unverified:";
}  // namespace text

int RunVerifyCommand(Args args) {
    constexpr CommandHelp kVerify{text::kVerifyUsage, text::kVerifyHelp};
    TrimSettingArgs settings;
    std::vector<std::string> files;
    const Option options[] = {settings.ModeOption(kVerify.usage),
                              settings.ScriptExtensionsOption()};
    const auto takeFile = [&](std::string_view arg) {
        if (files.size() == 2) return BadUsage(kVerify.usage, text::kExtraArgument, arg);
        files.emplace_back(arg);
        return kExitOk;
    };
    if (std::optional<int> status = ReadArgs(args, kVerify, options, takeFile)) return *status;
    if (files.size() < 2 || files[0].empty() || files[1].empty())
        return BadUsage(kVerify.usage, text::kMissingFile);

    std::string original, trimmed;
    ClearSystemError();
    if (Result r = ReadFileStart(files[0], true, 0, original); r != RESULT_OK)
        return Failure(text::kCannotVerify, files[0], r);
    if (Result r = ReadFileStart(files[1], true, 0, trimmed); r != RESULT_OK)
        return Failure(text::kCannotVerify, files[1], r);
    Verdict verdict;
    const FileKind kind = KindOfPath(files[0], settings.ScriptExtensions());
    // The original's linked style sheets lie beside it, as when it was trimmed.
    VerifyOptions verifying;
    verifying.pagePath = files[0];
    if (Result r = VerifyFileBytes(std::move(original), std::move(trimmed), kind, settings.Mode(),
                                   verdict, verifying);
        r != RESULT_OK)
        return Failure(text::kCannotVerify, files[1], r);
    switch (verdict.status) {
        case VerifyStatus::Same:
            std::cout << files[1] << ": " << text::kSame << '\n';
            return kExitOk;
        case VerifyStatus::Skipped:
            return FailureWords(text::kCannotVerify, files[1], text::kTooLargeToVerify);
        case VerifyStatus::Differs:
            break;
    }
    std::cout << files[1] << ": " << text::kDiffers << ' ' << verdict.difference << '\n';
    return kExitFailed;
}

int VerifyBeforeWrite(const std::string& inputPath, std::string_view trimmedBytes, TrimMode mode,
                      const std::string& scriptExtensions) {
    Verdict verdict;
    ClearSystemError();
    if (Result r = VerifyTrimmedFile(inputPath, trimmedBytes, mode, scriptExtensions, verdict);
        r != RESULT_OK)
        return Failure(text::kCannotVerify, inputPath, r);
    if (verdict.status == VerifyStatus::Differs)
        return FailureWords(text::kVerifyNotWritten, inputPath, verdict.difference);
    if (verdict.status == VerifyStatus::Skipped)
        std::cerr << text::kProgram << ": " << text::kVerifySkipped << ' ' << inputPath << '\n';
    return kExitOk;
}

}  // namespace trimlet::cli
