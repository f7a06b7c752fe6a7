#pragma once

#include <QColor>

// The colours of what the tools reported, alike in the console and the gutter:
// red for errors, a dark amber for warnings that stays readable on white.
namespace FindingColors {

inline QColor error()
{
    return QColor(200, 0, 0);
}

inline QColor warning()
{
    return QColor(150, 90, 0);
}

} // namespace FindingColors
