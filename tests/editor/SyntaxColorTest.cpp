#include "EditorFixture.h"

#include "BracketMarker.h"
#include "CommandIds.h"
#include "EditorDocumentLayout.h"
#include "LazyHighlighter.h"

#include <QInputMethodEvent>
#include <QPaintEvent>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

namespace {

class SyntaxColorTest : public EditorFixture
{
protected:
    std::unique_ptr<CUltraEditView> shownView(const QString &text)
    {
        auto view = makeView(text);
        view->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        QCoreApplication::processEvents();
        return view;
    }

    static void waitUntilIdle(const CUltraEditView &view)
    {
        for (int round = 0; round < 2000 && !view.highlighter()->isIdle(); ++round)
            QTest::qWait(5);
        ASSERT_TRUE(view.highlighter()->isIdle());
    }

    static QList<QTextLayout::FormatRange> formatsOf(const CUltraEditView &view, int line)
    {
        return view.document()->findBlockByNumber(line).layout()->formats();
    }

    // The kind whose colour the character at column of line is drawn in; nullopt
    // for plain text.
    static std::optional<TexSyntax::Kind> kindAt(const CUltraEditView &view, int line, int column)
    {
        for (const QTextLayout::FormatRange &range : formatsOf(view, line)) {
            if (column < range.start || column >= range.start + range.length)
                continue;
            for (const auto kind : {TexSyntax::Kind::ControlSequence, TexSyntax::Kind::Comment, TexSyntax::Kind::Math,
                                    TexSyntax::Kind::Environment, TexSyntax::Kind::Reference, TexSyntax::Kind::Magic}) {
                if (LazyHighlighter::formatOf(kind) == range.format)
                    return kind;
            }
        }
        return std::nullopt;
    }

    static int colouredLineCount(const CUltraEditView &view)
    {
        int count = 0;
        for (QTextBlock block = view.document()->firstBlock(); block.isValid(); block = block.next())
            count += block.layout()->formats().isEmpty() ? 0 : 1;
        return count;
    }

    static QString manyLines(int count)
    {
        QStringList lines;
        for (int i = 0; i < count; ++i)
            lines.append(QStringLiteral("行%1 \\ref{eq:%1} と $x_%1$").arg(i));
        return lines.join(u'\n');
    }

    static void typeAt(CUltraEditView &view, int position, const QString &text)
    {
        QTextCursor caret = view.textCursor();
        caret.setPosition(position);
        view.setTextCursor(caret);
        QTest::keyClicks(&view, text);
    }

    static bool laidOut(const CUltraEditView &view, int line)
    {
        return view.document()->findBlockByNumber(line).layout()->lineCount() > 0;
    }

    int storedSwitch() const { return storedInt(QStringLiteral("ShowSyntaxColor"), QStringLiteral("ShowSyntaxColor")); }
};

// The heights of the parts of a view repainted while it is watched.
class PaintWatch : public QObject
{
public:
    explicit PaintWatch(QWidget &viewport)
        : m_viewport(viewport)
    {
        viewport.installEventFilter(this);
    }
    ~PaintWatch() override { m_viewport.removeEventFilter(this); }

    int tallestPaint() const { return m_tallest; }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            m_tallest = std::max(m_tallest, static_cast<QPaintEvent *>(event)->region().boundingRect().height());
        return false;
    }

private:
    QWidget &m_viewport;
    int m_tallest = 0;
};

} // namespace

TEST_F(SyntaxColorTest, OnlyTheLinesAroundTheViewAreColoured)
{
    auto view = shownView(manyLines(5000));
    // The lines shown are coloured at the first paint, before any state is known.
    EXPECT_EQ(kindAt(*view, 0, 4), TexSyntax::Kind::ControlSequence);
    EXPECT_EQ(kindAt(*view, 1, 16), TexSyntax::Kind::Math);
    waitUntilIdle(*view);
    EXPECT_EQ(view->highlighter()->analysedLines(), 5000);
    const int page = view->viewport()->height() / view->fontMetrics().lineSpacing() + 2;
    EXPECT_LE(colouredLineCount(*view), 3 * page);
    EXPECT_TRUE(formatsOf(*view, 4000).isEmpty());

    // Far down, the lines shown get their colours and those far above lose theirs.
    view->verticalScrollBar()->setValue(4000);
    QCoreApplication::processEvents();
    EXPECT_EQ(kindAt(*view, 4001, 7), TexSyntax::Kind::ControlSequence);
    waitUntilIdle(*view);
    EXPECT_TRUE(formatsOf(*view, 0).isEmpty());
    EXPECT_LE(colouredLineCount(*view), 3 * page);
}

