#pragma once
// The phrases a verification difference is told in. The first "%s" is the path of the
// element where the documents part ("html > body > div[3] > pre"), "%d" a line of the
// original; quoted excerpts are the original's first, then the trimmed text's.

#include <string_view>

namespace trimlet::verify::text {

inline constexpr std::string_view kPathSeparator = " > ";
inline constexpr std::string_view kDocument = "document";
inline constexpr std::string_view kLineEnd = "(line end)";
inline constexpr std::string_view kEndOfText = "(end)";
inline constexpr std::string_view kElementDiffers = "%s: element differs at line %d: <%s> / <%s>";
// Deeper trees are not walked (the walk is recursive); such a page counts as not verified.
inline constexpr std::string_view kTooDeep =
    "%s: elements nested deeper than %d levels at line %d: not verified";
inline constexpr std::string_view kNodeMissing = "%s: missing in the trimmed page at line %d: %s";
inline constexpr std::string_view kNodeExtra = "%s: not in the original at line %d: %s";
inline constexpr std::string_view kAttributeDiffers =
    "%s: attribute %s differs at line %d: \"%s\" / \"%s\"";
inline constexpr std::string_view kAttributesDiffer =
    "%s: attributes differ at line %d: %d / %d attributes";
inline constexpr std::string_view kTextDiffers = "%s: text differs at line %d: \"%s\" / \"%s\"";
inline constexpr std::string_view kCommentDiffers =
    "%s: comment differs at line %d: \"%s\" / \"%s\"";
inline constexpr std::string_view kCommentMissing = "%s: kept comment missing at line %d: \"%s\"";
inline constexpr std::string_view kCommentExtra = "%s: comment not in the original: \"%s\"";
inline constexpr std::string_view kScriptDiffers = "%s: script differs at line %d: \"%s\" / \"%s\"";
inline constexpr std::string_view kScriptBreakLost =
    "%s: script line break before \"%s\" changed at line %d";
inline constexpr std::string_view kStyleDiffers = "%s: style differs at line %d: \"%s\" / \"%s\"";
inline constexpr std::string_view kServerCodeDiffers =
    "server code differs at line %d: \"%s\" / \"%s\"";
inline constexpr std::string_view kBlankMissing = "a blank between inline content";
inline constexpr std::string_view kText = "text";
inline constexpr std::string_view kComment = "comment";

}  // namespace trimlet::verify::text
