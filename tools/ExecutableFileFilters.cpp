#include "ExecutableFileFilters.h"

QStringList ExecutableFileFilters(const QString &resourceFilter)
{
    const QStringList parts = resourceFilter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        filters.append(parts[i] + QStringLiteral(" (*)"));
    }
    return filters;
}
