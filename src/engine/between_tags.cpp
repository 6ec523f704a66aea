// Pass 7: deletes the blanks between the '>' that ends a tag and the '<' that begins the
// next one. What a browser shows stays as it was: SCRIPT blocks and (unless the mode
// says otherwise) PRE blocks are copied unchanged, a '>' inside a quoted attribute value
// ends no tag, and the blanks between two inline elements, which show as a space, stay
// unless TM_BETWEEN_INLINE_TAGS asks for them too.

#include "engine/markup.h"
#include "engine/passes.h"

namespace trimlet::engine {

namespace {

// The tag or other markup that ended just before a run of blanks.
struct Markup {
    size_t begin;
    MarkupKind kind;
};

bool IsInlineTagAt(std::string_view in, Markup m) {
    return m.kind == MarkupKind::Tag && IsInlineElementName(TagNameAt(in, m.begin));
}

// The walk finds the '<' of the next markup and the '>' and quotes of a tag with one
// scan over the text, which keeps the stop bits of the bytes it looked at last: most
// tags are short and lie close together.
class MarkupWalk {
  public:
    explicit MarkupWalk(std::string_view in) : in_(in), scan_(kStops, in) {}

    // The next '<' from i, or kNone.
    size_t NextLt(size_t i) {
        const size_t n = in_.size();
        while ((i = scan_.Next(i, n)) < n && in_[i] != '<')
            ++i;
        return i < n ? i : kNone;
    }

    // Same as MarkupEnd(in, lt, MarkupKind::Tag).
    size_t TagEnd(size_t lt) {
        const size_t n = in_.size();
        size_t i = lt + 1;
        while ((i = scan_.Next(i, n)) < n) {
            const char c = in_[i];
            if (c == '>') return i + 1;
            if (c != '<' && QuoteOpensValue(in_, lt, i)) {
                const size_t close = FindByte(in_, i + 1, c);
                if (close == kNone) return n;
                i = close + 1;
            } else {
                ++i;
            }
        }
        return n;
    }

  private:
    std::string_view in_;
    static constexpr MarkupStops kStops{};
    MarkupScan scan_;
};

}  // namespace

void DeleteBetweenTags(const PassContext& ctx, std::string& out, std::string_view in) {
    const size_t n = in.size();
    const BlankSet blanks{ctx.FullWidthBlanks(), (ctx.mode & TM_CR_REG_AS_WSP) != 0};
    const bool preBlocks = !(ctx.mode & TM_INSIDE_PRE);
    const bool keepInline = !(ctx.mode & TM_BETWEEN_INLINE_TAGS);
    MarkupWalk walk(in);
    bool insidePre = false;
    size_t copyFrom = 0;
    size_t i = 0;
    for (;;) {
        if (insidePre) {
            i = SkipPreContent(ctx, in, i, insidePre, out.size() - copyFrom);
            if (insidePre) break;  // no "</pre": the rest stays as it is
        }
        const size_t lt = walk.NextLt(i);
        if (lt == kNone) break;
        const Markup left{lt, MarkupAt(in, lt)};
        if (left.kind == MarkupKind::None) {
            i = lt + 1;
            continue;
        }
        const TagStart tag = TagStartAt(in, lt, preBlocks);
        if (tag == TagStart::Pre) {
            insidePre = true;  // its start tag is part of the block
            i = lt + 1;
            continue;
        }
        const size_t end = tag == TagStart::Script
                               ? CopiedBlockEnd(ctx, in, lt, out.size() + (lt - copyFrom))
                           : left.kind == MarkupKind::Tag ? walk.TagEnd(lt)
                                                          : MarkupEnd(in, lt, left.kind);
        if (end >= n) break;
        const size_t next = SkipBlanks(ctx.charset, in, end, blanks);
        if (next > end && next < n && in[next] == '<') {
            const Markup right{next, MarkupAt(in, next)};
            if (right.kind != MarkupKind::None &&
                !(keepInline && IsInlineTagAt(in, left) && IsInlineTagAt(in, right))) {
                Append(out, in, copyFrom, end);
                copyFrom = next;
            }
        }
        i = next;
    }
    Append(out, in, copyFrom, n);
}

}  // namespace trimlet::engine
