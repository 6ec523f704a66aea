#pragma once
// Trimming one file into memory: the one way the rest of the program trims a file.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "common/result.h"
#include "engine/trim_mode.h"
#include "platform/read_file.h"

namespace trimlet {

class StylesheetCache;

enum class FileKind { Html, JavaScript, VbScript };

// The trimmer a file gets by its name. The extension is the text after the last "." of the
// whole path. A file is a script when its extension is one of the entries of the
// colon-separated `scriptExtensions` (letter case ignored), VBScript when the extension is
// "vbs", JavaScript otherwise; every other file is HTML.
[[nodiscard]] FileKind KindOfPath(std::string_view path, std::string_view scriptExtensions);

// Reads the file at `path`, trims it by its kind and encoding and puts the trimmed bytes in
// `outBytes`. Writes nothing. Both sizes are set to 0 first; `inputSize` becomes the file's
// size once it is open, `outputSize` the size of `outBytes` on success. Returns
//   RESULT_INVALID_ARGUMENT  an empty path,
//   RESULT_NOT_FOUND         the path's attributes cannot be read,
//   RESULT_IS_FOLDER         it is a folder (nothing is opened),
//   RESULT_FILE_ERROR        it cannot be opened (or is not a regular file),
//   RESULT_TOO_LARGE         it holds 4 GiB or more (`inputSize` stays 0),
//   RESULT_ACCESS_ERROR      reading it fails,
//   RESULT_INVALID_UTF16     it begins with a UTF-16 mark but is not valid UTF-16,
//   RESULT_UNCLEAR_UTF16     it holds NUL bytes as UTF-16 does but is not valid UTF-16,
//   RESULT_OUT_OF_MEMORY     memory runs out, its UTF-16 cannot be converted, or the
//                            engine fails.
// On failure `outBytes` is left as it was. Comments that begin as one of `keptComments`
// (UTF-8 texts, see HtmlCommentKind) stay whatever the mode says; for a Shift_JIS file they
// are compared in its encoding, and an entry that has no Shift_JIS form matches nothing.
// An HTML file's elements that its CSS makes preformatted (see LearnPreformattedForPage)
// keep their blanks like PRE.
[[nodiscard]] Result TrimFile(const std::string& path, TrimMode trimMode,
                              std::string_view scriptExtensions, std::string& outBytes,
                              std::uint64_t& inputSize, std::uint64_t& outputSize);
// The same, also noting the identity of the file it read in `identity` (when given), so
// that a result can later be checked against the file as it is then. The style sheets a
// page links are read through `stylesheets` when given, else anew.
[[nodiscard]] Result TrimFile(const std::string& path, TrimMode trimMode,
                              std::string_view scriptExtensions, std::string& outBytes,
                              std::uint64_t& inputSize, std::uint64_t& outputSize,
                              FileStamp* identity, std::span<const std::string> keptComments = {},
                              StylesheetCache* stylesheets = nullptr);
// The same as TrimFile, trimming the file as `kind` whatever its name says.
[[nodiscard]] Result TrimFileAs(const std::string& path, FileKind kind, TrimMode trimMode,
                                std::string& outBytes, std::uint64_t& inputSize,
                                std::uint64_t& outputSize,
                                std::span<const std::string> keptComments = {},
                                StylesheetCache* stylesheets = nullptr);

// The part of TrimFile after the read: trims `bytes`, read whole from the file at `path`,
// with TrimFile's results and outputs.
[[nodiscard]] Result TrimReadFile(const std::string& path, TrimMode trimMode,
                                  std::string_view scriptExtensions, std::string bytes,
                                  std::string& outBytes, std::uint64_t& outputSize,
                                  std::span<const std::string> keptComments = {},
                                  StylesheetCache* stylesheets = nullptr);
// The same for bytes of the given kind (standard input, or a file named otherwise). An HTML
// text learns what is preformatted from its own STYLE elements and style attributes only.
[[nodiscard]] Result TrimBytesAs(FileKind kind, TrimMode trimMode, std::string bytes,
                                 std::string& outBytes, std::uint64_t& outputSize,
                                 std::span<const std::string> keptComments = {});

struct FileText;
// Trims the decoded text of the file at `path` (its kind from its name) into `trimmed`, in
// the form of `fileText.text` (UTF-8 for a UTF-16 file). RESULT_OUT_OF_MEMORY when memory
// runs out or the engine fails.
[[nodiscard]] Result TrimDecodedText(std::string_view path, TrimMode trimMode,
                                     std::string_view scriptExtensions, const FileText& fileText,
                                     std::string& trimmed,
                                     std::span<const std::string> keptComments = {},
                                     StylesheetCache* stylesheets = nullptr);

}  // namespace trimlet
