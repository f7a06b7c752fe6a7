#include "FileBytes.h"
#include "ProfileStore.h"
#include "RecentFileList.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class RecentFileListTest : public testing::Test
{
protected:
    QString settingsPath() const { return m_dir.filePath("quillmere.ini"); }

    QTemporaryDir m_dir;
};

TEST_F(RecentFileListTest, TheNewestFileComesFirstOnceAndTheOldestFallsOff)
{
    RecentFileList recent(4);
    for (const char *path : {"/a.tex", "/b.tex", "/c.tex", "/d.tex", "/e.tex"})
        recent.add(path);
    EXPECT_EQ(recent.files(), (QStringList{"/e.tex", "/d.tex", "/c.tex", "/b.tex"}));

    // Opening a listed file again moves it to the top instead of listing it twice.
    recent.add("/c.tex");
    EXPECT_EQ(recent.files(), (QStringList{"/c.tex", "/e.tex", "/d.tex", "/b.tex"}));

    recent.remove(1);
    EXPECT_EQ(recent.files(), (QStringList{"/c.tex", "/d.tex", "/b.tex"}));
    recent.remove(-1);
    recent.remove(3);
    EXPECT_EQ(recent.files().size(), 3);
}

TEST_F(RecentFileListTest, TheListSurvivesTheSettingsFile)
{
    const ProfileStore profile(settingsPath());
    RecentFileList written(4);
    written.add("/home/user/卒論/第1章 序論.tex");
    written.add("/tmp/paper.tex");
    written.write(profile);
    const QByteArray file = FileBytes::read(settingsPath());
    EXPECT_TRUE(file.contains("[Recent File List]")) << file.constData();
    EXPECT_TRUE(file.contains("File1=/tmp/paper.tex")) << file.constData();

    RecentFileList read(4);
    read.read(profile);
    EXPECT_EQ(read.files(), written.files());

    // Keys of entries that are gone are removed, not left behind to come back.
    written.remove(0);
    written.write(profile);
    EXPECT_FALSE(FileBytes::read(settingsPath()).contains("File2")) << FileBytes::read(settingsPath()).constData();
    read.read(profile);
    EXPECT_EQ(read.files(), QStringList{"/home/user/卒論/第1章 序論.tex"});
}

TEST_F(RecentFileListTest, ReadingSkipsEmptyAndRepeatedEntriesAndKeysPastTheCapacity)
{
    ASSERT_TRUE(FileBytes::write(settingsPath(), "[recent file list]\r\n"
                                                 "File1=/a.tex\r\n"
                                                 "File2=\r\n"
                                                 "File3=/a.tex\r\n"
                                                 "File4=/b.tex\r\n"
                                                 "File5=/c.tex\r\n"));
    RecentFileList recent(4);
    recent.add("/stale.tex");
    recent.read(ProfileStore(settingsPath()));
    EXPECT_EQ(recent.files(), (QStringList{"/a.tex", "/b.tex"}));

    // No settings file at all is an empty list.
    recent.read(ProfileStore(m_dir.filePath("missing.ini")));
    EXPECT_TRUE(recent.files().isEmpty());
}

} // namespace
