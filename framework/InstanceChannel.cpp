#include "InstanceChannel.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include <unistd.h>

namespace {

// A hung instance must not keep a new one from starting for long.
constexpr int ConnectMilliseconds = 1000;
constexpr int AnswerMilliseconds = 3000;
constexpr qint64 MaxRequestLength = 16 * 1024;

QString socketPrefix(const QString &programName)
{
    return programName + QStringLiteral("-%1-").arg(::getuid());
}

QString socketDirectory()
{
    // Qt makes sure the directory belongs to the user and is closed to others.
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

// A request is one line: the line number, a tab, the canonical path.
QByteArray requestFor(const QString &canonicalPath, int line)
{
    return QByteArray::number(line) + '\t' + canonicalPath.toUtf8() + '\n';
}

} // namespace

InstanceChannel::InstanceChannel(const QString &programName, Handler handler, QObject *parent)
    : QObject(parent)
    , m_programName(programName)
    , m_handler(std::move(handler))
{
}

InstanceChannel::~InstanceChannel() = default;

QString InstanceChannel::socketPathFor(const QString &programName, qint64 pid)
{
    return socketDirectory() + u'/' + socketPrefix(programName) + QString::number(pid);
}

QString InstanceChannel::socketPath() const
{
    return socketPathFor(m_programName, QCoreApplication::applicationPid());
}

bool InstanceChannel::listen()
{
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket left by a crashed process of the same id is in the way.
    QLocalServer::removeServer(socketPath());
    if (!m_server->listen(socketPath())) {
        m_server.reset();
        return false;
    }
    // Qt leaves the socket executable for the user as well; nothing needs that.
    QFile::setPermissions(socketPath(), QFile::ReadOwner | QFile::WriteOwner);
    connect(m_server.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { answer(socket); });
        }
    });
    return true;
}

void InstanceChannel::answer(QLocalSocket *socket)
{
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > MaxRequestLength)
            socket->abort();
        return;
    }
    const QByteArray request = socket->readLine(MaxRequestLength).trimmed();
    const qsizetype tab = request.indexOf('\t');
    bool isNumber = false;
    const int line = request.left(tab).toInt(&isNumber);
    const bool shown = tab > 0 && isNumber && line > 0 && m_handler(QString::fromUtf8(request.mid(tab + 1)), line);
    socket->write(shown ? "yes\n" : "no\n");
    socket->disconnectFromServer();
}

bool InstanceChannel::askRunningInstances(const QString &programName, const QString &canonicalPath, int line)
{
    const QDir directory(socketDirectory());
    const QString own = socketPrefix(programName) + QString::number(QCoreApplication::applicationPid());
    const QByteArray request = requestFor(canonicalPath, line);
    for (const QString &name : directory.entryList({socketPrefix(programName) + u'*'}, QDir::System)) {
        if (name != own && ask(directory.filePath(name), request))
            return true;
    }
    return false;
}

bool InstanceChannel::ask(const QString &socketPath, const QByteArray &request)
{
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(ConnectMilliseconds)) {
        // Nobody listens: the instance that made it has ended without removing it.
        if (socket.error() == QLocalSocket::ConnectionRefusedError)
            QFile::remove(socketPath);
        return false;
    }
    socket.write(request);
    if (!socket.waitForBytesWritten(ConnectMilliseconds))
        return false;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(AnswerMilliseconds))
            return false;
    }
    return socket.readLine().trimmed() == "yes";
}
