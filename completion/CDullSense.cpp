#include "CDullSense.h"

#include "CandidateDelegate.h"
#include "CandidateList.h"
#include "DocumentFiles.h"
#include "ModalHost.h"
#include "PopupGeometry.h"
#include "StringTable.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QStringListModel>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <new>
#include <utility>

namespace {

bool isAcceptingLineOrTab(QChar ch)
{
    return ch == QLatin1Char('\r') || ch == QLatin1Char('\n') || ch == QLatin1Char('\t');
}

bool isArgumentDelimiter(QChar ch)
{
    return QStringView(u"{}[],").contains(ch);
}

// Characters that end the word being completed; after a lone backslash they make a
// control symbol instead.
bool isAcceptingPunctuation(QChar ch)
{
    return QStringView(u"{}[](),.?!\\ ").contains(ch);
}

bool isGroupEnd(QChar ch)
{
    return ch == QLatin1Char('}') || ch == QLatin1Char(']');
}

bool isAscii(QChar ch)
{
    return ch.unicode() < 0x80;
}

} // namespace

CDullSense::CDullSense(QPlainTextEdit *view, const DictionaryLocation &location)
    : QListView(view)
    , m_pView(view)
    , m_model(new QStringListModel(this))
    , m_documentFiles(new DocumentFiles(this))
    , m_delegate(new CandidateDelegate(this))
{
    m_dictionary.LoadFunctions(location.filePath(QLatin1StringView(CompletionDictionary::FunctionsFileName)));
    m_dictionary.LoadEnvironments(location.filePath(QLatin1StringView(CompletionDictionary::EnvironmentsFileName)));

    setModel(m_model);
    setItemDelegate(m_delegate);
    connect(m_documentFiles, &DocumentFiles::updated, this, &CDullSense::documentFilesUpdated);
    // The list keeps the platform's list font rather than taking the editor's
    // display font from its parent.
    setFont(QApplication::font("QListView"));
    setFocusPolicy(Qt::NoFocus);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideNone);
    setUniformItemSizes(true);
    setFrameShape(QFrame::Box);
    setEnabled(false);
    hide();

    // Undo, redo, a click, an edit by program: whatever takes the typed word away
    // or the caret off its end closes the list, so that a later Enter cannot put a
    // candidate where nothing is being completed.
    connect(view, &QPlainTextEdit::cursorPositionChanged, this, &CDullSense::closeWhenWordIsGone);
    connect(view, &QPlainTextEdit::textChanged, this, &CDullSense::closeWhenWordIsGone);
}

CDullSense *CDullSense::create(QPlainTextEdit *view, const DictionaryLocation &location)
{
    try {
        return new CDullSense(view, location);
    } catch (const std::bad_alloc &) {
        ModalHost::showMessage(view, StringTable::text(StringTable::NoMemoryForCompletion), QMessageBox::Warning);
        return nullptr;
    }
}

void CDullSense::setFileReader(DocumentCollector::Read read)
{
    m_documentFiles->setReader(std::move(read));
}

void CDullSense::followFile(const QString &path)
{
    m_documentFiles->follow(path);
}

bool CDullSense::HandleChar(QChar ch, QString &out)
{
    out.clear();
    const int position = caret();
    return isShown() ? handleShown(ch, position, out) : handleHidden(ch, position);
}

bool CDullSense::handleHidden(QChar ch, int caret)
{
    m_typed.clear();
    m_pending.reset();
    const std::optional<DocumentScan::Context> closed = std::exchange(m_closedArgument, std::nullopt);
    if (ch == QLatin1Char('\\')) {
        fillCommandList();
        m_typed = ch;
        m_anchor = caret - 1;
        m_commandMode = true;
        ShowPopup(true);
    } else if (isArgumentDelimiter(ch)) {
        const QStringView text = editorText();
        const QStringView beforeCaret = text.first(std::min<qsizetype>(caret, text.size()));
        const DocumentScan::Context context = DocumentScan::ParseContext(beforeCaret);
        if (context == closed)
            return false;
        if (FillList(context, text, caret))
            openArgumentList(context, caret);
        else if (ArgumentKind::comesFromFiles(m_listKind) && m_documentFiles->isReading())
            m_pending = PendingList{context, caret, m_pView->document()->revision()};
    }
    return false;
}

