// One read of a file tells what the separate looks tell: the text test, the find record and
// the trim, with the same failure codes.

#include "text/file_look.h"

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <tuple>

#include "test_support.h"
#include "text/text_loading.h"
#include "text/trim_file.h"

namespace trimlet {
namespace {

using namespace std::string_literals;

auto Shown(const FindRecord& r) {
    return std::tie(r.attributes, r.creationTime, r.lastWriteTime, r.size, r.name, r.identity);
}

TEST(LookAtFile, AgreesWithTheTextTestTheRecordAndTheTrim) {
    test::TempDir dir;
    const std::string page = dir.Write("a.htm", "<p>   a  </p>\n\n<!-- x -->");
    std::filesystem::create_symlink(page, dir.path() / "link.htm");
    std::filesystem::create_directory(dir.path() / "folder.htm");
    ASSERT_EQ(::mkfifo(dir.File("pipe.htm").c_str(), 0644), 0);
    const std::string paths[] = {
        page,
        dir.File("link.htm"),
        dir.Write("g.htm", "GIF89a\0\0\x01\x02"s),
        dir.Write("late.htm", std::string(1024, 'a') + "\0\0"s),  // NUL past the tested bytes
        dir.Write("edge.htm", std::string(1023, 'a') + "\0b"s),   // NUL as the last tested one
        dir.Write("odd.htm", "\xFF\xFE<\0p\0>"s),                 // read, but the trim fails
        dir.File("missing.htm"),
        page + "/below.htm",
        dir.File("folder.htm"),
        dir.File("pipe.htm"),
    };
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        FindRecord record;
        const Result found = GetFindRecord(path, record);
        FileLook look;
        LookAtFile(path, kDefaultTrimMode, "JS", 1024, true, look);
        bool nonText = false;
        const Result tested = LooksLikeNonText(path, 1024, nonText);
        std::string bytes;
        std::uint64_t in = 0, out = 0;
        const Result trimmed = TrimFile(path, kDefaultTrimMode, "JS", bytes, in, out);

        EXPECT_EQ(look.nonText, tested == RESULT_OK && nonText);
        EXPECT_EQ(look.read, tested == RESULT_OK);
        if (look.read) {
            EXPECT_EQ(Shown(look.record), Shown(record)) << ResultName(found);
        }
        if (look.nonText) continue;
        EXPECT_RESULT(look.result, trimmed);
        EXPECT_EQ(std::tie(look.inputSize, look.outputSize), std::tie(in, out));
        EXPECT_EQ(look.bytes, trimmed == RESULT_OK ? bytes : "");
    }
}

}  // namespace
}  // namespace trimlet
