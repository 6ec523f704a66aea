#pragma once
// The interface language: Japanese (the system's own texts) or English (our translation).
// Both programs decide it once at start from the environment; every text of the message
// table and of the windows is then shown in it.

#include <functional>
#include <string_view>

namespace trimlet {

enum class Language { Japanese, English };

// Reads one environment variable; nullptr when it is not set.
using EnvironmentReader = std::function<const char*(const char* name)>;

// The language the environment asks for. TRIMLET_LANG=ja or en decides when set. Else the
// first non-empty of LC_ALL, LC_MESSAGES and LANG names the locale; unless that locale is
// C or POSIX (also C.UTF-8), LANGUAGE's first Japanese or English entry takes precedence.
// Japanese when the result's language is "ja", English otherwise.
Language LanguageFromEnvironment(const EnvironmentReader& read);
// The same, read from this process's environment.
Language LanguageFromEnvironment();

// The language texts are shown in; Japanese until SetLanguage says otherwise.
Language CurrentLanguage();
void SetLanguage(Language language);

// "ja" or "en".
std::string_view LanguageCode(Language language);

}  // namespace trimlet
