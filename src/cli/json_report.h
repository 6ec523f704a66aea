#pragma once
// The machine-readable result of trim, preview and run: one JSON document with a schema
// version, one entry per file in order and the totals.
//
//   {"schemaVersion": 1, "command": "trim",
//    "files": [{"path": "...", "size": 120, "trimmedSize": 90, "result": "ok",
//               "messageId": null, "message": null}, ...],
//    "totals": {"files": 3, "ok": 1, "skipped": 1, "failed": 1, "size": 120,
//               "trimmedSize": 90}}
//
// "result" is "ok", "skipped" (an existing output kept by the overwrite choice) or
// "failed"; a file that is not "ok" carries the id of the message that told about it and
// its text. Sizes are null where unknown; the totals add the sizes of the "ok" files.
// Texts are UTF-8; a byte that is not part of valid UTF-8 becomes U+FFFD.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"

namespace trimlet::cli {

inline constexpr int kJsonSchemaVersion = 1;

struct JsonFile {
    std::string path = {};
    Result result = RESULT_OK;
    std::optional<std::uint64_t> size = std::nullopt;
    std::optional<std::uint64_t> trimmedSize = std::nullopt;
    int messageId = 0;  // 0: none
    std::string message = {};
};

// `text` as a JSON string, quotes included.
std::string JsonString(std::string_view text);

// The whole document for `command` and its files, ending with a line break.
std::string JsonReport(std::string_view command, const std::vector<JsonFile>& files);

}  // namespace trimlet::cli
