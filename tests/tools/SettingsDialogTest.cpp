#include "CExternProgSettingDlg.h"
#include "ExternalProgramSettings.h"
#include "ExternalProgramTable.h"
#include "ModalHost.h"
#include "ProfileStore.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

ExternalProgramTable builtInTable()
{
    // A settings store without a file gives every entry its built-in values.
    ExternalProgramTable table;
    loadBuiltInExternalPrograms(ProfileStore(), table);
    return table;
}

class SettingsDialogTest : public testing::Test
{
protected:
    ~SettingsDialogTest() override { ModalHost::answerDialogsWith({}); }

    template<typename Control>
    static Control *control(const QDialog &dialog, const char *name)
    {
        return dialog.findChild<Control *>(QString::fromLatin1(name));
    }

    static QListWidget *list(const QDialog &dialog) { return control<QListWidget>(dialog, "programList"); }
    static QLineEdit *executable(const QDialog &dialog) { return control<QLineEdit>(dialog, "executableEdit"); }
    static QLineEdit *options(const QDialog &dialog) { return control<QLineEdit>(dialog, "optionEdit"); }
    static QPushButton *button(const QDialog &dialog, const char *name) { return control<QPushButton>(dialog, name); }

    ExternalProgramTable table = builtInTable();
};

TEST_F(SettingsDialogTest, ItOpensOnTheFirstProgramWithTheTextsOfItsResource)
{
    CExternProgSettingDlg dialog(table);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("外部プログラムの設定"));
    QStringList names;
    for (int row = 0; row < list(dialog)->count(); ++row)
        names.append(list(dialog)->item(row)->text());
    EXPECT_EQ(names, QStringList({"platex", "jbibtex", "dviout", "dvipsk", "dvipdfmx", "GSView", "pdfviewer"}));
    EXPECT_EQ(list(dialog)->currentRow(), 0);
    EXPECT_EQ(executable(dialog)->text(), "platex");
    EXPECT_EQ(options(dialog)->text(), "\"%s.tex\"");
    EXPECT_EQ(button(dialog, "browseButton")->text(), QString::fromUtf8("参照"));
    EXPECT_EQ(button(dialog, "okButton")->text(), "OK");
    EXPECT_TRUE(button(dialog, "okButton")->isDefault());
    EXPECT_EQ(button(dialog, "cancelButton")->text(), QString::fromUtf8("キャンセル"));
    QStringList labels;
    for (const QLabel *label : dialog.findChildren<QLabel *>())
        labels.append(label->text());
    EXPECT_EQ(labels, QStringList({QString::fromUtf8("プログラム一覧"), QString::fromUtf8("実行ファイル名"),
                                   QString::fromUtf8("コマンドライン")}));
}

TEST_F(SettingsDialogTest, EditsSurviveChangingTheSelectionAndAreTrimmedWhenStored)
{
    CExternProgSettingDlg dialog(table);
    executable(dialog)->setText("  /opt/tex live/bin/platex  ");
    options(dialog)->setText("\t-kanji=utf8  \"%s.tex\" ");
    list(dialog)->setCurrentRow(1);
    EXPECT_EQ(executable(dialog)->text(), "pbibtex");
    list(dialog)->setCurrentRow(0);
    EXPECT_EQ(executable(dialog)->text(), "/opt/tex live/bin/platex");
    EXPECT_EQ(options(dialog)->text(), "-kanji=utf8  \"%s.tex\"");
    EXPECT_EQ(table, builtInTable());

    list(dialog)->setCurrentRow(5);
    executable(dialog)->setText("evince");
    button(dialog, "okButton")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(table.GetAt(0), ExternalProgram("platex", "/opt/tex live/bin/platex", "-kanji=utf8  \"%s.tex\""));
    EXPECT_EQ(table.GetAt(5), ExternalProgram("GSView", "evince", "\"%s.ps\""));
    EXPECT_EQ(table.GetAt(1), builtInTable().GetAt(1));
    EXPECT_EQ(table.GetCount(), 7);
}

TEST_F(SettingsDialogTest, CancelLeavesTheTableAsItWas)
{
    CExternProgSettingDlg dialog(table);
    executable(dialog)->setText("changed");
    list(dialog)->setCurrentRow(3);
    options(dialog)->setText("");
    button(dialog, "cancelButton")->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(table, builtInTable());
}

TEST_F(SettingsDialogTest, EmptyValuesAreAcceptedAsTheyAre)
{
    CExternProgSettingDlg dialog(table);
    executable(dialog)->setText("   ");
    options(dialog)->clear();
    dialog.accept();
    EXPECT_EQ(table.GetAt(0), ExternalProgram("platex", "", ""));
}

TEST_F(SettingsDialogTest, TheBrowseButtonPutsTheChosenPathUnquotedIntoTheExecutableField)
{
    QTemporaryDir dir;
    const QString chosen = dir.filePath("my tools/platex");
    QDir().mkpath(dir.filePath("my tools"));
    QFile(chosen).open(QIODevice::WriteOnly);

    QStringList shownTypes;
    ModalHost::answerDialogsWith([&](QDialog &shown) {
        auto &fileDialog = dynamic_cast<QFileDialog &>(shown);
        const auto *types = fileDialog.findChild<QComboBox *>("fileTypeCombo");
        for (int i = 0; types && i < types->count(); ++i)
            shownTypes.append(types->itemText(i));
        EXPECT_EQ(fileDialog.fileMode(), QFileDialog::ExistingFile);
        EXPECT_TRUE(fileDialog.defaultSuffix().isEmpty());
        fileDialog.selectFile(chosen);
        return int(QDialog::Accepted);
    });
    CExternProgSettingDlg dialog(table);
    options(dialog)->setText("kept");
    button(dialog, "browseButton")->click();
    EXPECT_EQ(executable(dialog)->text(), chosen);
    EXPECT_EQ(options(dialog)->text(), "kept");
    // The labels show as written while every file is listed.
    EXPECT_EQ(shownTypes,
              QStringList({QString::fromUtf8("実行ファイル (*.exe)"), QString::fromUtf8("全てのファイル (*.*)")}));
    EXPECT_EQ(table, builtInTable());

    ModalHost::answerDialogsWith([](QDialog &) { return int(QDialog::Rejected); });
    button(dialog, "browseButton")->click();
    EXPECT_EQ(executable(dialog)->text(), chosen);
    dialog.accept();
    EXPECT_EQ(table.GetAt(0).executable(), chosen);
}

TEST_F(SettingsDialogTest, EditExternalProgramsRunsTheDialogOnTheTable)
{
    ModalHost::answerDialogsWith([](QDialog &shown) {
        shown.findChild<QLineEdit *>("executableEdit")->setText("uplatex");
        shown.accept();
        return shown.result();
    });
    EXPECT_TRUE(editExternalPrograms(nullptr, table));
    EXPECT_EQ(table.GetAt(0).executable(), "uplatex");

    ModalHost::answerDialogsWith([](QDialog &shown) {
        shown.findChild<QLineEdit *>("executableEdit")->setText("other");
        shown.reject();
        return shown.result();
    });
    EXPECT_FALSE(editExternalPrograms(nullptr, table));
    EXPECT_EQ(table.GetAt(0).executable(), "uplatex");
}

} // namespace
