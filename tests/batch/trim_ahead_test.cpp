// Trimming ahead on a second thread: a result is handed over only for the file that was
// offered next, in the mode asked for, and only while the file and the style sheets its
// trim read are still as they were read; files the run does not trim are not trimmed.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "batch/trim_ahead.h"
#include "test_support.h"
#include "text/trim_file.h"

namespace trimlet {
namespace {

using std::chrono::nanoseconds;

constexpr std::string_view kPage = "<p>  a  </p>\r\n\r\n\r\n<p>  b  </p>\r\n";

std::string TrimmedNow(const std::string& path, TrimMode mode) {
    std::string out;
    std::uint64_t in = 0, size = 0;
    EXPECT_RESULT(TrimFile(path, mode, "JS:VBS", out, in, size), RESULT_OK);
    return out;
}

// Waits until the worker has begun `count` files.
void WaitForStarts(const TrimAhead& ahead, std::size_t count) {
    for (int k = 0; k < 2000 && ahead.StartedCount() < count; ++k)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_EQ(ahead.StartedCount(), count);
}

TEST(TrimAhead, HandsOverTheOfferedFilesInOrder) {
    test::TempDir dir;
    const std::string a = dir.Write("a.html", kPage);
    const std::string b = dir.Write("b.html", "<b>  x  </b>");
    const std::string c = dir.Write("c.html", "<i>  y  </i>");
    TrimAhead ahead("JS:VBS", {}, nullptr, nanoseconds(0));
    for (const std::string& path : {a, b, c})
        ahead.Offer(path, kDefaultTrimMode);
    WaitForStarts(ahead, 3);
    // A file that was not offered leaves those that were.
    EXPECT_FALSE(ahead.Take(dir.File("other.html"), kDefaultTrimMode));
    // b's turn comes first: a, offered before it, was skipped by the run and is dropped.
    const auto fromB = ahead.Take(b, kDefaultTrimMode);
    ASSERT_TRUE(fromB);
    EXPECT_EQ(fromB->bytes, TrimmedNow(b, kDefaultTrimMode));
    EXPECT_EQ(fromB->inputSize, 12u);
    EXPECT_EQ(fromB->outputSize, fromB->bytes.size());
    EXPECT_FALSE(ahead.Take(a, kDefaultTrimMode));  // gone
    // c was offered in another mode than its turn asks for.
    EXPECT_FALSE(ahead.Take(c, kDefaultTrimMode ^ TM_BETWEEN_TAGS));
    EXPECT_FALSE(ahead.Take(c, kDefaultTrimMode));  // used up
}

// Changes made to a file after the worker read it.
void RewriteSameSize(const std::string& path) {
    std::string bytes = test::ReadAll(path);
    for (char& c : bytes)
        c = c == ' ' ? '\t' : c;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}
void Replace(const std::string& path) {
    const std::string other = path + ".new";
    std::ofstream(other, std::ios::binary) << "pre { white-space: pre }";
    std::filesystem::rename(other, path);
}
void MakeReadOnly(const std::string& path) {
    std::filesystem::permissions(path, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
}
void Remove(const std::string& path) {
    std::filesystem::remove(path);
}
void Create(const std::string& path) {
    std::ofstream(path) << "p { white-space: pre }";
}

// Offers `page`, waits until its trim has ended, applies `change` to `changed`, then takes
// the page's result. File times step at least once in the wait.
std::optional<TrimmedAhead> TakeAfter(const std::string& page, const std::string& changed,
                                      void (*change)(const std::string&),
                                      nanoseconds settle = nanoseconds(0)) {
    TrimAhead ahead("JS:VBS", {}, nullptr, settle);
    ahead.Offer(page, kDefaultTrimMode);
    WaitForStarts(ahead, 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (change) change(changed);
    return ahead.Take(page, kDefaultTrimMode);
}

TEST(TrimAhead, AResultIsDroppedWhenThePageOrASheetItReadChangedSince) {
    const std::string page =
        "<link rel=stylesheet href=a.css><link rel=stylesheet href=gone.css>\n"
        "<p>  a  </p>\n\n\n<p>  b  </p>\n";
    const struct {
        const char* name;
        const char* file;  // the file changed
        void (*change)(const std::string& path);
    } changes[] = {
        {"page rewritten in place, same size", "page.html", RewriteSameSize},
        {"page replaced by another file", "page.html", Replace},
        {"page made read-only", "page.html", MakeReadOnly},
        {"sheet rewritten in place, same size", "a.css", RewriteSameSize},
        {"sheet replaced by another file", "a.css", Replace},
        {"sheet removed", "a.css", Remove},
        {"missing sheet created", "gone.css", Create},
    };
    for (const auto& change : changes) {
        SCOPED_TRACE(change.name);
        test::TempDir dir;
        const std::string path = dir.Write("page.html", page);
        dir.Write("a.css", "i { color: red }");
        EXPECT_FALSE(TakeAfter(path, dir.File(change.file), change.change));
    }
    // Unchanged, the result is handed over; changing an unlinked file does not matter.
    test::TempDir dir;
    const std::string path = dir.Write("page.html", page);
    dir.Write("a.css", "i { color: red }");
    dir.Write("b.css", "i { color: red }");
    const auto result = TakeAfter(path, dir.File("b.css"), Replace);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->bytes, TrimmedNow(path, kDefaultTrimMode));
}

TEST(TrimAhead, AResultIsNotUsedWhenAFileItReadHadChangedJustBefore) {
    // A change made in the same tick of a coarse file clock as the one before could leave
    // the same stamp: a file changed shortly before it was read is not trusted.
    test::TempDir dir;
    const std::string page = dir.Write("page.html", "<link rel=stylesheet href=a.css><p> a </p>");
    dir.Write("a.css", "i { color: red }");
    EXPECT_TRUE(TakeAfter(page, "", nullptr, nanoseconds(0)));
    EXPECT_FALSE(TakeAfter(page, "", nullptr, TrimAhead::kSettleTime));
}

TEST(TrimAhead, ASheetReadAheadAndChangedSinceIsReadAgainForTheRun) {
    // The run trims the page itself once the sheet changed; it must then see the sheet as
    // it is, not as the worker read it into the run's cache. The change keeps the sheet's
    // size and modification time (put back, as a copy keeping times does, or as a change
    // in the same tick of a coarse file clock leaves it).
    test::TempDir dir;
    const std::string page =
        dir.Write("page.html",
                  "<link rel=stylesheet href=a.css><pre2>  a    b  </pre2><pre3>  c    d  </pre3>");
    const std::string sheet = dir.Write("a.css", "pre2 { white-space: pre }");
    StylesheetCache cache;
    TrimAhead ahead("JS:VBS", {}, &cache, nanoseconds(0));
    ahead.Offer(page, kDefaultTrimMode);
    WaitForStarts(ahead, 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const auto modified = std::filesystem::last_write_time(sheet);
    {
        std::fstream rewrite(sheet, std::ios::binary | std::ios::in | std::ios::out);
        rewrite << "pre3 { white-space: pre }";
    }
    std::filesystem::last_write_time(sheet, modified);
    EXPECT_FALSE(ahead.Take(page, kDefaultTrimMode));

    std::string byRun, fresh;
    std::uint64_t in = 0, size = 0;
    ASSERT_RESULT(TrimFile(page, kDefaultTrimMode, "JS:VBS", byRun, in, size, nullptr, {}, &cache),
                  RESULT_OK);
    StylesheetCache own;
    ASSERT_RESULT(TrimFile(page, kDefaultTrimMode, "JS:VBS", fresh, in, size, nullptr, {}, &own),
                  RESULT_OK);
    EXPECT_EQ(byRun, fresh);
}

TEST(TrimAhead, ASheetTheRunReadJustAfterItChangedServesOnceItHasSettled) {
    // A sheet saved just before the run is read by the run's first page; the pages the
    // worker trims once it has been left alone long enough are used, not trimmed twice.
    const nanoseconds settle = std::chrono::milliseconds(200);
    test::TempDir dir;
    const std::string first = dir.Write("first.html", "<link rel=stylesheet href=a.css><p> a </p>");
    const std::string page = dir.Write("page.html", "<link rel=stylesheet href=a.css><p>  b  </p>");
    dir.Write("a.css", "pre2 { white-space: pre }");
    StylesheetCache cache;
    std::string out;
    std::uint64_t in = 0, size = 0;
    ASSERT_RESULT(TrimFile(first, kDefaultTrimMode, "JS:VBS", out, in, size, nullptr, {}, &cache),
                  RESULT_OK);
    std::this_thread::sleep_for(settle * 2);
    TrimAhead ahead("JS:VBS", {}, &cache, settle);
    ahead.Offer(page, kDefaultTrimMode);
    WaitForStarts(ahead, 1);
    EXPECT_TRUE(ahead.Take(page, kDefaultTrimMode));
}

TEST(TrimAhead, FilesTheRunDoesNotTrimAreNotTrimmed) {
    test::TempDir dir;
    const std::string a = dir.Write("a.html", kPage);
    const std::string b = dir.Write("b.html", kPage);
    TrimAhead ahead("JS:VBS", {}, nullptr, nanoseconds(0));
    // Offered for when a is trimmed; a is skipped.
    ahead.OfferOnTake(b, kDefaultTrimMode);
    ahead.Withdraw(a);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(ahead.StartedCount(), 0u);
    // Offered, then withdrawn before its turn: its result is not handed over.
    ahead.OfferOnTake("", kDefaultTrimMode);
    ahead.Offer(a, kDefaultTrimMode);
    WaitForStarts(ahead, 1);
    ahead.Withdraw(a);
    EXPECT_FALSE(ahead.Take(a, kDefaultTrimMode));
    // Once a is taken, b is trimmed.
    ahead.OfferOnTake(b, kDefaultTrimMode);
    EXPECT_FALSE(ahead.Take(a, kDefaultTrimMode));
    WaitForStarts(ahead, 2);
    EXPECT_TRUE(ahead.Take(b, kDefaultTrimMode));
}

TEST(TrimAhead, LargeFilesAndFailedReadsAreLeftToTheRun) {
    test::TempDir dir;
    const std::string large = dir.Write("large.html", "");
    // Sparse: only its size is looked at.
    ASSERT_EQ(::truncate(large.c_str(), static_cast<off_t>(TrimAhead::kMaxFileSize + 1)), 0);
    const std::string missing = dir.File("missing.html");
    for (const std::string& path : {large, missing}) {
        SCOPED_TRACE(path);
        TrimAhead ahead("JS:VBS", {}, nullptr, nanoseconds(0));
        ahead.Offer(path, kDefaultTrimMode);
        WaitForStarts(ahead, 1);
        EXPECT_FALSE(ahead.Take(path, kDefaultTrimMode));
    }
}

TEST(TrimAhead, StopsWithFilesStillOffered) {
    test::TempDir dir;
    const std::string page = dir.Write("page.html", kPage);
    TrimAhead ahead("JS:VBS", {}, nullptr, nanoseconds(0));
    for (int k = 0; k < 20; ++k)
        ahead.Offer(page, kDefaultTrimMode);
}  // joins here without taking any

}  // namespace
}  // namespace trimlet
