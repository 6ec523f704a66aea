#pragma once
// Result codes of every file-level operation. The high half names the family:
// 0x2000xxxx a call or resource problem, 0x2001xxxx a failure of one file,
// 0x2002xxxx a decision of the user.

#include <cstdint>

namespace trimlet {

using Result = std::uint32_t;

inline constexpr Result RESULT_OK = 0;
inline constexpr Result RESULT_INVALID_ARGUMENT = 0x20000002;
inline constexpr Result RESULT_OUT_OF_MEMORY = 0x20000004;
inline constexpr Result RESULT_BAD_PATH = 0x2000000E;
inline constexpr Result RESULT_TOO_LARGE = 0x20000010;
inline constexpr Result RESULT_ALREADY_LISTED = 0x20000011;
inline constexpr Result RESULT_SCRIPT_NO_MEMORY = 0x2000FFFF;
inline constexpr Result RESULT_FILE_ERROR = 0x20010000;
inline constexpr Result RESULT_ACCESS_ERROR = 0x20010002;
inline constexpr Result RESULT_READ_ONLY_KEPT = 0x20010003;
inline constexpr Result RESULT_IS_FOLDER = 0x20010004;
inline constexpr Result RESULT_FOLDER_BLOCKED = 0x20010005;
inline constexpr Result RESULT_NOT_FOUND = 0x2001000B;
// The file begins with a UTF-16 byte-order mark but its units are not well-formed UTF-16
// (an odd length, an unpaired surrogate).
inline constexpr Result RESULT_INVALID_UTF16 = 0x20010020;
// The file has no mark and fails the UTF-16 test, yet its NUL bytes lie where only UTF-16
// text puts them: trimming its bytes as a byte charset could corrupt it.
inline constexpr Result RESULT_UNCLEAR_UTF16 = 0x20010021;
// The file was changed by someone else since it was read, so it was not replaced.
inline constexpr Result RESULT_FILE_CHANGED = 0x20010022;
// Another file of the same run writes the same output, so this one was not trimmed.
inline constexpr Result RESULT_SAME_OUTPUT = 0x20010023;
// The trimmed result, read as a browser reads it, is not the same document as the
// original, so it was not written.
inline constexpr Result RESULT_NOT_EQUIVALENT = 0x20010024;
// The file must be written into in place (other hard links, another owner), and no
// recovery file can be made beside it, so it was left as it was.
inline constexpr Result RESULT_NO_RECOVERY_FILE = 0x20010025;
inline constexpr Result RESULT_STOPPED = 0x20020003;
inline constexpr Result RESULT_SKIPPED = 0x20020005;

// The code's name ("RESULT_NOT_FOUND"), or "RESULT_0x........" for an unknown code.
const char* ResultName(Result result);

}  // namespace trimlet
