#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QLocalServer;
class QLocalSocket;

// Lets the running instances of the program find each other. Each listens on a
// local socket of its own, in the user's runtime directory and open to the user
// alone (mode 0600), named after the program, the user and the process. A new
// instance asks the running ones in turn whether one of them has a file open; the
// one that has it shows the line asked for, and the new instance need not start.
class InstanceChannel : public QObject
{
    Q_OBJECT

public:
    // Shows the line (counted from 1) when this instance has the file open, and
    // says whether it did. The path is canonical.
    using Handler = std::function<bool(const QString &canonicalPath, int line)>;

    InstanceChannel(const QString &programName, Handler handler, QObject *parent = nullptr);
    ~InstanceChannel() override;

    // False when no socket could be made: the instance then works on alone.
    bool listen();
    QString socketPath() const;

    // True when a running instance has the file open and now shows the line.
    static bool askRunningInstances(const QString &programName, const QString &canonicalPath, int line);
    // The socket of the process pid: a name the user's other processes can find.
    static QString socketPathFor(const QString &programName, qint64 pid);

private:
    void answer(QLocalSocket *socket);
    static bool ask(const QString &socketPath, const QByteArray &request);

    QString m_programName;
    Handler m_handler;
    std::unique_ptr<QLocalServer> m_server;
};
