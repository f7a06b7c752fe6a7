#include "CUltraEditView.h"

#include "BracketMarker.h"
#include "CDullSense.h"
#include "CLineWindow.h"
#include "CommandIds.h"
#include "CommandManager.h"
#include "CompletionRouter.h"
#include "EditorDocumentLayout.h"
#include "IncomingData.h"
#include "LazyHighlighter.h"
#include "LineColumnText.h"
#include "LineWindowMetrics.h"
#include "ModalHost.h"
#include "ProfileStore.h"
#include "StringTable.h"
#include "TwipsConversion.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>

#include <algorithm>
#include <new>

namespace {

const QString ShowSection = QStringLiteral("ShowLineNumber");
const QString ShowKey = QStringLiteral("ShowLineNumber");
const QString FontSection = QStringLiteral("DisplayFont");
const QString NameKey = QStringLiteral("Name");
const QString SizeKey = QStringLiteral("Size");
const QString SyntaxColorSection = QStringLiteral("ShowSyntaxColor");
const QString SyntaxColorKey = QStringLiteral("ShowSyntaxColor");

} // namespace

CUltraEditView::CUltraEditView(const ProfileStore &profile, QWidget *parent, const DictionaryLocation &dictionaries)
    : QPlainTextEdit(parent)
    , m_profile(profile)
{
    // The control connects to a document's layout when the document is set, so
    // the document comes with our layout already in place.
    auto *text = new QTextDocument(this);
    m_lineLayout = new EditorDocumentLayout(text);
    text->setDocumentLayout(m_lineLayout);
    setDocument(text);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    ApplyDisplayFont(false);

    // Every scroll and every change of the text comes through here; the gutter
    // itself decides whether its numbers have moved.
    connect(this, &QPlainTextEdit::updateRequest, this, &CUltraEditView::refreshLineWindow);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &CUltraEditView::reportLineColumn);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] { m_shapedLines.follow(textCursor().block()); });

    registerEditCommands();
    registerViewCommands();
    ShowLineWindow(m_profile.readInt(ShowSection, ShowKey, 1) != 0);
    applySyntaxColor(m_profile.readInt(SyntaxColorSection, SyntaxColorKey, 1) != 0);
    m_pDullSense = CDullSense::create(this, dictionaries);
}

CUltraEditView::~CUltraEditView()
{
    m_profile.writeString(FontSection, NameKey, m_fontName);
    m_profile.writeInt(FontSection, SizeKey, m_fontSize);
}

void CUltraEditView::attachCommands(CommandManager &commands)
{
    m_contextMenu = commands.createContextMenu(ContextMenuIndex::Editor, *this, this);
}

void CUltraEditView::registerEditCommands()
{
    const auto whenSelection = [this](CommandUpdate &update) { update.enable(textCursor().hasSelection()); };
    onCommand(CommandId::EditUndo, [this] { undo(); });
    onUpdate(CommandId::EditUndo, [this](CommandUpdate &update) { update.enable(document()->isUndoAvailable()); });
    onCommand(CommandId::EditCut, [this] { cut(); });
    onUpdate(CommandId::EditCut, whenSelection);
    onCommand(CommandId::EditCopy, [this] { copy(); });
    onUpdate(CommandId::EditCopy, whenSelection);
    onCommand(CommandId::EditPaste, [this] { pasteText(); });
    onUpdate(CommandId::EditPaste, [this](CommandUpdate &update) { update.enable(canPaste()); });
    onCommand(CommandId::EditSelectAll, [this] { selectAll(); });
}

void CUltraEditView::registerViewCommands()
{
    onCommand(CommandId::EditFind, [this] { showFindDialog(FindReplaceDialog::Mode::Find); });
    onCommand(CommandId::EditReplace, [this] { showFindDialog(FindReplaceDialog::Mode::Replace); });
    onCommand(CommandId::FindNext, [this] {
        if (!findStoredText())
            OnTextNotFound();
    });
    onUpdate(CommandId::FindNext, [this](CommandUpdate &update) { update.enable(!m_findText.isEmpty()); });
    onCommand(CommandId::ToggleLineNumbers, [this] { ShowLineWindow(!m_pLineWindow); });
    onUpdate(CommandId::ToggleLineNumbers,
             [this](CommandUpdate &update) { update.setCheck(m_pLineWindow != nullptr); });
    onCommand(CommandId::ToggleSyntaxColor, [this] { ShowSyntaxColor(!m_highlighter); });
    onUpdate(CommandId::ToggleSyntaxColor,
             [this](CommandUpdate &update) { update.setCheck(m_highlighter != nullptr); });
    onCommand(CommandId::ChangeFont, [this] { onChangeFont(); });
}

