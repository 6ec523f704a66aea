// "trimlet verify" on pairs of files, and --verify on trim and run: the exit status, the
// difference printed, and that a result that differs is not written.

#include <gmock/gmock.h>

#include <filesystem>

#include "cli_runner.h"
#include "verify/page_verifier.h"

namespace trimlet::test {
namespace {

using ::testing::HasSubstr;

constexpr std::string_view kOriginal =
    "<body>\n<p>No <b>x</b> here</p>\n<pre>int  main</pre>\n<!--#echo var=\"a\" -->"
    "<a href=\"a b\">l</a>\n</body>\n";
// The trimmer does not know the page's own style makes this DIV preformatted.
// kPageTheCheckRejects and the mode it is trimmed in, as the command line names it.
constexpr const char* kRejectedMode = "0x0F85782C";

class VerifyCommand : public ::testing::Test {
  protected:
    CliOutcome Cli(std::vector<std::string> args) {
        args.insert(args.begin() + 1, {"--profile", profile});
        return RunCli(dir, args);
    }
    TempDir dir;
    std::string profile = dir.Write("p.ini", "[Settings]\nVERSION=150\n");
    std::string original = dir.Write("a.html", kOriginal);
};

TEST_F(VerifyCommand, TellsEachBreakFromAHarmlessTrim) {
    struct Case {
        const char* name;
        std::string_view from, to;  // replaced in the original
        std::string_view difference;
    };
    const Case cases[] = {
        {"harmless", "\n<pre>", "<pre>", ""},
        {"glued inline word", "No <b>x</b> here", "No<b>x</b>here",
         "html > body > p: text differs at line 2: \"No \" / \"No\""},
        {"changed pre", "int  main", "int main",
         "html > body > pre: text differs at line 3: \"int  main\" / \"int main\""},
        {"changed attribute", "\"a b\"", "\"ab\"",
         "html > body > a: attribute href differs at line 4: \"a b\" / \"ab\""},
        {"dropped kept comment", "<!--#echo var=\"a\" -->", "",
         "html > body: kept comment missing at line 4: \"#echo var=\"a\" \""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string trimmed(kOriginal);
        trimmed.replace(trimmed.find(c.from), c.from.size(), c.to);
        dir.Write("b.html", trimmed);
        const CliOutcome outcome = Cli({"verify", "a.html", "b.html"});
        if (c.difference.empty()) {
            EXPECT_EQ(outcome.status, 0) << outcome.out;
            EXPECT_EQ(outcome.out, "b.html: the same document\n");
        } else {
            EXPECT_EQ(outcome.status, 1);
            EXPECT_EQ(outcome.out,
                      "b.html: not the same document: " + std::string(c.difference) + "\n");
        }
    }
}

TEST_F(VerifyCommand, BadUsageAndUnreadableFiles) {
    EXPECT_EQ(Cli({"verify", "a.html"}).status, 2);
    EXPECT_EQ(Cli({"verify", "a.html", "a.html", "a.html"}).status, 2);
    EXPECT_EQ(Cli({"verify", "--mode", "x", "a.html", "a.html"}).status, 2);
    const CliOutcome missing = Cli({"verify", "a.html", "none.html"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_THAT(missing.err, HasSubstr("none.html"));
}

TEST_F(VerifyCommand, TrimWritesOnlyAVerifiedResult) {
    const CliOutcome good = Cli({"trim", "--verify", "a.html", "-o", "out.html"});
    EXPECT_EQ(good.status, 0) << good.err;
    EXPECT_EQ(ReadAll(dir.File("out.html")), Trimmed(original));
    EXPECT_EQ(Cli({"verify", "a.html", "out.html"}).status, 0);

    dir.Write("styled.html", kPageTheCheckRejects);
    const CliOutcome bad =
        Cli({"trim", "--verify", "--mode", kRejectedMode, "styled.html", "-o", "styled.out"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_THAT(bad.err, HasSubstr("trimmed result not written: styled.html: html > body > p"));
    EXPECT_FALSE(std::filesystem::exists(dir.File("styled.out")));
    EXPECT_EQ(Cli({"trim", "--verify", "--mode", kRejectedMode, "styled.html"}).out, "")
        << "nor to standard output";
}

TEST_F(VerifyCommand, RunSkipsADifferingFileAndFails) {
    dir.Write("styled.html", kPageTheCheckRejects);
    ASSERT_EQ(Cli({"task", "create", "--mode", kRejectedMode, "--output-folder", "min", "t.trh",
                   "a.html", "styled.html"})
                  .status,
              0);
    const CliOutcome run = Cli({"run", "--yes", "--verify", "t.trh"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(std::filesystem::exists(dir.File("min/a.html")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("min/styled.html")));
    EXPECT_THAT(run.out + run.err, HasSubstr("html > body > p: text differs"));

    const CliOutcome plain = Cli({"run", "--yes", "--overwrite=all", "t.trh"});
    EXPECT_EQ(plain.status, 0) << "without --verify the run writes both";
    EXPECT_TRUE(std::filesystem::exists(dir.File("min/styled.html")));
}

}  // namespace
}  // namespace trimlet::test
