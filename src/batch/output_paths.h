#pragma once
// Output paths: where the trimmed copy of a file goes. Every rule here is a text
// operation on byte strings, parameterised by the path style; only CreateFolderPath
// asks the file system (through platform/folders.h).
//
// Windows style: "\" is the only separator ("/" is an ordinary byte); absolute paths
// are the drive form (X:\...) and the network form (\\server\share\...); a name that
// begins with one "\" is rooted at the drive or share of the base folder. Text is
// CP932: a lead byte carries its trail byte, so a trail byte 0x5C never separates.
//
// Posix style: "/" is the separator and a path is absolute when it begins with "/".
// The root "/" is the first component of an absolute path, so it plays the part of
// the drive: from "/docs/" the name ".." gives "/", and from "/" it is refused with
// RESULT_BAD_PATH. There is no rooted form (a name beginning with "/" is absolute).
// Text is UTF-8. Components of the base folder are real folder names and are taken
// exactly (a folder may be called " a "); blanks around the output folder name's
// components are trimmed in both styles.
//
// Results of ResolveOutputFolder, Posix style:
//   /docs/web/ + Trimlet        -> /docs/web/Trimlet
//   /docs/web/ + "" or "."      -> /docs/web
//   /docs/web/ + ../out         -> /docs/out
//   /docs/web/ + ../../out      -> /out
//   /docs/web/ + ../../../out   -> RESULT_BAD_PATH
//   /docs/     + ..             -> /
//   /          + ..             -> RESULT_BAD_PATH
//   /docs/web/ + /out/          -> /out/ (absolute: copied byte for byte)

#include <string>
#include <string_view>

#include "common/result.h"
#include "platform/folders.h"

namespace trimlet {

enum class PathStyle { Windows, Posix };

// The style of the paths of the system we run on.
constexpr PathStyle NativePathStyle() {
    return PathStyle::Posix;
}

// "\" or "/".
constexpr char PathSeparator(PathStyle style) {
    return style == PathStyle::Windows ? '\\' : '/';
}

// Windows: begins with two backslashes, or has ":" as its second byte and a backslash as
// its third. Posix: begins with "/".
bool IsAbsolutePath(PathStyle style, std::string_view path);

// The output folder for files of `baseFolder` (an absolute folder with its trailing
// separator) under the setting `outputFolderName`. An absolute name is copied exactly; a
// rooted name (Windows) is put after the base folder's drive or share; any other name,
// the empty one included, is resolved against the base folder component by component,
// dropping "." and letting ".." remove the component before it. The result carries no
// trailing separator unless an absolute or rooted name ended in one.
// RESULT_INVALID_ARGUMENT when the base folder is not absolute, RESULT_BAD_PATH when a
// ".." would remove the drive, server or root, RESULT_OUT_OF_MEMORY when the text cannot be
// made. On failure `outFolder` is empty.
[[nodiscard]] Result ResolveOutputFolder(PathStyle style, std::string_view baseFolder,
                                         std::string_view outputFolderName, std::string& outFolder);

// Creates every missing folder along `path`, from the top down. The walk starts after the
// first separator (after the share name for a Windows network path); the drive or root
// itself is never tested or created. Something that exists at a level counts as present,
// so a plain file in the way makes the next creation fail. Windows style trims blanks
// around the path first; Posix style takes it exactly. True when every folder exists or
// was made; false at the first creation that fails, leaving the folders already made.
[[nodiscard]] bool CreateFolderPath(PathStyle style, std::string_view path);
[[nodiscard]] bool CreateFolderPath(PathStyle style, std::string_view path, FolderSystem& folders);

// `folder` without its trailing separators and blanks, one separator, then `name`. An
// empty name returns the folder unchanged.
std::string JoinFolderAndName(PathStyle style, std::string_view folder, std::string_view name);

// `text` without its trailing run of separators and, in Windows style, of spaces, tabs and
// full-width blanks (CP932 81 40). Whole characters are tested, so a double-byte character
// whose trail byte is 0x5C stays. In Posix style blanks belong to the folder's name.
std::string CutTrailingSeparators(PathStyle style, std::string_view text);

// Splits `path` at its last separator: `folder` gets the text up to and including it,
// `name` the rest. RESULT_BAD_PATH (both left empty) when the path holds no separator.
[[nodiscard]] Result SplitFolderAndName(PathStyle style, std::string_view path, std::string& folder,
                                        std::string& name);

// Whether two paths name the same file. Windows: ASCII letters compare without regard to
// case, trail bytes of double-byte characters compare exactly. Posix: the same bytes.
bool IsSamePath(PathStyle style, std::string_view a, std::string_view b);

}  // namespace trimlet
