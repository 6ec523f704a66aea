#pragma once
// The file choosers' filters as Qt wants them. The shown texts are ours
// ("HTMLドキュメント(*.htm;*.html)"); Qt reads patterns only as a blank-separated list in the
// last brackets, and on Linux "*.*" would miss names without a dot. So each filter gets a
// second bracket with the patterns Qt matches, and the dialog hides that bracket.

#include <QString>
#include <QStringList>
#include <string_view>

namespace trimlet {

// "HTMLドキュメント(*.htm;*.html)" with pattern "*.htm;*.html" gives
// "HTMLドキュメント(*.htm;*.html) (*.htm *.html)"; "*.*" matches every name.
QString QtFilter(const char* label, const char* pattern);

// The task file dialogs' filters: task files, all files.
QStringList TaskFileFilters();
// The add-files dialog's filters from the ":"-separated extension lists: pages and scripts
// together, pages, scripts (a filter whose list is empty is left out), text files, all
// files. Each extension matches in lower and upper case.
QStringList AddFilesFilters(std::string_view htmlExtensions, std::string_view scriptExtensions);

}  // namespace trimlet
