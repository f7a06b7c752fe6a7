#include "LineWindowMetrics.h"

#include <algorithm>

int LineWindowMetrics::fontPixelHeight(int textTwips, double dpi)
{
    return std::max(1, static_cast<int>(dpi * textTwips / 1440.0));
}

int LineWindowMetrics::width(int averageCharWidth)
{
    return 5 * averageCharWidth + 5;
}

int LineWindowMetrics::numberOffset(int textTwips)
{
    return static_cast<int>(textTwips / 90.0);
}

QString LineWindowMetrics::numberText(int lineIndex)
{
    return QString::asprintf("%5d", lineIndex + 1);
}

QColor LineWindowMetrics::colorOf(int colorRef)
{
    return QColor(colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
}