void CDullSense::openArgumentList(const DocumentScan::Context &context, int caret)
{
    m_argument = context;
    m_commandMode = false;
    m_anchor = caret;
    ShowPopup(true);
}

bool CDullSense::handleShown(QChar ch, int caret, QString &out)
{
    const int selected = selectedRow();
    if (ch == QLatin1Char('\b')) {
        if (m_commandMode ? caret <= m_anchor : caret < m_anchor) {
            ShowPopup(false);
            return false;
        }
        m_typed.chop(1);
        PlacePopup();
        SelectBestMatch();
        return false;
    }
    if (isAcceptingLineOrTab(ch)) {
        if (selected >= 0)
            out = items().at(selected);
        ShowPopup(false);
        return selected >= 0;
    }
    // A file name goes on after a dot to its extension.
    const bool namesFile = m_listKind >= ArgumentKind::SourceName;
    if (isAcceptingPunctuation(ch) && !(namesFile && ch == u'.')) {
        if (!m_commandMode && isGroupEnd(ch))
            m_closedArgument = m_argument;
        if (selected < 0) {
            ShowPopup(false);
            return handleHidden(ch, caret);
        }
        if (m_typed != QLatin1String("\\")) {
            out = items().at(selected) + ch;
            ShowPopup(false);
            return true;
        }
    }
    appendTyped(ch);
    // Japanese typed after the word (a full-width brace, the next sentence) ends
    // it: the list closes as soon as such a character leaves nothing to offer.
    if (!isAscii(ch) && selectedRow() < 0)
        ShowPopup(false);
    return false;
}

void CDullSense::appendTyped(QChar ch)
{
    m_typed.append(ch);
    PlacePopup();
    SelectBestMatch();
}

void CDullSense::fillCommandList()
{
    m_listKind = ArgumentKind::Other;
    m_model->setStringList(CandidateList::commandItems(m_dictionary));
    showNotes();
}

bool CDullSense::FillList(const DocumentScan::Context &context, QStringView text, int caret)
{
    m_model->setStringList({});
    m_listKind = context.word.isEmpty() ? ArgumentKind::Other : ArgumentKind::of(context);
    if (m_listKind == ArgumentKind::Label)
        m_labels = DocumentScan::ScanLabels(text, caret);
    // The files may have changed since they were read; if so the list takes in
    // what they hold now when they have been read again.
    if (ArgumentKind::comesFromFiles(m_listKind))
        m_documentFiles->refresh();
    const std::optional<QStringList> candidates = CandidateList::argumentItems(
        m_dictionary, context, [this](ArgumentKind::Kind kind) { return documentItems(kind); });
    showNotes();
    if (!candidates)
        return false;
    m_model->setStringList(*candidates);
    return true;
}

// Labels of the text being edited come from the scan just made; everything else
// from the files as last read.
std::optional<QStringList> CDullSense::documentItems(ArgumentKind::Kind kind) const
{
    const std::shared_ptr<const DocumentSnapshot> &files = m_documentFiles->snapshot();
    QStringList items;
    if (kind == ArgumentKind::Label)
        items = files ? files->labels.with(m_labels) : CandidateList::sorted(m_labels);
    else if (kind == ArgumentKind::Citation && files)
        items = files->citations;
    else
        items = fileNames(kind);
    if (items.isEmpty())
        return std::nullopt;
    return items;
}

