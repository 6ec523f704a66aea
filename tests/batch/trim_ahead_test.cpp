// Trimming ahead on a second thread: a result is handed over only for the file that was
// offered next, in the mode asked for, and only while the file is still the one read.

#include <gtest/gtest.h>

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

constexpr std::string_view kPage = "<p>  a  </p>\r\n\r\n\r\n<p>  b  </p>\r\n";

std::string TrimmedNow(const std::string& path, TrimMode mode) {
    std::string out;
    std::uint64_t in = 0, size = 0;
    EXPECT_RESULT(TrimFile(path, mode, "JS:VBS", out, in, size), RESULT_OK);
    return out;
}

TEST(TrimAhead, HandsOverTheOfferedFilesInOrder) {
    test::TempDir dir;
    const std::string a = dir.Write("a.html", kPage);
    const std::string b = dir.Write("b.html", "<b>  x  </b>");
    const std::string c = dir.Write("c.html", "<i>  y  </i>");
    TrimAhead ahead("JS:VBS", {}, nullptr);
    for (const std::string& path : {a, b, c})
        ahead.Offer(path, kDefaultTrimMode);
    // b's turn comes first: a, offered before it, was skipped by the run and is dropped.
    const auto fromB = ahead.Take(b, kDefaultTrimMode);
    ASSERT_TRUE(fromB);
    EXPECT_EQ(fromB->bytes, TrimmedNow(b, kDefaultTrimMode));
    EXPECT_EQ(fromB->inputSize, 12u);
    EXPECT_EQ(fromB->outputSize, fromB->bytes.size());
    EXPECT_FALSE(ahead.Take(a, kDefaultTrimMode));  // gone
    // c was offered in another mode than its turn asks for.
    EXPECT_FALSE(ahead.Take(c, kDefaultTrimMode | TM_BETWEEN_TAGS));
    EXPECT_FALSE(ahead.Take(c, kDefaultTrimMode));  // used up
}

TEST(TrimAhead, AFileChangedSinceItWasReadIsTrimmedAgainByTheRun) {
    const struct {
        const char* name;
        void (*change)(const std::string& path);
    } changes[] = {
        {"rewritten in place, same size",
         [](const std::string& path) {
             std::ofstream(path, std::ios::binary | std::ios::trunc)
                 << "<p>  A  </p>\r\n\r\n\r\n<p>  B  </p>\r\n";
         }},
        {"replaced by another file",
         [](const std::string& path) {
             const std::string other = path + ".new";
             std::ofstream(other, std::ios::binary) << "<p>  new  </p>";
             std::filesystem::rename(other, path);
         }},
        {"made read-only",
         [](const std::string& path) {
             std::filesystem::permissions(path, std::filesystem::perms::owner_write,
                                          std::filesystem::perm_options::remove);
         }},
    };
    for (const auto& change : changes) {
        SCOPED_TRACE(change.name);
        test::TempDir dir;
        const std::string page = dir.Write("page.html", kPage);
        const std::string next = dir.Write("next.html", kPage);
        TrimAhead ahead("JS:VBS", {}, nullptr);
        ahead.Offer(page, kDefaultTrimMode);
        ahead.Offer(next, kDefaultTrimMode);
        ASSERT_TRUE(ahead.Take(page, kDefaultTrimMode));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));  // `next` is read by now
        change.change(next);
        // `next` may have been read before or after the change: a result made before it
        // is not handed over, one made after it is the trim of what the file now holds.
        if (const auto result = ahead.Take(next, kDefaultTrimMode)) {
            EXPECT_EQ(result->bytes, TrimmedNow(next, kDefaultTrimMode));
        }
    }
}

TEST(TrimAhead, AFailedReadIsLeftToTheRun) {
    test::TempDir dir;
    TrimAhead ahead("JS:VBS", {}, nullptr);
    const std::string missing = dir.File("missing.html");
    ahead.Offer(missing, kDefaultTrimMode);
    EXPECT_FALSE(ahead.Take(missing, kDefaultTrimMode));
}

TEST(TrimAhead, StopsWithFilesStillOffered) {
    test::TempDir dir;
    const std::string page = dir.Write("page.html", kPage);
    TrimAhead ahead("JS:VBS", {}, nullptr);
    for (int k = 0; k < 20; ++k)
        ahead.Offer(page, kDefaultTrimMode);
}  // joins here without taking any

}  // namespace
}  // namespace trimlet
