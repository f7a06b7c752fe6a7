#include "AtomicFileWriter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace {

// The id of a process that has ended and been reaped.
pid_t goneProcess()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

void touch(const QString &path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(1024, 'x'));
}

QString temporaryOf(const QString &name, qint64 process, const char *tail = "Ab12Cd")
{
    return QStringLiteral(".%1.saving-%2-%3").arg(name).arg(process).arg(QLatin1String(tail));
}

} // namespace

TEST(AtomicFileWriter, RemovesOnlyTheTemporariesOfItsTargetThatKilledSavesLeft)
{
    QTemporaryDir dir;
    QProcess running;
    running.start(QStringLiteral("sleep"), {QStringLiteral("60")});
    ASSERT_TRUE(running.waitForStarted());
    const pid_t gone = goneProcess();
    const QString target = dir.filePath(QStringLiteral("paper [1].tex"));

    const QString stale = temporaryOf("paper [1].tex", gone);
    const QStringList kept = {
        temporaryOf("paper [1].tex", running.processId()), // a save still running elsewhere
        temporaryOf("paper [1].tex", ::getpid()),          // one of this process
        temporaryOf("other.tex", gone),                    // another document's
        temporaryOf("paper [1].tex", gone, "Ab12Cd.bak"),  // not our name
        QStringLiteral(".paper [1].tex.Ab12Cd"),           // no writer to ask
        QStringLiteral("paper [1].tex.saving-1-Ab12Cd"),   // not hidden
    };
    touch(dir.filePath(stale));
    for (const QString &name : kept)
        touch(dir.filePath(name));
    ASSERT_TRUE(QDir(dir.path()).mkdir(temporaryOf("paper [1].tex", gone, "Dir123")));

    ASSERT_TRUE(AtomicFileWriter::write(target, "text\n"));
    EXPECT_FALSE(QFile::exists(dir.filePath(stale)));
    for (const QString &name : kept)
        EXPECT_TRUE(QFile::exists(dir.filePath(name))) << name.toStdString();
    EXPECT_TRUE(QDir(dir.filePath(temporaryOf("paper [1].tex", gone, "Dir123"))).exists());
    // The save itself leaves nothing behind, and with the target in place, the
    // stale one made afresh goes on its own too.
    const QStringList after = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(after.size(), kept.size() + 1);
    touch(dir.filePath(stale));
    AtomicFileWriter::removeStaleTemporaries(target);
    EXPECT_FALSE(QFile::exists(dir.filePath(stale)));

    running.kill();
    running.waitForFinished();
}