void CUltraEditView::ShowSyntaxColor(bool show)
{
    applySyntaxColor(show);
    m_profile.writeInt(SyntaxColorSection, SyntaxColorKey, show ? 1 : 0);
}

void CUltraEditView::applySyntaxColor(bool show)
{
    if (show == (m_highlighter != nullptr))
        return;
    if (show) {
        m_highlighter = std::make_unique<LazyHighlighter>(*this);
        m_bracketMarker = std::make_unique<BracketMarker>(*this);
    } else {
        m_bracketMarker.reset();
        m_highlighter.reset();
    }
}

void CUltraEditView::readDisplayFontSettings()
{
    const QFont initial = font();
    const int initialSize = TwipsConversion::twipsOf(initial, logicalDpiY());
    m_fontName = m_profile.readString(FontSection, NameKey, initial.family());
    m_fontSize = m_profile.readInt(FontSection, SizeKey, initialSize);
    // A blank face or a size that is no size would leave the text unreadable;
    // the control's own font stands in for them.
    if (m_fontName.isEmpty())
        m_fontName = initial.family();
    if (m_fontSize <= 0)
        m_fontSize = initialSize;
}

void CUltraEditView::ApplyDisplayFont(bool wholeText)
{
    if (!wholeText)
        readDisplayFontSettings();
    QFont display = font();
    // Characters the chosen face lacks come from a Japanese face, so that Han
    // characters take their Japanese forms whatever the desktop's language.
    display.setFamilies({m_fontName, QStringLiteral("Noto Sans Mono CJK JP")});
    display.setPointSizeF(TwipsConversion::pointsOf(m_fontSize));
    setFont(display);
}

void CUltraEditView::onChangeFont()
{
    const double dpi = logicalDpiY();
    QFont initial(m_fontName);
    initial.setPixelSize(std::max(1, -TwipsConversion::toDialogHeight(m_fontSize, dpi)));
    QFontDialog dialog(initial, this);
    if (ModalHost::runDialog(dialog) != QDialog::Accepted)
        return;
    const QFont chosen = dialog.currentFont();
    const int size = TwipsConversion::fromDialogHeight(TwipsConversion::dialogHeightOf(chosen, dpi), dpi);
    if (size <= 0)
        return;
    m_fontName = chosen.family();
    m_fontSize = size;
    ApplyDisplayFont(true);
    // The gutter's width follows the font, so it is made anew.
    if (m_pLineWindow) {
        ShowLineWindow(false);
        ShowLineWindow(true);
    }
}

void CUltraEditView::ShowLineWindow(bool show)
{
    if (show == (m_pLineWindow != nullptr))
        return;
    if (show)
        createLineWindow();
    else
        destroyLineWindow();
    // Written even when the gutter could not be made, so the next start tries again.
    m_profile.writeInt(ShowSection, ShowKey, show ? 1 : 0);
}

void CUltraEditView::createLineWindow()
{
    const QFont numbers = CLineWindow::fontFor(font(), logicalDpiY());
    m_lineWindowWidth = LineWindowMetrics::width(QFontMetrics(numbers).averageCharWidth());
    try {
        m_pLineWindow = std::make_unique<CLineWindow>(*this, m_profile);
    } catch (const std::bad_alloc &) {
        ModalHost::showMessage(this, StringTable::text(StringTable::NoMemoryForLineNumbers), QMessageBox::Warning);
        return;
    }
    setViewportMargins(m_lineWindowWidth, 0, 0, 0);
    placeLineWindow();
    m_pLineWindow->show();
}

void CUltraEditView::destroyLineWindow()
{
    m_pLineWindow.reset();
    setViewportMargins(0, 0, 0, 0);
}

void CUltraEditView::placeLineWindow()
{
    if (!m_pLineWindow)
        return;
    const QRect text = viewport()->geometry();
    m_pLineWindow->setGeometry(contentsRect().left(), text.top(), m_lineWindowWidth, text.height());
}

void CUltraEditView::refreshLineWindow()
{
    if (m_pLineWindow)
        m_pLineWindow->refresh();
}

qreal CUltraEditView::lineTop(const QTextBlock &line) const
{
    return viewport()->y() + blockBoundingGeometry(line).translated(contentOffset()).top();
}

QString CUltraEditView::lineColumnText() const
{
    const QTextCursor caret = textCursor();
    return LineColumnText::of(caret.blockNumber(), caret.positionInBlock());
}

void CUltraEditView::goToLine(int line)
{
    const int block = std::clamp(line, 1, blockCount()) - 1;
    setTextCursor(QTextCursor(document()->findBlockByNumber(block)));
    centerCursor();
    setFocus();
}

