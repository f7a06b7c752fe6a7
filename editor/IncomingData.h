#pragma once

#include <QStringList>

class QMimeData;

// What the editor makes of pasted or dragged data. Local files are opened, never
// inserted, even though a file manager's drag carries their names as text too;
// only data that carries text is inserted; anything else is refused.
class IncomingData
{
public:
    static QStringList localFiles(const QMimeData &data);
    static bool offersText(const QMimeData &data);
};
