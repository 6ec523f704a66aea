// Comments kept on the command line: --keep-comment on trim, preview and run, the profile's
// own list, and the option that deletes the built-in kinds too.

#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "cli_runner.h"

namespace trimlet::test {
namespace {

using ::testing::HasSubstr;

constexpr std::string_view kPage =
    "<body><!--[if IE]><p>old</p><![endif]--><!-- google_ad -->\n"
    "<!-- noindex --><!-- note --><script>/*! lic */ /* @preserve */ a = 1; // x\n</script>\n";

TEST(KeptComments, TrimKeepsTheGivenBeginningsAndTheBuiltInKindsUnlessAsked) {
    TempDir dir;
    const std::string page = dir.Write("page.html", kPage);
    const struct {
        const char* name;
        std::vector<std::string> args;
        std::string expected;
    } cases[] = {
        {"BuiltInKindsOnly",
         {},
         "<body><!--[if IE]><p>old</p><![endif]-->\n<script>/*! lic */a=1;\n</script>\n"},
        {"GivenBeginnings",
         {"--keep-comment", "google_ad", "--keep-comment=<!-- noindex", "--keep-comment",
          "@preserve"},
         "<body><!--[if IE]><p>old</p><![endif]--><!-- google_ad -->\n<!-- noindex --><script>/*! "
         "lic */ /* @preserve */a=1;\n</script>\n"},
        {"SpecialCommentsToo",
         {"--options", "default,+special-comments", "--keep-comment", "google_ad"},
         "<body><!-- google_ad -->\n<script>a=1;\n</script>\n"},
        {"SpecialCommentsByNumber", {"--mode", "0x0F89782C"}, "<body>\n<script>a=1;\n</script>\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args = {"trim", page};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliOutcome outcome = RunCli(dir, args);
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(outcome.out, c.expected);
    }
    EXPECT_EQ(RunCli(dir, {"options", "--print-mode", "--options", "special-comments"}).out,
              std::to_string(kDefaultTrimMode | TM_SPECIAL_COMMENTS_DEL) + "\n");
    EXPECT_THAT(RunCli(dir, {"options"}).out, HasSubstr("special-comments"));

    const CliOutcome empty = RunCli(dir, {"trim", "--keep-comment", "", page});
    EXPECT_EQ(empty.status, 2);
    EXPECT_THAT(empty.err, HasSubstr("--keep-comment needs a text"));
}

TEST(KeptComments, TheProfilesListJoinsTheGivenOnesInEveryCommand) {
    TempDir dir;
    const std::string profile =
        dir.Write("p.ini", "[Settings]\nVERSION=150\nKEEP_COMMENTS=google_ad\\n@preserve\n");
    const std::string page = dir.Write("site/page.html", kPage);
    const std::string keptBoth =
        "<body><!--[if IE]><p>old</p><![endif]--><!-- google_ad -->\n<!-- noindex --><script>/*! "
        "lic */ /* @preserve */a=1;\n</script>\n";

    const CliOutcome trimmed =
        RunCli(dir, {"trim", "--profile", profile, "--keep-comment", "<!-- noindex", page});
    EXPECT_EQ(trimmed.status, 0) << trimmed.err;
    EXPECT_EQ(trimmed.out, keptBoth);

    // The preview measures what trim writes.
    const CliOutcome preview = RunCli(
        dir, {"preview", "--json", "--profile", profile, "--keep-comment", "<!-- noindex", page});
    EXPECT_EQ(preview.status, 0) << preview.err;
    EXPECT_THAT(preview.out,
                HasSubstr("\"trimmedSize\": " + std::to_string(keptBoth.size()) + ","));

    // A run takes the profile's list and the given ones, and writes no profile.
    const std::string before = ReadAll(profile);
    ASSERT_EQ(
        RunCli(dir,
               {"task", "create", "--profile", profile, "--output-folder", "out", "t.trh", page},
               {.folder = dir.File("site")})
            .status,
        0);
    const CliOutcome run = RunCli(
        dir, {"run", "--profile", profile, "--yes", "--keep-comment", "<!-- noindex", "t.trh"},
        {.folder = dir.File("site")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadAll(dir.File("site/out/page.html")), keptBoth);
    EXPECT_EQ(ReadAll(profile), before);
    const CliOutcome plain =
        RunCli(dir, {"run", "--yes", "--overwrite=all", "t.trh"}, {.folder = dir.File("site")});
    EXPECT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(ReadAll(dir.File("site/out/page.html")),
              "<body><!--[if IE]><p>old</p><![endif]-->\n<script>/*! lic */a=1;\n</script>\n");
}

}  // namespace
}  // namespace trimlet::test
