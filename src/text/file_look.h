#pragma once
// One read of a file for everything a list row needs of it: its find record, whether its
// first bytes look like text, and its trim. Three looks at the file (the text test, the
// record, the trim) would each open it or ask for its status again, which costs more than
// trimming a small page.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "common/result.h"
#include "engine/trim_mode.h"
#include "platform/file_info.h"
#include "platform/read_file.h"

namespace trimlet {

class StylesheetCache;

struct FileLook {
    // TrimFile's result for the file; RESULT_OK when it was not trimmed for its first bytes.
    Result result = RESULT_OK;
    std::uint64_t inputSize = 0;   // as TrimFile sets it
    std::uint64_t outputSize = 0;  // as TrimFile sets it
    std::string bytes;             // the trimmed bytes, when kept
    // Whether the file was opened and read: then `record` and `stamp` are of what was read.
    bool read = false;
    FindRecord record;
    FileStamp stamp;
    // Its first bytes (asked for) do not look like text: it was read but not trimmed.
    bool nonText = false;
};

// Reads the file at `path` once and trims it as TrimFile does, keeping the trimmed bytes
// only with `keepBytes`. With `textTestBytes` non-zero, its first bytes are tested as
// LooksLikeNonText tests them, and a file that fails the test is not trimmed. Comments
// that begin as one of `keptComments` stay, as in TrimFile. The style sheets a page links
// are read through `stylesheets` when given.
void LookAtFile(const std::string& path, TrimMode trimMode, std::string_view scriptExtensions,
                std::size_t textTestBytes, bool keepBytes, FileLook& look,
                std::span<const std::string> keptComments = {},
                StylesheetCache* stylesheets = nullptr);

}  // namespace trimlet
