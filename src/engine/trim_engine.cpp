#include "engine/trim_engine.h"

// Placeholder until the passes land: copies the text unchanged.
namespace trimlet {

Result TrimHtmlText(std::string_view text, std::string& out, TrimMode, Charset) {
    out.assign(text);
    return RESULT_OK;
}

Result TrimScriptText(std::string_view text, std::string& out, TrimMode, bool, Charset) {
    out.assign(text);
    return RESULT_OK;
}

}  // namespace trimlet
