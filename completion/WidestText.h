#pragma once

#include <QStringList>

class QFontMetrics;

// The width of the widest of many texts, such as the notes beside the keys of a
// large bibliography, without laying out every one of them: laying out thousands
// of Japanese titles takes long enough to be felt when a list opens.
class WidestText
{
public:
    // The largest horizontalAdvance of texts in metrics' font; 0 when there are none.
    static int width(const QStringList &texts, const QFontMetrics &metrics);
};
