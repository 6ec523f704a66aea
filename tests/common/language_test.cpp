#include "common/language.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace trimlet {
namespace {

TEST(LanguageFromEnvironment, FollowsTheLocaleAsGettextDoes) {
    struct Case {
        const char* name;
        std::map<std::string, std::string> environment;
        Language expected;
    };
    const Case cases[] = {
        // no locale at all
        {"nothing set", {}, Language::English},
        {"empty values", {{"LC_ALL", ""}, {"LANG", ""}}, Language::English},
        // the first non-empty of LC_ALL, LC_MESSAGES, LANG decides
        {"LANG Japanese", {{"LANG", "ja_JP.UTF-8"}}, Language::Japanese},
        {"LANG Japanese EUC", {{"LANG", "ja_JP.eucJP"}}, Language::Japanese},
        {"LANG bare ja", {{"LANG", "ja"}}, Language::Japanese},
        {"LANG C.UTF-8", {{"LANG", "C.UTF-8"}}, Language::English},
        {"LANG German", {{"LANG", "de_DE.UTF-8"}}, Language::English},
        {"LC_ALL over LANG", {{"LC_ALL", "C"}, {"LANG", "ja_JP.UTF-8"}}, Language::English},
        {"LC_MESSAGES over LANG",
         {{"LC_MESSAGES", "ja_JP.UTF-8"}, {"LANG", "en_US.UTF-8"}},
         Language::Japanese},
        {"empty LC_ALL skipped", {{"LC_ALL", ""}, {"LANG", "ja_JP.UTF-8"}}, Language::Japanese},
        {"LC_CTYPE alone does not count",
         {{"LC_CTYPE", "ja_JP.UTF-8"}, {"LANG", "C"}},
         Language::English},
        // LANGUAGE, only when the locale is not C or POSIX
        {"LANGUAGE ignored under C", {{"LANG", "C"}, {"LANGUAGE", "ja"}}, Language::English},
        {"LANGUAGE ignored under POSIX",
         {{"LC_ALL", "POSIX"}, {"LANGUAGE", "ja"}},
         Language::English},
        {"LANGUAGE ignored under C.UTF-8",
         {{"LANG", "C.UTF-8"}, {"LANGUAGE", "ja_JP"}},
         Language::English},
        {"LANGUAGE ignored without a locale", {{"LANGUAGE", "ja"}}, Language::English},
        {"LANGUAGE English over Japanese locale",
         {{"LANG", "ja_JP.UTF-8"}, {"LANGUAGE", "en_GB:ja"}},
         Language::English},
        {"LANGUAGE Japanese over English locale",
         {{"LANG", "en_US.UTF-8"}, {"LANGUAGE", "ja:en"}},
         Language::Japanese},
        {"LANGUAGE first known entry wins",
         {{"LANG", "en_US.UTF-8"}, {"LANGUAGE", "fr:de:ja_JP:en"}},
         Language::Japanese},
        {"LANGUAGE without a known entry leaves the locale",
         {{"LANG", "ja_JP.UTF-8"}, {"LANGUAGE", "fr:de"}},
         Language::Japanese},
        {"LANGUAGE empty entries", {{"LANG", "de_DE"}, {"LANGUAGE", "::ja"}}, Language::Japanese},
        // TRIMLET_LANG overrides
        {"override English", {{"TRIMLET_LANG", "en"}, {"LANG", "ja_JP.UTF-8"}}, Language::English},
        {"override Japanese", {{"TRIMLET_LANG", "ja"}, {"LANG", "C"}}, Language::Japanese},
        {"override unknown ignored",
         {{"TRIMLET_LANG", "fr"}, {"LANG", "ja_JP.UTF-8"}},
         Language::Japanese},
        {"override empty ignored", {{"TRIMLET_LANG", ""}, {"LANG", "C"}}, Language::English},
        // names that only look like a language
        {"jam is not ja", {{"LANG", "jam_JM.UTF-8"}}, Language::English},
        {"Java is not ja", {{"LANG", "en_US"}, {"LANGUAGE", "jav"}}, Language::English},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto read = [&](const char* name) -> const char* {
            const auto it = c.environment.find(name);
            return it == c.environment.end() ? nullptr : it->second.c_str();
        };
        EXPECT_EQ(LanguageFromEnvironment(read), c.expected);
    }
}

TEST(Language, SetAndCodes) {
    SetLanguage(Language::English);
    EXPECT_EQ(CurrentLanguage(), Language::English);
    SetLanguage(Language::Japanese);
    EXPECT_EQ(LanguageCode(Language::Japanese), "ja");
    EXPECT_EQ(LanguageCode(Language::English), "en");
}

}  // namespace
}  // namespace trimlet
