#include "AppTestSupport.h"
#include "CConsoleView.h"
#include "CMainFrame.h"
#include "CQuillmereApp.h"
#include "CQuillmereDoc.h"
#include "CommandIds.h"
#include "FileBytes.h"
#include "IconvText.h"
#include "ModalAnswers.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString pdfText(const QString &pdf)
{
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-enc", "UTF-8", pdf, "-"});
    pdftotext.waitForFinished(60000);
    // pdftotext may break a line between any two Japanese characters.
    return QString::fromUtf8(pdftotext.readAllStandardOutput()).remove(u'\n').remove(u' ');
}

// The tool chain as a fresh installation runs it: the program as a new user
// starts it, with no settings file, the real TeX Live tools, Japanese documents
// in each of the encodings TeX reads.
class TexChainTest : public testing::Test
{
protected:
    void SetUp() override
    {
        for (const char *tool : {"platex", "pbibtex", "dvipdfmx", "pdftotext"}) {
            if (QStandardPaths::findExecutable(tool).isEmpty())
                GTEST_SKIP() << tool << " is not installed (TeX Live's texlive-lang-japanese, poppler-utils)";
        }
        const QString programDir = dir.filePath("program");
        executable = makeExecutable(programDir, "quillmere");
        ASSERT_TRUE(QFile::copy(QUILLMERE_BUILD_DIR "/libnkf32.so", programDir + "/libnkf32.so"));
    }

    // The texts of the messages shown, one a line, for a test that expects none.
    QString messageTexts() const
    {
        QStringList texts;
        for (const ModalHost::Message &message : answers.messages())
            texts.append(message.text);
        return texts.join(u'\n');
    }

    QString write(const QString &name, const QByteArray &bytes) const
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(FileBytes::write(path, bytes)) << name.toStdString();
        return path;
    }

    QTemporaryDir dir;
    QString executable;
    ModalAnswers answers;
};

QString jsarticle(const QString &sentence)
{
    return QString::fromUtf8("\\documentclass{jsarticle}\n\\begin{document}\n") + sentence
           + QString::fromUtf8("\n\\end{document}\n");
}

TEST_F(TexChainTest, ShiftJisEucJpAndUtf8DocumentsOpenedInTurnEachGiveTheirPdf)
{
    struct Case
    {
        const char *file;
        const char *encoding;
        bool crlf;
        QString sentence;
    };
    const Case cases[] = {
        {"sjis.tex", "CP932", true, QString::fromUtf8("シフトJISで書いた表の説明です。")},
        {"euc.tex", "EUC-JP", false, QString::fromUtf8("日本語EUCで書いた論文の要旨です。")},
        {"utf8.tex", "UTF-8", false, QString::fromUtf8("UTF-8で書いた謝辞と十進数です。")},
    };
    CQuillmereApp app(executable);
    ASSERT_TRUE(app.InitInstance({}));
    for (const Case &c : cases) {
        QString source = jsarticle(c.sentence);
        if (c.crlf)
            source.replace("\n", "\r\n");
        const QString path = write(c.file, iconvEncode(source, c.encoding));
        app.mainFrame()->openDroppedFiles({path});
        ASSERT_EQ(app.document()->GetPathName(), path);
        app.document()->executeCommand(CommandId::RunDvipdfmx);
        const QString pdf = QString(path).replace(".tex", ".pdf");
        EXPECT_TRUE(pdfText(pdf).contains(c.sentence)) << c.file << "\n"
                                                       << app.mainFrame()->consoleView()->toPlainText().toStdString();
    }
    EXPECT_TRUE(answers.messages().empty()) << messageTexts().toStdString();
}

