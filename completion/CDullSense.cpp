#include "CDullSense.h"

#include "CandidateList.h"
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
{
    m_dictionary.LoadFunctions(location.filePath(QLatin1StringView(CompletionDictionary::FunctionsFileName)));
    m_dictionary.LoadEnvironments(location.filePath(QLatin1StringView(CompletionDictionary::EnvironmentsFileName)));

    setModel(m_model);
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

bool CDullSense::HandleChar(QChar ch, QString &out)
{
    out.clear();
    const int position = caret();
    return isShown() ? handleShown(ch, position, out) : handleHidden(ch, position);
}

bool CDullSense::handleHidden(QChar ch, int caret)
{
    m_typed.clear();
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
        if (context != closed && FillList(context, text, caret)) {
            m_argument = context;
            m_commandMode = false;
            m_anchor = caret;
            ShowPopup(true);
        }
    }
    return false;
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
    if (isAcceptingPunctuation(ch)) {
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
    m_model->setStringList(CandidateList::commandItems(m_dictionary));
}

bool CDullSense::FillList(const DocumentScan::Context &context, QStringView text, int caret)
{
    m_model->setStringList({});
    const auto scanLabels = [this, text, caret] {
        m_labels = DocumentScan::ScanLabels(text, caret);
        return m_labels;
    };
    const std::optional<QStringList> candidates = CandidateList::argumentItems(m_dictionary, context, scanLabels);
    if (!candidates)
        return false;
    m_model->setStringList(*candidates);
    return true;
}

void CDullSense::ShowPopup(bool show)
{
    if (!show) {
        hide();
        setEnabled(false);
        m_commandMode = false;
        return;
    }
    const QStringList rows = items();
    m_rowHeight = rows.isEmpty() ? fontMetrics().height() : sizeHintForRow(0);
    const auto longest = std::max_element(rows.begin(), rows.end(),
                                          [](const QString &a, const QString &b) { return a.size() < b.size(); });
    const int longestLength = longest == rows.end() ? 0 : static_cast<int>(longest->size());
    m_rect = QRect(QPoint(0, 0), PopupGeometry::size(static_cast<int>(rows.size()), longestLength, m_rowHeight,
                                                      fontMetrics().averageCharWidth(), frameWidth()));
    setEnabled(true);
    PlacePopup();
    SelectBestMatch();
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
