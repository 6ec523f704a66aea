// Part of the reference engine, frozen: see reference/engine/trim_engine.h.
// Script step: deletes blank lines, or merges each run of them into one empty line.
// Lines inside a literal (a template over several lines) are never blank lines.

#include "reference/engine/passes.h"

namespace trimlet::reference::engine {

void DeleteScriptBlankLines(const PassContext& ctx, std::string& out, std::string_view in) {
    const size_t n = in.size();
    const Charset cs = ctx.charset;
    const std::string_view nl = ctx.newline;
    const bool merge = (ctx.mode & TM_BLANK_LINES_MERGE) != 0;
    const BlankSet blanks{ctx.FullWidthBlanks(), false};
    bool atLineStart = true;
    bool done = false;  // a blank last line ended the walk
    ForEachScriptStretch(
        ctx, in, out,
        [&](size_t begin, size_t end) {
            if (done) return;
            size_t copyFrom = begin;
            size_t i = begin;
            while (i < end) {
                if (atLineStart) {
                    atLineStart = false;
                    const size_t j = SkipBlanks(cs, in, i, blanks, end);
                    const bool blankLast = j >= n;
                    if (blankLast || StartsWithAt(in, j, nl)) {
                        Append(out, in, copyFrom, i);
                        size_t k = blankLast ? n : j + nl.size();
                        if (k >= n) {  // a blank line that is the text's last line
                            done = true;
                            return;
                        }
                        for (;;) {  // the run of blank lines
                            const size_t b = SkipBlanks(cs, in, k, blanks, end);
                            if (b >= n) k = n;
                            if (b >= n || !StartsWithAt(in, b, nl)) break;
                            k = b + nl.size();
                            if (k >= n) break;
                        }
                        // A run that ends the text goes whole, as a single blank line
                        // there does: the next trim would find that one.
                        if (k >= n) {
                            done = true;
                            return;
                        }
                        if (merge) out += nl;
                        copyFrom = i = k;
                        continue;
                    }
                }
                const size_t p = FindByte(in.substr(0, end), i, nl[0]);
                if (p == kNone) break;
                if (StartsWithAt(in, p, nl)) {
                    i = p + nl.size();
                    atLineStart = true;
                } else {
                    i = p + 1;
                }
            }
            Append(out, in, copyFrom, end);
        },
        [&](size_t begin, size_t end) {
            if (done) return;
            atLineStart = false;
            Append(out, in, begin, end);
        });
}

}  // namespace trimlet::reference::engine
