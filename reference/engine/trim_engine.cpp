// Part of the reference engine, frozen: see reference/engine/trim_engine.h.
#include "reference/engine/trim_engine.h"

#include <functional>
#include <new>
#include <utility>

#include "reference/engine/markup.h"
#include "reference/engine/passes.h"

namespace trimlet::reference {

namespace {

using engine::PassContext;

// Whether `text` lies in the storage of `s`, which the call is about to overwrite.
bool Overlaps(std::string_view text, const std::string& s) {
    const std::less<const char*> before;
    return !text.empty() && !before(text.data(), s.data()) &&
           before(text.data(), s.data() + s.capacity());
}

// Cuts `s` down to `part`, which lies in it.
void KeepPart(std::string& s, std::string_view part) {
    const std::size_t begin = static_cast<std::size_t>(part.data() - s.data());
    s.resize(begin + part.size());
    s.erase(0, begin);
}

// The second pass buffer of the last call on this thread, kept so that trimming many files
// does not allocate and fault in a fresh one for each. Big buffers are not kept: they would
// hold memory long after the one big file.
constexpr std::size_t kKeptSpareBytes = std::size_t{16} << 20;
thread_local std::string keptSpare;

std::string TakeSpare(std::string_view text) {
    std::string spare;
    // A text that lies in the kept buffer (a view the caller kept of a string it gave away)
    // must not be overwritten: it gets a fresh buffer.
    if (!Overlaps(text, keptSpare)) spare.swap(keptSpare);
    spare.clear();
    return spare;
}

void KeepSpare(std::string spare) {
    if (spare.capacity() <= kKeptSpareBytes && spare.capacity() > keptSpare.capacity())
        keptSpare.swap(spare);
}

// Room for `size` bytes. (The real engine also asks for huge pages here, which changes no
// byte of the result.)
void Reserve(std::string& buffer, std::size_t size) {
    if (buffer.capacity() < size) buffer.reserve(size);
}

// The HTML passes over `text`; `owned`, when given, holds `text` and becomes the second
// buffer once the first pass has read it.
Result TrimHtml(std::string_view text, std::string& out, TrimMode trimMode, Charset charset,
                std::span<const std::string> kept,
                const engine::PreformattedSelectors* preformatted, std::string* owned) {
    try {
        std::string ownCopy;
        if (Overlaps(text, out)) {
            ownCopy.assign(text);
            text = ownCopy;
        }
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

        // The passes write alternately into `out` and `spare`; no pass lengthens the
        // text, so neither buffer grows once it holds the first pass's input size. The
        // spare is taken only for the second pass, when nothing reads the text any more.
        std::string spare;
        bool spareTaken = false;
        out.clear();
        Reserve(out, text.size());
        std::string* target = &out;
        std::string* other = &spare;
        std::string_view current = text;
        const auto run = [&](void (*pass)(const PassContext&, std::string&, std::string_view)) {
            if (target == &spare && !spareTaken) {
                if (owned != nullptr) {
                    spare.swap(*owned);  // the text is read by now
                    spare.clear();
                } else {
                    spare = TakeSpare(text);
                }
                spareTaken = true;
                Reserve(spare, current.size());
            }
            target->clear();
            pass(ctx, *target, current);
            current = *target;
            std::swap(target, other);
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

        if (Overlaps(current, spare)) {
            KeepPart(spare, current);
            out.swap(spare);
        } else if (Overlaps(current, out)) {
            KeepPart(out, current);
        } else {
            out.assign(current);  // no pass ran, or nothing stays
        }
        if (spareTaken) KeepSpare(std::move(spare));
        return RESULT_OK;
    } catch (const std::bad_alloc&) {
        return RESULT_OUT_OF_MEMORY;
    }
}

}  // namespace

Result TrimHtmlText(std::string_view text, std::string& out, TrimMode trimMode, Charset charset,
                    std::span<const std::string> keptComments,
                    const engine::PreformattedSelectors* preformatted) {
    return TrimHtml(text, out, trimMode, charset, keptComments, preformatted, nullptr);
}

Result TrimOwnedHtmlText(std::string& text, std::string& out, TrimMode trimMode, Charset charset,
                         std::span<const std::string> keptComments,
                         const engine::PreformattedSelectors* preformatted) {
    if (&text == &out)
        return TrimHtmlText(text, out, trimMode, charset, keptComments, preformatted);
    const Result result = TrimHtml(text, out, trimMode, charset, keptComments, preformatted, &text);
    std::string().swap(text);
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

}  // namespace trimlet::reference
