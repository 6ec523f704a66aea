#include "text/stylesheets.h"

#include <algorithm>
#include <filesystem>
#include <new>

#include "engine/bytes.h"
#include "engine/markup.h"
#include "platform/read_file.h"

namespace trimlet {

namespace {

// Enough for the sheets of any site; past it the paths are worked out afresh.
constexpr std::size_t kMaxRememberedPaths = 1 << 16;

using engine::EqualsNoCase;
using engine::kNone;

bool HasToken(std::string_view list, std::string_view token) {
    for (size_t k = 0; k < list.size();) {
        while (k < list.size() && engine::IsBlankOrBreak(engine::ByteAt(list, k)))
            ++k;
        size_t e = k;
        while (e < list.size() && !engine::IsBlankOrBreak(engine::ByteAt(list, e)))
            ++e;
        if (e > k && EqualsNoCase(list.substr(k, e - k), token)) return true;
        k = e;
    }
    return false;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f') return (c | 0x20) - 'a' + 10;
    return -1;
}

}  // namespace

std::vector<std::string> LinkedStylesheetHrefs(std::string_view html) {
    std::vector<std::string> hrefs;
    // The walk ends after the last "<link".
    size_t next = engine::FindNoCase(html, 0, "<link");
    for (size_t i = 0; next < html.size() && (i = engine::FindByte(html, i, '<')) != kNone;
         next = next >= i ? next : engine::FindNoCase(html, i, "<link")) {
        const engine::MarkupKind kind = engine::MarkupAt(html, i);
        if (kind == engine::MarkupKind::None) {
            ++i;
            continue;
        }
        // Links inside comments teach nothing: a trim may delete them.
        if (kind == engine::MarkupKind::Tag && html[i + 1] != '/' &&
            EqualsNoCase(engine::TagNameAt(html, i), "link")) {
            bool sheet = false;
            std::string_view href;
            bool hrefSeen = false;
            for (const engine::TagAttribute& a : engine::StartTagAttributes(html, i)) {
                if (EqualsNoCase(a.name, "rel") && HasToken(a.value, "stylesheet")) sheet = true;
                if (EqualsNoCase(a.name, "href") && !hrefSeen) {
                    href = a.value;
                    hrefSeen = true;
                }
            }
            if (sheet && !href.empty()) hrefs.emplace_back(href);
        }
        i = engine::MarkupEnd(html, i, kind);
    }
    return hrefs;
}

std::string LocalStylesheetPath(std::string_view pagePath, std::string_view href) {
    while (!href.empty() && engine::IsBlankOrBreak(static_cast<uint8_t>(href.front())))
        href.remove_prefix(1);
    while (!href.empty() && engine::IsBlankOrBreak(static_cast<uint8_t>(href.back())))
        href.remove_suffix(1);
    href = href.substr(0, href.find_first_of("?#"));
    if (href.empty() || href.front() == '/' || href.front() == '\\') return {};
    const size_t colon = href.find(':');
    if (colon != std::string_view::npos && href.find('/') > colon) return {};  // a scheme
    std::string decoded;
    for (size_t k = 0; k < href.size(); ++k) {
        if (href[k] == '%' && k + 2 < href.size() && HexValue(href[k + 1]) >= 0 &&
            HexValue(href[k + 2]) >= 0) {
            decoded += static_cast<char>(HexValue(href[k + 1]) * 16 + HexValue(href[k + 2]));
            k += 2;
        } else {
            decoded += href[k];
        }
    }
    if (decoded.find('\0') != std::string::npos) return {};
    const size_t slash = pagePath.rfind('/');
    const std::string folder(slash == std::string_view::npos ? std::string_view(".")
                                                             : pagePath.substr(0, slash + 1));
    return (std::filesystem::path(folder) / decoded).lexically_normal().string();
}

void StylesheetCache::Learn(const std::string& path, engine::PreformattedSelectors& set) {
    if (path.empty()) return;
    StylesheetCache& sheets = shared_ != nullptr ? *shared_ : *this;
    sheets.LearnNoting(path, set, consulted_);
}

void StylesheetCache::LearnNoting(const std::string& path, engine::PreformattedSelectors& set,
                                  std::vector<ConsultedSheet>* consulted) {
    // Taken before the file is looked at: a change after it cannot date from before it.
    const FileStamp::Time before = FileClockNow();
    FileStamp stamp;
    if (!TakeFileStamp(path, stamp)) {
        if (consulted) consulted->push_back({path, false, {}, before});
        return;
    }
    {
        // What was read serves while the sheet's whole stamp is the same (a rewrite that keeps
        // size and modification time still moves its status-change time), once it was read
        // long enough after its last change for the stamp to tell; else it is read again.
        const std::lock_guard lock(mutex_);
        if (const auto it = entries_.find(path);
            it != entries_.end() && it->second.stamp == stamp &&
            StampSettled(it->second.stamp, it->second.readAt, settleTime_)) {
            set.Merge(it->second.learned);
            if (consulted) consulted->push_back({path, true, it->second.stamp, it->second.readAt});
            return;
        }
    }
    Entry entry;
    entry.readAt = before;
    std::string bytes;
    std::uint64_t size = 0;
    if (ReadRegularFile(path, kMaxStylesheetSize + 1, bytes, size, &entry.stamp) != RESULT_OK) {
        if (consulted) consulted->push_back({path, true, stamp, before});
        return;
    }
    // A sheet saved with a UTF-8 byte-order mark is read without it, as a browser reads it.
    std::string_view css = bytes;
    if (css.starts_with("\xEF\xBB\xBF")) css.remove_prefix(3);
    if (size <= kMaxStylesheetSize) engine::LearnPreformattedSelectors(css, entry.learned);
    set.Merge(entry.learned);
    if (consulted) consulted->push_back({path, true, entry.stamp, before});
    const std::lock_guard lock(mutex_);
    ++reads_;
    entries_[path] = std::move(entry);
}

std::string StylesheetCache::LocalPath(std::string_view pagePath, std::string_view href) {
    if (shared_ != nullptr) return shared_->LocalPath(pagePath, href);
    // The path depends on the page's folder and the href only. A NUL, which neither holds,
    // separates them in the key.
    const size_t slash = pagePath.rfind('/');
    std::string key(slash == std::string_view::npos ? std::string_view()
                                                    : pagePath.substr(0, slash + 1));
    key += '\0';
    key += href;
    {
        const std::lock_guard lock(mutex_);
        if (const auto it = paths_.find(key); it != paths_.end()) return it->second;
    }
    std::string path = LocalStylesheetPath(pagePath, href);
    const std::lock_guard lock(mutex_);
    if (paths_.size() >= kMaxRememberedPaths) paths_.clear();
    paths_.emplace(std::move(key), path);
    return path;
}

void StylesheetCache::Clear() {
    const std::lock_guard lock(mutex_);
    entries_.clear();
    paths_.clear();
}

std::size_t StylesheetCache::ReadCount() const {
    const std::lock_guard lock(mutex_);
    return reads_;
}

void LearnPreformattedForPage(std::string_view pagePath, std::string_view html,
                              StylesheetCache* cache, engine::PreformattedSelectors& set) {
    if (engine::FindNoCase(html, 0, "white-space") < html.size())
        engine::LearnFromStyleElements(html, set);
    if (pagePath.empty() || engine::FindNoCase(html, 0, "<link") >= html.size()) return;
    StylesheetCache ownCache;
    StylesheetCache& sheets = cache != nullptr ? *cache : ownCache;
    // What a sheet teaches is added to the set once, however often the page links it.
    std::vector<std::string> hrefs = LinkedStylesheetHrefs(html);
    std::sort(hrefs.begin(), hrefs.end());
    hrefs.erase(std::unique(hrefs.begin(), hrefs.end()), hrefs.end());
    for (const std::string& href : hrefs)
        sheets.Learn(sheets.LocalPath(pagePath, href), set);
}

}  // namespace trimlet
