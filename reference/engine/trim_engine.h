#pragma once
// The reference engine: the seven-pass trim engine as it stood at commit 6818727, before
// it was made faster, kept under trimlet::reference so that tests and fuzz targets can
// check the faster engine in src/engine against it byte for byte. No program links it.
// It is frozen: the only changes from the original are the include paths, the namespace,
// and the huge-page and fault-in helpers left out (they change no byte of a result). Should
// the real engine's results ever be changed on purpose, make the same change here in the
// same commit. It shares TrimMode and its bits (engine/trim_mode.h), Charset and Result
// with the real engine.
//
// Entry points of the trim engine. Texts are byte strings with an explicit length;
// an embedded NUL is an ordinary byte. No pass lengthens a text, so the output is
// never longer than the input. The engine reads nothing but its arguments.

#include <span>
#include <string>
#include <string_view>

#include "common/charset.h"
#include "common/result.h"
#include "engine/trim_mode.h"

namespace trimlet::reference {

namespace engine {
class PreformattedSelectors;
}

// Trims one HTML text: comments, script blocks, line ends, blanks, blank lines, the
// ends of the text and blanks between tags, each as trimMode says. `out` is replaced
// by the result (its capacity is reused). Comments that begin as one of `keptComments`
// stay (see HtmlCommentKind). Elements `preformatted` names (the page's CSS makes them keep
// their blanks) are copied like PRE; null or empty, only PRE and its kin are. Returns
// RESULT_OK.
[[nodiscard]] Result TrimHtmlText(std::string_view text, std::string& out, TrimMode trimMode,
                                  Charset charset = Charset::Cp932,
                                  std::span<const std::string> keptComments = {},
                                  const engine::PreformattedSelectors* preformatted = nullptr);

// The same for a text the caller gives up: once the first pass has read it, its storage
// becomes the passes' second buffer, so the trim needs the text and one more buffer of its
// size, already written once, instead of three. `text` is left empty.
[[nodiscard]] Result TrimOwnedHtmlText(std::string& text, std::string& out, TrimMode trimMode,
                                       Charset charset = Charset::Cp932,
                                       std::span<const std::string> keptComments = {},
                                       const engine::PreformattedSelectors* preformatted = nullptr);

// Trims one script text in JavaScript or VBScript. `out` is replaced by the result.
// Returns RESULT_OK (RESULT_SCRIPT_NO_MEMORY leaves `out` untouched).
[[nodiscard]] Result TrimScriptText(std::string_view text, std::string& out, TrimMode trimMode,
                                    bool isVbScript, Charset charset = Charset::Cp932,
                                    std::span<const std::string> keptComments = {});

}  // namespace trimlet::reference
