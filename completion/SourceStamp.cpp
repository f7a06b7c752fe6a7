#include "SourceStamp.h"

#include <QDateTime>
#include <QFileInfo>

SourceStamp SourceStamp::of(const QString &path)
{
    const QFileInfo info(path);
    SourceStamp stamp{path, 0, -1};
    if (!info.isFile() || !info.isReadable())
        return stamp;
    stamp.modified = info.lastModified().toMSecsSinceEpoch();
    stamp.size = info.size();
    return stamp;
}
