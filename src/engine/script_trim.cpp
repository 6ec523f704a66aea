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
                            ScriptBuffers& buffers, std::string_view text,
                            const PieceList* pieces) {
    PassContext ctx;
    ctx.mode = EffectiveScriptMode(trimMode);
    ctx.charset = charset;
    ctx.newline = LineBreakConvention(text);
    ctx.vbScript = vbScript;

    // Text and pieces go back and forth between two buffers each. The literals and
    // comments found once are handed from step to step, as the steps copy literals
    // unchanged; only the VBScript comment step, which works by lines, does not. A list
    // that grew too long is dropped, and the next step scans its text itself.
    std::string_view current = text;
    std::string* target = &buffers.first;
    std::string* spare = &buffers.second;
    const PieceList* known = pieces;
    PieceList* noted = &buffers.firstPieces;
    PieceList* notedSpare = &buffers.secondPieces;
    using Step = void (*)(const PassContext&, std::string&, std::string_view);
    const auto run = [&](Step step, const PassContext& stepCtx, bool handsOnPieces) {
        PassContext c = stepCtx;
        c.pieces = known;
        c.outPieces = handsOnPieces ? noted : nullptr;
        if (handsOnPieces) noted->clear();
        target->clear();
        target->reserve(current.size());
        step(c, *target, current);
        current = *target;
        std::swap(target, spare);
        known = handsOnPieces && PiecesComplete(*noted) ? noted : nullptr;
        if (handsOnPieces) std::swap(noted, notedSpare);
    };

    const TrimMode mode = ctx.mode;
    if (mode & TM_SCRIPT_COMMENT_DEL) {
        if (vbScript && (mode & TM_VBS_REM_COMMENT)) run(DeleteVbsComments, ctx, false);
        if (!vbScript && (mode & (TM_SCRIPT_BLOCK_COMMENT | TM_SCRIPT_LINE_COMMENT))) {
            run(DeleteJsComments, ctx, true);
        }
    }
    if (mode & TM_TRIM_LINE_ENDS) run(TrimScriptLineEnds, ctx, true);
    if (mode & TM_COLLAPSE_SPACES) run(CollapseScriptSpaces, ctx, true);

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
        run(DeleteScriptBlankLines, linesCtx, true);
    }

    if (mode & TM_COLLAPSE_SPACES) run(DeleteOperatorSpaces, ctx, false);
    return current;
}

}  // namespace trimlet::engine
