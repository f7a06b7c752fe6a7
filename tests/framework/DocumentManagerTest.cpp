#include "AtomicFileWriter.h"
#include "DocumentManager.h"
#include "FileBytes.h"
#include "FrameworkDocument.h"
#include "ModalAnswers.h"
#include "RecentFileList.h"

#include <QDir>
#include <QFileDialog>
#include <QSignalSpy>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// A document of UTF-8 text kept as bytes, read and written for real; a file that
// is not UTF-8 is one it cannot read.
class Utf8Document : public FrameworkDocument
{
public:
    bool OnOpenDocument(const QString &path) override
    {
        const QByteArray bytes = FileBytes::read(path);
        QStringDecoder utf8(QStringDecoder::Utf8);
        [[maybe_unused]] const QString decoded = utf8(bytes);
        if (utf8.hasError())
            return false;
        text = bytes;
        modified = false;
        return true;
    }
    bool OnSaveDocument(const QString &path) override
    {
        if (!AtomicFileWriter::write(path, text))
            return false;
        modified = false;
        return true;
    }
    bool OnNewDocument() override
    {
        text.clear();
        modified = false;
        return true;
    }
    bool IsModified() const override { return modified; }
    void SetModifiedFlag(bool on) override { modified = on; }

    void edit(const QByteArray &newText)
    {
        text = newText;
        modified = true;
    }

    QByteArray text;
    bool modified = false;
};

const QStringList TeXFilters{"TeX Files (*.tex) (*.tex)", "すべてのファイル (*.*) (*)"};

class DocumentManagerTest : public testing::Test
{
protected:
    QString writeFile(const QString &name, const QByteArray &bytes) const
    {
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(FileBytes::write(path, bytes)) << path.toStdString();
        return path;
    }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    // Answers the next file dialog by choosing name in the test's folder, after
    // checking that it is the dialog asked for.
    void chooseInDialog(const QString &title, const QString &name) const
    {
        ModalHost::answerDialogsWith([this, title, name](QDialog &dialog) {
            auto &files = dynamic_cast<QFileDialog &>(dialog);
            EXPECT_EQ(files.windowTitle(), title);
            EXPECT_EQ(files.nameFilters(), TeXFilters);
            files.setDirectory(m_dir.path());
            files.selectFile(name);
            return int(QDialog::Accepted);
        });
    }

    QTemporaryDir m_dir;
    Utf8Document m_document;
    RecentFileList m_recentFiles{4};
    QWidget m_window;
    DocumentManager *m_manager = new DocumentManager(m_document, m_recentFiles, {"TeX Files (*.tex)", "*.tex", "tex"},
                                                     &m_window);
    QSignalSpy m_changed{m_manager, &DocumentManager::documentChanged};
    ModalAnswers m_answers;
};

TEST_F(DocumentManagerTest, OpeningTakesTheAbsolutePathAndListsTheFile)
{
    writeFile("paper.tex", "\\documentclass{jarticle}\n");
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
    const bool opened = m_manager->OpenDocumentFile("paper.tex");
    QDir::setCurrent(previous);

    ASSERT_TRUE(opened);
    EXPECT_EQ(m_document.GetPathName(), filePath("paper.tex"));
    EXPECT_EQ(m_document.GetTitle(), "paper.tex");
    EXPECT_EQ(m_document.text, "\\documentclass{jarticle}\n");
    EXPECT_EQ(m_recentFiles.files(), QStringList{filePath("paper.tex")});
    EXPECT_EQ(m_changed.count(), 1);
    EXPECT_TRUE(m_answers.messages().empty());
}

TEST_F(DocumentManagerTest, AFileThatCannotBeOpenedIsReportedAndChangesNothing)
{
    const QString paper = writeFile("paper.tex", "本文\n");
    ASSERT_TRUE(m_manager->OpenDocumentFile(paper));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("folder.tex"));
    const QString notUtf8 = writeFile("sjis.tex", "\x96\x7B\x95\xB6\n");

    for (const QString &path : {filePath("missing.tex"), filePath("folder.tex"), notUtf8}) {
        m_answers.clear();
        EXPECT_FALSE(m_manager->OpenDocumentFile(path)) << path.toStdString();
        ASSERT_EQ(m_answers.messages().size(), 1u) << path.toStdString();
        EXPECT_EQ(m_answers.messages()[0].text, "ドキュメントを開くことに失敗しました。");
        EXPECT_EQ(m_answers.messages()[0].icon, QMessageBox::Warning);
        EXPECT_EQ(m_document.GetPathName(), paper);
        EXPECT_EQ(m_document.text, "本文\n");
    }
    EXPECT_EQ(m_recentFiles.files(), QStringList{paper});
}

