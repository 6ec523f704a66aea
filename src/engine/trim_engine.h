#pragma once
// Entry points of the trim engine. Texts are byte strings with an explicit length;
// an embedded NUL is an ordinary byte. No pass lengthens a text, so the output is
// never longer than the input. The engine reads nothing but its arguments.

#include <span>
#include <string>
#include <string_view>

#include "common/charset.h"
#include "common/result.h"
#include "engine/trim_mode.h"

namespace trimlet {

namespace engine {
class PreformattedSelectors;
}

// Trims one HTML text: comments, script blocks, line ends, blanks, blank lines, the
// ends of the text and blanks between tags, each as trimMode says. `out` is replaced
// by the result. Comments that begin as one of `keptComments` stay (see HtmlCommentKind).
// Elements `preformatted` names (the page's CSS makes them keep their blanks) are copied
// like PRE; null or empty, only PRE and its kin are. Returns RESULT_OK, or
// RESULT_OUT_OF_MEMORY with `out` untouched.
[[nodiscard]] Result TrimHtmlText(std::string_view text, std::string& out, TrimMode trimMode,
                                  Charset charset = Charset::Cp932,
                                  std::span<const std::string> keptComments = {},
                                  const engine::PreformattedSelectors* preformatted = nullptr);

// The same for a text the caller gives up: the passes work in its own storage, which
// then holds the result, so the trim needs no buffer besides the text. `text` is left
// empty; `out` receives the storage.
[[nodiscard]] Result TrimOwnedHtmlText(std::string& text, std::string& out, TrimMode trimMode,
                                       Charset charset = Charset::Cp932,
                                       std::span<const std::string> keptComments = {},
                                       const engine::PreformattedSelectors* preformatted = nullptr);

// Trims one script text in JavaScript or VBScript. `out` is replaced by the result.
// Returns RESULT_OK (RESULT_SCRIPT_NO_MEMORY leaves `out` untouched).
[[nodiscard]] Result TrimScriptText(std::string_view text, std::string& out, TrimMode trimMode,
                                    bool isVbScript, Charset charset = Charset::Cp932,
                                    std::span<const std::string> keptComments = {});

}  // namespace trimlet