QStringList CDullSense::fileNames(ArgumentKind::Kind kind) const
{
    const std::shared_ptr<const DocumentSnapshot> &files = m_documentFiles->snapshot();
    if (!files)
        return {};
    const auto withoutExtension = [](QStringList names) {
        for (QString &name : names)
            name.truncate(name.lastIndexOf(u'.'));
        return CandidateList::sorted(std::move(names));
    };
    switch (kind) {
    case ArgumentKind::SourceName:
        return withoutExtension(files->files.sources);
    case ArgumentKind::GraphicsName:
        return CandidateList::sorted(files->files.graphics);
    case ArgumentKind::DatabaseName:
        return withoutExtension(files->files.databases);
    case ArgumentKind::DatabaseFile:
        return CandidateList::sorted(files->files.databases);
    default:
        return {};
    }
}

void CDullSense::showNotes()
{
    const std::shared_ptr<const DocumentSnapshot> &files = m_documentFiles->snapshot();
    m_delegate->setNotes(m_listKind == ArgumentKind::Citation && files ? files->notes : QHash<QString, QString>());
}

// Files read while a list of theirs is shown join it; the row selected stays
// selected.
void CDullSense::documentFilesUpdated()
{
    if (isShown() && !m_commandMode && ArgumentKind::comesFromFiles(m_listKind))
        refillKeepingSelection();
    else if (!isShown() && m_pending)
        openPendingList();
}

void CDullSense::refillKeepingSelection()
{
    const int selected = selectedRow();
    const QString selectedItem = selected >= 0 ? items().at(selected) : QString();
    const std::optional<QStringList> candidates = documentItems(m_listKind);
    if (!candidates) {
        ShowPopup(false);
        return;
    }
    m_model->setStringList(*candidates);
    showNotes();
    fitPopupSize();
    PlacePopup();
    SelectItem(selectedItem.isEmpty() ? -1 : static_cast<int>(candidates->indexOf(selectedItem)), true);
    if (const int row = selectedRow(); row >= 0)
        scrollTo(m_model->index(row));
}

void CDullSense::openPendingList()
{
    const PendingList pending = *m_pending;
    m_pending.reset();
    const int position = caret();
    if (position != pending.caret || m_pView->document()->revision() != pending.revision)
        return;
    if (FillList(pending.context, editorText(), position))
        openArgumentList(pending.context, position);
}

void CDullSense::ShowPopup(bool show)
{
    if (!show) {
        m_listKind = ArgumentKind::Other;
        hide();
        setEnabled(false);
        m_commandMode = false;
        return;
    }
    fitPopupSize();
    setEnabled(true);
    PlacePopup();
    // A new list starts at its top, not where the last one was scrolled to.
    scrollToTop();
    SelectBestMatch();
}

void CDullSense::fitPopupSize()
{
    const QStringList rows = items();
    m_rowHeight = rows.isEmpty() ? fontMetrics().height() : sizeHintForRow(0);
    const auto longest = std::max_element(rows.begin(), rows.end(),
                                          [](const QString &a, const QString &b) { return a.size() < b.size(); });
    const int longestLength = longest == rows.end() ? 0 : static_cast<int>(longest->size());
    const int averageCharWidth = fontMetrics().averageCharWidth();
    QSize size = PopupGeometry::size(static_cast<int>(rows.size()), longestLength, m_rowHeight, averageCharWidth,
                                     frameWidth());
    if (m_delegate->hasNotes()) {
        m_delegate->setKeyColumn(std::min(longestLength, PopupGeometry::MaxColumns) * averageCharWidth);
        // The notes may make the list wider, but never wider than most of the text.
        const int widest = std::max(size.width(), m_pView->viewport()->width() * 3 / 4);
        size.setWidth(std::min(size.width() + m_delegate->notesWidth(font()), widest));
    }
    m_rect = QRect(QPoint(0, 0), size);
}

void CDullSense::PlacePopup()
{
    const QWidget *textArea = m_pView->viewport();
    const QRect caretRect = m_pView->cursorRect().translated(textArea->geometry().topLeft());
    m_rect = PopupGeometry::place(m_rect.size(), caretRect, textArea->geometry(), fontMetrics().maxWidth());
    setGeometry(m_rect);
    raise();
    show();
}

