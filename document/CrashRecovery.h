#pragma once

#include "ChunkedText.h"
#include "ProcessIdentity.h"
#include "RecoveryFolder.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QThreadPool>
#include <QTimer>

#include <atomic>

class CQuillmereDoc;
class QTextDocument;
class QWidget;

// Keeps the unsaved text of the document in a recovery file, so that a crash of
// the program or the machine loses at most the last few seconds of typing, and
// offers such files back. The text is followed change by change in a shared copy
// and written by a thread of its own, so that typing never waits for the disk.
// The file goes when the text is saved, given up, or the program ends normally.
class CrashRecovery : public QObject
{
    Q_OBJECT

public:
    // How long after a change the text is written at the latest, while the file
    // itself is written: well within five seconds for the longest document.
    static constexpr int DefaultDelayMs = 3000;

    CrashRecovery(CQuillmereDoc &document, QTextDocument *text, const QString &directory, int delayMs = DefaultDelayMs,
                  QObject *parent = nullptr);
    // Waits for a write under way; the file stays, as after a crash.
    ~CrashRecovery() override;

    // Offers the newest recovery file left for the document at path, or for an
    // untitled document, by a program that has gone: true when the text was
    // restored. Damaged files are reported and set aside.
    bool offerFor(const QString &path, QWidget *window);
    bool offerUntitled(QWidget *window);

    // The program ends normally: unsaved changes were given up.
    void discard();
    // Writes the unsaved text at once and waits for it: the program is being ended
    // from outside.
    void flush();
    void waitForWrites();

    QString filePath() const { return m_filePath; }

private:
    void followChange(int position, int removed, int added);
    void followReplacedText(const QString &text);
    void followModification(bool modified);
    void writeSnapshot();
    void removeFiles();
    bool offer(const RecoveryFolder::Found &found, QWidget *window);
    void reportDamaged(const QStringList &setAside, QWidget *window) const;
    RecoveryFolder::Scan scan(QWidget *window) const;

    CQuillmereDoc &m_document;
    QPointer<QTextDocument> m_text;
    RecoveryFolder m_folder;
    QString m_filePath;
    ProcessIdentity m_self;
    int m_delayMs;
    ChunkedText m_copy;
    QTimer m_timer;
    // One writer, so the file's writes and its removal happen in the order asked.
    QThreadPool m_writer;
    std::atomic<bool> m_writing = false;
    // A restored file, removed once this program's own file has taken its place.
    QString m_adopted;
};
