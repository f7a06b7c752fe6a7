#include "EditorFixture.h"

#include "CLineWindow.h"
#include "CommandIds.h"
#include "LineWindowMetrics.h"
#include "TwipsConversion.h"

#include <QFontMetrics>
#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

namespace {

// Counts the paints of a widget.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget *widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

class LineWindowTest : public EditorFixture
{
protected:
    void storeShown(int shown) const
    {
        m_profile.writeInt(QStringLiteral("ShowLineNumber"), QStringLiteral("ShowLineNumber"), shown);
    }

    int storedShown() const { return storedInt(QStringLiteral("ShowLineNumber"), QStringLiteral("ShowLineNumber")); }

    static QString lines(int count)
    {
        QStringList numbered;
        for (int i = 1; i <= count; ++i)
            numbered.append(QString::number(i));
        return numbered.join(u'\n');
    }

    static std::unique_ptr<CUltraEditView> shown(std::unique_ptr<CUltraEditView> view)
    {
        view->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        return view;
    }

    static bool inkInColumn(const QImage &image, int x, int top, int bottom)
    {
        for (int y = std::max(0, top); y < std::min(image.height(), bottom); ++y) {
            if (qGray(image.pixel(x, y)) < 128)
                return true;
        }
        return false;
    }
};

TEST_F(LineWindowTest, MetricsOfTheGutter)
{
    EXPECT_EQ(LineWindowMetrics::fontPixelHeight(200, 96), 13);
    EXPECT_EQ(LineWindowMetrics::fontPixelHeight(200, 120), 16);
    EXPECT_EQ(LineWindowMetrics::fontPixelHeight(1, 96), 1);
    EXPECT_EQ(LineWindowMetrics::width(7), 40);
    EXPECT_EQ(LineWindowMetrics::numberOffset(200), 2);
    EXPECT_EQ(LineWindowMetrics::numberOffset(179), 1);
    EXPECT_EQ(LineWindowMetrics::numberText(0), QStringLiteral("    1"));
    EXPECT_EQ(LineWindowMetrics::numberText(123455), QStringLiteral("123456"));
    EXPECT_EQ(LineWindowMetrics::colorOf(16118015), QColor(255, 240, 245));
    EXPECT_EQ(LineWindowMetrics::colorOf(0xFF0000), QColor(0, 0, 255));
}

TEST_F(LineWindowTest, TheGutterSitsLeftOfTheTextAndAnEmptyDocumentShowsOne)
{
    auto view = shown(makeView());
    CLineWindow *gutter = view->lineWindow();
    ASSERT_NE(gutter, nullptr);
    const QFont numbers = CLineWindow::fontFor(view->font(), view->logicalDpiY());
    EXPECT_EQ(numbers.family(), view->font().family());
    // The whole cell of the digits is as high as the text's characters, so the
    // digits come out a little smaller than the text beside them.
    const int cell = LineWindowMetrics::fontPixelHeight(TwipsConversion::twipsOf(view->font(), view->logicalDpiY()),
                                                        view->logicalDpiY());
    EXPECT_LE(QFontMetrics(numbers).height(), cell);
    EXPECT_GE(QFontMetrics(numbers).height(), cell * 3 / 4);
    EXPECT_LT(numbers.pixelSize(), cell);
    EXPECT_EQ(view->lineWindowWidth(), 5 * QFontMetrics(numbers).averageCharWidth() + 5);
    EXPECT_EQ(gutter->geometry(), QRect(view->contentsRect().left(), view->viewport()->y(), view->lineWindowWidth(),
                                        view->viewport()->height()));
    EXPECT_EQ(view->viewport()->x(), gutter->geometry().right() + 1);

    const auto labels = gutter->labels();
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0].line, 0);
    EXPECT_EQ(LineWindowMetrics::numberText(labels[0].line), QStringLiteral("    1"));
    EXPECT_EQ(storedShown(), 1);

    // The gutter follows the text area when the view is resized.
    view->resize(300, 500);
    EXPECT_EQ(gutter->height(), view->viewport()->height());
}

