// The trim engine runs its passes one after another over the whole text, each in place:
// a pass reads the text from the front and writes its result over it as it goes. No pass
// lengthens any part of a text, so what it writes never overtakes what it has still to
// read; a pass that looks back reads only bytes it has not yet written over, or notes
// what it needs before the write (see PassOutput). A page therefore needs no buffer
// besides its own: no second buffer of its size is allocated or zero-filled, and the
// caller writes the result from where the text was. A pass that deletes nothing copies
// nothing. What one pass finds that the next would find again (SCRIPT blocks, quoted
// values) is handed on in the positions of its output.
//
// The passes as they ran before, each into a buffer of its own, are kept in reference/ as
// the reference engine; the tests and a fuzz target compare the two byte for byte.
#include "engine/trim_engine.h"

#include <new>
#include <utility>

#include "engine/markup.h"
#include "engine/passes.h"

namespace trimlet {

namespace {

using engine::PassContext;
using engine::PassOutput;

// The HTML passes over `text`, in place: each pass reads the text and writes its result
// over it as it goes (see PassOutput), so the trim needs no buffer besides the text.
Result TrimHtmlInPlace(std::string& text, TrimMode trimMode, Charset charset,
                       std::span<const std::string> kept,
                       const engine::PreformattedSelectors* preformatted) {
    try {
        engine::ScriptBuffers scripts;
        engine::CopiedScriptBlocks blocks;
        engine::MeasuredScriptBlocks measured;
        engine::CopiedValues values;
        PassContext ctx;
        ctx.mode = trimMode;
        ctx.charset = charset;
        ctx.newline = engine::LineBreakConvention(text);
        ctx.scripts = &scripts;
        ctx.blocks = &blocks;
        ctx.measured = &measured;
        ctx.values = &values;
        ctx.keptComments = kept;
        ctx.preformatted = preformatted;

        // What the passes have left: a part of `text`, which pass 6 may cut at the front.
        std::string_view current = text;
        const auto run = [&](void (*pass)(const PassContext&, PassOutput&, std::string_view)) {
            PassOutput out(text.data(), current.size() + (current.data() - text.data()));
            pass(ctx, out, current);
            current = out.View();
        };

        if (trimMode & TM_HTML_COMMENT_DEL) run(engine::DeleteHtmlComments);
        run(engine::TrimScriptBlocks);
        // Passes 3 to 5 and 7 copy SCRIPT blocks unchanged; each hands their extents on.
        // Passes 3 to 5 hand on quoted attribute values, which they copy unchanged too.
        const auto runCopyingBlocks = [&](auto pass) {
            run(pass);
            blocks.EndPass();
        };
        const auto runCopyingValues = [&](auto pass) {
            runCopyingBlocks(pass);
            values.EndPass();
        };
        if (trimMode & TM_TRIM_LINE_ENDS) runCopyingValues(engine::TrimLineEnds);
        if (trimMode & TM_COLLAPSE_SPACES) runCopyingValues(engine::CollapseSpaces);
        if (!(trimMode & TM_CR_REG_AS_WSP) &&
            (trimMode & (TM_BLANK_LINES_DELETE | TM_BLANK_LINES_MERGE))) {
            runCopyingValues(engine::DeleteBlankLines);
        }
        // Pass 6 hands the extents on too, for pass 7. It copies nothing: the next pass
        // reads the part that stays where it lies.
        if (trimMode & TM_TRIM_LINE_ENDS) {
            current = engine::TrimTextEnds(ctx, current);
            blocks.EndPass();
        }
        if (trimMode & TM_BETWEEN_TAGS) run(engine::DeleteBetweenTags);

        const size_t begin = static_cast<size_t>(current.data() - text.data());
        text.resize(begin + current.size());
        text.erase(0, begin);
        return RESULT_OK;
    } catch (const std::bad_alloc&) {
        return RESULT_OUT_OF_MEMORY;
    }
}

}  // namespace

Result TrimHtmlText(std::string_view text, std::string& out, TrimMode trimMode, Charset charset,
                    std::span<const std::string> keptComments,
                    const engine::PreformattedSelectors* preformatted) {
    try {
        std::string work(text);
        const Result result = TrimHtmlInPlace(work, trimMode, charset, keptComments, preformatted);
        if (result == RESULT_OK) out.swap(work);
        return result;
    } catch (const std::bad_alloc&) {
        return RESULT_OUT_OF_MEMORY;
    }
}

Result TrimOwnedHtmlText(std::string& text, std::string& out, TrimMode trimMode, Charset charset,
                         std::span<const std::string> keptComments,
                         const engine::PreformattedSelectors* preformatted) {
    if (&text == &out)
        return TrimHtmlText(text, out, trimMode, charset, keptComments, preformatted);
    std::string work;
    work.swap(text);
    const Result result = TrimHtmlInPlace(work, trimMode, charset, keptComments, preformatted);
    if (result == RESULT_OK) out.swap(work);
    return result;
}

Result TrimScriptText(std::string_view text, std::string& out, TrimMode trimMode, bool isVbScript,
                      Charset charset, std::span<const std::string> keptComments) {
    try {
        engine::ScriptBuffers buffers;
        const std::string_view result =
            engine::TrimScript(trimMode, charset, isVbScript, buffers, text, nullptr, keptComments);
        if (result.data() == buffers.first.data()) {
            out.swap(buffers.first);
        } else if (result.data() == buffers.second.data()) {
            out.swap(buffers.second);
        } else {
            std::string copy(text);
            out.swap(copy);
        }
        return RESULT_OK;
    } catch (const std::bad_alloc&) {
        return RESULT_SCRIPT_NO_MEMORY;
    }
}

}  // namespace trimlet
