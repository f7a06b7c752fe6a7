#pragma once

#include "CommandTarget.h"
#include "EncodingFlags.h"
#include "FrameworkDocument.h"
#include "TextEncoding.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <optional>

class ConverterLibrary;
class DocumentManager;
class QPlainTextEdit;

// The one open document. It turns a file's bytes into the editor's text and back:
// on opening it keeps the bytes it read and how they were encoded, so that the
// same bytes can be read again in another encoding while the text is unchanged;
// on saving it writes the text in the chosen encoding and records the path it
// wrote, which the tool runs work from.
class CQuillmereDoc : public QObject, public CommandTarget, public FrameworkDocument
{
    Q_OBJECT

public:
    struct SavedPathParts
    {
        QString fileName;
        QString baseName;
        QString directory;
    };

    explicit CQuillmereDoc(const ConverterLibrary &library, QObject *parent = nullptr);

    // The control that holds the document's text.
    void attachEditor(QPlainTextEdit *editor);
    void setDocumentManager(DocumentManager *manager);

    bool OnNewDocument() override;
    bool ConfirmOpen(const QString &path) override;
    bool OnOpenDocument(const QString &path) override;
    bool OnSaveDocument(const QString &path) override;
    bool IsModified() const override;
    void SetModifiedFlag(bool modified) override;
    // Reads the file again, detecting its encoding anew; the caret stays on its line.
    bool ReloadDocument() override;

    void ReloadInEncoding(TextEncoding encoding);
    // Puts text saved for recovery in place of the editor's, as unsaved changes to
    // the document, encoded as it was.
    void restoreRecoveredText(const QString &text, EncodingFlags displayEncoding, EncodingFlags saveEncoding);

    static SavedPathParts SplitSavedPath(const QString &path);
    void ClearSavedPathParts();
    const SavedPathParts &savedPathParts() const { return m_savedPathParts; }

    EncodingFlags DisplayEncoding() const { return m_displayEncoding; }
    EncodingFlags SaveEncoding() const { return m_saveEncoding; }
    bool holdsLoadedBytes() const { return m_loadedBytes.has_value(); }

signals:
    void titleChanged();
    // The editor's whole text was replaced by text.
    void editorTextReplaced(const QString &text);
    // The editor's text is now the same as the file at path (opened or saved); an
    // empty path for a new document that has no file yet.
    void fileSynchronized(const QString &path);

protected:
    void OnPathNameChanged() override;

private:
    QString editorText() const;
    void replaceEditorText(const QString &text);
    void showReadText(const QString &text);
    void readThroughConverter(const QByteArray &bytes);
    void readAsUtf8(const QByteArray &bytes);
    std::optional<QByteArray> encodeForSaving();
    // Without the converter the text is written in the platform's own format.
    EncodingFlags writtenEncoding() const;
    void registerCommands();
    void registerDisplayEncodingCommand(TextEncoding encoding);
    void editSaveEncoding();
    bool mayReread() const;
    bool askBeforeSaving(int messageId) const;
    void warn(int messageId) const;

    const ConverterLibrary &m_library;
    QPlainTextEdit *m_editor = nullptr;
    DocumentManager *m_manager = nullptr;
    EncodingFlags m_displayEncoding = EncodingFlags::platformDefault();
    EncodingFlags m_saveEncoding = EncodingFlags::platformDefault();
    std::optional<QByteArray> m_loadedBytes;
    // The text read holds characters the editor turned into line breaks, which the
    // next save would write as such.
    bool m_unholdableOnReading = false;
    SavedPathParts m_savedPathParts;
};