void CDullSense::SelectBestMatch()
{
    const QStringList rows = items();
    const int choice = CandidateList::bestMatch(rows, m_typed);
    if (choice < 0) {
        SelectItem(-1, true);
        return;
    }
    // Selecting a few rows further first scrolls the list so that what follows the
    // choice stays in view.
    SelectItem(std::min(choice + 5, static_cast<int>(rows.size()) - 1), false);
    SelectItem(choice, true);
}

void CDullSense::SelectItem(int index, bool redraw)
{
    setUpdatesEnabled(false);
    const QModelIndex row = m_model->index(index);
    if (row.isValid())
        selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect);
    else
        selectionModel()->clear();
    if (redraw) {
        setUpdatesEnabled(true);
        viewport()->update();
    }
}

void CDullSense::MoveSelection(bool down)
{
    const int target = CandidateList::stepTarget(selectedRow(), m_model->rowCount(), down);
    if (target >= 0)
        SelectItem(target, true);
}

void CDullSense::MovePage(bool down)
{
    SelectItem(CandidateList::pageTarget(selectedRow(), m_model->rowCount(), down), true);
}

void CDullSense::SelectFirstOrLast(bool last)
{
    SelectItem(last ? m_model->rowCount() - 1 : 0, true);
}

QStringList CDullSense::items() const
{
    return m_model->stringList();
}

int CDullSense::selectedRow() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void CDullSense::mouseDoubleClickEvent(QMouseEvent *event)
{
    QListView::mouseDoubleClickEvent(event);
    // Accept the row exactly as Tab typed in the editor would.
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    QApplication::sendEvent(m_pView, &tab);
}

void CDullSense::endTyping()
{
    --m_typingDepth;
    closeWhenWordIsGone();
}

void CDullSense::closeWhenWordIsGone()
{
    if (m_typingDepth == 0 && isShown() && !caretEndsTypedWord())
        ShowPopup(false);
}

// The typed word, backslash included in command mode, stands in the text from the
// anchor and the caret sits right after it with nothing selected.
bool CDullSense::caretEndsTypedWord() const
{
    const QTextCursor cursor = m_pView->textCursor();
    if (cursor.hasSelection() || cursor.position() != m_anchor + m_typed.size())
        return false;
    QTextCursor word(m_pView->document());
    word.setPosition(m_anchor);
    word.setPosition(cursor.position(), QTextCursor::KeepAnchor);
    return word.selectedText() == m_typed;
}

int CDullSense::caret() const
{
    return m_pView->textCursor().position();
}

// The raw text as it stands: the scan reads the paragraph separators between the
// lines as line ends. The mirror saves asking the editor for all of its text at
// every popup; it is taken afresh when it was dropped or no longer matches.
QStringView CDullSense::editorText()
{
    QTextDocument *const document = m_pView->document();
    if (document != m_followed)
        followDocument(document);
    if (!m_mirror.isValid() || m_mirror.length() != document->characterCount() - 1)
        m_mirror.reset(document->toRawText());
    return m_mirror.text();
}

void CDullSense::followDocument(QTextDocument *document)
{
    if (m_followed)
        disconnect(m_followed, nullptr, this, nullptr);
    m_followed = document;
    m_mirror.invalidate();
    connect(document, &QTextDocument::contentsChange, this, &CDullSense::followChange);
}

void CDullSense::followChange(int position, int removed, int added)
{
    if (!m_mirror.isValid())
        return;
    // A large change, such as a whole new text, is cheaper to take afresh when the
    // next popup needs it than to copy out now.
    constexpr int LargeChange = 64 * 1024;
    const int end = position + added;
    const int documentEnd = m_followed->characterCount() - 1;
    if (added > LargeChange || end > documentEnd) {
        m_mirror.invalidate();
        return;
    }
    QTextCursor range(m_followed);
    range.setPosition(position);
    range.setPosition(end, QTextCursor::KeepAnchor);
    m_mirror.replace(position, removed, range.selectedText());
    if (m_mirror.length() != documentEnd)
        m_mirror.invalidate();
}
