#include "AtomicFileWriter.h"
#include "FileBytes.h"
#include "FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <sys/stat.h>

namespace {

mode_t modeOf(const QString &path)
{
    struct stat status = {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
}

class AtomicFileWriterTest : public testing::Test
{
protected:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QStringList folderEntries() const
    {
        return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    QTemporaryDir m_dir;
};

TEST_F(AtomicFileWriterTest, WritesNewFilesAndReplacesOldOnesWhole)
{
    ASSERT_TRUE(AtomicFileWriter::write(path("paper.tex"), "第一稿\n"));
    EXPECT_EQ(FileBytes::read(path("paper.tex")), "第一稿\n");

    const QByteArray longer(1 << 20, 'x');
    ASSERT_TRUE(AtomicFileWriter::write(path("paper.tex"), longer));
    EXPECT_EQ(FileBytes::read(path("paper.tex")), longer);
    ASSERT_TRUE(AtomicFileWriter::write(path("paper.tex"), QByteArray()));
    EXPECT_EQ(QFileInfo(path("paper.tex")).size(), 0);

    // A name that is an option to some programs, and one with blanks and kanji.
    ASSERT_TRUE(AtomicFileWriter::write(path("-n.tex"), "a"));
    ASSERT_TRUE(AtomicFileWriter::write(path("論文 最終版.tex"), "b"));
    EXPECT_EQ(FileBytes::read(path("論文 最終版.tex")), "b");
    EXPECT_EQ(folderEntries(), (QStringList{"-n.tex", "paper.tex", "論文 最終版.tex"}));
}

TEST_F(AtomicFileWriterTest, AFullDiskKeepsTheOldFile)
{
    ASSERT_TRUE(FileBytes::write(path("paper.tex"), "old contents\n"));
    {
        const FileSizeLimit fullDisk(1000);
        EXPECT_FALSE(AtomicFileWriter::write(path("paper.tex"), QByteArray(5000, 'x')));
        EXPECT_FALSE(AtomicFileWriter::write(path("new.tex"), QByteArray(5000, 'x')));
    }
    EXPECT_EQ(FileBytes::read(path("paper.tex")), "old contents\n");
    EXPECT_EQ(folderEntries(), QStringList{"paper.tex"});
}

TEST_F(AtomicFileWriterTest, PiecesAreWrittenInOrderAndAFillThatGivesUpKeepsTheOldFile)
{
    ASSERT_TRUE(FileBytes::write(path("paper.tex"), "old contents\n"));
    const auto pieces = [](std::initializer_list<QByteArrayView> list, bool complete) {
        return [list, complete](const std::function<bool(QByteArrayView)> &write) {
            for (const QByteArrayView piece : list) {
                if (!write(piece))
                    return false;
            }
            return complete;
        };
    };
    ASSERT_TRUE(AtomicFileWriter::write(path("paper.tex"), pieces({"第一", "", "稿\n"}, true), 0600));
    EXPECT_EQ(FileBytes::read(path("paper.tex")), "第一稿\n");
    EXPECT_EQ(modeOf(path("paper.tex")), 0600u);

    EXPECT_FALSE(AtomicFileWriter::write(path("paper.tex"), pieces({"half"}, false), 0600));
    {
        const FileSizeLimit fullDisk(1000);
        EXPECT_FALSE(AtomicFileWriter::write(path("paper.tex"),
                                             pieces({QByteArray(600, 'x'), QByteArray(600, 'y')}, true), 0600));
    }
    EXPECT_EQ(FileBytes::read(path("paper.tex")), "第一稿\n");
    EXPECT_EQ(folderEntries(), QStringList{"paper.tex"});
}

TEST_F(AtomicFileWriterTest, AFolderThatCannotBeWrittenFailsWithoutATrace)
{
    // Places that stop root as well: a "folder" that is a regular file, a folder
    // that does not exist, and the kernel's own file system.
    ASSERT_TRUE(FileBytes::write(path("file"), "not a folder\n"));
    EXPECT_FALSE(AtomicFileWriter::write(path("file/paper.tex"), "text"));
    EXPECT_FALSE(AtomicFileWriter::write(path("missing/paper.tex"), "text"));
    EXPECT_FALSE(AtomicFileWriter::write(QStringLiteral("/proc/quillmere-cannot-write.tex"), "text"));
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/proc/quillmere-cannot-write.tex")));
    EXPECT_EQ(FileBytes::read(path("file")), "not a folder\n");
    EXPECT_EQ(folderEntries(), QStringList{"file"});
}

TEST_F(AtomicFileWriterTest, LinksAreFollowedAndPermissionsKept)
{
    // The file a link names is replaced; the link stays a link.
    ASSERT_TRUE(FileBytes::write(path("paper.tex"), "old\n"));
    ASSERT_TRUE(::chmod(QFile::encodeName(path("paper.tex")).constData(), 0640) == 0);
    ASSERT_TRUE(QFile::link(path("paper.tex"), path("link.tex")));
    ASSERT_TRUE(AtomicFileWriter::write(path("link.tex"), "through the link\n"));
    EXPECT_TRUE(QFileInfo(path("link.tex")).isSymLink());
    EXPECT_EQ(FileBytes::read(path("paper.tex")), "through the link\n");
    EXPECT_EQ(modeOf(path("paper.tex")), 0640u);

    // A link to a file that is not there yet creates that file.
    ASSERT_TRUE(QFile::link(path("later.tex"), path("dangling.tex")));
    ASSERT_TRUE(AtomicFileWriter::write(path("dangling.tex"), "created\n"));
    EXPECT_TRUE(QFileInfo(path("dangling.tex")).isSymLink());
    EXPECT_EQ(FileBytes::read(path("later.tex")), "created\n");

    // An executable script stays executable; a new file gets what the umask allows.
    ASSERT_TRUE(FileBytes::write(path("build.sh"), "#!/bin/sh\n"));
    ASSERT_TRUE(::chmod(QFile::encodeName(path("build.sh")).constData(), 0754) == 0);
    ASSERT_TRUE(AtomicFileWriter::write(path("build.sh"), "#!/bin/sh\nplatex paper\n"));
    EXPECT_EQ(modeOf(path("build.sh")), 0754u);
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(AtomicFileWriter::write(path("fresh.tex"), "new\n"));
    ::umask(mask);
    EXPECT_EQ(modeOf(path("fresh.tex")), 0644u);
}

TEST_F(AtomicFileWriterTest, TheTemporaryFileIsRemovedWhenTheTargetCannotBeReplaced)
{
    // The temporary file is written, but nothing can be renamed over a folder.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("paper.tex"));
    EXPECT_FALSE(AtomicFileWriter::write(path("paper.tex"), "text"));
    EXPECT_TRUE(QFileInfo(path("paper.tex")).isDir());
    EXPECT_EQ(folderEntries(), QStringList{"paper.tex"});
}

} // namespace
