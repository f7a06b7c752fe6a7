#include "DocumentFixture.h"
#include "LongestLine.h"
#include "StringTable.h"

#include <QTest>
#include <QTextBlock>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

// Long enough for the watcher to notice and settle, short enough for a test.
constexpr int NoticeMs = 5000;
constexpr int QuietMs = 600;

class DiskChangeTest : public DocumentFixture
{
protected:
    DiskChangeTest()
    {
        // Every question is answered with its default, as Enter would.
        answers.answerWith([](const ModalHost::Message &message) {
            return message.defaultButton == QMessageBox::NoButton ? QMessageBox::Ok : message.defaultButton;
        });
        path = writeFile("paper.tex", "line 1\nline 2\nline 3\n");
    }

    // As most editors and version control write a file: a new one renamed over it.
    void replaceByRename(const QByteArray &bytes) const
    {
        const QString temporary = writeFile(".paper.tex.new", bytes);
        ASSERT_TRUE(::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) == 0);
    }

    bool waitForMessage(std::size_t count = 1)
    {
        return QTest::qWaitFor([&] { return answers.messages().size() >= count; }, NoticeMs);
    }

    void putCaretOnLine(int line) const
    {
        editor->setTextCursor(QTextCursor(editor->document()->findBlockByNumber(line)));
    }

    QString path;
};

TEST_F(DiskChangeTest, AFileReplacedUnderAnUnchangedDocumentIsReadAgainAndBothChangesAreSaved)
{
    ASSERT_TRUE(manager->OpenDocumentFile(path));
    putCaretOnLine(2);
    replaceByRename("line 1\nline 2 changed elsewhere\nline 3\n");
    ASSERT_TRUE(waitForMessage());
    EXPECT_TRUE(answers.messages()[0].text.contains(QString::fromUtf8("再読み込み")));
    EXPECT_EQ(answers.messages()[0].defaultButton, QMessageBox::Yes);
    EXPECT_EQ(editorText(), "line 1\nline 2 changed elsewhere\nline 3\n");
    EXPECT_EQ(editor->textCursor().blockNumber(), 2);
    EXPECT_FALSE(document->IsModified());

    QTextCursor line = editor->textCursor();
    line.select(QTextCursor::LineUnderCursor);
    line.insertText("line 3 changed here");
    ASSERT_TRUE(manager->DoFileSave());
    EXPECT_EQ(readFile(path), "line 1\nline 2 changed elsewhere\nline 3 changed here\n");
    // Our own save is no change from outside.
    QTest::qWait(QuietMs);
    EXPECT_EQ(answers.messages().size(), 1u);
}

TEST_F(DiskChangeTest, AFileThatNowHasAVeryLongLineIsAskedAboutBeforeItIsReadAgain)
{
    ASSERT_TRUE(manager->OpenDocumentFile(path));
    replaceByRename("line 1\n" + QByteArray(LongestLine::Limit + 1, 'x') + "\n");
    ASSERT_TRUE(waitForMessage(2));
    EXPECT_EQ(answers.messages()[1].text, StringTable::text(StringTable::VeryLongLine).arg("1,048,577").arg(2));
    // Its default keeps the editor's text, which now stands against another file.
    EXPECT_EQ(editorText(), "line 1\nline 2\nline 3\n");
    EXPECT_TRUE(document->IsModified());
}

TEST_F(DiskChangeTest, UnsavedChangesAreKeptAndTheSaveAsksBeforeOverwriting)
{
    ASSERT_TRUE(manager->OpenDocumentFile(path));
    editor->moveCursor(QTextCursor::End);
    editor->insertPlainText("typed here\n");
    writeFile("paper.tex", "written elsewhere\n");
    ASSERT_TRUE(waitForMessage());
    EXPECT_EQ(answers.messages()[0].defaultButton, QMessageBox::No);
    EXPECT_EQ(editorText(), "line 1\nline 2\nline 3\ntyped here\n");
    EXPECT_TRUE(document->IsModified());

    // The default keeps the other program's file.
    EXPECT_FALSE(manager->DoFileSave());
    ASSERT_EQ(answers.messages().size(), 2u);
    EXPECT_EQ(answers.messages()[1].defaultButton, QMessageBox::No);
    EXPECT_EQ(readFile(path), "written elsewhere\n");
    EXPECT_TRUE(document->IsModified());

    answers.answerWith(QMessageBox::Yes);
    ASSERT_TRUE(manager->DoFileSave());
    EXPECT_EQ(readFile(path), "line 1\nline 2\nline 3\ntyped here\n");
    // Once written, the file is ours again.
    ASSERT_TRUE(manager->DoFileSave());
    EXPECT_EQ(answers.messages().size(), 3u);
}

TEST_F(DiskChangeTest, ARemovedFileIsReportedOnceAndWrittenBackByTheNextSave)
{
    ASSERT_TRUE(manager->OpenDocumentFile(path));
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(waitForMessage());
    EXPECT_TRUE(answers.messages()[0].text.contains(QString::fromUtf8("削除されました")));
    EXPECT_TRUE(document->IsModified());
    writeFile("paper.log", "a tool's log");
    QTest::qWait(QuietMs);
    EXPECT_EQ(answers.messages().size(), 1u);

    ASSERT_TRUE(manager->DoFileSave());
    EXPECT_EQ(answers.messages().size(), 1u);
    EXPECT_EQ(readFile(path), "line 1\nline 2\nline 3\n");
}

TEST_F(DiskChangeTest, ToolOutputBesideTheFileAndUnchangedSavesAskNothing)
{
    ASSERT_TRUE(manager->OpenDocumentFile(path));
    for (const char *name : {"paper.aux", "paper.log", "paper.dvi", "paper.pdf"})
        writeFile(name, "output");
    // Only the status changes: the contents are the same.
    ASSERT_TRUE(QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner));
    QTest::qWait(QuietMs);
    editor->insertPlainText("x");
    ASSERT_TRUE(manager->DoFileSave());
    ASSERT_TRUE(manager->DoFileSave());
    QTest::qWait(QuietMs);
    EXPECT_TRUE(answers.messages().empty());
}

TEST_F(DiskChangeTest, AChangeThatKeepsSizeAndTimeIsFoundByItsContents)
{
    ASSERT_TRUE(manager->OpenDocumentFile(path));
    struct stat before = {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &before), 0);
    // All at once, before the watcher has had its turn: this is the save's own check.
    writeFile("paper.tex", "LINE 1\nline 2\nline 3\n");
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
    editor->insertPlainText("x");
    EXPECT_FALSE(document->diskStamp().differsOnDisk(dir.filePath("missing.tex")));
    EXPECT_TRUE(document->diskStamp().differsOnDisk(path));
    EXPECT_FALSE(manager->DoFileSave());
    ASSERT_EQ(answers.messages().size(), 1u);
    EXPECT_TRUE(answers.messages()[0].text.contains(QString::fromUtf8("上書き")));
    EXPECT_EQ(readFile(path), "LINE 1\nline 2\nline 3\n");
}

} // namespace
