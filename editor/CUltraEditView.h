#pragma once

#include "CommandTarget.h"
#include "DictionaryLocation.h"
#include "FindReplaceDialog.h"
#include "LineMark.h"
#include "ShapedCaretLines.h"

#include <QPlainTextEdit>
#include <QString>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>

#include <map>
#include <memory>
#include <utility>
#include <vector>

class BracketMarker;
class CDullSense;
class CLineWindow;
class EditorDocumentLayout;
class LazyHighlighter;
class CommandManager;
class ProfileStore;
class QMenu;
class QMimeData;

// The editing pane: a plain-text control with one display font and no wrapping,
// first on the command route. It keeps the display font, shows the caret's line
// and column, hosts the line-number gutter, runs the find and replace dialogs and
// passes dropped files on instead of inserting their names.
class CUltraEditView : public QPlainTextEdit, public CommandTarget
{
    Q_OBJECT

public:
    // Reads the display font and whether line numbers are shown from the settings;
    // the completion popup reads its dictionaries from where dictionaries says.
    explicit CUltraEditView(const ProfileStore &profile, QWidget *parent = nullptr,
                            const DictionaryLocation &dictionaries = DictionaryLocation());
    // Writes the display font back.
    ~CUltraEditView() override;

    // Gives the view its context menu, built from the command vocabulary.
    void attachCommands(CommandManager &commands);

    // Sets the display font from m_fontName and m_fontSize. The plain-text control
    // always shows all of its text in its one font; wholeText false (at creation)
    // first reads both from the settings.
    void ApplyDisplayFont(bool wholeText);
    // Shows or hides the gutter and stores the choice.
    void ShowLineWindow(bool show);

    CLineWindow *lineWindow() const { return m_pLineWindow.get(); }

    // Turns syntax colouring and bracket marks on or off and stores the choice.
    void ShowSyntaxColor(bool show);
    // The colouring while it is on, else null.
    LazyHighlighter *highlighter() const { return m_highlighter.get(); }
    EditorDocumentLayout &lineLayout() const { return *m_lineLayout; }
    // The completion popup; null when it could not be made.
    CDullSense *dullSense() const { return m_pDullSense; }
    int lineWindowWidth() const { return m_lineWindowWidth; }

    // For the gutter: the first line with any part in view, the top of a visible
    // line's first character in this widget's coordinates, and a line's height.
    // Finding a line's top walks from the first visible line, so the gutter asks
    // for the first one only and adds up the heights from there.
    QTextBlock firstVisibleLine() const { return firstVisibleBlock(); }
    qreal lineTop(const QTextBlock &line) const;
    qreal lineHeight(const QTextBlock &line) const { return blockBoundingRect(line).height(); }

    // The status pane's text for the caret, the moving end of the selection.
    QString lineColumnText() const;

    // Puts the caret at the start of a line (counted from 1, kept inside the text),
    // scrolls it into view and gives the editor the focus.
    void goToLine(int line);
    // Marks lines (counted from 0) in the gutter, replacing the marks before; a
    // mark stays with its line when lines above it are added or removed.
    void setLineMarks(const std::vector<std::pair<int, LineMark>> &marks);
    // The marks by the lines they stand on now; an error outweighs a warning.
    std::map<int, LineMark> lineMarks() const;

signals:
    void lineColumnChanged(const QString &text);
    // Local files dropped on the editor: the main window opens them in this order.
    void filesDropped(const QStringList &paths);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
    QMimeData *createMimeDataFromSelection() const override;

private:
    void registerEditCommands();
    void registerViewCommands();
    void readDisplayFontSettings();
    void onChangeFont();
    void pasteText();
    void applySyntaxColor(bool show);
    void createLineWindow();
    void destroyLineWindow();
    void placeLineWindow();
    void refreshLineWindow();
    void reportLineColumn();
    bool acceptFileDrag(QDropEvent *event) const;

    void showFindDialog(FindReplaceDialog::Mode mode);
    FindReplaceDialog *findDialog(FindReplaceDialog::Mode mode);
    void OnFindNext(const FindReplaceDialog::Request &request);
    void OnReplace(const FindReplaceDialog::Request &request, const QString &replaceWith);
    void OnReplaceAll(const FindReplaceDialog::Request &request, const QString &replaceWith);
    void OnTextNotFound();
    void storeSearch(const FindReplaceDialog::Request &request);
    QTextDocument::FindFlags searchFlags() const;
    bool findStoredText();
    bool selectionIsMatch() const;

    std::unique_ptr<CLineWindow> m_pLineWindow;
    std::vector<std::pair<QTextCursor, LineMark>> m_lineMarks;
    // Owned by the document.
    EditorDocumentLayout *m_lineLayout = nullptr;
    std::unique_ptr<LazyHighlighter> m_highlighter;
    std::unique_ptr<BracketMarker> m_bracketMarker;
    ShapedCaretLines m_shapedLines;
    // The completion popup, a child of this view; null when it could not be made.
    CDullSense *m_pDullSense = nullptr;
    int m_lineWindowWidth = 0;
    QString m_findText;
    bool m_findNext = false;
    bool m_findCase = false;
    bool m_findWord = false;
    QString m_fontName;
    int m_fontSize = 0;

    const ProfileStore &m_profile;
    QMenu *m_contextMenu = nullptr;
    FindReplaceDialog *m_findDialog = nullptr;
    FindReplaceDialog *m_replaceDialog = nullptr;
};