TEST_F(SyntaxColorTest, PagingAsTheUserDoesColoursThePageBelowAtIdleAndDropsTheFarOnes)
{
    auto view = shownView(manyLines(3000));
    waitUntilIdle(*view);
    const int page = view->viewport()->height() / view->fontMetrics().lineSpacing() + 2;

    // The control pages with its scroll bar's signals blocked, as it does for the
    // keyboard and the wheel.
    for (int step = 0; step < 20; ++step) {
        view->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCoreApplication::processEvents();
    }
    waitUntilIdle(*view);
    QTest::qWait(20);
    const int first = view->firstVisibleLine().blockNumber();
    ASSERT_GT(first, 10 * page);
    // The page below the view is coloured before it is shown, ready for the next
    // page down; the lines paged past long ago have lost their colours.
    EXPECT_EQ(kindAt(*view, first + page + 5, 7), TexSyntax::Kind::ControlSequence);
    EXPECT_TRUE(formatsOf(*view, 2 * page).isEmpty());
    EXPECT_LE(colouredLineCount(*view), 3 * page);
}

TEST_F(SyntaxColorTest, LinesAPaintUncoversAreColouredForIt)
{
    auto view = shownView(manyLines(400));
    waitUntilIdle(*view);
    const int page = view->viewport()->height() / view->fontMetrics().lineSpacing() + 2;
    const int below = 3 * page + 20;
    ASSERT_EQ(kindAt(*view, below, 7), std::nullopt);

    // A window made taller shows lines no scroll brought in; the paint of the
    // strip they come into colours them, down to the last one shown.
    view->resize(view->width(), view->height() * 8);
    QCoreApplication::processEvents();
    int shown = 0;
    while (view->lineTop(view->document()->findBlockByNumber(shown + 1)) < view->viewport()->geometry().bottom())
        ++shown;
    ASSERT_GT(shown, below);
    EXPECT_EQ(kindAt(*view, below, 7), TexSyntax::Kind::ControlSequence);
    EXPECT_EQ(kindAt(*view, shown, 7), TexSyntax::Kind::ControlSequence);
}

TEST_F(SyntaxColorTest, AnEditRecoloursItsLineAtOnceAndTheLinesBelowInSlices)
{
    auto view = shownView(u"前文\n本文 a+b\n\\section{節}\n後"_qs);
    waitUntilIdle(*view);
    EXPECT_EQ(kindAt(*view, 1, 3), std::nullopt);

    typeAt(*view, 0, QStringLiteral("$"));
    EXPECT_EQ(kindAt(*view, 0, 0), TexSyntax::Kind::Math);
    EXPECT_EQ(kindAt(*view, 1, 3), std::nullopt);
    waitUntilIdle(*view);
    EXPECT_EQ(kindAt(*view, 1, 3), TexSyntax::Kind::Math);
    EXPECT_EQ(kindAt(*view, 2, 1), TexSyntax::Kind::Math);

    // A blank line ends the unclosed $ as it ends the paragraph for TeX.
    typeAt(*view, view->document()->findBlockByNumber(2).position(), QString());
    QTest::keyClick(view.get(), Qt::Key_Return);
    waitUntilIdle(*view);
    EXPECT_EQ(kindAt(*view, 1, 3), TexSyntax::Kind::Math);
    EXPECT_EQ(kindAt(*view, 3, 1), TexSyntax::Kind::ControlSequence);

    // An environment spanning lines, its body typed in Japanese.
    view->selectAll();
    view->textCursor().insertText(u"\\begin{align*}\na &= b \\label{式}\n\\end{align*}　本文"_qs);
    waitUntilIdle(*view);
    EXPECT_EQ(kindAt(*view, 0, 7), TexSyntax::Kind::Environment);
    EXPECT_EQ(kindAt(*view, 1, 0), TexSyntax::Kind::Math);
    EXPECT_EQ(kindAt(*view, 1, 14), TexSyntax::Kind::Reference);
    EXPECT_EQ(kindAt(*view, 2, 0), TexSyntax::Kind::ControlSequence);
    EXPECT_EQ(kindAt(*view, 2, 13), std::nullopt);
}

