#pragma once

#include "DialogUnits.h"

#include <QRect>
#include <QSize>

#include <vector>

class QDialog;
class QWidget;

// Places a dialog's controls at their template rectangles, given in dialog units.
// The rectangles were drawn for the narrow fonts of another desktop; where a text
// needs more room in the font used here, the whole arrangement is stretched evenly,
// across and down, until every label, box and button is at least as large as its
// own text asks, and the dialog grows with it, wide enough for its title too.
class DialogTemplate
{
public:
    // width and height: the dialog's client area in dialog units.
    DialogTemplate(QDialog &dialog, const QFont &font, int width, int height);

    void place(QWidget *control, int x, int y, int width, int height);
    // Sets every control's geometry and the dialog's fixed size; call it once all
    // controls are placed.
    void layOut() const;

private:
    struct Placement
    {
        QWidget *control;
        QRect pixels;
    };

    double stretch(int (QSize::*extent)() const, int (QRect::*templateExtent)() const) const;
    double titleStretch() const;
    static QRect stretched(const QRect &rect, double across, double down);

    QDialog &m_dialog;
    DialogUnits m_units;
    QSize m_size;
    std::vector<Placement> m_placements;
};
