#pragma once

#include <QColor>
#include <QString>

// The arithmetic of the line-number gutter, apart from any window: its font
// height, its width, where a number stands against its line and how it reads.
class LineWindowMetrics
{
public:
    // The gutter's background when the settings name none: a pale pink.
    static constexpr int DefaultBackground = 16118015;

    // The gutter font's pixel height for a text font of the given height. It is
    // matched against the whole cell, so the digits come out a little smaller than
    // the text; never below one pixel, however small the text font.
    static int fontPixelHeight(int textTwips, double dpi);
    // Five average characters and five pixels: room for "%5d" and a small gap.
    static int width(int averageCharWidth);
    // How far a number sits below the top of its line's first character.
    static int numberOffset(int textTwips);
    // The number of a line counted from 0, shown counting from 1.
    static QString numberText(int lineIndex);
    // A colour stored as 0x00BBGGRR, red in the low byte.
    static QColor colorOf(int colorRef);
};
