#include "CQuillmereDoc.h"

#include "AtomicFileWriter.h"
#include "CEncodingDialog.h"
#include "CommandIds.h"
#include "ConversionPivot.h"
#include "ConverterBinding.h"
#include "ConverterLibrary.h"
#include "DocumentManager.h"
#include "HugePageMemory.h"
#include "LongestLine.h"
#include "ModalHost.h"
#include "NewlineCode.h"
#include "SourceFileReader.h"
#include "StringTable.h"
#include "UnholdableCharacters.h"

#include <QFile>
#include <QLocale>
#include <QPlainTextEdit>
#include <QStringDecoder>
#include <QTextBlock>

#include <new>
#include <optional>

namespace {

int displayEncodingCommand(TextEncoding encoding)
{
    return CommandId::DisplayShiftJis + 2 * textEncodingIndex(encoding);
}

QWidget *windowOf(QPlainTextEdit *editor)
{
    return editor ? editor->window() : nullptr;
}

} // namespace

CQuillmereDoc::CQuillmereDoc(const ConverterLibrary &library, QObject *parent)
    : QObject(parent)
    , m_library(library)
{
    registerCommands();
}

void CQuillmereDoc::attachEditor(QPlainTextEdit *editor)
{
    m_editor = editor;
}

void CQuillmereDoc::setDocumentManager(DocumentManager *manager)
{
    m_manager = manager;
}

void CQuillmereDoc::OnPathNameChanged()
{
    emit titleChanged();
}

bool CQuillmereDoc::IsModified() const
{
    return m_editor && m_editor->document()->isModified();
}

void CQuillmereDoc::SetModifiedFlag(bool modified)
{
    if (m_editor)
        m_editor->document()->setModified(modified);
}

bool CQuillmereDoc::ReloadDocument()
{
    const int line = m_editor ? m_editor->textCursor().blockNumber() : 0;
    if (!OnOpenDocument(GetPathName()))
        return false;
    if (m_editor) {
        const QTextBlock block = m_editor->document()->findBlockByNumber(
            std::min(line, m_editor->document()->blockCount() - 1));
        QTextCursor caret(block);
        m_editor->setTextCursor(caret);
        m_editor->centerCursor();
    }
    return true;
}

QString CQuillmereDoc::editorText() const
{
    if (!m_editor)
        return {};
    // The raw text keeps every character (a no-break space stays one); only the
    // block separators need turning into line feeds.
    QString text = m_editor->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}

void CQuillmereDoc::replaceEditorText(const QString &text)
{
    if (!m_editor)
        return;
    m_editor->setPlainText(text);
    QTextCursor start = m_editor->textCursor();
    start.movePosition(QTextCursor::Start);
    m_editor->setTextCursor(start);
    m_editor->document()->setModified(false);
    emit editorTextReplaced(text);
}

// A text read from the file: what the editor cannot hold as itself is counted
// before the editor turns it into line breaks.
void CQuillmereDoc::showReadText(const QString &text)
{
    const UnholdableCharacters unholdable = UnholdableCharacters::in(text);
    m_unholdableOnReading = unholdable.count() > 0;
    replaceEditorText(text);
    if (m_unholdableOnReading)
        ModalHost::showMessage(windowOf(m_editor),
                               StringTable::text(StringTable::UnholdableCharactersRead)
                                   .arg(unholdable.count())
                                   .arg(unholdable.firstLine()),
                               QMessageBox::Warning);
}

void CQuillmereDoc::warn(int messageId) const
{
    ModalHost::showMessage(windowOf(m_editor), StringTable::text(messageId), QMessageBox::Warning);
}

bool CQuillmereDoc::OnNewDocument()
{
    m_loadedBytes.reset();
    m_unholdableOnReading = false;
    setDiskStamp(FileStamp());
    replaceEditorText(QString());
    m_displayEncoding = EncodingFlags::platformDefault();
    m_saveEncoding = EncodingFlags::platformDefault();
    emit fileSynchronized(QString());
    return true;
}

// The editor lays out a line whole: one of many megabytes keeps it busy for minutes,
// so the user is asked first. The file is only measured here, which takes far
// less than a second even for a large one.
bool CQuillmereDoc::ConfirmOpen(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return true;
    const LongestLine longest = LongestLine::of(file);
    if (longest.length() <= LongestLine::Limit)
        return true;
    const QString text = StringTable::text(StringTable::VeryLongLine)
                             .arg(QLocale(QLocale::Japanese).toString(longest.length()))
                             .arg(longest.line());
    return ModalHost::showMessage(windowOf(m_editor), text, QMessageBox::Warning,
                                  QMessageBox::Open | QMessageBox::Cancel, QMessageBox::Cancel)
           == QMessageBox::Open;
}

