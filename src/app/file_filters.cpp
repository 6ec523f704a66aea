#include "app/file_filters.h"

#include "app/qt_text.h"
#include "common/messages.h"
#include "editor/task_editor.h"

namespace trimlet {

QString QtFilter(const char* label, const char* pattern) {
    QStringList patterns;
    for (const QString& item : Qs(pattern).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString trimmed = item.trimmed();
        patterns << (trimmed == QLatin1String("*.*") ? QStringLiteral("*") : trimmed);
    }
    return Qs(label) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

QStringList TaskFileFilters() {
    return {QtFilter(TXT_FILTER_TASK_FILES, TXT_FILTER_TASK_FILES_PATTERN),
            QtFilter(TXT_FILTER_ALL, TXT_FILTER_ALL_PATTERN)};
}

namespace {

// "*.htm;*.html" for the list "HTM:HTML".
std::string ShownPatterns(const std::vector<std::string>& items) {
    std::string shown;
    for (const std::string& item : items)
        shown += (shown.empty() ? "*." : ";*.") + Utf8(Qs(item).toLower());
    return shown;
}

// The filter `format` shows with the items' patterns; Qt matches both letter cases.
QString ListFilter(const char* format, const std::vector<std::string>& items) {
    QStringList patterns;
    for (const std::string& item : items) {
        const QString extension = Qs(item);
        for (const QString& form : {extension.toLower(), extension.toUpper()})
            if (!patterns.contains(QStringLiteral("*.") + form))
                patterns << QStringLiteral("*.") + form;
    }
    return Qs(FormatText(format, {ShownPatterns(items)})) + QStringLiteral(" (") +
           patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

}  // namespace

QStringList AddFilesFilters(std::string_view htmlExtensions, std::string_view scriptExtensions) {
    const std::vector<std::string> html = ExtensionItems(htmlExtensions);
    const std::vector<std::string> script = ExtensionItems(scriptExtensions);
    std::vector<std::string> both = html;
    both.insert(both.end(), script.begin(), script.end());
    QStringList filters;
    if (!html.empty() && !script.empty())
        filters << ListFilter(TXT_FILTER_PAGES_AND_SCRIPTS_FORMAT, both);
    if (!html.empty()) filters << ListFilter(TXT_FILTER_HTML_FORMAT, html);
    if (!script.empty()) filters << ListFilter(TXT_FILTER_SCRIPT_FORMAT, script);
    filters << QtFilter(TXT_FILTER_TEXT, TXT_FILTER_TEXT_PATTERN)
            << QtFilter(TXT_FILTER_ALL, TXT_FILTER_ALL_PATTERN);
    return filters;
}

}  // namespace trimlet