TEST_F(TexChainTest, AShiftJisDocumentWithABibliographyGetsItsCitationNumbered)
{
    write("refs.bib",
          iconvEncode(QString::fromUtf8("@book{yamada,\n  author = {山田 太郎},\n  title = {日本語の組版},\n"
                                        "  publisher = {技術出版},\n  year = {2020}\n}\n"),
                      "CP932"));
    const QString source = QString::fromUtf8("\\documentclass{jsarticle}\n\\begin{document}\n"
                                             "組版については文献\\cite{yamada}を参照。\n"
                                             "\\bibliographystyle{jplain}\n\\bibliography{refs}\n\\end{document}\n");
    const QString path = write("paper.tex", iconvEncode(QString(source).replace("\n", "\r\n"), "CP932"));
    CQuillmereApp app(executable);
    ASSERT_TRUE(app.InitInstance({path}));
    CQuillmereDoc &document = *app.document();
    document.executeCommand(CommandId::RunJbibtex);
    document.executeCommand(CommandId::RunDvipdfmx);
    document.executeCommand(CommandId::RunDvipdfmx);
    const QString console = app.mainFrame()->consoleView()->toPlainText();
    const QString text = pdfText(dir.filePath("paper.pdf"));
    EXPECT_TRUE(text.contains(QString::fromUtf8("文献[1]を参照"))) << text.toStdString() << console.toStdString();
    EXPECT_TRUE(text.contains(QString::fromUtf8("日本語の組版"))) << text.toStdString();
    EXPECT_FALSE(console.contains(QString::fromUtf8("注意"))) << console.toStdString();
    EXPECT_TRUE(answers.messages().empty()) << messageTexts().toStdString();
}

TEST_F(TexChainTest, AnErrorDoesNotStopPlatexButEndsTheChain)
{
    const QString source = QString::fromUtf8("\\documentclass{jsarticle}\n\\begin{document}\n"
                                             "一行目。\n\n二行目。\n\n\\undefinedcommand\n"
                                             "誤りの後も組まれる文です。\n\\end{document}\n");
    const QString path = write("broken.tex", source.toUtf8());
    CQuillmereApp app(executable);
    ASSERT_TRUE(app.InitInstance({path}));
    app.document()->executeCommand(CommandId::RunDvipdfmx);
    const QString console = app.mainFrame()->consoleView()->toPlainText();
    EXPECT_TRUE(QFile::exists(dir.filePath("broken.dvi"))) << console.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("broken.pdf")));
    EXPECT_TRUE(console.contains("./broken.tex:7: Undefined control sequence")) << console.toStdString();
    EXPECT_TRUE(
        console.endsWith(QString::fromUtf8("platex は終了コード 1 で終了しました。続く dvipdfmx は実行しません。\n")))
        << console.toStdString();
    EXPECT_TRUE(QFile::exists(dir.filePath("broken.synctex.gz")));
    EXPECT_TRUE(answers.messages().empty()) << messageTexts().toStdString();
}

TEST_F(TexChainTest, ASettingsFileOfAnEarlierVersionStillRunsWhatItSays)
{
    write("program/quillmere.ini", "[platex]\nEXE=platex\nOPTION=-kanji=sjis -interaction=batchmode \\\"%s.tex\\\"\n"
                                   "[jbibtex]\nEXE=pbibtex\nOPTION=-kanji=sjis \\\"%s\\\"\n");
    const QString path = write("old.tex",
                               iconvEncode(jsarticle(QString::fromUtf8("以前の設定で組む文書です。")), "CP932"));
    CQuillmereApp app(executable);
    ASSERT_TRUE(app.InitInstance({path}));
    app.document()->executeCommand(CommandId::RunDvipdfmx);
    const QString console = app.mainFrame()->consoleView()->toPlainText();
    EXPECT_TRUE(console.startsWith(
        dir.path() + ">platex -file-line-error -synctex=1 -kanji=sjis -interaction=batchmode old.tex\n"))
        << console.toStdString();
    EXPECT_TRUE(pdfText(dir.filePath("old.pdf")).contains(QString::fromUtf8("以前の設定で組む文書です。")));
    EXPECT_TRUE(answers.messages().empty()) << messageTexts().toStdString();
}

} // namespace
