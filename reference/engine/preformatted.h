#pragma once
// Part of the reference engine, frozen: see reference/engine/trim_engine.h.
// Elements a page's CSS makes preformatted ("white-space: pre", "pre-wrap", "pre-line",
// "break-spaces"): a browser keeps their blanks as it keeps those of PRE, so the passes
// copy them the same way. The set is learned from style sheets by type, class and id,
// conservatively: an element that any such rule may select counts, whatever the rest of
// the selector says.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace trimlet::reference::engine {

class PreformattedSelectors {
  public:
    // One compound selector: an element matches when it has the type (if any), every class
    // and the id (if any). Names are kept in lower case and matched with letter case
    // ignored (a page in quirks mode matches classes so; elsewhere it only keeps more).
    struct Compound {
        std::string type;
        std::vector<std::string> classes;  // sorted
        std::string id;
        auto operator<=>(const Compound&) const = default;
    };

    // Nothing is preformatted but PRE and its kin: the passes work as they always have.
    bool Empty() const { return compounds_.empty() && !inline_; }

    void Add(Compound compound);
    void AddType(std::string_view name) { Add({std::string(name), {}, {}}); }
    void AddClass(std::string_view name) { Add({{}, {std::string(name)}, {}}); }
    void AddId(std::string_view name) { Add({{}, {}, std::string(name)}); }
    // Some element's own style attribute makes it preformatted: start tags' style
    // attributes are read too.
    void NoteInlineStyles() { inline_ = true; }
    void Merge(const PreformattedSelectors& other);

    bool InlineStyles() const { return inline_; }
    // Whether some compound asks for a class or an id (else the type decides alone).
    bool NeedsAttributes() const { return needsAttributes_; }
    // Whether an element of `type` with `classes` (a class attribute's value) and `id`
    // matches a compound.
    bool Matches(std::string_view type, std::string_view classes, std::string_view id) const;

    // "div.line #code span" : the compounds in order, for tests and reports.
    std::string Describe() const;

    bool operator==(const PreformattedSelectors&) const = default;

  private:
    std::vector<Compound> compounds_;  // sorted, no two alike
    bool inline_ = false;
    bool needsAttributes_ = false;
};

// Whether a list of declarations (a rule's body or a style attribute's value) sets
// white-space (or white-space-collapse) to a value that keeps blanks.
bool DeclarationsPreformat(std::string_view declarations);

// Adds to `set` what the style sheet `css` makes preformatted: for each rule that does, the
// last compound of each of its selectors. Classes and ids named in a pseudo-class's
// argument (":is(.a)", ":not(.b)") count each alone, and are no condition of the compound. Rules
// inside @media,
// @supports, @layer and @container count; other at-rules teach nothing.
void LearnPreformattedSelectors(std::string_view css, PreformattedSelectors& set);

// Adds to `set` what the STYLE elements of the page `html` make preformatted, and notes
// style attributes that do.
void LearnFromStyleElements(std::string_view html, PreformattedSelectors& set);

// Whether the start tag at lt (a '<' followed by a letter) opens an element that `set`
// makes preformatted: by its name, a class, its id or its own style attribute. Void
// elements and elements that hold only text never are.
bool StartTagPreformatted(std::string_view in, size_t lt, const PreformattedSelectors& set);

// The attributes of the start tag at lt as a browser reads them (a value without quotes
// ends at a blank or the '>').
struct TagAttribute {
    std::string_view name;
    std::string_view value;
};
std::vector<TagAttribute> StartTagAttributes(std::string_view in, size_t lt);

}  // namespace trimlet::reference::engine
