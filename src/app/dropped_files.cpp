#include "app/dropped_files.h"

#include <QUrl>

#include "app/qt_text.h"

namespace trimlet {
namespace {

QByteArrayList UriLines(const QMimeData& data) {
    const QString uriList = QString::fromLatin1(kUriListMime);
    if (data.hasFormat(uriList)) return data.data(uriList).split('\n');
    // "copy" or "cut", then one URI a line.
    QByteArrayList lines = data.data(QString::fromLatin1(kGnomeCopiedFilesMime)).split('\n');
    if (!lines.isEmpty()) lines.removeFirst();
    return lines;
}

}  // namespace

bool HoldsFileList(const QMimeData* data) {
    return data && (data->hasFormat(QString::fromLatin1(kUriListMime)) ||
                    data->hasFormat(QString::fromLatin1(kGnomeCopiedFilesMime)));
}

std::vector<std::string> FileListPaths(const QMimeData& data) {
    std::vector<std::string> paths;
    for (QByteArray line : UriLines(data)) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith('#')) continue;
        const QUrl url = QUrl::fromEncoded(line, QUrl::StrictMode);
        if (url.isValid() && url.isLocalFile()) {
            paths.push_back(Utf8(url.toLocalFile()));
        } else {
            paths.push_back(Utf8(QUrl::fromPercentEncoding(line)));
        }
    }
    return paths;
}

}  // namespace trimlet
