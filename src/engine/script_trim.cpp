// The script trimmer: runs the script steps over one JavaScript or VBScript text.

#include <utility>

#include "engine/passes.h"

namespace trimlet::engine {

namespace {

// With line breaks counting as blanks, JavaScript line comments must go, or the code
// after them would become part of the comment.
TrimMode EffectiveScriptMode(TrimMode mode) {
    if (!(mode & TM_CR_REG_AS_WSP)) return mode;
    if (mode & TM_SCRIPT_COMMENT_DEL) return mode | TM_SCRIPT_LINE_COMMENT;
    mode &= ~(TM_SCRIPT_BLOCK_COMMENT | TM_VBS_REM_COMMENT);
    return mode | TM_SCRIPT_COMMENT_DEL | TM_SCRIPT_LINE_COMMENT;
}

}  // namespace

std::string_view TrimScript(TrimMode trimMode, Charset charset, bool vbScript,
                            ScriptBuffers& buffers, std::string_view text) {
    PassContext ctx;
    ctx.mode = EffectiveScriptMode(trimMode);
    ctx.charset = charset;
    ctx.newline = LineBreakConvention(text);
    ctx.vbScript = vbScript;

    std::string_view current = text;
    std::string* target = &buffers.first;
    std::string* spare = &buffers.second;
    const auto run = [&](void (*step)(const PassContext&, std::string&, std::string_view),
                         const PassContext& stepCtx) {
        target->clear();
        target->reserve(current.size());
        step(stepCtx, *target, current);
        current = *target;
        std::swap(target, spare);
    };

    const TrimMode mode = ctx.mode;
    if (mode & TM_SCRIPT_COMMENT_DEL) {
        if (vbScript && (mode & TM_VBS_REM_COMMENT)) run(DeleteVbsComments, ctx);
        if (!vbScript && (mode & (TM_SCRIPT_BLOCK_COMMENT | TM_SCRIPT_LINE_COMMENT))) {
            run(DeleteJsComments, ctx);
        }
    }
    if (mode & TM_TRIM_LINE_ENDS) run(TrimScriptLineEnds, ctx);
    if (mode & TM_COLLAPSE_SPACES) run(CollapseScriptSpaces, ctx);

    // Blank lines: not in JavaScript when line breaks are blanks; always deleted in
    // VBScript then, whose line breaks stay.
    PassContext linesCtx = ctx;
    bool blankLines = true;
    if (mode & TM_CR_REG_AS_WSP) {
        if (vbScript) {
            linesCtx.mode = (mode | TM_BLANK_LINES_DELETE) & ~TM_BLANK_LINES_MERGE;
        } else {
            blankLines = false;
        }
    }
    if (blankLines && (linesCtx.mode & (TM_BLANK_LINES_DELETE | TM_BLANK_LINES_MERGE))) {
        run(DeleteScriptBlankLines, linesCtx);
    }

    if (mode & TM_COLLAPSE_SPACES) run(DeleteOperatorSpaces, ctx);
    return current;
}

}  // namespace trimlet::engine
