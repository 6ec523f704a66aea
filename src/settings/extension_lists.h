#pragma once
// The extension lists of HTML and script files as the Output page edits them: the stored
// text ("HTM:HTML") split into items and joined back, the items kept in the page's order
// (alphabetical without regard to case), and the cleaning and checks of a typed extension.
// Texts are UTF-8; every character tested is ASCII, which never occurs inside a multibyte
// character, and the full-width blank is matched as its whole sequence.

#include <string>
#include <string_view>
#include <vector>

namespace trimlet {

// Splits a stored list at every ":": the text before each colon is an item, even when
// empty; the text after the last colon is an item unless it is empty. "" gives no items,
// "HTM::HTML" three (one empty), "HTM:" one.
std::vector<std::string> SplitExtensionList(std::string_view list);

// The items joined with ":", nothing before the first or after the last; no items give "".
std::string JoinExtensionList(const std::vector<std::string>& items);

// Extensions compare without regard to the case of ASCII letters ("htm" equals "HTM").
bool SameExtension(std::string_view a, std::string_view b);
// The list order: byte order of the texts with ASCII letters folded to lower case.
bool ExtensionLess(std::string_view a, std::string_view b);

// Puts the items in list order; items that compare equal keep their order.
void SortExtensionList(std::vector<std::string>& items);
// Inserts `item` at its place in a sorted list, after any equal items.
void InsertExtensionSorted(std::vector<std::string>& items, std::string item);

// The index of the first item equal to `extension` (SameExtension), or -1.
int FindExtension(const std::vector<std::string>& items, std::string_view extension);

// An extension as typed in the add-extension dialog: cut at the start of every blank, tab,
// full-width blank and period, at the end of every blank, tab and full-width blank. The
// refusal is MSG_EXTENSION_EMPTY when nothing is left, MSG_EXTENSION_BAD_CHARACTERS when
// what is left holds any of \ / : * ? " < | > or a period, else 0.
struct TypedExtension {
    std::string cleaned;
    int refusalId = 0;
};
TypedExtension CheckTypedExtension(std::string_view typed);

}  // namespace trimlet
