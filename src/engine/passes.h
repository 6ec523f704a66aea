#pragma once
// The passes of the trim engine. Every pass reads `in` once from start to end and
// appends its result to `out`, which the caller has emptied and reserved; no pass
// writes more than it reads.

#include <string>
#include <string_view>

#include "engine/scan.h"

namespace trimlet::engine {

// HTML passes, in the order TrimHtmlText runs them.
void DeleteHtmlComments(const PassContext& ctx, std::string& out, std::string_view in);
void TrimScriptBlocks(const PassContext& ctx, std::string& out, std::string_view in);
void TrimLineEnds(const PassContext& ctx, std::string& out, std::string_view in);
void CollapseSpaces(const PassContext& ctx, std::string& out, std::string_view in);
void DeleteBlankLines(const PassContext& ctx, std::string& out, std::string_view in);
void TrimTextEnds(const PassContext& ctx, std::string& out, std::string_view in);
void DeleteBetweenTags(const PassContext& ctx, std::string& out, std::string_view in);

// Script steps, in the order TrimScript runs them. ctx.newline is the script text's own
// convention, ctx.vbScript its language and ctx.mode the effective trim mode.
void DeleteVbsComments(const PassContext& ctx, std::string& out, std::string_view in);
void DeleteJsComments(const PassContext& ctx, std::string& out, std::string_view in);
void TrimScriptLineEnds(const PassContext& ctx, std::string& out, std::string_view in);
void CollapseScriptSpaces(const PassContext& ctx, std::string& out, std::string_view in);
void DeleteScriptBlankLines(const PassContext& ctx, std::string& out, std::string_view in);
void DeleteOperatorSpaces(const PassContext& ctx, std::string& out, std::string_view in);

// Runs the script steps over `text`. The result views one of `buffers`, or `text` itself
// when no step applies. Throws std::bad_alloc when a buffer cannot grow.
std::string_view TrimScript(TrimMode trimMode, Charset charset, bool vbScript,
                            ScriptBuffers& buffers, std::string_view text);

// Inside a PRE block (passes 3 to 5): moves from i over the block's content, stepping
// over SCRIPT blocks, to the next "</pre", where it clears insidePre; or to the end.
size_t SkipPreContent(Charset charset, std::string_view in, size_t i, bool& insidePre);

}  // namespace trimlet::engine
