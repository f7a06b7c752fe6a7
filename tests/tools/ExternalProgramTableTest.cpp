#include "ExternalProgramSettings.h"
#include "ExternalProgramTable.h"
#include "ProfileStore.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class ExternalProgramTableTest : public testing::Test
{
protected:
    void writeSettings(const QByteArray &bytes) const
    {
        QFile file(profile.path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray settingsText() const
    {
        QFile file(profile.path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    ProfileStore profile{dir.filePath("quillmere.ini")};
};

TEST_F(ExternalProgramTableTest, EscapingRoundTripsEveryValue)
{
    const QStringList values = {"",
                                "plain",
                                "\"%s.tex\"",
                                "it's \"quoted\"",
                                "ends in a backslash\\",
                                "\\\"already escaped\\'",
                                "C:\\dviout\\dviout.exe",
                                "\\",
                                "'",
                                QString::fromUtf8("日本語 \"ファイル\"")};
    for (const QString &value : values)
        EXPECT_EQ(UnescapeProfileValue(EscapeProfileValue(value)), value) << value.toStdString();
    EXPECT_EQ(EscapeProfileValue("\"%s.tex\""), "\\\"%s.tex\\\"");
    EXPECT_EQ(EscapeProfileValue("a\\b'"), "a\\b\\'");
    EXPECT_EQ(UnescapeProfileValue("a\\b\\"), "a\\b\\");
}

TEST_F(ExternalProgramTableTest, BuiltInsAreWrittenAndReadBackUnchanged)
{
    ExternalProgramTable table;
    loadBuiltInExternalPrograms(profile, table);
    ASSERT_EQ(table.GetCount(), 7);
    const QStringList names = {"platex", "jbibtex", "dviout", "dvipsk", "dvipdfmx", "GSView", "pdfviewer"};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(table.GetAt(i).name(), names[i]);
    EXPECT_EQ(table.GetAt(0).executable(), "platex");
    EXPECT_EQ(table.GetAt(3).optionTemplate(), "-Ppdf \"%s.dvi\"");
    EXPECT_EQ(table.GetAt(6), ExternalProgram("pdfviewer", "xdg-open", "\"%s.pdf\""));

    SaveAllExternalPrograms(profile, table);
    EXPECT_TRUE(settingsText().startsWith("[platex]\nEXE=platex\nOPTION=\\\"%s.tex\\\"\n"));
    ExternalProgramTable again;
    loadBuiltInExternalPrograms(profile, again);
    EXPECT_EQ(again, table);
}

TEST_F(ExternalProgramTableTest, StoredValuesOverrideTheBuiltIns)
{
    writeSettings("[DVIOUT]\n"
                  "EXE=C:\\dviout\\dviout.exe\n"
                  "[jbibtex]\n"
                  "EXE=\n"
                  "OPTION=ends\\\n"
                  "[GSView]\n"
                  "OPTION=\\'%s.ps\\' \\\"x\\\"\n"
                  "[unknown]\n"
                  "EXE=never read\n");
    ExternalProgramTable table;
    loadBuiltInExternalPrograms(profile, table);
    // A file written before the PDF viewer existed gives it its built-in values.
    ASSERT_EQ(table.GetCount(), 7);
    EXPECT_EQ(table.FindByName("PDFViewer").executable(), "xdg-open");
    EXPECT_EQ(table.FindByName("dviout").executable(), "C:\\dviout\\dviout.exe");
    EXPECT_EQ(table.FindByName("dviout").optionTemplate(), "\"%s.dvi\"");
    EXPECT_EQ(table.FindByName("jbibtex").executable(), "");
    EXPECT_EQ(table.FindByName("jbibtex").optionTemplate(), "ends\\");
    EXPECT_EQ(table.FindByName("gsview").optionTemplate(), "'%s.ps' \"x\"");
    EXPECT_EQ(table.IndexOfName("unknown"), -1);
}

TEST_F(ExternalProgramTableTest, EditedValuesReachTheFileEscaped)
{
    ExternalProgramTable table;
    loadBuiltInExternalPrograms(profile, table);
    ExternalProgram edited = table.GetAt(5);
    edited.setExecutable("/opt/viewer's bin/\"view\"");
    table.SetAt(5, edited);
    SaveAllExternalPrograms(profile, table);
    EXPECT_TRUE(settingsText().contains("EXE=/opt/viewer\\'s bin/\\\"view\\\"\n"));

    ExternalProgramTable again;
    loadBuiltInExternalPrograms(profile, again);
    EXPECT_EQ(again.GetAt(5).executable(), "/opt/viewer's bin/\"view\"");
}

TEST_F(ExternalProgramTableTest, LookupsFoldOnlyAsciiLettersAndPositionsAreChecked)
{
    ExternalProgramTable table;
    loadBuiltInExternalPrograms(profile, table);
    EXPECT_EQ(table.FindByName("PLATEX").name(), "platex");
    EXPECT_EQ(table.FindByName("gsview").name(), "GSView");
    EXPECT_EQ(table.IndexOfName("DvIpDfMx"), 4);
    EXPECT_TRUE(table.FindByName(QString::fromUtf8("ｐｌａｔｅｘ")).isEmpty());
    EXPECT_TRUE(table.FindByName("platex ").isEmpty());

    EXPECT_THROW(table.GetAt(7), std::out_of_range);
    EXPECT_THROW(table.GetAt(-1), std::out_of_range);
    EXPECT_THROW(table.SetAt(7, ExternalProgram()), std::out_of_range);
    EXPECT_EQ(table.Add(ExternalProgram("extra", "e", "o")), 7);

    const ExternalProgramTable copy = table;
    table = *&table;
    EXPECT_EQ(table, copy);
    ExternalProgramTable smaller;
    smaller.Add(ExternalProgram("one", "1", ""));
    table = smaller;
    EXPECT_EQ(table.GetCount(), 1);
}

} // namespace
