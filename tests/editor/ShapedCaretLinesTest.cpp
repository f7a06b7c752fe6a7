#include "ShapedCaretLines.h"

#include <QImage>
#include <QPainter>
#include <QPlainTextDocumentLayout>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <gtest/gtest.h>

namespace {

// The lines whose layouts keep their glyphs, by number.
std::vector<int> keptLines(const QTextDocument &document)
{
    std::vector<int> kept;
    for (QTextBlock line = document.firstBlock(); line.isValid(); line = line.next()) {
        if (line.layout()->cacheEnabled())
            kept.push_back(line.blockNumber());
    }
    return kept;
}

QImage drawn(const QTextBlock &line)
{
    QImage image(300, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    line.layout()->draw(&painter, QPointF(0, 0));
    return image;
}

} // namespace

TEST(ShapedCaretLinesTest, TheCaretsLineAndItsNeighboursKeepTheirGlyphsAndTheRestLetThemGo)
{
    QTextDocument document;
    document.setDocumentLayout(new QPlainTextDocumentLayout(&document));
    document.setPlainText(QStringLiteral("行0 \\section{節}\n行1\n行2 $x$\n行3\n行4\n行5"));
    // Laid out as the view lays out the lines it shows.
    for (QTextBlock line = document.firstBlock(); line.isValid(); line = line.next())
        document.documentLayout()->blockBoundingRect(line);
    const QImage before = drawn(document.findBlockByNumber(1));

    ShapedCaretLines shaped;
    shaped.follow(document.findBlockByNumber(2));
    EXPECT_EQ(keptLines(document), (std::vector<int>{1, 2, 3}));
    shaped.follow(document.findBlockByNumber(5));
    EXPECT_EQ(keptLines(document), (std::vector<int>{4, 5}));
    shaped.follow(document.firstBlock());
    EXPECT_EQ(keptLines(document), (std::vector<int>{0, 1}));

    // A line let go still has its layout and draws as before.
    shaped.follow(document.findBlockByNumber(4));
    EXPECT_EQ(document.findBlockByNumber(1).layout()->lineCount(), 1);
    EXPECT_EQ(drawn(document.findBlockByNumber(1)), before);

    // Lines added above move the kept lines down with their text: only lines
    // kept before and no longer beside the caret are let go.
    QTextCursor(&document).insertText(QStringLiteral("新0\n新1\n"));
    EXPECT_EQ(keptLines(document), (std::vector<int>{5, 6, 7}));
    shaped.follow(document.findBlockByNumber(7));
    EXPECT_EQ(keptLines(document), (std::vector<int>{6, 7}));
}
