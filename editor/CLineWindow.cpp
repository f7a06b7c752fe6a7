#include "CLineWindow.h"

#include "CUltraEditView.h"
#include "FindingColors.h"
#include "LineWindowMetrics.h"
#include "ProfileStore.h"
#include "TwipsConversion.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>

#include <QString>
#include <QTextBlock>
#include <algorithm>

#include <algorithm>

namespace {

const QString ColorSection = QStringLiteral("LineWindowColor");
const QString BackgroundKey = QStringLiteral("Background");

} // namespace

CLineWindow::CLineWindow(CUltraEditView &view, const ProfileStore &profile)
    : QWidget(&view)
    , m_view(view)
    , m_profile(profile)
    , m_background(profile.readInt(ColorSection, BackgroundKey, LineWindowMetrics::DefaultBackground))
{
    // Clicks on the numbers do nothing, and must not reach the text behind them.
    setAttribute(Qt::WA_NoMousePropagation);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CLineWindow::~CLineWindow()
{
    m_profile.writeInt(ColorSection, BackgroundKey, m_background);
}

QFont CLineWindow::fontFor(const QFont &textFont, double dpi)
{
    // The height is that of the whole cell, ascent and descent together, while a
    // pixel size sets only the em: the size is brought down until the cell fits.
    const int cell = LineWindowMetrics::fontPixelHeight(TwipsConversion::twipsOf(textFont, dpi), dpi);
    QFont font(textFont.family());
    font.setPixelSize(cell);
    const int natural = QFontMetrics(font).height();
    if (natural <= cell)
        return font;
    int size = std::max(1, cell * cell / natural);
    font.setPixelSize(size);
    while (size > 1 && QFontMetrics(font).height() > cell)
        font.setPixelSize(--size);
    return font;
}

QColor CLineWindow::background() const
{
    return LineWindowMetrics::colorOf(m_background);
}

std::vector<CLineWindow::Label> CLineWindow::labels() const
{
    const int offset = LineWindowMetrics::numberOffset(TwipsConversion::twipsOf(m_view.font(), m_view.logicalDpiY()));
    std::vector<Label> labels;
    QTextBlock line = m_view.firstVisibleLine();
    qreal lineTop = m_view.lineTop(line) - y();
    for (int index = line.blockNumber(); line.isValid(); line = line.next(), ++index) {
        const int top = static_cast<int>(lineTop) + offset;
        if (top > rect().bottom())
            break;
        labels.push_back(Label{index, top});
        lineTop += m_view.lineHeight(line);
    }
    return labels;
}

void CLineWindow::refresh()
{
    if (labels() != m_painted)
        update();
}

void CLineWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QColor fill = background();
    painter.fillRect(rect(), fill);
    painter.setFont(fontFor(m_view.font(), m_view.logicalDpiY()));
    painter.setPen(Qt::black);
    painter.setBackground(fill);
    painter.setBackgroundMode(Qt::OpaqueMode);
    const int ascent = painter.fontMetrics().ascent();
    m_painted = labels();
    for (const Label &label : m_painted)
        painter.drawText(QPoint(0, label.top + ascent), LineWindowMetrics::numberText(label.line));
    paintMarks(painter);
}

// A mark sits in the first of the five places, which stays blank for numbers
// below 10000. Errors get a cross and warnings an exclamation mark, so the
// colour is never the only sign.
void CLineWindow::paintMarks(QPainter &painter) const
{
    const std::map<int, LineMark> marks = m_view.lineMarks();
    if (marks.empty())
        return;
    const QFontMetrics metrics = painter.fontMetrics();
    const int side = std::max(5, std::min(metrics.averageCharWidth(), metrics.ascent()));
    painter.setRenderHint(QPainter::Antialiasing);
    for (const Label &label : m_painted) {
        const auto mark = marks.find(label.line);
        if (mark == marks.end())
            continue;
        const QRectF box(1, label.top + (metrics.ascent() - side) / 2.0 + 1, side, side);
        if (mark->second == LineMark::Error)
            paintCross(painter, box);
        else
            paintExclamation(painter, box);
    }
}

void CLineWindow::paintCross(QPainter &painter, const QRectF &box)
{
    painter.setPen(QPen(FindingColors::error(), 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(box.topLeft(), box.bottomRight());
    painter.drawLine(box.topRight(), box.bottomLeft());
}

void CLineWindow::paintExclamation(QPainter &painter, const QRectF &box)
{
    const qreal x = box.center().x();
    painter.setPen(QPen(FindingColors::warning(), 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(x, box.top()), QPointF(x, box.bottom() - box.height() / 3));
    painter.drawPoint(QPointF(x, box.bottom()));
}
