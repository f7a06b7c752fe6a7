#pragma once

#include <QDir>
#include <QFile>
#include <QString>

// Makes a stand-in executable file, so that the start-up finds a real path.
inline QString makeExecutable(const QString &directory, const QString &name)
{
    QDir().mkpath(directory);
    const QString path = directory + '/' + name;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write("#!/bin/sh\n");
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    return path;
}
