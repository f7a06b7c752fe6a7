#pragma once

#include "DocumentCollector.h"
#include "DocumentSnapshot.h"

#include <QObject>
#include <QString>
#include <QThreadPool>

#include <atomic>
#include <memory>

// Keeps what completion knows of the other files of the document being edited,
// reading them on a thread of its own so that neither a large document nor a slow
// disk holds up typing. A reading starts when the editor's file changes (opened,
// saved) and whenever refresh() asks whether any file changed; one runs at a time,
// and requests that come meanwhile are folded into one more reading after it.
class DocumentFiles : public QObject
{
    Q_OBJECT

public:
    explicit DocumentFiles(QObject *parent = nullptr);
    // Waits for a reading under way, which stops at its next file.
    ~DocumentFiles() override;

    // How files are read; as UTF-8 until this is set.
    void setReader(DocumentCollector::Read read);
    // The file being edited is now documentPath; empty for none.
    void follow(const QString &documentPath);
    // Reads again what changed since the last reading.
    void refresh();

    // Null before the first reading has ended and while there is no file.
    const std::shared_ptr<const DocumentSnapshot> &snapshot() const { return m_snapshot; }
    bool isReading() const { return m_reading; }

signals:
    // The snapshot now holds other files or other versions of them.
    void updated();

private:
    void startReading();
    // path: the file being edited when the reading started.
    void readingEnded(const QString &path, const std::shared_ptr<const DocumentSnapshot> &snapshot);

    std::shared_ptr<DocumentCollector> m_collector;
    std::shared_ptr<std::atomic<bool>> m_cancelled = std::make_shared<std::atomic<bool>>(false);
    std::shared_ptr<const DocumentSnapshot> m_snapshot;
    QString m_snapshotPath;
    QString m_documentPath;
    bool m_reading = false;
    bool m_readAgain = false;
    QThreadPool m_pool;
};
