#include "CrashRecovery.h"
#include "DocumentFixture.h"
#include "StringTable.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int ShortDelayMs = 20;

class CrashRecoveryTest : public DocumentFixture
{
protected:
    CrashRecoveryTest()
        : folder(dir.filePath("state/quillmere/recovery"))
        , recovery(std::make_unique<CrashRecovery>(*document, editor->document(), folder.directory(), ShortDelayMs))
    {
        answers.answerWith(QMessageBox::Yes);
    }

    // Each character as a key of its own, as an input method delivers it.
    void type(const QString &text)
    {
        editor->moveCursor(QTextCursor::End);
        for (const QChar character : text) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(character));
            QApplication::sendEvent(editor, &key);
        }
    }

    // Lets the delay pass and the writer finish.
    void waitForRecoveryFile()
    {
        QTest::qWait(3 * ShortDelayMs);
        recovery->waitForWrites();
    }

    std::optional<RecoveryFile> ownRecoveryFile() const
    {
        QFile file(recovery->filePath());
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return RecoveryFile::parse(file.readAll());
    }

    // A recovery file as a program that has gone would have left it: same process
    // id as this one, another start, so it counts as another process.
    QString leaveRecoveryFile(const QString &documentPath, const QByteArray &text, const QDateTime &written,
                              quint64 startOffset = 1) const
    {
        const ProcessIdentity self = ProcessIdentity::current();
        RecoveryFile file;
        file.documentPath = documentPath;
        file.displayEncoding = EncodingFlags(TextEncoding::EucJp, false, NewlineCode::CrLf);
        file.saveEncoding = EncodingFlags(TextEncoding::ShiftJis, false, NewlineCode::CrLf);
        file.writer = ProcessIdentity(self.pid(), self.startTicks() + startOffset);
        file.written = written;
        file.text = text;
        folder.create();
        const QString path = folder.fileOf(file.writer);
        QFile out(path);
        out.open(QIODevice::WriteOnly);
        out.write(file.serialize());
        return path;
    }

    RecoveryFolder folder;
    std::unique_ptr<CrashRecovery> recovery;
};

