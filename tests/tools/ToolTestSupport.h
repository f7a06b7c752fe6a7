#pragma once

#include "ExternalProgram.h"

#include <QDir>
#include <QString>
#include <QStringList>

// The helper program's arguments as an option template: each one in single quotes,
// so backslash sequences reach the helper as written.
inline ExternalProgram helperProgram(const QStringList &arguments)
{
    QStringList quoted;
    for (const QString &argument : arguments)
        quoted.append(u'\'' + argument + u'\'');
    return ExternalProgram(QStringLiteral("helper"), QStringLiteral(QUILLMERE_CHILD_HELPER), quoted.join(u' '));
}
