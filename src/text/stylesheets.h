#pragma once
// The style sheets a page links, read from beside the page, for what they make
// preformatted. A run or a list keeps one cache, so that pages sharing a style sheet read
// it once.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/preformatted.h"
#include "platform/file_stamp.h"

namespace trimlet {

// The href of every <link rel="stylesheet"> of the page (outside comments), in order.
std::vector<std::string> LinkedStylesheetHrefs(std::string_view html);

// The file `href` names relative to the page at `pagePath`, or "" when it names none here:
// a remote address ("http:", "//host"), a path from the site's root, or an empty one.
// Query and fragment are dropped, %-escapes decoded, "." and ".." resolved.
std::string LocalStylesheetPath(std::string_view pagePath, std::string_view href);

// A style sheet a page's trim looked at: the file at `path` as it was when what it teaches
// was read (`found` false: there was none), and when that read began.
struct ConsultedSheet {
    std::string path;
    bool found = false;
    FileStamp stamp;
    FileStamp::Time readAt;
};

// Style sheets read so far, by path, each kept with the size and time it had when read: a
// sheet is read again only when it changed. Safe to share between threads.
class StylesheetCache {
  public:
    // `settleTime`: a sheet read less than this after it last changed is read again when a
    // page next asks for it (see kStampSettleTime).
    explicit StylesheetCache(std::chrono::nanoseconds settleTime = kStampSettleTime)
        : settleTime_(settleTime) {}
    // A cache of one thread that reads through `shared` (its own sheets when null) and notes
    // each sheet it looks at in `consulted`, so that a result can later be checked against
    // the sheets as they are then.
    StylesheetCache(StylesheetCache* shared, std::vector<ConsultedSheet>& consulted)
        : shared_(shared), consulted_(&consulted) {}
    StylesheetCache(const StylesheetCache&) = delete;
    StylesheetCache& operator=(const StylesheetCache&) = delete;

    // Adds to `set` what the style sheet at `path` makes preformatted. A sheet that cannot
    // be read teaches nothing.
    void Learn(const std::string& path, engine::PreformattedSelectors& set);
    // LocalStylesheetPath, remembered: the pages of one folder mostly link the same sheets,
    // and resolving a path costs more than the rest of the lookup.
    std::string LocalPath(std::string_view pagePath, std::string_view href);
    // Forgets every sheet (the list was refreshed).
    void Clear();
    // How many times a sheet was read from disk since the cache was made.
    std::size_t ReadCount() const;

  private:
    struct Entry {
        FileStamp stamp;
        FileStamp::Time readAt;
        engine::PreformattedSelectors learned;
    };
    // Learn, noting the sheet in `consulted` when given.
    void LearnNoting(const std::string& path, engine::PreformattedSelectors& set,
                     std::vector<ConsultedSheet>* consulted);

    StylesheetCache* const shared_ = nullptr;
    const std::chrono::nanoseconds settleTime_ = kStampSettleTime;
    std::vector<ConsultedSheet>* const consulted_ = nullptr;
    mutable std::mutex mutex_;
    std::unordered_map<std::string, Entry> entries_;
    std::unordered_map<std::string, std::string> paths_;  // by page folder and href
    std::size_t reads_ = 0;
};

// Style sheets larger than this teach nothing.
inline constexpr std::uint64_t kMaxStylesheetSize = std::uint64_t{16} << 20;

// The set of elements the page `html` (its decoded text) makes preformatted: from its STYLE
// elements and style attributes, and, when `pagePath` is not empty, from the style sheets
// it links that lie beside it, read through `cache` (or read anew when it is null).
void LearnPreformattedForPage(std::string_view pagePath, std::string_view html,
                              StylesheetCache* cache, engine::PreformattedSelectors& set);

}  // namespace trimlet
