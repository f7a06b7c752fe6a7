#include "IncomingData.h"

#include <QMimeData>
#include <QUrl>

#include <algorithm>

QStringList IncomingData::localFiles(const QMimeData &data)
{
    QStringList files;
    for (const QUrl &url : data.urls()) {
        if (url.isLocalFile())
            files.append(url.toLocalFile());
    }
    return files;
}

bool IncomingData::offersText(const QMimeData &data)
{
    // QMimeData::hasText() also answers yes for a bare list of URLs, whose text()
    // is empty; only a real plain-text format counts here.
    const QStringList formats = data.formats();
    return std::any_of(formats.cbegin(), formats.cend(),
                       [](const QString &format) { return format.startsWith(QLatin1String("text/plain")); });
}
