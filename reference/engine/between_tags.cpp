// Part of the reference engine, frozen: see reference/engine/trim_engine.h.
// Pass 7: deletes the blanks between the '>' that ends a tag and the '<' that begins the
// next one. What a browser shows stays as it was: SCRIPT blocks, server code and (unless
// the mode says otherwise) elements shown as written are copied unchanged, a '>' inside a
// quoted attribute value ends no tag, and the blanks between two inline neighbours, which
// show as a space, stay unless TM_BETWEEN_INLINE_TAGS asks for them too. A SCRIPT or STYLE
// element, a comment or server code shows nothing, so the neighbours are looked for on
// either side of it.

#include <utility>
#include <vector>

#include "reference/engine/markup.h"
#include "reference/engine/passes.h"

namespace trimlet::reference::engine {

void DeleteBetweenTags(const PassContext& ctx, std::string& out, std::string_view in) {
    const size_t n = in.size();
    const Charset cs = ctx.charset;
    const BlankSet blanks{ctx.FullWidthBlanks(), (ctx.mode & TM_CR_REG_AS_WSP) != 0};
    const bool textElements = !(ctx.mode & TM_INSIDE_PRE);
    const PreformattedSelectors* styled = ctx.StyledElements();
    const bool keepInline = !(ctx.mode & TM_BETWEEN_INLINE_TAGS);
    size_t copyFrom = 0;
    // The runs of blanks after the last thing shown, each between two pieces of markup:
    // whether they go depends on what is shown next.
    std::vector<std::pair<size_t, size_t>> pending;
    // The last thing shown: the tag at leftTag, or else inline text when leftInline. Whether
    // a tag's element is inline is looked up only when blanks wait beside it.
    bool leftInline = false;
    size_t leftTag = kNone;
    const auto isInline = [&](size_t tag, bool inlineContent) {
        return tag != kNone ? IsInlineElementName(TagNameAt(in, tag)) : inlineContent;
    };
    // Something shown: the element of the tag at `tag`, or else inline text when
    // `inlineContent`.
    const auto shown = [&](bool inlineContent, size_t tag = kNone) {
        if (!pending.empty()) {
            if (!(keepInline && isInline(leftTag, leftInline) && isInline(tag, inlineContent))) {
                for (const auto& [begin, end] : pending) {
                    Append(out, in, copyFrom, begin);
                    copyFrom = end;
                }
            }
            pending.clear();
        }
        leftInline = inlineContent;
        leftTag = tag;
    };
    const auto isMarkupAt = [&](size_t p) {
        return p < n && in[p] == '<' && MarkupAt(in, p) != MarkupKind::None;
    };
    size_t i = SkipBlanks(cs, in, 0, blanks);
    if (i < n && !isMarkupAt(i)) leftInline = true;
    for (;;) {
        const size_t lt = FindByte(in, i, '<');
        if (lt == kNone) break;
        const MarkupKind kind = MarkupAt(in, lt);
        if (kind == MarkupKind::None) {
            i = lt + 1;
            continue;
        }
        TextElement element = TextElement::None;
        const TagStart tag = TagStartAt(in, lt, textElements, element, styled);
        size_t end;
        if (tag == TagStart::ShownAsWritten) {
            shown(false, lt);
            i = SkipShownAsWritten(ctx, in, lt, element, out.size() - copyFrom);
            if (i >= n) break;
            continue;
        }
        if (tag == TagStart::Script) {
            end = CopiedBlockEnd(ctx, in, lt, out.size() + (lt - copyFrom));
        } else if (kind == MarkupKind::Tag) {
            end = TagEnd(in, lt);
            if ((in[lt + 1] | 0x20) == 's' && TextElementAt(in, lt) == TextElement::Style) {
                end = TextContentEnd(in, end, TextElement::Style);
                if (end < n) end = TagEnd(in, end);
            } else {
                shown(false, lt);
            }
        } else {
            end = MarkupEnd(in, lt, kind);  // a comment, a declaration or server code
        }
        if (end >= n) break;
        const size_t next = SkipBlanks(cs, in, end, blanks);
        if (next >= n) {
            shown(false);  // trailing blanks show nothing
        } else if (!isMarkupAt(next)) {
            shown(true);
        } else if (next > end) {
            pending.emplace_back(end, next);
            if (!keepInline) shown(false);
        }
        i = next;
    }
    Append(out, in, copyFrom, n);
}

}  // namespace trimlet::reference::engine
