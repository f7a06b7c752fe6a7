#include "LineColumnText.h"

#include "StringTable.h"

QString LineColumnText::of(int lineIndex, int columnIndex)
{
    const QByteArray format = StringTable::text(StringTable::LineColumnFormat).toUtf8();
    return QString::asprintf(format.constData(), static_cast<unsigned>(lineIndex + 1),
                             static_cast<unsigned>(columnIndex + 1));
}