TEST_F(LineWindowTest, TheColourComesFromTheSettingsAndIsWrittenBackUnchanged)
{
    {
        auto view = shown(makeView());
        const QImage image = view->lineWindow()->grab().toImage();
        EXPECT_EQ(QColor(image.pixel(image.width() - 1, image.height() - 1)), QColor(255, 240, 245));
    }
    EXPECT_EQ(storedInt(QStringLiteral("LineWindowColor"), QStringLiteral("Background")), 16118015);

    m_profile.writeInt(QStringLiteral("LineWindowColor"), QStringLiteral("Background"), 16777215);
    {
        auto view = shown(makeView());
        const QImage image = view->lineWindow()->grab().toImage();
        EXPECT_EQ(QColor(image.pixel(image.width() - 1, image.height() - 1)), QColor(Qt::white));
        // The numbers are black on cells of the background, with no other colour.
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor pixel(image.pixel(x, y));
                ASSERT_TRUE(pixel.red() == pixel.green() && pixel.green() == pixel.blue()) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(storedInt(QStringLiteral("LineWindowColor"), QStringLiteral("Background")), 16777215);
}

TEST_F(LineWindowTest, NumbersFollowScrollingAndStandAtTheirLines)
{
    auto view = shown(makeView(lines(300)));
    CLineWindow *gutter = view->lineWindow();
    ASSERT_NE(gutter, nullptr);
    view->verticalScrollBar()->setValue(50);
    const auto labels = gutter->labels();
    ASSERT_GT(labels.size(), 3u);
    EXPECT_EQ(labels.front().line, 50);
    const int offset = LineWindowMetrics::numberOffset(TwipsConversion::twipsOf(view->font(), view->logicalDpiY()));
    QTextBlock line = view->document()->findBlockByNumber(50);
    for (const auto &label : labels) {
        const QRect caret = view->cursorRect(QTextCursor(line));
        EXPECT_EQ(label.line, line.blockNumber());
        EXPECT_EQ(label.top, caret.top() + offset) << label.line;
        EXPECT_LE(label.top, gutter->height());
        line = line.next();
    }

    // Moving the caret by keyboard scrolls too, and the numbers follow it.
    QTest::keyClick(view.get(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(gutter->labels().back().line, 299);
}

TEST_F(LineWindowTest, TheGutterRepaintsWhenANumberAppearsGoesOrMovesOnly)
{
    auto view = shown(makeView(lines(5)));
    PaintCounter paints(view->lineWindow());
    QApplication::processEvents();
    paints.count = 0;

    QTest::keyClicks(view.get(), QStringLiteral("abc"));
    QApplication::processEvents();
    EXPECT_EQ(paints.count, 0);

    QTest::keyClick(view.get(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(paints.count, 1);
    EXPECT_EQ(view->lineWindow()->labels().size(), 6u);
    QTest::keyClick(view.get(), Qt::Key_Backspace);
    QApplication::processEvents();
    EXPECT_EQ(paints.count, 2);
    EXPECT_EQ(view->lineWindow()->labels().size(), 5u);

    // In a full view a new line leaves every visible number where it was.
    view->setPlainText(lines(300));
    QApplication::processEvents();
    paints.count = 0;
    QTest::keyClick(view.get(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(paints.count, 0);

    const QPointF inside(50, 50);
    QWheelEvent wheel(inside, view->viewport()->mapToGlobal(inside), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &wheel);
    QApplication::processEvents();
    EXPECT_GT(view->verticalScrollBar()->value(), 0);
    EXPECT_EQ(paints.count, 1);
    EXPECT_EQ(view->lineWindow()->labels().front().line, view->verticalScrollBar()->value());
}

TEST_F(LineWindowTest, ALineGrownByATallerFallbackFontMovesTheNumbersBelowIt)
{
    auto view = shown(makeView(lines(50)));
    CLineWindow *gutter = view->lineWindow();
    PaintCounter paints(gutter);
    QApplication::processEvents();
    paints.count = 0;
    const QTextBlock second = view->document()->findBlockByNumber(1);
    const qreal before = view->lineTop(second);

    select(*view, 0, 0);
    view->insertPlainText(QStringLiteral("あ"));
    QApplication::processEvents();
    if (view->lineTop(second) == before)
        GTEST_SKIP() << "the fonts here give Japanese and Latin lines the same height";
    EXPECT_EQ(paints.count, 1);
    const int offset = LineWindowMetrics::numberOffset(TwipsConversion::twipsOf(view->font(), view->logicalDpiY()));
    EXPECT_EQ(gutter->labels()[1].top, view->cursorRect(QTextCursor(second)).top() + offset);
}

TEST_F(LineWindowTest, SixDigitNumbersAreCutAtTheGuttersEdge)
{
    // At a large size the average character, which sets the width, and the digits
    // differ by enough that six digits no longer fit.
    m_profile.writeInt(QStringLiteral("DisplayFont"), QStringLiteral("Size"), 600);
    auto view = shown(makeView(lines(100'020)));
    CLineWindow *gutter = view->lineWindow();
    ASSERT_NE(gutter, nullptr);
    const int width = view->lineWindowWidth();
    const QFontMetrics numbers(CLineWindow::fontFor(view->font(), view->logicalDpiY()));
    ASSERT_GT(numbers.horizontalAdvance(QStringLiteral("100000")), width);
    view->verticalScrollBar()->setValue(99'995);
    EXPECT_EQ(gutter->width(), width);

    const QImage image = gutter->grab().toImage();
    const int height = numbers.height();
    bool fiveDigitsTouch = false;
    bool sixDigitsTouch = false;
    for (const auto &label : gutter->labels()) {
        const bool touches = inkInColumn(image, image.width() - 1, label.top, label.top + height);
        (label.line + 1 >= 100'000 ? sixDigitsTouch : fiveDigitsTouch) |= touches;
    }
    EXPECT_FALSE(fiveDigitsTouch);
    EXPECT_TRUE(sixDigitsTouch);
}

TEST_F(LineWindowTest, ShowingAndHidingWritesTheChoiceAndAStoredNoStartsWithoutAGutter)
{
    storeShown(0);
    auto view = makeView(QStringLiteral("text"));
    const QString path = m_profile.path();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    EXPECT_EQ(view->lineWindow(), nullptr);
    EXPECT_EQ(view->viewport()->x(), view->contentsRect().left());

    CommandUpdate update;
    view->updateCommand(CommandId::ToggleLineNumbers, update);
    EXPECT_EQ(update.checked(), false);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    file.close();

    view->executeCommand(CommandId::ToggleLineNumbers);
    ASSERT_NE(view->lineWindow(), nullptr);
    EXPECT_EQ(storedShown(), 1);
    view->updateCommand(CommandId::ToggleLineNumbers, update);
    EXPECT_EQ(update.checked(), true);
    EXPECT_EQ(view->viewport()->x(), view->contentsRect().left() + view->lineWindowWidth());

    view->executeCommand(CommandId::ToggleLineNumbers);
    EXPECT_EQ(view->lineWindow(), nullptr);
    EXPECT_EQ(storedShown(), 0);
    EXPECT_EQ(view->viewport()->x(), view->contentsRect().left());

    // The view's end writes the font but not the choice.
    storeShown(7);
    view.reset();
    EXPECT_EQ(storedShown(), 7);
}

} // namespace
