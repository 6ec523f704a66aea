#include "batch/output_plan.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "test_support.h"

namespace trimlet {
namespace {

namespace fs = std::filesystem;

// The planned output is the file the write will land on: links and "." or ".." resolved as
// far as the path exists, whichever of its parts are links, exist or are still to be made.
TEST(PlannedOutputPath, ResolvesLinksAsFarAsThePathExists) {
    test::TempDir dir;
    const fs::path root = fs::canonical(dir.path());
    dir.Write("site/page.html", "<p>a</p>");
    dir.Write("site/sub/page.html", "<p>b</p>");
    dir.Write("elsewhere/kept.html", "");
    fs::create_directory(dir.File("site/out"));
    ASSERT_EQ(symlink("site", dir.File("alias").c_str()), 0);
    ASSERT_EQ(symlink("../elsewhere", dir.File("site/linked").c_str()), 0);
    // An existing output that is a link, and one whose link dangles.
    ASSERT_EQ(symlink("../../elsewhere/kept.html", dir.File("site/out/page.html").c_str()), 0);
    ASSERT_EQ(symlink("../elsewhere/new.html", dir.File("site/linked/../site/x").c_str()), 0);
    struct Case {
        const char* input;
        const char* folderName;
        fs::path expected;
    };
    const Case cases[] = {
        {"site/page.html", "Trimlet", root / "site/Trimlet/page.html"},
        {"alias/page.html", "Trimlet", root / "site/Trimlet/page.html"},
        {"alias/sub/page.html", "..", root / "site/page.html"},
        {"site/sub/page.html", "../Trimlet", root / "site/Trimlet/page.html"},
        {"site/page.html", "out", root / "elsewhere/kept.html"},
        {"site/page.html", "linked", root / "elsewhere/page.html"},
        {"site/page.html", "linked/deeper", root / "elsewhere/deeper/page.html"},
        {"site/page.html", "", root / "site/page.html"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.input) + " into " + c.folderName);
        const std::optional<std::string> output =
            PlannedOutputPath(NativePathStyle(), dir.File(c.input), c.folderName);
        ASSERT_TRUE(output.has_value());
        EXPECT_EQ(*output, c.expected.string());
        EXPECT_EQ(*output, fs::weakly_canonical(*output).string());
    }
}

}  // namespace
}  // namespace trimlet