bool CQuillmereDoc::OnOpenDocument(const QString &path)
{
    AtomicFileWriter::removeStaleTemporaries(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    m_loadedBytes.reset();
    m_unholdableOnReading = false;
    setDiskStamp(FileStamp());
    m_displayEncoding = EncodingFlags::platformDefault();
    try {
        const std::optional<QByteArray> read = SourceFileReader::readWholeFile(file);
        if (!read)
            return false;
        const QByteArray &bytes = *read;
        setDiskStamp(FileStamp::of(path, bytes));
        if (bytes.isEmpty()) {
            // Nothing to detect: an empty file takes the platform's own format.
            m_saveEncoding = EncodingFlags::platformDefault();
            replaceEditorText(QString());
        } else if (ConverterBinding(m_library).canConvert()) {
            readThroughConverter(bytes);
        } else {
            readAsUtf8(bytes);
        }
    } catch (const std::bad_alloc &) {
        m_loadedBytes.reset();
        replaceEditorText(QString());
        warn(StringTable::NoMemoryForReading);
    }
    emit fileSynchronized(path);
    return true;
}

void CQuillmereDoc::readThroughConverter(const QByteArray &bytes)
{
    const ConversionResult result = ConverterBinding(m_library).read(bytes, ConversionPivot::platform().readOptions());
    if (!result.converted() || !result.inputEncoding) {
        replaceEditorText(QString());
        warn(StringTable::ConversionFailed);
        return;
    }
    m_loadedBytes = bytes;
    showReadText(HugePageMemory::fromUtf8(result.text));
    const TextEncoding encoding = *result.inputEncoding;
    m_displayEncoding = EncodingFlags(encoding, startsWithByteOrderMark(encoding, bytes),
                                      DetectNewlineCode(bytes, encoding));
    m_saveEncoding = m_displayEncoding;
    if (result.replacedCount.value_or(0) > 0)
        ModalHost::showMessage(windowOf(m_editor), StringTable::text(StringTable::InvalidBytesRead),
                               QMessageBox::Information);
}

void CQuillmereDoc::readAsUtf8(const QByteArray &bytes)
{
    m_loadedBytes = bytes;
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    showReadText(SourceFileReader::withLfLineEnds(text));
    if (decoder.hasError())
        ModalHost::showMessage(windowOf(m_editor), StringTable::text(StringTable::InvalidBytesRead),
                               QMessageBox::Information);
}

bool CQuillmereDoc::askBeforeSaving(int messageId) const
{
    return ModalHost::showMessage(windowOf(m_editor), StringTable::text(messageId), QMessageBox::Warning,
                                  QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
           == QMessageBox::Yes;
}

EncodingFlags CQuillmereDoc::writtenEncoding() const
{
    return ConverterBinding(m_library).canConvert() ? m_saveEncoding : EncodingFlags::platformDefault();
}

std::optional<QByteArray> CQuillmereDoc::encodeForSaving()
{
    if (m_unholdableOnReading && !askBeforeSaving(StringTable::UnholdableCharactersSave))
        return std::nullopt;
    const QByteArray pivot = editorText().toUtf8();
    const ConverterBinding binding(m_library);
    if (!binding.canConvert() || m_saveEncoding == EncodingFlags::platformDefault())
        return pivot;

    const ConversionResult result = binding.write(pivot, BuildSaveOptions(m_saveEncoding, ConversionPivot::platform()));
    if (!result.converted()) {
        warn(StringTable::ConversionFailed);
        return std::nullopt;
    }
    if (result.replacedCount.value_or(0) > 0 && !askBeforeSaving(StringTable::LossySave))
        return std::nullopt;
    return result.text;
}

bool CQuillmereDoc::OnSaveDocument(const QString &path)
{
    try {
        std::optional<QByteArray> bytes = encodeForSaving();
        if (!bytes)
            return false;
        if (!AtomicFileWriter::write(path, *bytes)) {
            ModalHost::showMessage(windowOf(m_editor), saveFailedMessage(), QMessageBox::Warning);
            return false;
        }
        setDiskStamp(FileStamp::of(path, *bytes));
        // The file now is what was just written: those bytes can be read again in
        // another encoding, and the menu marks how they are encoded.
        m_displayEncoding = writtenEncoding();
        m_loadedBytes = std::move(*bytes);
    } catch (const std::bad_alloc &) {
        warn(StringTable::NoMemoryForWriting);
        return false;
    }
    m_savedPathParts = SplitSavedPath(path);
    m_unholdableOnReading = false;
    if (m_editor)
        m_editor->document()->setModified(false);
    emit fileSynchronized(path);
    return true;
}

void CQuillmereDoc::ReloadInEncoding(TextEncoding encoding)
{
    if (!m_loadedBytes)
        return;
    try {
        const ConversionResult result = ConverterBinding(m_library).read(
            *m_loadedBytes, ConversionPivot::platform().rereadOptions(encoding));
        if (!result.converted() || !result.inputEncoding) {
            warn(StringTable::ConversionFailed);
            return;
        }
        showReadText(HugePageMemory::fromUtf8(result.text));
        const TextEncoding read = *result.inputEncoding;
        m_displayEncoding = EncodingFlags(read, startsWithByteOrderMark(read, *m_loadedBytes),
                                          m_displayEncoding.newlineCode());
        m_saveEncoding = m_displayEncoding;
        if (result.replacedCount.value_or(0) > 0)
            ModalHost::showMessage(windowOf(m_editor), StringTable::text(StringTable::InvalidBytesRead),
                                   QMessageBox::Information);
    } catch (const std::bad_alloc &) {
        warn(StringTable::ConversionFailed);
    }
}

void CQuillmereDoc::restoreRecoveredText(const QString &text, EncodingFlags displayEncoding, EncodingFlags saveEncoding)
{
    m_loadedBytes.reset();
    replaceEditorText(text);
    m_displayEncoding = displayEncoding;
    m_saveEncoding = saveEncoding;
    if (m_editor)
        m_editor->document()->setModified(true);
}

CQuillmereDoc::SavedPathParts CQuillmereDoc::SplitSavedPath(const QString &path)
{
    SavedPathParts parts;
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        return parts;
    parts.directory = slash == 0 ? QStringLiteral("/") : path.left(slash);
    parts.fileName = path.mid(slash + 1);
    const qsizetype dot = parts.fileName.lastIndexOf(u'.');
    parts.baseName = dot < 0 ? parts.fileName : parts.fileName.left(dot);
    return parts;
}

void CQuillmereDoc::ClearSavedPathParts()
{
    m_savedPathParts = SavedPathParts();
}

bool CQuillmereDoc::mayReread() const
{
    return ConverterBinding(m_library).canConvert() && m_loadedBytes && !IsModified();
}

void CQuillmereDoc::editSaveEncoding()
{
    CEncodingDialog dialog(windowOf(m_editor));
    dialog.setValue(m_saveEncoding);
    if (ModalHost::runDialog(dialog) == QDialog::Accepted)
        m_saveEncoding = dialog.value();
}

void CQuillmereDoc::registerDisplayEncodingCommand(TextEncoding encoding)
{
    const int id = displayEncodingCommand(encoding);
    onCommand(id, [this, encoding] {
        if (!m_displayEncoding.hasEncoding(encoding))
            ReloadInEncoding(encoding);
    });
    onUpdate(id, [this, encoding](CommandUpdate &update) {
        update.setRadio(m_displayEncoding.hasEncoding(encoding));
        update.enable(mayReread());
    });
}

void CQuillmereDoc::registerCommands()
{
    onCommand(CommandId::FileSave, [this] {
        ClearSavedPathParts();
        if (m_manager)
            m_manager->DoFileSave();
    });
    onCommand(CommandId::FileSaveAs, [this] {
        ClearSavedPathParts();
        if (m_manager)
            m_manager->DoSave(QString());
    });
    onCommand(CommandId::SaveEncoding, [this] { editSaveEncoding(); });
    // The encoding pane is routed like a command, so that its text reaches it at every
    // idle pass; carrying it out does what a double-click on the pane does.
    onCommand(PaneId::Encoding, [this] { editSaveEncoding(); });
    onUpdate(PaneId::Encoding, [this](CommandUpdate &update) { update.setText(m_saveEncoding.statusText()); });
    onUpdate(CommandId::SaveEncoding,
             [this](CommandUpdate &update) { update.enable(ConverterBinding(m_library).canConvert()); });
    for (const TextEncoding encoding : AllTextEncodings)
        registerDisplayEncodingCommand(encoding);
}