TEST_F(CrashRecoveryTest, UnsavedTextIsWrittenPrivatelyAndGoesWithTheSave)
{
    const QString path = writeFile("paper.tex", QString::fromUtf8("本文\n").toUtf8());
    ASSERT_TRUE(manager->OpenDocumentFile(path));
    EXPECT_FALSE(QFile::exists(recovery->filePath()));

    type(QString::fromUtf8("追記です"));
    editor->moveCursor(QTextCursor::Start);
    QTest::keyClick(editor, Qt::Key_Return);
    waitForRecoveryFile();
    std::optional<RecoveryFile> written = ownRecoveryFile();
    ASSERT_TRUE(written);
    EXPECT_EQ(QString::fromUtf8(written->text), QString::fromUtf8("\n本文\n追記です"));
    EXPECT_EQ(written->documentPath, path);
    EXPECT_EQ(written->writer, ProcessIdentity::current());
    EXPECT_EQ(written->saveEncoding, document->SaveEncoding());
    struct stat status = {};
    ASSERT_EQ(::stat(QFile::encodeName(recovery->filePath()).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0600u);

    // Typing on keeps the file up to date without waiting for a pause.
    type("x");
    waitForRecoveryFile();
    EXPECT_TRUE(ownRecoveryFile()->text.endsWith("x"));

    ASSERT_TRUE(manager->DoFileSave());
    recovery->waitForWrites();
    EXPECT_FALSE(QFile::exists(recovery->filePath()));
}

TEST_F(CrashRecoveryTest, LargeChangesAndNewDocumentsAreFollowedToo)
{
    ASSERT_TRUE(document->OnNewDocument());
    const QString pasted = QString(200000, u'漢') + u'\n' + QString(1000, u'a');
    editor->insertPlainText(pasted);
    waitForRecoveryFile();
    ASSERT_TRUE(ownRecoveryFile());
    EXPECT_EQ(ownRecoveryFile()->text, pasted.toUtf8());
    EXPECT_TRUE(ownRecoveryFile()->documentPath.isEmpty());

    // Giving the changes up, as "don't save" or a new document does, removes it.
    ASSERT_TRUE(document->OnNewDocument());
    recovery->waitForWrites();
    EXPECT_FALSE(QFile::exists(recovery->filePath()));

    type("y");
    waitForRecoveryFile();
    ASSERT_TRUE(QFile::exists(recovery->filePath()));
    recovery->discard();
    EXPECT_FALSE(QFile::exists(recovery->filePath()));
}

TEST_F(CrashRecoveryTest, ALargePasteIntoTheMiddleIsFollowedInTheCopy)
{
    const QString original = QString(100000, u'前') + u'\n' + QString(100000, u'後') + u'\n';
    const QString path = writeFile("paper.tex", original.toUtf8());
    ASSERT_TRUE(manager->OpenDocumentFile(path));
    const QString pasted = QString(150000, u'中') + u'\n';
    QTextCursor middle(editor->document());
    middle.setPosition(100001);
    middle.insertText(pasted);
    middle.setPosition(5);
    middle.setPosition(200005, QTextCursor::KeepAnchor);
    middle.removeSelectedText();
    waitForRecoveryFile();
    ASSERT_TRUE(ownRecoveryFile());
    EXPECT_EQ(QString::fromUtf8(ownRecoveryFile()->text), QString(original).insert(100001, pasted).remove(5, 200000));
}

TEST_F(CrashRecoveryTest, CharactersSplitBetweenThePiecesOfTheCopyAreWrittenWhole)
{
    ASSERT_TRUE(document->OnNewDocument());
    // The copy is held in pieces of 32,768 characters: the emoji's two halves fall
    // into two of them, and the line ends are the editor's paragraph separators.
    const QString emoji = QString::fromUtf8("😀");
    const QString pasted = QString(32767, u'a') + emoji + QString(40000, u'b') + u'\n' + QString(70000, u'あ') + emoji;
    editor->insertPlainText(pasted);
    waitForRecoveryFile();
    ASSERT_TRUE(ownRecoveryFile());
    EXPECT_EQ(ownRecoveryFile()->text, pasted.toUtf8());

    // A small change is followed in the copy itself, here across the first seam.
    QTextCursor seam(editor->document());
    seam.setPosition(32767);
    seam.insertText(emoji + u'x');
    waitForRecoveryFile();
    ASSERT_TRUE(ownRecoveryFile());
    EXPECT_EQ(ownRecoveryFile()->text, (QString(pasted).insert(32767, emoji + u'x')).toUtf8());
}

TEST_F(CrashRecoveryTest, ALeftFileIsOfferedAndRestoredAsUnsavedChanges)
{
    const QString path = writeFile("paper.tex", "old\n");
    const QString left = leaveRecoveryFile(path, QString::fromUtf8("復元された本文\n").toUtf8(),
                                           QDateTime::currentDateTimeUtc().addSecs(5));

    ASSERT_TRUE(manager->OpenDocumentFile(path));
    ASSERT_TRUE(recovery->offerFor(path, &window));
    ASSERT_EQ(answers.messages().size(), 1u);
    EXPECT_EQ(answers.messages()[0].text, StringTable::text(StringTable::RecoveryOffer));
    EXPECT_EQ(answers.messages()[0].text, QString::fromUtf8("保存されていない変更が残っています。復元しますか?"));
    EXPECT_EQ(editorText(), QString::fromUtf8("復元された本文\n"));
    EXPECT_TRUE(document->IsModified());
    EXPECT_EQ(document->GetPathName(), path);
    EXPECT_TRUE(document->DisplayEncoding().hasEncoding(TextEncoding::EucJp));
    EXPECT_TRUE(document->SaveEncoding().hasEncoding(TextEncoding::ShiftJis));

    // The left file stays until this program's own file has taken its place.
    EXPECT_TRUE(QFile::exists(left));
    waitForRecoveryFile();
    EXPECT_FALSE(QFile::exists(left));
    EXPECT_EQ(ownRecoveryFile()->text, QString::fromUtf8("復元された本文\n").toUtf8());
}

TEST_F(CrashRecoveryTest, NoDeletesTheFileAndOlderOrOtherFilesAreNotOffered)
{
    const QString path = writeFile("paper.tex", "on disk\n");
    const QString older = leaveRecoveryFile(path, "older", QDateTime::currentDateTimeUtc().addSecs(-3600), 1);
    const QString other = leaveRecoveryFile(dir.filePath("other.tex"), "other",
                                            QDateTime::currentDateTimeUtc().addSecs(5), 2);
    EXPECT_FALSE(recovery->offerFor(path, &window));
    EXPECT_TRUE(answers.messages().empty());
    EXPECT_TRUE(QFile::exists(older));

    const QString newer = leaveRecoveryFile(path, "newer", QDateTime::currentDateTimeUtc().addSecs(5), 3);
    answers.answerWith(QMessageBox::No);
    EXPECT_FALSE(recovery->offerFor(path, &window));
    EXPECT_EQ(answers.messages().size(), 1u);
    EXPECT_FALSE(QFile::exists(newer));
    EXPECT_TRUE(QFile::exists(other));
    EXPECT_FALSE(document->IsModified());
}

TEST_F(CrashRecoveryTest, FilesOfRunningProgramsAreLeftAlone)
{
    const QString path = writeFile("paper.tex", "on disk\n");
    // The parent of this test runs, with its real start time.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(::getppid()));
    ASSERT_TRUE(stat.open(QIODevice::ReadOnly));
    const QByteArray line = stat.readAll();
    const quint64 start = line.mid(line.lastIndexOf(')') + 2).split(' ').value(19).toULongLong();
    RecoveryFile running;
    running.documentPath = path;
    running.writer = ProcessIdentity(::getppid(), start);
    ASSERT_TRUE(running.writer.isRunning());
    running.written = QDateTime::currentDateTimeUtc().addSecs(5);
    running.text = "still being edited";
    folder.create();
    QFile out(folder.fileOf(running.writer));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(running.serialize());
    out.close();

    answers.answerWith(QMessageBox::No);
    EXPECT_FALSE(recovery->offerFor(path, &window));
    EXPECT_FALSE(recovery->offerUntitled(&window));
    EXPECT_TRUE(answers.messages().empty());
    EXPECT_TRUE(QFile::exists(folder.fileOf(running.writer)));
}

TEST_F(CrashRecoveryTest, UntitledFilesAreOfferedNewestFirstAndDamagedOnesSetAside)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QString first = leaveRecoveryFile(QString(), "first", now.addSecs(-20), 1);
    const QString second = leaveRecoveryFile(QString(), "second", now.addSecs(-10), 2);
    const QString damaged = leaveRecoveryFile(QString(), "damaged", now, 3);
    QFile cut(damaged);
    ASSERT_TRUE(cut.resize(cut.size() - 2));

    // No to the newest, yes to the next.
    int asked = 0;
    answers.answerWith([&](const ModalHost::Message &message) {
        if (message.buttons.testFlag(QMessageBox::Yes))
            ++asked;
        return asked == 1 ? QMessageBox::No : QMessageBox::Yes;
    });
    ASSERT_TRUE(recovery->offerUntitled(&window));
    ASSERT_EQ(answers.messages().size(), 3u);
    EXPECT_TRUE(answers.messages()[0].text.startsWith(QString::fromUtf8("復元用のファイルが壊れている")));
    EXPECT_TRUE(answers.messages()[0].text.contains(".damaged"));
    EXPECT_EQ(editorText(), "first");
    EXPECT_TRUE(document->IsModified());
    EXPECT_TRUE(document->GetPathName().isEmpty());
    EXPECT_FALSE(QFile::exists(second));
    EXPECT_FALSE(QFile::exists(damaged));
    EXPECT_EQ(QDir(folder.directory()).entryList({"*.damaged"}, QDir::Files).size(), 1);
}

} // namespace
