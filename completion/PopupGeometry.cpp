#include "PopupGeometry.h"

#include <algorithm>

QSize PopupGeometry::size(int itemCount, int longestItem, int rowHeight, int averageCharWidth, int frame)
{
    const int rows = std::min(itemCount, MaxRows);
    const int columns = std::min(longestItem, MaxColumns);
    return {columns * averageCharWidth + ScrollBarAllowance + 2 * frame, rows * rowHeight + 2 * frame};
}

QRect PopupGeometry::place(QSize size, const QRect &caret, const QRect &client, int maxCharWidth)
{
    const int clientBottom = client.y() + client.height();
    const int clientRight = client.x() + client.width();

    int top = caret.y() + caret.height();
    if (top + size.height() > clientBottom) {
        top = caret.y() - size.height();
        if (top < client.y())
            top = client.y() + (client.height() - size.height()) / 2;
    }
    int left = caret.x() + CaretGap;
    if (left + size.width() > clientRight)
        left = caret.x() - maxCharWidth - size.width();
    return {QPoint(left, top), size};
}
