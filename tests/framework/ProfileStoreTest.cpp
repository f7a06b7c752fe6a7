#include "ProfileStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class ProfileStoreTest : public testing::Test
{
protected:
    QString path(const QString &name = QStringLiteral("settings.ini")) const { return m_dir.filePath(name); }

    void writeFile(const QByteArray &bytes, const QString &name = QStringLiteral("settings.ini")) const
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray readFile(const QString &name = QStringLiteral("settings.ini")) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
};

TEST_F(ProfileStoreTest, MissingEmptyOrUnreadableFilesGiveTheDefaults)
{
    EXPECT_EQ(ProfileStore(path()).readString("s", "k", "default"), "default");
    EXPECT_EQ(ProfileStore(path()).readInt("s", "k", 7), 7);

    writeFile("");
    EXPECT_EQ(ProfileStore(path()).readString("s", "k", "default"), "default");

    ASSERT_TRUE(QDir(m_dir.path()).mkdir("folder.ini"));
    const ProfileStore directory(path("folder.ini"));
    EXPECT_EQ(directory.readString("s", "k", "default"), "default");
    EXPECT_FALSE(directory.writeString("s", "k", "v"));

    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(static_cast<char>((i * 131 + 7) % 256));
    writeFile(garbage);
    EXPECT_EQ(ProfileStore(path()).readString("s", "k", "default"), "default");
}

TEST_F(ProfileStoreTest, NamesMatchWithoutCaseAndTheFirstDuplicateWins)
{
    writeFile("stray=before any section\n"
              "[Platex]\n"
              "no equals sign here\n"
              "EXE=first\n"
              "exe=second\n"
              "[PLATEX]\n"
              "OPTION=from the duplicate section\n"
              "[other]\n"
              "EXE=other\n");
    const ProfileStore profile(path());
    EXPECT_EQ(profile.readString("platex", "Exe", "d"), "first");
    EXPECT_EQ(profile.readString("platex", "OPTION", "d"), "d");
    EXPECT_EQ(profile.readString("OTHER", "exe", "d"), "other");
    EXPECT_EQ(profile.readString("", "stray", "d"), "d");
}

TEST_F(ProfileStoreTest, ValuesAreTrimmedUnquotedOnceAndCutToTheBuffer)
{
    writeFile("[s]\r\n"
              "  blanks  =  \t value with blanks \t \r\n"
              "double=\"quoted\"\r\n"
              "single='quoted'\r\n"
              "mixed=\"not quoted'\r\n"
              "nested=\"'inner'\"\r\n"
              "escaped=\\\"%s.tex\\\"\r\n"
              "wide=\u3000全角\u3000\r\n"
              "number=  42abc\r\n"
              "negative=-5\r\n"
              "word=abc\r\n"
              "long="
              + QByteArray(100000, 'x') + "\r\n");
    const ProfileStore profile(path());
    EXPECT_EQ(profile.readString("s", "blanks", "d"), "value with blanks");
    EXPECT_EQ(profile.readString("s", "double", "d"), "quoted");
    EXPECT_EQ(profile.readString("s", "single", "d"), "quoted");
    EXPECT_EQ(profile.readString("s", "mixed", "d"), "\"not quoted'");
    EXPECT_EQ(profile.readString("s", "nested", "d"), "'inner'");
    EXPECT_EQ(profile.readString("s", "escaped", "d"), "\\\"%s.tex\\\"");
    EXPECT_EQ(profile.readString("s", "wide", "d"), QString::fromUtf8("\u3000全角\u3000"));
    EXPECT_EQ(profile.readString("s", "long", "d").size(), 4095);
    EXPECT_EQ(profile.readString("s", "long", "d", 10), "xxxxxxxxx");
    EXPECT_EQ(profile.readInt("s", "number", 1), 42);
    EXPECT_EQ(profile.readInt("s", "negative", 1), -5);
    EXPECT_EQ(profile.readInt("s", "word", 1), 0);
}

