#pragma once
// A file beside its trim: read, decoded and trimmed the way a run trims it, then compared
// (compare/text_compare.h). The window calls it off its own thread; it touches nothing but
// the file it reads.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "common/charset.h"
#include "common/result.h"
#include "compare/text_compare.h"
#include "engine/trim_mode.h"
#include "verify/page_verifier.h"

namespace trimlet {

struct FileComparison {
    // RESULT_OK, or why the file could not be read or trimmed (TrimFile's codes).
    Result result = RESULT_OK;
    std::uint64_t bytesBefore = 0;  // the file's size
    std::uint64_t bytesAfter = 0;   // the size a run would write
    Charset charset = Charset::Cp932;
    bool utf16 = false;  // the file is UTF-16; the rows show it as text
    Comparison comparison;
    // When asked for: the check of the result against the page, as a run with verifying
    // makes it. Nothing when it was not asked for or could not be made.
    std::optional<Verdict> verdict;
};

// Trims the file at `path` with `trimMode` (a script by `scriptExtensions`) and compares
// its text with the result under `limits`; with `verify`, also checks the result
// (VerifyTrimmedFile). Comments that begin as one of `keptComments` stay, as in TrimFile.
[[nodiscard]] FileComparison CompareFile(const std::string& path, TrimMode trimMode,
                                         std::string_view scriptExtensions,
                                         const CompareLimits& limits = {}, bool verify = false,
                                         std::span<const std::string> keptComments = {});

// The message that tells why a file could not be compared (its "%s" is the path).
[[nodiscard]] int CompareFailureMessage(Result result);

}  // namespace trimlet
