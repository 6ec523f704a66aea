#include "common/language.h"

#include <atomic>
#include <cstdlib>
#include <string>

namespace trimlet {
namespace {

std::atomic<Language> currentLanguage{Language::Japanese};

// The language part of a locale or LANGUAGE entry: "ja" of "ja_JP.UTF-8@x".
std::string_view LanguagePart(std::string_view name) {
    const std::size_t end = name.find_first_of("_.@");
    return end == std::string_view::npos ? name : name.substr(0, end);
}

bool IsCLocale(std::string_view locale) {
    if (locale.empty() || locale == "POSIX") return true;
    return LanguagePart(locale) == "C";
}

std::string_view Value(const EnvironmentReader& read, const char* name) {
    const char* value = read(name);
    return value ? std::string_view(value) : std::string_view();
}

}  // namespace

Language LanguageFromEnvironment(const EnvironmentReader& read) {
    const std::string_view forced = Value(read, "TRIMLET_LANG");
    if (forced == "ja") return Language::Japanese;
    if (forced == "en") return Language::English;

    std::string_view locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = Value(read, name);
        if (!locale.empty()) break;
    }
    if (IsCLocale(locale)) return Language::English;

    // LANGUAGE lists languages by preference; we have Japanese and English, so the first
    // of those two it names wins.
    std::string_view list = Value(read, "LANGUAGE");
    while (!list.empty()) {
        const std::size_t colon = list.find(':');
        const std::string_view entry = LanguagePart(list.substr(0, colon));
        if (entry == "ja") return Language::Japanese;
        if (entry == "en") return Language::English;
        list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
    }
    return LanguagePart(locale) == "ja" ? Language::Japanese : Language::English;
}

Language LanguageFromEnvironment() {
    return LanguageFromEnvironment([](const char* name) { return std::getenv(name); });
}

Language CurrentLanguage() {
    return currentLanguage.load(std::memory_order_relaxed);
}

void SetLanguage(Language language) {
    currentLanguage.store(language, std::memory_order_relaxed);
}

std::string_view LanguageCode(Language language) {
    return language == Language::Japanese ? "ja" : "en";
}

}  // namespace trimlet
