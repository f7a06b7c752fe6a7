#include "KpseWhich.h"

#include <QProcess>

QString KpseWhich::find(const QString &name)
{
    const auto known = m_known.constFind(name);
    if (known != m_known.cend())
        return *known;
    QProcess process;
    process.start(QStringLiteral("kpsewhich"), {name});
    QString path;
    if (process.waitForFinished(TimeoutMilliseconds) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0)
        path = QString::fromUtf8(process.readAllStandardOutput()).section(u'\n', 0, 0).trimmed();
    else
        process.kill();
    process.waitForFinished(TimeoutMilliseconds);
    m_known.insert(name, path);
    return path;
}
