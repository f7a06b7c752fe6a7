#include "DialogTemplate.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>

#include <algorithm>
#include <cmath>

namespace {

// Room the window manager's title bar takes besides the title: the window menu
// and the buttons at either end.
constexpr int TitleBarControls = 120;

bool showsText(const QWidget *control)
{
    return qobject_cast<const QLabel *>(control) || qobject_cast<const QAbstractButton *>(control)
           || qobject_cast<const QComboBox *>(control) || qobject_cast<const QGroupBox *>(control);
}

// A group box without a layout has no size hint of its own, only the room its
// title needs.
QSize neededSize(const QWidget *control)
{
    const QSize hint = control->sizeHint();
    return hint.isValid() ? hint : control->minimumSizeHint();
}

} // namespace

DialogTemplate::DialogTemplate(QDialog &dialog, const QFont &font, int width, int height)
    : m_dialog(dialog)
    , m_units(font)
    , m_size(m_units.toPixels(0, 0, width, height).size())
{
}

void DialogTemplate::place(QWidget *control, int x, int y, int width, int height)
{
    m_placements.push_back({control, m_units.toPixels(x, y, width, height)});
}

double DialogTemplate::stretch(int (QSize::*extent)() const, int (QRect::*templateExtent)() const) const
{
    double factor = 1.0;
    for (const Placement &placement : m_placements) {
        const int room = (placement.pixels.*templateExtent)();
        if (!showsText(placement.control) || room <= 0)
            continue;
        // One pixel more than asked, so that rounding both edges never takes it away.
        const int needed = (neededSize(placement.control).*extent)() + 1;
        factor = std::max(factor, static_cast<double>(needed) / room);
    }
    return factor;
}

double DialogTemplate::titleStretch() const
{
    const int title = QFontMetrics(QApplication::font()).horizontalAdvance(m_dialog.windowTitle());
    return static_cast<double>(title + TitleBarControls) / std::max(1, m_size.width());
}

QRect DialogTemplate::stretched(const QRect &rect, double across, double down)
{
    const auto scaled = [](int value, double factor) { return static_cast<int>(std::lround(value * factor)); };
    const int left = scaled(rect.left(), across);
    const int top = scaled(rect.top(), down);
    return QRect(left, top, scaled(rect.left() + rect.width(), across) - left,
                 scaled(rect.top() + rect.height(), down) - top);
}

void DialogTemplate::layOut() const
{
    const double across = std::max(stretch(&QSize::width, &QRect::width), titleStretch());
    const double down = stretch(&QSize::height, &QRect::height);
    for (const Placement &placement : m_placements)
        placement.control->setGeometry(stretched(placement.pixels, across, down));
    m_dialog.setFixedSize(stretched(QRect(QPoint(0, 0), m_size), across, down).size());
}
