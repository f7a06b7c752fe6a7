#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Size and place of the completion popup, in the coordinates of the editor that
// holds it. Kept apart from the widget so the rules are checked without a window.
class PopupGeometry
{
public:
    static constexpr int MaxRows = 10;
    static constexpr int MaxColumns = 20;
    // Room for the vertical scroll bar beside the widest item.
    static constexpr int ScrollBarAllowance = 20;
    // Gap between the caret and the popup's left edge.
    static constexpr int CaretGap = 5;

    // At most MaxRows rows and MaxColumns average characters; frame is the width of
    // the popup's border on each side.
    static QSize size(int itemCount, int longestItem, int rowHeight, int averageCharWidth, int frame);

    // Below the caret's line; above it when that would cross the bottom of client;
    // centred vertically when neither fits. Right of the caret, or left of it by
    // maxCharWidth when that would cross the right edge.
    static QRect place(QSize size, const QRect &caret, const QRect &client, int maxCharWidth);
};