TEST_F(SyntaxColorTest, TheSwitchTurnsColoursAndMarksOffAndIsStored)
{
    auto view = shownView(u"\\section{見出し} {a}"_qs);
    CommandUpdate update;
    view->updateCommand(CommandId::ToggleSyntaxColor, update);
    EXPECT_EQ(update.checked(), true);
    EXPECT_EQ(storedSwitch(), -1);
    EXPECT_FALSE(formatsOf(*view, 0).isEmpty());

    view->executeCommand(CommandId::ToggleSyntaxColor);
    EXPECT_EQ(view->highlighter(), nullptr);
    EXPECT_TRUE(formatsOf(*view, 0).isEmpty());
    EXPECT_EQ(storedSwitch(), 0);
    typeAt(*view, 14, QString());
    EXPECT_TRUE(view->extraSelections().isEmpty());
    view->updateCommand(CommandId::ToggleSyntaxColor, update);
    EXPECT_EQ(update.checked(), false);

    // The next view starts as the last one was left and writes nothing itself.
    m_profile.writeInt(QStringLiteral("ShowSyntaxColor"), QStringLiteral("ShowSyntaxColor"), 7);
    view.reset();
    m_profile.writeInt(QStringLiteral("ShowSyntaxColor"), QStringLiteral("ShowSyntaxColor"), 0);
    auto next = shownView(u"\\section{x}"_qs);
    EXPECT_EQ(next->highlighter(), nullptr);
    EXPECT_TRUE(formatsOf(*next, 0).isEmpty());
    EXPECT_EQ(storedSwitch(), 0);
    next->executeCommand(CommandId::ToggleSyntaxColor);
    EXPECT_EQ(storedSwitch(), 1);
    EXPECT_EQ(kindAt(*next, 0, 1), TexSyntax::Kind::ControlSequence);
}

TEST_F(SyntaxColorTest, BracketBesideTheCaretAndItsPartnerAreMarked)
{
    auto view = shownView(u"\\section{見出し} \\{ {a\n}"_qs);
    typeAt(*view, 9, QString());
    QList<QTextEdit::ExtraSelection> marks = view->extraSelections();
    ASSERT_EQ(marks.size(), 2);
    EXPECT_EQ(marks[0].cursor.selectionStart(), 8);
    EXPECT_EQ(marks[1].cursor.selectionStart(), 12);
    EXPECT_EQ(marks[1].cursor.selectedText(), u"}"_qs);
    EXPECT_EQ(marks[0].format.background().color(), BracketMarker::markColour());

    // Beside an escaped brace there is no mark; beside one whose partner is on the
    // next line there is, from either end.
    typeAt(*view, 15, QString());
    EXPECT_TRUE(view->extraSelections().isEmpty());
    typeAt(*view, 18, QString());
    marks = view->extraSelections();
    ASSERT_EQ(marks.size(), 2);
    EXPECT_EQ(marks[1].cursor.selectionStart(), 20);
    typeAt(*view, 21, QString());
    marks = view->extraSelections();
    ASSERT_EQ(marks.size(), 2);
    EXPECT_EQ(marks[1].cursor.selectionStart(), 17);
}

TEST_F(SyntaxColorTest, AKeystrokeRepaintsAndLaysOutOnlyItsOwnLine)
{
    auto view = shownView(manyLines(200));
    waitUntilIdle(*view);
    QTest::qWait(20);
    ASSERT_TRUE(laidOut(*view, 3));
    const int lineHeight = view->fontMetrics().lineSpacing();

    // Typed in the middle of a coloured line, before its colours: they move on by
    // one, the line below keeps its layout, and only about one line is repainted.
    typeAt(*view, view->document()->findBlockByNumber(2).position() + 2, QString());
    QTest::qWait(20);
    {
        const PaintWatch paints(*view->viewport());
        QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("あ"));
        QCoreApplication::sendEvent(view.get(), &key);
        QTest::qWait(20);
        EXPECT_EQ(kindAt(*view, 2, 4), TexSyntax::Kind::ControlSequence);
        EXPECT_EQ(kindAt(*view, 2, 3), std::nullopt);
        EXPECT_TRUE(laidOut(*view, 3));
        EXPECT_LE(paints.tallestPaint(), 2 * lineHeight);
    }

    // Its end state unchanged, the lines below are neither coloured again nor
    // repainted when the states are brought up to date.
    {
        const PaintWatch paints(*view->viewport());
        waitUntilIdle(*view);
        QTest::qWait(20);
        EXPECT_TRUE(laidOut(*view, 3));
        EXPECT_LE(paints.tallestPaint(), 2 * lineHeight);
    }

    // A "$" that opens math changes every line below, and they are coloured again,
    // a strip of the view at a time, each strip repainted alone.
    typeAt(*view, view->document()->findBlockByNumber(2).position(), QStringLiteral("$"));
    {
        const PaintWatch paints(*view->viewport());
        waitUntilIdle(*view);
        QTest::qWait(20);
        EXPECT_LE(paints.tallestPaint(), (LazyHighlighter::ShownLinesPerSlice + 1) * lineHeight);
    }
    const int lastShown = view->firstVisibleLine().blockNumber() + view->viewport()->height() / lineHeight - 1;
    EXPECT_EQ(kindAt(*view, 3, 0), TexSyntax::Kind::Math);
    EXPECT_EQ(kindAt(*view, lastShown, 0), TexSyntax::Kind::Math);
    EXPECT_TRUE(laidOut(*view, 3));
}

