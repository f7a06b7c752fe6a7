#include "ShapedCaretLines.h"

#include <QImage>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>

namespace {

std::vector<QTextBlock> linesAround(const QTextBlock &line)
{
    std::vector<QTextBlock> lines;
    for (const QTextBlock &candidate : {line.previous(), line, line.next()}) {
        if (candidate.isValid())
            lines.push_back(candidate);
    }
    return lines;
}

// A layout lets its glyphs go at the end of a draw unless it keeps them; a draw
// whose clip meets none of its lines does only that.
void releaseGlyphs(QTextLayout &layout)
{
    layout.setCacheEnabled(false);
    if (layout.lineCount() == 0)
        return;
    QImage scratch(1, 1, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&scratch);
    const QRectF aboveEveryLine(0, layout.position().y() - 2, 1, 1);
    layout.draw(&painter, QPointF(), {}, aboveEveryLine);
}

} // namespace

void ShapedCaretLines::follow(const QTextBlock &caretLine)
{
    if (!m_caretLine.isNull() && m_caretLine.block() == caretLine)
        return;
    m_caretLine = QTextCursor(caretLine);
    const std::vector<QTextBlock> lines = linesAround(caretLine);
    std::vector<QTextCursor> kept;
    kept.reserve(lines.size());
    for (const QTextBlock &line : lines) {
        line.layout()->setCacheEnabled(true);
        kept.emplace_back(line);
    }
    for (const QTextCursor &before : m_kept) {
        const QTextBlock line = before.block();
        if (line.isValid() && std::find(lines.begin(), lines.end(), line) == lines.end())
            releaseGlyphs(*line.layout());
    }
    m_kept = std::move(kept);
}
