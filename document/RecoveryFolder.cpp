#include "RecoveryFolder.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>

namespace {

const QString Suffix = QStringLiteral(".recovery");
const QString DamagedSuffix = QStringLiteral(".damaged");

} // namespace

RecoveryFolder::RecoveryFolder(QString directory)
    : m_directory(std::move(directory))
{
}

QString RecoveryFolder::defaultDirectory()
{
    // Only an absolute path counts; a relative one is to be ignored.
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/quillmere/recovery");
}

QString RecoveryFolder::fileOf(const ProcessIdentity &writer) const
{
    return m_directory + u'/' + QString::number(writer.pid()) + u'-' + QString::number(writer.startTicks()) + Suffix;
}

bool RecoveryFolder::create() const
{
    if (!QDir().mkpath(m_directory))
        return false;
    return QFile::setPermissions(m_directory, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

std::optional<ProcessIdentity> RecoveryFolder::writerOf(const QString &fileName)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d+)-(\\d+)\\.recovery$"));
    const QRegularExpressionMatch match = pattern.match(fileName);
    if (!match.hasMatch())
        return std::nullopt;
    return ProcessIdentity(match.captured(1).toLongLong(), match.captured(2).toULongLong());
}

QString RecoveryFolder::setAside(const QString &filePath)
{
    const QString aside = filePath.left(filePath.size() - Suffix.size()) + DamagedSuffix;
    return QFile::rename(filePath, aside) ? aside : filePath;
}

RecoveryFolder::Scan RecoveryFolder::leftBehind() const
{
    Scan scan;
    const QStringList names = QDir(m_directory).entryList({u'*' + Suffix}, QDir::Files);
    for (const QString &name : names) {
        const std::optional<ProcessIdentity> writer = writerOf(name);
        if (!writer || writer->isRunning())
            continue;
        const QString filePath = m_directory + u'/' + name;
        QFile file(filePath);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        std::optional<RecoveryFile> contents = RecoveryFile::parse(file.readAll());
        file.close();
        if (contents)
            scan.found.push_back({filePath, std::move(*contents)});
        else
            scan.setAside.append(setAside(filePath));
    }
    std::sort(scan.found.begin(), scan.found.end(),
              [](const Found &a, const Found &b) { return a.contents.written > b.contents.written; });
    return scan;
}
