#pragma once
// Entry points of the trim engine. Texts are byte strings with an explicit length;
// an embedded NUL is an ordinary byte. No pass lengthens a text, so the output is
// never longer than the input. The engine reads nothing but its arguments.

#include <functional>
#include <string>
#include <string_view>

#include "common/charset.h"
#include "common/result.h"
#include "engine/trim_mode.h"

namespace trimlet {

// Trims one HTML text: comments, script blocks, line ends, blanks, blank lines, the
// ends of the text and blanks between tags, each as trimMode says. `out` is replaced
// by the result (its capacity is reused). Returns RESULT_OK.
[[nodiscard]] Result TrimHtmlText(std::string_view text, std::string& out, TrimMode trimMode,
                                  Charset charset = Charset::Cp932);

// The same; `textDone`, when given, is called once no pass reads `text` any more (before
// the call returns, also on failure), so that the caller can free it while the later passes
// run: the trim then needs the text and one more buffer of its size at a time, not three.
[[nodiscard]] Result TrimHtmlText(std::string_view text, std::string& out, TrimMode trimMode,
                                  Charset charset, const std::function<void()>& textDone);

// Trims one script text in JavaScript or VBScript. `out` is replaced by the result.
// Returns RESULT_OK (RESULT_SCRIPT_NO_MEMORY leaves `out` untouched).
[[nodiscard]] Result TrimScriptText(std::string_view text, std::string& out, TrimMode trimMode,
                                    bool isVbScript, Charset charset = Charset::Cp932);

}  // namespace trimlet