void CUltraEditView::setLineMarks(const std::vector<std::pair<int, LineMark>> &marks)
{
    m_lineMarks.clear();
    for (const auto &[line, mark] : marks) {
        const QTextBlock block = document()->findBlockByNumber(line);
        if (block.isValid())
            m_lineMarks.emplace_back(QTextCursor(block), mark);
    }
    if (m_pLineWindow)
        m_pLineWindow->update();
}

std::map<int, LineMark> CUltraEditView::lineMarks() const
{
    std::map<int, LineMark> marks;
    for (const auto &[cursor, mark] : m_lineMarks) {
        const auto [place, added] = marks.emplace(cursor.blockNumber(), mark);
        if (!added && mark == LineMark::Error)
            place->second = mark;
    }
    return marks;
}

void CUltraEditView::reportLineColumn()
{
    if (isEnabled())
        emit lineColumnChanged(lineColumnText());
}

void CUltraEditView::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    placeLineWindow();
}

void CUltraEditView::changeEvent(QEvent *event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        reportLineColumn();
}

void CUltraEditView::mousePressEvent(QMouseEvent *event)
{
    CompletionRouter::closeForClick(m_pDullSense);
    // The menu opens as the button goes down and the control never sees the
    // press, so the caret and the selection stay where they are.
    if (event->button() == Qt::RightButton && m_contextMenu) {
        m_contextMenu->exec(event->globalPosition().toPoint());
        return;
    }
    QPlainTextEdit::mousePressEvent(event);
}

void CUltraEditView::mouseDoubleClickEvent(QMouseEvent *event)
{
    CompletionRouter::closeForClick(m_pDullSense);
    QPlainTextEdit::mouseDoubleClickEvent(event);
}

void CUltraEditView::keyPressEvent(QKeyEvent *event)
{
    // Shift+Enter would put a Unicode line separator into the text, which TeX does
    // not read as a line end: every Enter makes an ordinary line.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & Qt::ShiftModifier)) {
        QKeyEvent plain(event->type(), event->key(), event->modifiers() & ~Qt::ShiftModifier, event->text(),
                        event->isAutoRepeat(), event->count());
        keyPressEvent(&plain);
        event->setAccepted(plain.isAccepted());
        return;
    }
    if (!m_pDullSense) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    CompletionRouter::keyPress(*m_pDullSense, *event, [this, event] { QPlainTextEdit::keyPressEvent(event); });
}

void CUltraEditView::inputMethodEvent(QInputMethodEvent *event)
{
    if (!m_pDullSense) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    CompletionRouter::inputMethod(*m_pDullSense, *event,
                                  [this](QInputMethodEvent &part) { QPlainTextEdit::inputMethodEvent(&part); });
}

QVariant CUltraEditView::inputMethodQuery(Qt::InputMethodQuery query) const
{
    const QVariant value = QPlainTextEdit::inputMethodQuery(query);
    if (query != Qt::ImCursorRectangle && query != Qt::ImAnchorRectangle)
        return value;
    // The control answers in the coordinates of its text area, but the input
    // method reads them as this widget's: without the gutter and the frame in
    // between, the candidate window would stand left of the text.
    return value.toRectF().translated(viewport()->geometry().topLeft());
}

void CUltraEditView::contextMenuEvent(QContextMenuEvent *event)
{
    CompletionRouter::closeForClick(m_pDullSense);
    if (!m_contextMenu) {
        QPlainTextEdit::contextMenuEvent(event);
        return;
    }
    // A mouse's menu has already been shown when its button went down.
    if (event->reason() == QContextMenuEvent::Keyboard)
        m_contextMenu->exec(viewport()->mapToGlobal(cursorRect().bottomLeft()));
    event->accept();
}

void CUltraEditView::pasteText()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data || !IncomingData::offersText(*data))
        return;
    insertPlainText(data->text());
    ensureCursorVisible();
}

bool CUltraEditView::canInsertFromMimeData(const QMimeData *source) const
{
    return IncomingData::offersText(*source) && QPlainTextEdit::canInsertFromMimeData(source);
}

void CUltraEditView::insertFromMimeData(const QMimeData *source)
{
    if (IncomingData::offersText(*source))
        QPlainTextEdit::insertFromMimeData(source);
}

QMimeData *CUltraEditView::createMimeDataFromSelection() const
{
    // The control's own plain-text export turns no-break spaces into spaces; what
    // is copied must be exactly what is in the text.
    auto *data = new QMimeData;
    data->setText(textCursor().selectedText().replace(QChar::ParagraphSeparator, u'\n'));
    return data;
}