TEST_F(ProfileStoreTest, SettingsWrittenOnWindowsAreReadAsCp932)
{
    // "[platex]\nEXE=" then 日本語 in CP932, which is not valid UTF-8.
    writeFile("[platex]\r\nEXE=C:\\\x93\xfa\x96\x7b\x8c\xea\\platex.exe\r\n");
    const ProfileStore profile(path());
    EXPECT_EQ(profile.readString("platex", "EXE", "d"), QString::fromUtf8("C:\\日本語\\platex.exe"));

    // Writing keeps the value and the file becomes UTF-8.
    ASSERT_TRUE(profile.writeString("platex", "OPTION", "x"));
    EXPECT_EQ(profile.readString("platex", "EXE", "d"), QString::fromUtf8("C:\\日本語\\platex.exe"));
    EXPECT_TRUE(readFile().contains(QString::fromUtf8("日本語").toUtf8()));
}

TEST_F(ProfileStoreTest, WritingKeepsEveryOtherLineInPlace)
{
    writeFile("; comment at the top\r\n"
              "[first]\r\n"
              "a=1\r\n"
              "; comment inside\r\n"
              "b=2\r\n"
              "\r\n"
              "[second]\r\n"
              "c=3\r\n");
    const ProfileStore profile(path());
    ASSERT_TRUE(profile.writeString("FIRST", "A", "one"));
    ASSERT_TRUE(profile.writeString("first", "new", "added"));
    ASSERT_TRUE(profile.writeInt("third", "d", 4));
    EXPECT_EQ(readFile(), "; comment at the top\r\n"
                          "[first]\r\n"
                          "A=one\r\n"
                          "; comment inside\r\n"
                          "b=2\r\n"
                          "new=added\r\n"
                          "\r\n"
                          "[second]\r\n"
                          "c=3\r\n"
                          "\r\n"
                          "[third]\r\n"
                          "d=4\r\n");
    ASSERT_TRUE(profile.removeKey("second", "c"));
    EXPECT_EQ(profile.readString("second", "c", "gone"), "gone");
    EXPECT_EQ(profile.readInt("third", "d", 0), 4);
}

TEST_F(ProfileStoreTest, WritingCreatesTheFileAndReplacesItWhole)
{
    const ProfileStore profile(path());
    ASSERT_TRUE(profile.writeString("s", "k", QString::fromUtf8("値")));
    EXPECT_EQ(readFile(), QString::fromUtf8("[s]\nk=値\n").toUtf8());
    // Nothing but the settings file is left behind in the folder.
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"settings.ini"});
}

TEST_F(ProfileStoreTest, FailedWritesChangeNothing)
{
    writeFile("not a folder");
    const ProfileStore underAFile(path() + "/inside.ini");
    EXPECT_FALSE(underAFile.writeString("s", "k", "v"));
    EXPECT_EQ(underAFile.readString("s", "k", "d"), "d");

    writeFile("[s]\nk=v\n", "breaks.ini");
    const ProfileStore breaks(path("breaks.ini"));
    EXPECT_FALSE(breaks.writeString("s", "k", "two\nlines"));
    EXPECT_FALSE(breaks.writeString("s", "k\r", "v"));
    EXPECT_EQ(readFile("breaks.ini"), "[s]\nk=v\n");
}

TEST_F(ProfileStoreTest, APipeOrADeviceIsNeitherWaitedForNorReplaced)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(path()).constData(), 0600), 0);
    const ProfileStore pipe(path());
    EXPECT_EQ(pipe.readString("s", "k", "default"), "default");
    EXPECT_FALSE(pipe.writeString("s", "k", "v"));
    EXPECT_TRUE(QFileInfo(path()).isFile() == false && QFileInfo(path()).exists());

    const ProfileStore device(QStringLiteral("/dev/zero"));
    EXPECT_EQ(device.readInt("s", "k", 3), 3);
    EXPECT_FALSE(device.writeInt("s", "k", 4));
}