TEST_F(SyntaxColorTest, ColouringThePagesAroundAJumpedToViewDoesNotRepaintIt)
{
    auto view = shownView(manyLines(3000));
    waitUntilIdle(*view);
    view->goToLine(2000);
    QCoreApplication::processEvents();
    const int first = view->firstVisibleLine().blockNumber();
    const int page = view->viewport()->height() / view->fontMetrics().lineSpacing();
    ASSERT_GT(first, 1500);
    ASSERT_EQ(kindAt(*view, first - page + 1, 7), std::nullopt);
    ASSERT_EQ(kindAt(*view, first + 2 * page, 7), std::nullopt);

    // The lines shown were coloured for the paint that showed them; the pages
    // above and below them are coloured at idle without repainting the view.
    const PaintWatch paints(*view->viewport());
    waitUntilIdle(*view);
    QTest::qWait(20);
    EXPECT_EQ(kindAt(*view, first - page + 1, 7), TexSyntax::Kind::ControlSequence);
    EXPECT_EQ(kindAt(*view, first + 2 * page, 7), TexSyntax::Kind::ControlSequence);
    EXPECT_EQ(paints.tallestPaint(), 0);
}

TEST_F(SyntaxColorTest, FormatsSetOutsideAnEditDoNotWidenTheNextEdit)
{
    m_profile.writeInt(QStringLiteral("ShowSyntaxColor"), QStringLiteral("ShowSyntaxColor"), 0);
    auto view = shownView(manyLines(20));
    QTest::qWait(20);
    ASSERT_TRUE(laidOut(*view, 1));

    // Qt would take the coloured first line for text changed there and lay out
    // every line from it down to the next edit again.
    const QTextBlock first = view->document()->firstBlock();
    view->lineLayout().setLineFormats(first, {{0, 2, LazyHighlighter::formatOf(TexSyntax::Kind::Comment)}});
    EXPECT_EQ(first.layout()->formats().size(), 1);
    typeAt(*view, view->document()->findBlockByNumber(5).position(), QStringLiteral("x"));
    for (int line = 1; line < 5; ++line)
        EXPECT_TRUE(laidOut(*view, line)) << line;
    EXPECT_EQ(view->document()->findBlockByNumber(5).text().front(), u'x');

    // A line joined to the one above, a change of the line count, is laid out as before.
    typeAt(*view, view->document()->findBlockByNumber(5).position(), QString());
    QTest::keyClick(view.get(), Qt::Key_Backspace);
    EXPECT_EQ(view->document()->blockCount(), 19);
    EXPECT_TRUE(view->document()->findBlockByNumber(4).text().contains(u"$x"));
}

TEST_F(SyntaxColorTest, AnEditedLineIsLaidOutOnceNotAgainToMeasureItsOldExtent)
{
    auto view = shownView(manyLines(20));
    waitUntilIdle(*view);
    QTest::qWait(20);
    ASSERT_TRUE(laidOut(*view, 2));
    const QRectF before = view->lineLayout().blockBoundingRect(view->document()->findBlockByNumber(2));
    const qreal widthBefore = view->document()->findBlockByNumber(2).layout()->lineAt(0).naturalTextWidth();

    // Told of the edit after the colouring, as the layout is: the line's new
    // colours have dropped its layout, and asking for its extent then must give
    // the extent it had rather than lay it out for the old one.
    bool measured = false;
    QObject::connect(view->document(), &QTextDocument::contentsChange, view.get(), [&] {
        const QTextBlock line = view->document()->findBlockByNumber(2);
        EXPECT_EQ(line.layout()->lineCount(), 0);
        EXPECT_EQ(view->lineLayout().blockBoundingRect(line), before);
        EXPECT_EQ(line.layout()->lineCount(), 0);
        measured = true;
    });
    typeAt(*view, view->document()->findBlockByNumber(2).position() + 2, QString());
    QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("あ"));
    QCoreApplication::sendEvent(view.get(), &key);
    QTest::qWait(20);
    EXPECT_TRUE(measured);
    EXPECT_TRUE(laidOut(*view, 2));
    EXPECT_EQ(kindAt(*view, 2, 4), TexSyntax::Kind::ControlSequence);
    EXPECT_GT(view->document()->findBlockByNumber(2).layout()->lineAt(0).naturalTextWidth(), widthBefore);
}

