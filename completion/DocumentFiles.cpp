#include "DocumentFiles.h"

#include <QFile>

#include <utility>

namespace {

std::optional<QString> readAsUtf8(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return QString::fromUtf8(file.readAll());
}

} // namespace

DocumentFiles::DocumentFiles(QObject *parent)
    : QObject(parent)
    , m_collector(std::make_shared<DocumentCollector>(readAsUtf8))
{
    m_pool.setMaxThreadCount(1);
}

DocumentFiles::~DocumentFiles()
{
    m_cancelled->store(true);
    m_pool.waitForDone();
}

void DocumentFiles::setReader(DocumentCollector::Read read)
{
    m_collector = std::make_shared<DocumentCollector>(std::move(read));
}

void DocumentFiles::follow(const QString &documentPath)
{
    m_documentPath = documentPath;
    if (m_snapshot && m_snapshotPath != documentPath) {
        m_snapshot.reset();
        emit updated();
    }
    if (!documentPath.isEmpty())
        startReading();
}

void DocumentFiles::refresh()
{
    if (!m_documentPath.isEmpty())
        startReading();
}

void DocumentFiles::startReading()
{
    if (m_reading) {
        m_readAgain = true;
        return;
    }
    m_reading = true;
    m_pool.start([this, collector = m_collector, path = m_documentPath, cancelled = m_cancelled] {
        auto snapshot = std::make_shared<const DocumentSnapshot>(
            collector->collect(path, [&cancelled] { return cancelled->load(); }));
        QMetaObject::invokeMethod(
            this, [this, path, snapshot] { readingEnded(path, snapshot); }, Qt::QueuedConnection);
    });
}

void DocumentFiles::readingEnded(const QString &path, const std::shared_ptr<const DocumentSnapshot> &snapshot)
{
    m_reading = false;
    const bool current = path == m_documentPath;
    if (current && (!m_snapshot || !m_snapshot->sameAs(*snapshot))) {
        m_snapshot = snapshot;
        m_snapshotPath = path;
        emit updated();
    }
    if (m_readAgain || !current) {
        m_readAgain = false;
        refresh();
    }
}