TEST_F(ProfileStoreTest, AFileChangedByAnotherProgramIsReadAgain)
{
    writeFile("[s]\nk=1\n");
    const ProfileStore mine(path());
    EXPECT_EQ(mine.readString("s", "k", "d"), "1");
    ASSERT_TRUE(ProfileStore(path()).writeString("s", "k", "2"));
    EXPECT_EQ(mine.readString("s", "k", "d"), "2");
    // Rewritten in place with the same size; the clock of file times may not have
    // moved since the last write, so the other program's time is set apart.
    writeFile("[s]\nk=3\n");
    QFile inPlace(path());
    ASSERT_TRUE(inPlace.open(QIODevice::ReadWrite));
    ASSERT_TRUE(inPlace.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
    inPlace.close();
    EXPECT_EQ(mine.readString("s", "k", "d"), "3");
    QFile::remove(path());
    EXPECT_EQ(mine.readString("s", "k", "d"), "d");
}

TEST_F(ProfileStoreTest, ABatchWritesOnceAtItsEndAndKeepsWhatAnotherInstanceWrote)
{
    writeFile("[s]\na=1\n");
    const ProfileStore mine(path());
    EXPECT_EQ(mine.readString("s", "a", "d"), "1");
    // Another running instance writes while this one runs.
    ASSERT_TRUE(ProfileStore(path()).writeString("S", "other", "kept"));
    const QByteArray before = readFile();
    {
        const ProfileStore::WriteBatch batch(mine);
        ASSERT_TRUE(mine.writeString("s", "a", "2"));
        ASSERT_TRUE(mine.writeInt("t", "b", 3));
        ASSERT_TRUE(mine.removeKey("s", "missing"));
        EXPECT_EQ(mine.readInt("t", "b", 0), 3);
        EXPECT_EQ(readFile(), before);
    }
    EXPECT_EQ(readFile(), "[s]\na=2\nother=kept\n\n[t]\nb=3\n");
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"settings.ini"});
}

TEST_F(ProfileStoreTest, AFileNeitherUtf8NorCp932IsKeptAsideBeforeItIsRewritten)
{
    // 0x80 and 0xFF are bytes CP932 has no code for.
    const QByteArray original = "[s]\r\nk=\x80\xFF\r\n";
    writeFile(original);
    const ProfileStore profile(path());
    EXPECT_TRUE(profile.isUndecodable());
    EXPECT_EQ(profile.backupPath(), path() + ".bak");
    ASSERT_TRUE(profile.writeString("s", "new", "v"));
    EXPECT_EQ(readFile("settings.ini.bak"), original);
    EXPECT_TRUE(readFile().contains("new=v\r\n"));
    EXPECT_FALSE(profile.isUndecodable());
    ASSERT_TRUE(profile.writeString("s", "new", "w"));
    EXPECT_EQ(readFile("settings.ini.bak"), original);

    writeFile("[s]\r\nk=\x93\xfa\r\n", "cp932.ini");
    const ProfileStore cp932(path("cp932.ini"));
    EXPECT_FALSE(cp932.isUndecodable());
    ASSERT_TRUE(cp932.writeString("s", "new", "v"));
    EXPECT_FALSE(QFile::exists(path("cp932.ini.bak")));
}

TEST_F(ProfileStoreTest, AValueCutOnReadingIsLeftInTheFileAsItWas)
{
    const QByteArray longValue(5000, 'x');
    const QByteArray original = "[s]\nlong=  \"" + longValue + "\"  \nshort=1\n";
    writeFile(original);
    const ProfileStore profile(path());
    const QString cut = profile.readString("s", "long", "d");
    ASSERT_EQ(cut.size(), 4095);
    ASSERT_TRUE(profile.writeString("s", "long", cut));
    EXPECT_EQ(readFile(), original);
    {
        const ProfileStore::WriteBatch batch(profile);
        ASSERT_TRUE(profile.writeString("s", "short", "2"));
        ASSERT_TRUE(profile.writeString("s", "long", cut));
    }
    EXPECT_EQ(readFile(), "[s]\nlong=  \"" + longValue + "\"  \nshort=2\n");
    // A value the user changed is written as given.
    ASSERT_TRUE(profile.writeString("s", "long", "new"));
    EXPECT_EQ(readFile(), "[s]\nlong=new\nshort=2\n");
}

} // namespace
