// Part of the reference engine, frozen: see reference/engine/trim_engine.h.
// The script trimmer: runs the script steps over one JavaScript or VBScript text.

#include <array>
#include <utility>

#include "reference/engine/passes.h"

namespace trimlet::reference::engine {

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

void AppendTrimmedScript(TrimMode trimMode, Charset charset, bool vbScript, ScriptBuffers& buffers,
                         std::string_view text, std::string& out, const PieceList* pieces,
                         std::span<const std::string> keptComments) {
    PassContext ctx;
    ctx.mode = EffectiveScriptMode(trimMode);
    ctx.charset = charset;
    ctx.newline = LineBreakConvention(text);
    ctx.vbScript = vbScript;
    ctx.keptComments = keptComments;
    ctx.scriptMarkers = FindNoCase(text, 0, "<script") < text.size();

    // The steps differ in their mode only; each is given the context with its own.
    using StepFn = void (*)(const PassContext&, std::string&, std::string_view);
    struct Step {
        StepFn fn;
        TrimMode mode;
        bool handsOnPieces;
    };
    std::array<Step, 5> steps;
    size_t count = 0;
    const TrimMode mode = ctx.mode;
    const auto add = [&](StepFn fn, bool handsOnPieces, TrimMode stepMode) {
        steps[count++] = {fn, stepMode, handsOnPieces};
    };

    if (mode & TM_SCRIPT_COMMENT_DEL) {
        if (vbScript && (mode & TM_VBS_REM_COMMENT)) add(DeleteVbsComments, false, mode);
        if (!vbScript && (mode & (TM_SCRIPT_BLOCK_COMMENT | TM_SCRIPT_LINE_COMMENT))) {
            add(DeleteJsComments, true, mode);
        }
    }
    if (mode & TM_TRIM_LINE_ENDS) add(TrimScriptLineEnds, true, mode);
    if (mode & TM_COLLAPSE_SPACES) add(CollapseScriptSpaces, true, mode);

    // Blank lines: not in JavaScript when line breaks are blanks; always deleted in
    // VBScript then, whose line breaks stay.
    TrimMode linesMode = mode;
    bool blankLines = true;
    if (mode & TM_CR_REG_AS_WSP) {
        if (vbScript) {
            linesMode = (mode | TM_BLANK_LINES_DELETE) & ~TM_BLANK_LINES_MERGE;
        } else {
            blankLines = false;
        }
    }
    if (blankLines && (linesMode & (TM_BLANK_LINES_DELETE | TM_BLANK_LINES_MERGE))) {
        add(DeleteScriptBlankLines, true, linesMode);
    }

    if (mode & TM_COLLAPSE_SPACES) add(DeleteOperatorSpaces, false, mode);

    if (count == 0) {
        out.append(text);
        return;
    }

    // The text goes back and forth between the working buffer and the end of `out`, in
    // the order that has the last step write into `out`: a body then needs one buffer of
    // its size besides the page. The literals and comments found once are handed from
    // step to step, as the steps copy literals unchanged; only the VBScript comment step,
    // which works by lines, does not. A list that grew too long is dropped, and the next
    // step scans its text itself.
    const size_t mark = out.size();
    std::string& work = buffers.first;
    bool intoOut = count % 2 == 1;
    std::string_view current = text;
    const PieceList* known = pieces;
    PieceList* noted = &buffers.firstPieces;
    PieceList* notedSpare = &buffers.secondPieces;
    PassContext c = ctx;
    for (size_t i = 0; i < count; ++i, intoOut = !intoOut) {
        const Step& step = steps[i];
        c.mode = step.mode;
        c.pieces = known;
        c.outPieces = step.handsOnPieces ? noted : nullptr;
        if (step.handsOnPieces) noted->clear();
        std::string& target = intoOut ? out : work;
        const size_t base = intoOut ? mark : 0;
        target.resize(base);
        target.reserve(base + current.size());
        step.fn(c, target, current);
        current = std::string_view(target).substr(base);
        if (step.handsOnPieces && base != 0) {
            for (ScriptPiece& piece : *noted) {
                piece.begin -= base;
                piece.end -= base;
            }
        }
        known = step.handsOnPieces && PiecesComplete(*noted) ? noted : nullptr;
        if (step.handsOnPieces) std::swap(noted, notedSpare);
    }
}

std::string_view TrimScript(TrimMode trimMode, Charset charset, bool vbScript,
                            ScriptBuffers& buffers, std::string_view text, const PieceList* pieces,
                            std::span<const std::string> keptComments) {
    buffers.second.clear();
    AppendTrimmedScript(trimMode, charset, vbScript, buffers, text, buffers.second, pieces,
                        keptComments);
    return buffers.second;
}

}  // namespace trimlet::reference::engine
