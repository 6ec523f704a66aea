#include "app/file_filters.h"

#include "app/qt_text.h"
#include "common/messages.h"

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

QStringList AddFilesFilters() {
    return {QtFilter(TXT_FILTER_HTML, TXT_FILTER_HTML_PATTERN),
            QtFilter(TXT_FILTER_TEXT, TXT_FILTER_TEXT_PATTERN),
            QtFilter(TXT_FILTER_ALL, TXT_FILTER_ALL_PATTERN)};
}

}  // namespace trimlet
