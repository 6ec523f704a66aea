#include "cli/json_report.h"

#include <cstdio>

#include "cli/cli_support.h"

namespace trimlet::cli {

namespace {

// The length of the valid UTF-8 sequence at text[i], or 0.
std::size_t Utf8Length(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    if (byte(i + 1) < low || byte(i + 1) > high) return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
    }
    return length;
}

void AppendNumber(std::string& out, const std::optional<std::uint64_t>& value) {
    out += value ? std::to_string(*value) : "null";
}

}  // namespace

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            if (const std::size_t length = Utf8Length(text, i); length > 0) {
                out.append(text.substr(i, length));
                i += length;
            } else {
                out += "\xEF\xBF\xBD";
                ++i;
            }
            continue;
        }
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else {
                    out += static_cast<char>(c);
                }
        }
        ++i;
    }
    return out += '"';
}

std::string JsonReport(std::string_view command, const std::vector<JsonFile>& files) {
    std::string out = "{\"schemaVersion\": " + std::to_string(kJsonSchemaVersion) +
                      ", \"command\": " + JsonString(command) + ",\n \"files\": [";
    std::uint64_t ok = 0, skipped = 0, failed = 0, size = 0, trimmedSize = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const JsonFile& file = files[i];
        out += i == 0 ? "\n  " : ",\n  ";
        out += "{\"path\": " + JsonString(file.path) + ", \"size\": ";
        AppendNumber(out, file.size);
        out += ", \"trimmedSize\": ";
        AppendNumber(out, file.trimmedSize);
        out += ", \"result\": " + JsonString(ResultClass(file.result)) + ", \"messageId\": ";
        if (file.messageId != 0) {
            out += std::to_string(file.messageId) + ", \"message\": " + JsonString(file.message);
        } else {
            out += "null, \"message\": null";
        }
        out += '}';
        if (file.result == RESULT_OK) {
            ++ok;
            size += file.size.value_or(0);
            trimmedSize += file.trimmedSize.value_or(0);
        } else if (file.result == RESULT_SKIPPED) {
            ++skipped;
        } else {
            ++failed;
        }
    }
    out += files.empty() ? "],\n" : "\n ],\n";
    out += " \"totals\": {\"files\": " + std::to_string(files.size()) +
           ", \"ok\": " + std::to_string(ok) + ", \"skipped\": " + std::to_string(skipped) +
           ", \"failed\": " + std::to_string(failed) + ", \"size\": " + std::to_string(size) +
           ", \"trimmedSize\": " + std::to_string(trimmedSize) + "}}\n";
    return out;
}

}  // namespace trimlet::cli
