#include "FileStamp.h"

#include <QDateTime>
#include <QFileInfo>

FileStamp FileStamp::of(const QString &path)
{
    const QFileInfo info(path);
    FileStamp stamp{path, 0, -1};
    if (!info.isFile() || !info.isReadable())
        return stamp;
    stamp.modified = info.lastModified().toMSecsSinceEpoch();
    stamp.size = info.size();
    return stamp;
}
