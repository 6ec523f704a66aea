#include "settings/extension_lists.h"

#include <algorithm>

#include "common/messages.h"

namespace trimlet {

namespace {

constexpr std::string_view kFullWidthBlank = "\xE3\x80\x80";
constexpr std::string_view kBadExtensionCharacters = "\\/:*?\"<|>.";

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The length of the blank at the start of `text` (1 or 3 bytes), or 0.
std::size_t LeadingBlank(std::string_view text) {
    if (text.empty()) return 0;
    if (text[0] == ' ' || text[0] == '\t') return 1;
    return text.starts_with(kFullWidthBlank) ? kFullWidthBlank.size() : 0;
}

std::size_t TrailingBlank(std::string_view text) {
    if (text.empty()) return 0;
    if (text.back() == ' ' || text.back() == '\t') return 1;
    return text.ends_with(kFullWidthBlank) ? kFullWidthBlank.size() : 0;
}

}  // namespace

std::vector<std::string> SplitExtensionList(std::string_view list) {
    std::vector<std::string> items;
    std::size_t begin = 0;
    for (std::size_t colon = list.find(':'); colon != std::string_view::npos;
         colon = list.find(':', begin)) {
        items.emplace_back(list.substr(begin, colon - begin));
        begin = colon + 1;
    }
    if (begin < list.size()) items.emplace_back(list.substr(begin));
    return items;
}

std::string JoinExtensionList(const std::vector<std::string>& items) {
    std::string list;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) list += ':';
        list += items[i];
    }
    return list;
}

bool SameExtension(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return FoldAscii(x) == FoldAscii(y);
           });
}

bool ExtensionLess(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(FoldAscii(x)) < static_cast<unsigned char>(FoldAscii(y));
    });
}

void SortExtensionList(std::vector<std::string>& items) {
    std::stable_sort(items.begin(), items.end(), [](const std::string& a, const std::string& b) {
        return ExtensionLess(a, b);
    });
}

void InsertExtensionSorted(std::vector<std::string>& items, std::string item) {
    auto at = std::upper_bound(
        items.begin(), items.end(), item,
        [](const std::string& a, const std::string& b) { return ExtensionLess(a, b); });
    items.insert(at, std::move(item));
}

int FindExtension(const std::vector<std::string>& items, std::string_view extension) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (SameExtension(items[i], extension)) return static_cast<int>(i);
    }
    return -1;
}

TypedExtension CheckTypedExtension(std::string_view typed) {
    for (;;) {
        if (std::size_t n = LeadingBlank(typed)) {
            typed.remove_prefix(n);
        } else if (!typed.empty() && typed.front() == '.') {
            typed.remove_prefix(1);
        } else {
            break;
        }
    }
    while (std::size_t n = TrailingBlank(typed))
        typed.remove_suffix(n);

    TypedExtension result;
    result.cleaned.assign(typed);
    if (typed.empty()) {
        result.refusalId = MSG_EXTENSION_EMPTY;
    } else if (typed.find_first_of(kBadExtensionCharacters) != std::string_view::npos) {
        result.refusalId = MSG_EXTENSION_BAD_CHARACTERS;
    }
    return result;
}

}  // namespace trimlet