TEST_F(DocumentManagerTest, UnsavedChangesAreAskedAboutBeforeTheyAreLost)
{
    m_document.edit("下書き\n");
    m_answers.answerWith(QMessageBox::Cancel);
    EXPECT_FALSE(m_manager->OnFileNew());
    ASSERT_EQ(m_answers.messages().size(), 1u);
    EXPECT_EQ(m_answers.messages()[0].text, "無題 への変更を保存しますか?");
    EXPECT_EQ(m_answers.messages()[0].buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(m_document.text, "下書き\n");

    // No drops the changes.
    m_answers.answerWith(QMessageBox::No);
    const QString first = writeFile("first.tex", "first\n");
    ASSERT_TRUE(m_manager->OpenDocumentFile(first));
    EXPECT_EQ(m_document.text, "first\n");

    // Yes saves them under the document's own name before going on.
    m_document.edit("first, edited\n");
    m_answers.clear();
    m_answers.answerWith(QMessageBox::Yes);
    ASSERT_TRUE(m_manager->OpenDocumentFile(writeFile("second.tex", "second\n")));
    ASSERT_EQ(m_answers.messages().size(), 1u);
    EXPECT_EQ(m_answers.messages()[0].text, first + " への変更を保存しますか?");
    EXPECT_EQ(FileBytes::read(first), "first, edited\n");
    EXPECT_EQ(m_document.text, "second\n");

    // Yes for an untitled text asks for a name; cancelling that cancels it all.
    ASSERT_TRUE(m_manager->OnFileNew());
    m_document.edit("untitled\n");
    EXPECT_FALSE(m_manager->OpenDocumentFile(first));
    EXPECT_EQ(m_document.text, "untitled\n");
    EXPECT_EQ(m_document.GetPathName(), "");

    // Nothing unsaved, nothing asked.
    m_document.modified = false;
    m_answers.clear();
    ASSERT_TRUE(m_manager->OnFileNew());
    EXPECT_TRUE(m_answers.messages().empty());
    EXPECT_EQ(m_document.GetTitle(), "無題");
}

TEST_F(DocumentManagerTest, SaveAsAndOpenAskForAFileOfTheDocumentsType)
{
    m_document.edit("新しい文書\n");
    chooseInDialog("名前を付けて保存", "paper");
    ASSERT_TRUE(m_manager->DoFileSave());
    EXPECT_EQ(FileBytes::read(filePath("paper.tex")), "新しい文書\n");
    EXPECT_EQ(m_document.GetPathName(), filePath("paper.tex"));
    EXPECT_EQ(m_recentFiles.files(), QStringList{filePath("paper.tex")});
    EXPECT_FALSE(m_document.IsModified());

    // A saved document is saved under its name without asking.
    m_document.edit("二稿\n");
    ModalHost::answerDialogsWith([](QDialog &) {
        ADD_FAILURE() << "a dialog for a document that has a name";
        return int(QDialog::Rejected);
    });
    ASSERT_TRUE(m_manager->DoFileSave());
    EXPECT_EQ(FileBytes::read(filePath("paper.tex")), "二稿\n");

    ModalHost::answerDialogsWith([](QDialog &) { return int(QDialog::Rejected); });
    EXPECT_FALSE(m_manager->DoSave(QString()));
    EXPECT_FALSE(m_manager->OnFileOpen());
    EXPECT_EQ(m_document.GetPathName(), filePath("paper.tex"));

    writeFile("other.tex", "other\n");
    chooseInDialog("開く", "other.tex");
    ASSERT_TRUE(m_manager->OnFileOpen());
    EXPECT_EQ(m_document.GetPathName(), filePath("other.tex"));
    EXPECT_EQ(m_recentFiles.files(), (QStringList{filePath("other.tex"), filePath("paper.tex")}));
}

TEST_F(DocumentManagerTest, AFailedSaveKeepsTheNameTheListAndTheChanges)
{
    const QString paper = writeFile("paper.tex", "old\n");
    ASSERT_TRUE(m_manager->OpenDocumentFile(paper));
    m_document.edit("new\n");
    m_changed.clear();

    EXPECT_FALSE(m_manager->DoSave(QStringLiteral("/proc/quillmere-cannot-write.tex")));
    EXPECT_EQ(m_document.GetPathName(), paper);
    EXPECT_EQ(m_recentFiles.files(), QStringList{paper});
    EXPECT_TRUE(m_document.IsModified());
    EXPECT_EQ(FileBytes::read(paper), "old\n");
    EXPECT_EQ(m_changed.count(), 1);
}

TEST_F(DocumentManagerTest, ARecentFileThatIsGoneIsReportedAndDropped)
{
    const QString kept = writeFile("kept.tex", "kept\n");
    const QString gone = writeFile("gone.tex", "gone\n");
    m_recentFiles.add(kept);
    m_recentFiles.add(gone);
    ASSERT_TRUE(QFile::remove(gone));

    EXPECT_FALSE(m_manager->OpenRecentFile(4));
    EXPECT_TRUE(m_answers.messages().empty());

    EXPECT_FALSE(m_manager->OpenRecentFile(0));
    ASSERT_EQ(m_answers.messages().size(), 1u);
    EXPECT_EQ(m_answers.messages()[0].text, "ドキュメントを開くことに失敗しました。");
    EXPECT_EQ(m_recentFiles.files(), QStringList{kept});

    ASSERT_TRUE(m_manager->OpenRecentFile(0));
    EXPECT_EQ(m_document.GetPathName(), kept);
    EXPECT_EQ(m_document.text, "kept\n");
}

} // namespace