bool CUltraEditView::acceptFileDrag(QDropEvent *event) const
{
    if (IncomingData::localFiles(*event->mimeData()).isEmpty())
        return false;
    // Files are only ever read: a move would have the file manager delete them.
    if (event->possibleActions() & Qt::CopyAction) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else if (event->possibleActions() & Qt::LinkAction) {
        event->setDropAction(Qt::LinkAction);
        event->accept();
    } else {
        event->ignore();
    }
    return true;
}

void CUltraEditView::dragEnterEvent(QDragEnterEvent *event)
{
    if (!acceptFileDrag(event))
        QPlainTextEdit::dragEnterEvent(event);
}

void CUltraEditView::dragMoveEvent(QDragMoveEvent *event)
{
    if (!acceptFileDrag(event))
        QPlainTextEdit::dragMoveEvent(event);
}

void CUltraEditView::dropEvent(QDropEvent *event)
{
    if (!acceptFileDrag(event)) {
        QPlainTextEdit::dropEvent(event);
        return;
    }
    if (event->isAccepted())
        emit filesDropped(IncomingData::localFiles(*event->mimeData()));
}

void CUltraEditView::showFindDialog(FindReplaceDialog::Mode mode)
{
    FindReplaceDialog *other = mode == FindReplaceDialog::Mode::Find ? m_replaceDialog : m_findDialog;
    if (other)
        other->hide();
    const QString selected = textCursor().selectedText();
    const bool oneLine = !selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator);
    FindReplaceDialog *dialog = findDialog(mode);
    dialog->setFindWhat(oneLine ? selected : m_findText);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

FindReplaceDialog *CUltraEditView::findDialog(FindReplaceDialog::Mode mode)
{
    FindReplaceDialog *&dialog = mode == FindReplaceDialog::Mode::Find ? m_findDialog : m_replaceDialog;
    if (!dialog) {
        dialog = new FindReplaceDialog(mode, this);
        connect(dialog, &FindReplaceDialog::findNextRequested, this, &CUltraEditView::OnFindNext);
        connect(dialog, &FindReplaceDialog::replaceRequested, this, &CUltraEditView::OnReplace);
        connect(dialog, &FindReplaceDialog::replaceAllRequested, this, &CUltraEditView::OnReplaceAll);
    }
    return dialog;
}

void CUltraEditView::storeSearch(const FindReplaceDialog::Request &request)
{
    m_findText = request.findWhat;
    m_findNext = request.down;
    m_findCase = request.matchCase;
    m_findWord = request.wholeWord;
}

QTextDocument::FindFlags CUltraEditView::searchFlags() const
{
    QTextDocument::FindFlags flags;
    if (!m_findNext)
        flags |= QTextDocument::FindBackward;
    if (m_findCase)
        flags |= QTextDocument::FindCaseSensitively;
    if (m_findWord)
        flags |= QTextDocument::FindWholeWords;
    return flags;
}

bool CUltraEditView::findStoredText()
{
    return find(m_findText, searchFlags());
}

void CUltraEditView::OnFindNext(const FindReplaceDialog::Request &request)
{
    storeSearch(request);
    if (!findStoredText())
        OnTextNotFound();
}

bool CUltraEditView::selectionIsMatch() const
{
    const QTextCursor selection = textCursor();
    if (!selection.hasSelection())
        return false;
    const QTextCursor match = document()->find(m_findText, selection.selectionStart(), searchFlags());
    return match.selectionStart() == selection.selectionStart() && match.selectionEnd() == selection.selectionEnd();
}

void CUltraEditView::OnReplace(const FindReplaceDialog::Request &request, const QString &replaceWith)
{
    storeSearch(request);
    if (selectionIsMatch()) {
        QTextCursor selection = textCursor();
        selection.insertText(replaceWith);
        setTextCursor(selection);
    }
    if (!findStoredText())
        OnTextNotFound();
}

void CUltraEditView::OnReplaceAll(const FindReplaceDialog::Request &request, const QString &replaceWith)
{
    storeSearch(request);
    const QTextDocument::FindFlags flags = searchFlags();
    QTextCursor match = document()->find(m_findText, 0, flags);
    if (match.isNull()) {
        OnTextNotFound();
        return;
    }
    // One edit block, so that a single undo takes every replacement back.
    QTextCursor edit(document());
    edit.beginEditBlock();
    QTextCursor last;
    while (!match.isNull()) {
        match.insertText(replaceWith);
        last = match;
        match = document()->find(m_findText, match, flags);
    }
    edit.endEditBlock();
    setTextCursor(last);
}

void CUltraEditView::OnTextNotFound()
{
    ModalHost::showMessage(
        this, StringTable::text(m_findNext ? StringTable::SearchReachedEnd : StringTable::SearchReachedStart),
        QMessageBox::Information);
}
