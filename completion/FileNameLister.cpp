#include "FileNameLister.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QStringList GraphicsSuffixes = {QStringLiteral("eps"), QStringLiteral("ps"),  QStringLiteral("pdf"),
                                      QStringLiteral("png"), QStringLiteral("jpg"), QStringLiteral("jpeg"),
                                      QStringLiteral("bmp")};

class Walk
{
public:
    explicit Walk(FileNameLister::Names &names)
        : m_names(names)
    {
    }

    void folder(const QDir &directory, const QString &prefix, int depth)
    {
        const QFileInfoList entries = directory.entryInfoList(
            QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Readable, QDir::Name);
        for (const QFileInfo &entry : entries) {
            if (++m_entries > FileNameLister::MaxEntries)
                return;
            const QString relative = prefix + entry.fileName();
            if (entry.isDir()) {
                if (depth < FileNameLister::Depth && !entry.isSymLink())
                    folder(QDir(entry.filePath()), relative + u'/', depth + 1);
            } else {
                file(entry, relative);
            }
        }
    }

private:
    void file(const QFileInfo &entry, const QString &relative)
    {
        const QString suffix = entry.suffix().toLower();
        if (suffix == u"tex")
            m_names.sources.append(relative);
        else if (suffix == u"bib")
            m_names.databases.append(relative);
        else if (GraphicsSuffixes.contains(suffix))
            m_names.graphics.append(relative);
    }

    FileNameLister::Names &m_names;
    int m_entries = 0;
};

} // namespace

FileNameLister::Names FileNameLister::list(const QString &folder)
{
    Names names;
    if (!folder.isEmpty())
        Walk(names).folder(QDir(folder), QString(), 0);
    return names;
}
