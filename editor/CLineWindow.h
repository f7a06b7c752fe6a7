#pragma once

#include "LineMark.h"

#include <QColor>
#include <QFont>
#include <QWidget>

#include <vector>

class CUltraEditView;
class QPainter;
class QRectF;
class ProfileStore;

// The line-number gutter: a strip at the left edge of the editor that shows the
// number of each visible line. It keeps only its colour and the places of its
// last paint, and reads what it draws from the editor each time, so its cost
// depends on the visible lines only, never on the length of the document.
class CLineWindow : public QWidget
{
    Q_OBJECT

public:
    // One number as it is drawn: its line, counted from 0, and the top of its
    // cell in the gutter's coordinates.
    struct Label
    {
        int line = 0;
        int top = 0;

        bool operator==(const Label &) const = default;
    };

    // Reads the colour from the settings; the destructor writes it back.
    CLineWindow(CUltraEditView &view, const ProfileStore &profile);
    ~CLineWindow() override;

    // The font of the numbers: the face of the text at the text's height in pixels.
    static QFont fontFor(const QFont &textFont, double dpi);

    QColor background() const;
    // The numbers of the visible lines, from the first visible line down to the
    // last one whose number starts inside the gutter.
    std::vector<Label> labels() const;
    // Repaints when a number or its place differs from the last paint: after a
    // scroll, a new or removed line, or a line that grew or shrank because a
    // character from a taller fallback font came into it. Typing that moves no
    // line costs a comparison of the visible lines' places and no paint.
    void refresh();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void paintMarks(QPainter &painter) const;
    static void paintCross(QPainter &painter, const QRectF &box);
    static void paintExclamation(QPainter &painter, const QRectF &box);

    const CUltraEditView &m_view;
    const ProfileStore &m_profile;
    int m_background;
    std::vector<Label> m_painted;
};