TEST_F(SyntaxColorTest, TextBeingComposedKeepsItsUnderlineAndTheColoursAfterItMoveOn)
{
    auto view = shownView(u"\\ref{a} x % 注"_qs);
    waitUntilIdle(*view);
    typeAt(*view, 8, QString());
    const QTextBlock line = view->document()->firstBlock();
    const auto rangeAt = [&line](int position) -> std::optional<QTextLayout::FormatRange> {
        for (const QTextLayout::FormatRange &range : line.layout()->formats()) {
            if (position >= range.start && position < range.start + range.length)
                return range;
        }
        return std::nullopt;
    };

    // The input method shows "にほん" at the caret, before "x", underlined.
    QTextCharFormat underline;
    underline.setFontUnderline(true);
    QInputMethodEvent composing(u"にほん"_qs, {{QInputMethodEvent::TextFormat, 0, 3, underline}});
    QCoreApplication::sendEvent(view.get(), &composing);
    QCoreApplication::processEvents();
    ASSERT_EQ(line.layout()->preeditAreaText(), u"にほん"_qs);
    ASSERT_TRUE(rangeAt(8));
    EXPECT_TRUE(rangeAt(8)->format.fontUnderline());
    EXPECT_EQ(rangeAt(10)->start + rangeAt(10)->length, 11);
    EXPECT_EQ(rangeAt(11), std::nullopt);
    EXPECT_EQ(rangeAt(13)->format, LazyHighlighter::formatOf(TexSyntax::Kind::Comment));
    EXPECT_EQ(rangeAt(13)->start, 13);
    EXPECT_EQ(rangeAt(5)->format, LazyHighlighter::formatOf(TexSyntax::Kind::Reference));

    // Committed, the text is the line's own and the colours are where the text is.
    QInputMethodEvent commit(QString(), {});
    commit.setCommitString(u"日本"_qs);
    QCoreApplication::sendEvent(view.get(), &commit);
    QCoreApplication::processEvents();
    EXPECT_EQ(line.text(), u"\\ref{a} 日本x % 注"_qs);
    EXPECT_TRUE(line.layout()->preeditAreaText().isEmpty());
    EXPECT_EQ(rangeAt(5)->format, LazyHighlighter::formatOf(TexSyntax::Kind::Reference));
    EXPECT_EQ(rangeAt(12)->format, LazyHighlighter::formatOf(TexSyntax::Kind::Comment));
    EXPECT_EQ(rangeAt(12)->start, 12);
    for (const QTextLayout::FormatRange &range : line.layout()->formats())
        EXPECT_FALSE(range.format.fontUnderline());

    // Begun inside "\\ref", the composition cuts the control sequence, which is
    // coloured on both sides of it; given up, the line is as it was.
    typeAt(*view, 2, QString());
    QCoreApplication::sendEvent(view.get(), &composing);
    QCoreApplication::processEvents();
    const QTextCharFormat &controlSequence = LazyHighlighter::formatOf(TexSyntax::Kind::ControlSequence);
    EXPECT_EQ(rangeAt(1)->format, controlSequence);
    EXPECT_TRUE(rangeAt(2)->format.fontUnderline());
    EXPECT_EQ(rangeAt(5)->format, controlSequence);
    EXPECT_EQ(rangeAt(6)->start + rangeAt(6)->length, 7);
    EXPECT_EQ(rangeAt(8)->format, LazyHighlighter::formatOf(TexSyntax::Kind::Reference));
    QInputMethodEvent cancel;
    QCoreApplication::sendEvent(view.get(), &cancel);
    QCoreApplication::processEvents();
    EXPECT_EQ(line.text(), u"\\ref{a} 日本x % 注"_qs);
    EXPECT_EQ(rangeAt(2)->format, controlSequence);
    EXPECT_EQ(rangeAt(5)->format, LazyHighlighter::formatOf(TexSyntax::Kind::Reference));
}
