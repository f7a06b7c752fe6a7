#pragma once

#include "ArgumentKind.h"
#include "CompletionDictionary.h"
#include "DictionaryLocation.h"
#include "DocumentCollector.h"
#include "DocumentScan.h"
#include "TextMirror.h"

#include <QListView>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

class CandidateDelegate;
class DocumentFiles;
class QPlainTextEdit;
class QStringListModel;
class QTextDocument;

// The completion popup: a list inside the editor beside the caret. A backslash opens
// the command list; "{", "}", "[", "]" or "," opens the candidates of the argument
// the caret stands in. Typing moves the selection to the first candidate that starts
// with the typed text; Enter, Tab or punctuation accepts it. It never takes the
// keyboard focus: the editor hands it characters and navigation keys.
class CDullSense : public QListView
{
    Q_OBJECT

public:
    // Reads both dictionaries once, from where location says.
    CDullSense(QPlainTextEdit *view, const DictionaryLocation &location);

    // Makes the popup for view; when memory runs out it tells the user that the
    // editor goes on without completion and returns null.
    static CDullSense *create(QPlainTextEdit *view, const DictionaryLocation &location);

    // ch has just been typed (CR, LF and Tab before the editor took it, the rest
    // after). True when a candidate was accepted: out then replaces the text from
    // m_anchor to the caret.
    bool HandleChar(QChar ch, QString &out);

    // How the document's other files are read; as UTF-8 until this is set.
    void setFileReader(DocumentCollector::Read read);
    // The editor's text is now that of the file at path (opened or saved): its
    // document's other files are read again, away from typing. Empty: no file.
    void followFile(const QString &path);
    DocumentFiles &documentFiles() const { return *m_documentFiles; }

    void ShowPopup(bool show);
    void MoveSelection(bool down);
    void MovePage(bool down);
    void SelectItem(int index, bool redraw);
    void SelectFirstOrLast(bool last);

    // Between a keystroke reaching the editor and the popup hearing of it, the text
    // and the typed word disagree; the router brackets that span, and only at its
    // end does the popup judge whether its word is still there.
    void beginTyping() { ++m_typingDepth; }
    void endTyping();

    bool isShown() const { return !isHidden(); }
    int anchor() const { return m_anchor; }
    QPlainTextEdit *view() const { return m_pView; }
    const CompletionDictionary &dictionary() const { return m_dictionary; }
    QStringList items() const;
    int selectedRow() const;

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    bool handleHidden(QChar ch, int caret);
    bool handleShown(QChar ch, int caret, QString &out);
    void openArgumentList(const DocumentScan::Context &context, int caret);
    void appendTyped(QChar ch);
    void fillCommandList();
    // text: the editor's whole text.
    bool FillList(const DocumentScan::Context &context, QStringView text, int caret);
    std::optional<QStringList> documentItems(ArgumentKind::Kind kind) const;
    QStringList fileNames(ArgumentKind::Kind kind) const;
    void showNotes();
    void fitPopupSize();
    void documentFilesUpdated();
    void refillKeepingSelection();
    void openPendingList();
    void PlacePopup();
    void SelectBestMatch();
    int caret() const;
    QStringView editorText();
    void followDocument(QTextDocument *document);
    void followChange(int position, int removed, int added);
    void closeWhenWordIsGone();
    bool caretEndsTypedWord() const;

    CompletionDictionary m_dictionary;
    QStringList m_labels;
    QString m_typed;
    int m_rowHeight = 0;
    QPlainTextEdit *m_pView;
    int m_anchor = 0;
    QRect m_rect;
    bool m_commandMode = false;
    // The argument the open list offers candidates for. The brace or bracket that
    // closes it never opens a list for the same argument again, even where an
    // unclosed group before it would make the text read so.
    DocumentScan::Context m_argument;
    std::optional<DocumentScan::Context> m_closedArgument;
    int m_typingDepth = 0;
    QStringListModel *m_model;
    // The editor's text as the last changes left it, for the label scan.
    TextMirror m_mirror;
    QPointer<QTextDocument> m_followed;
    DocumentFiles *m_documentFiles;
    CandidateDelegate *m_delegate;
    // What the list shown holds.
    ArgumentKind::Kind m_listKind = ArgumentKind::Other;
    // A list of the document's files that had nothing to show while they were
    // still being read: it opens when they arrive, if nothing was typed meanwhile.
    struct PendingList
    {
        DocumentScan::Context context;
        int caret = 0;
        int revision = 0;
    };
    std::optional<PendingList> m_pending;
};
