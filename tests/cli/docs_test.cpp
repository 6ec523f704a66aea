// What the documentation promises about the command line: the README's synopsis is what
// --help prints, and the manual page and the completion know every command and trim option.

#include <gmock/gmock.h>

#include "cli/option_names.h"
#include "cli_runner.h"

namespace trimlet::test {
namespace {

using ::testing::HasSubstr;

std::string SourceFile(const std::string& path) {
    const char* root = getenv("TRIMLET_SOURCE_DIR");
    return ReadAll(std::string(root ? root : ".") + "/" + path);
}

TEST(Documentation, ReadmeSynopsisIsTheHelpsUsage) {
    const std::string readme = SourceFile("README.md");
    const std::size_t section = readme.find("## Command line\n\n```\n");
    ASSERT_NE(section, std::string::npos);
    const std::size_t start = readme.find('\n', readme.find("```", section)) + 1;
    const std::string synopsis = readme.substr(start, readme.find("```", start) - start);
    TempDir dir;
    const CliOutcome help = RunCli(dir, {"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.substr(0, synopsis.size()), synopsis);
}

TEST(Documentation, ManualPageAndCompletionKnowEveryCommandAndOption) {
    const std::string manual = SourceFile("install/man/trimlet.1");
    const std::string completion = SourceFile("install/bash-completion/trimlet");
    ASSERT_FALSE(manual.empty());
    ASSERT_FALSE(completion.empty());
    // roff writes a hyphen of an option as "\-".
    const auto roff = [](std::string_view text) {
        std::string escaped;
        for (const char c : text)
            escaped += c == '-' ? std::string("\\-") : std::string(1, c);
        return escaped;
    };
    for (const char* command : {"trim", "preview", "run", "task create", "options", "help"}) {
        EXPECT_THAT(manual, HasSubstr(".B " + roff(command))) << command;
    }
    for (const cli::OptionName& option : cli::OptionNames())
        EXPECT_THAT(manual, HasSubstr(roff(option.name))) << option.name;
    for (const char* option : {"--in-place", "--exclude", "--files-from", "--append", "--json",
                               "--print-mode", "--type", "--ext", "--options", "--keep-comment"}) {
        EXPECT_THAT(manual, HasSubstr(roff(option))) << option;
        EXPECT_THAT(completion, HasSubstr(option)) << option;
    }
    EXPECT_THAT(manual, HasSubstr("TRIMLET_PROFILE"));
    EXPECT_THAT(manual, HasSubstr(".SH EXIT STATUS"));
}

}  // namespace
}  // namespace trimlet::test
