#include "CrashRecovery.h"

#include "AtomicFileWriter.h"
#include "CQuillmereDoc.h"
#include "ModalHost.h"
#include "StringTable.h"

#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTextCursor>
#include <QTextDocument>

#include <functional>

namespace {

// How soon to try again when the previous write has not finished.
constexpr int BusyRetryMs = 200;

// The snapshot's text as the file holds it, UTF-8 with line feeds for the editor's
// paragraph separators, handed to use piece by piece: converting the whole text at
// once would take the writer many times as long, in memory it first has to fault
// in, and slow the typing it is meant never to disturb. The encoder carries a
// character whose two halves lie in two pieces over to the next.
bool forEachRecoveryPiece(const ChunkedText::Snapshot &snapshot, const std::function<bool(QByteArrayView)> &use)
{
    QStringEncoder encoder(QStringEncoder::Utf8);
    for (const ChunkedText::Piece &piece : snapshot) {
        QByteArray bytes = encoder.encode(piece.view());
        bytes.replace("\xE2\x80\xA9", "\n");
        if (!use(bytes))
            return false;
    }
    return true;
}

// The header gives the text's length and checksum, so the text is gone through
// twice: once to measure it, once to write it.
bool writeRecoveryFile(const QString &path, const RecoveryFile &header, const ChunkedText::Snapshot &snapshot)
{
    qsizetype length = 0;
    quint32 checksum = 0;
    forEachRecoveryPiece(snapshot, [&](QByteArrayView bytes) {
        length += bytes.size();
        checksum = RecoveryFile::checksumOf(bytes, checksum);
        return true;
    });
    const auto fill = [&](const std::function<bool(QByteArrayView)> &write) {
        return write(header.header(length, checksum)) && forEachRecoveryPiece(snapshot, write);
    };
    return AtomicFileWriter::write(path, fill, 0600);
}

} // namespace

CrashRecovery::CrashRecovery(CQuillmereDoc &document, QTextDocument *text, const QString &directory, int delayMs,
                             QObject *parent)
    : QObject(parent)
    , m_document(document)
    , m_text(text)
    , m_folder(directory)
    , m_self(ProcessIdentity::current())
    , m_delayMs(delayMs)
{
    m_filePath = m_folder.fileOf(m_self);
    m_writer.setMaxThreadCount(1);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &CrashRecovery::writeSnapshot);
    connect(text, &QTextDocument::contentsChange, this, &CrashRecovery::followChange);
    connect(text, &QTextDocument::modificationChanged, this, &CrashRecovery::followModification);
    connect(&document, &CQuillmereDoc::editorTextReplaced, this, &CrashRecovery::followReplacedText);
}

CrashRecovery::~CrashRecovery()
{
    m_timer.stop();
    m_writer.waitForDone();
}

void CrashRecovery::followChange(int position, int removed, int added)
{
    const int end = position + added;
    // A change that replaces the whole text is taken afresh from the editor when the
    // file is next written; the document hands over a text it reads itself anyway.
    // Any other change, a large paste too, is copied now: taking the whole text
    // later would copy all of a long document on the event loop.
    const bool wholeText = position == 0 && removed >= m_copy.length();
    if (wholeText || end > m_text->characterCount() - 1) {
        m_copy.invalidate();
    } else if (m_copy.isValid()) {
        QTextCursor range(m_text);
        range.setPosition(position);
        range.setPosition(end, QTextCursor::KeepAnchor);
        m_copy.replace(position, removed, range.selectedText());
    }
    // Started by the first change after a write and not restarted by later ones,
    // so that steady typing is saved too.
    if (!m_timer.isActive())
        m_timer.start(m_delayMs);
}

// A new text is one without unsaved changes, though the editor does not always
// say so when it replaces its text.
void CrashRecovery::followReplacedText(const QString &text)
{
    m_copy.reset(text);
    m_timer.stop();
    removeFiles();
}

void CrashRecovery::followModification(bool modified)
{
    if (modified) {
        if (!m_timer.isActive())
            m_timer.start(m_delayMs);
        return;
    }
    m_timer.stop();
    removeFiles();
}

void CrashRecovery::writeSnapshot()
{
    if (!m_text || !m_text->isModified())
        return;
    if (m_writing.exchange(true)) {
        m_timer.start(BusyRetryMs);
        return;
    }
    if (!m_copy.isValid() || m_copy.length() != m_text->characterCount() - 1)
        m_copy.reset(m_text->toRawText());

    RecoveryFile header;
    header.documentPath = m_document.GetPathName();
    header.displayEncoding = m_document.DisplayEncoding();
    header.saveEncoding = m_document.SaveEncoding();
    header.writer = m_self;
    header.written = QDateTime::currentDateTimeUtc();
    const QString adopted = std::exchange(m_adopted, QString());
    m_writer.start([this, header = std::move(header), snapshot = m_copy.snapshot(), adopted] {
        if (m_folder.create() && writeRecoveryFile(m_filePath, header, snapshot) && !adopted.isEmpty())
            QFile::remove(adopted);
        m_writing = false;
    });
}

void CrashRecovery::removeFiles()
{
    const QString adopted = std::exchange(m_adopted, QString());
    m_writer.start([this, adopted] {
        QFile::remove(m_filePath);
        if (!adopted.isEmpty())
            QFile::remove(adopted);
    });
}

void CrashRecovery::discard()
{
    m_timer.stop();
    removeFiles();
    m_writer.waitForDone();
}

void CrashRecovery::flush()
{
    m_timer.stop();
    m_writer.waitForDone();
    writeSnapshot();
    m_writer.waitForDone();
}

void CrashRecovery::waitForWrites()
{
    m_writer.waitForDone();
}

void CrashRecovery::reportDamaged(const QStringList &setAside, QWidget *window) const
{
    if (setAside.isEmpty())
        return;
    ModalHost::showMessage(window, StringTable::text(StringTable::RecoveryDamaged).arg(setAside.join(u'\n')),
                           QMessageBox::Warning);
}

RecoveryFolder::Scan CrashRecovery::scan(QWidget *window) const
{
    RecoveryFolder::Scan found = m_folder.leftBehind();
    reportDamaged(found.setAside, window);
    return found;
}

bool CrashRecovery::offer(const RecoveryFolder::Found &found, QWidget *window)
{
    const auto answer = ModalHost::showMessage(window, StringTable::text(StringTable::RecoveryOffer),
                                               QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
                                               QMessageBox::Yes);
    if (answer != QMessageBox::Yes) {
        QFile::remove(found.filePath);
        return false;
    }
    const RecoveryFile &file = found.contents;
    m_document.restoreRecoveredText(QString::fromUtf8(file.text), file.displayEncoding, file.saveEncoding);
    m_adopted = found.filePath;
    return true;
}

bool CrashRecovery::offerFor(const QString &path, QWidget *window)
{
    const QDateTime fileTime = QFileInfo(path).lastModified();
    for (const RecoveryFolder::Found &found : scan(window).found) {
        if (found.contents.documentPath == path && found.contents.written > fileTime)
            return offer(found, window);
    }
    return false;
}

bool CrashRecovery::offerUntitled(QWidget *window)
{
    for (const RecoveryFolder::Found &found : scan(window).found) {
        if (found.contents.documentPath.isEmpty() && offer(found, window))
            return true;
    }
    return false;
}
