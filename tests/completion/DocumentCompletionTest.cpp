#include "CDullSense.h"
#include "CQuillmereDoc.h"
#include "CUltraEditView.h"
#include "DictionaryLocation.h"
#include "DocumentFiles.h"
#include "DocumentFixture.h"
#include "ModalAnswers.h"
#include "ProfileStore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// The editor as the main window wires it: the document opens and saves files, and
// completion follows the document's other files, read through the converter.
class DocumentCompletion : public testing::Test
{
protected:
    void SetUp() override
    {
        m_profile.setPath(m_settings.filePath(QStringLiteral("quillmere.ini")));
        m_view = std::make_unique<CUltraEditView>(m_profile, nullptr, DictionaryLocation(m_settings.path(), QString()));
        m_view->resize(500, 400);
        m_view->show();
        m_document.attachEditor(m_view.get());
        popup().setFileReader(m_fixture.reader());
        QObject::connect(&m_document, &CQuillmereDoc::fileSynchronized, &popup(), &CDullSense::followFile);
    }

    CDullSense &popup() const { return *m_view->findChild<CDullSense *>(); }

    void open(const QString &path)
    {
        ASSERT_TRUE(m_document.OnOpenDocument(path));
        m_view->moveCursor(QTextCursor::End);
    }

    // Lets the reading of the other files end and its result arrive.
    void waitForFiles() const
    {
        QElapsedTimer waited;
        waited.start();
        while (popup().documentFiles().isReading() && waited.elapsed() < 30000) {
            QCoreApplication::processEvents();
            QThread::msleep(2);
        }
        QCoreApplication::processEvents();
        EXPECT_FALSE(popup().documentFiles().isReading());
    }

    QString selected() const
    {
        const int row = popup().selectedRow();
        return row < 0 ? QString() : popup().items().at(row);
    }

    // Japanese comes in through the input method.
    void commit(const QString &text) const
    {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(m_view.get(), &event);
    }

    QString lastLine() const { return m_view->toPlainText().section(u'\n', -1); }

    ModalAnswers m_answers;
    DocumentFixture m_fixture;
    QTemporaryDir m_settings;
    ProfileStore m_profile;
    ConverterLibrary m_library{QStringLiteral(QUILLMERE_BUILD_DIR)};
    CQuillmereDoc m_document{m_library};
    std::unique_ptr<CUltraEditView> m_view;
};

TEST_F(DocumentCompletion, LabelsAndCitationsComeFromTheChaptersAndTheDatabase)
{
    const QString main = m_fixture.write("main.tex", u"\\documentclass{jarticle}\n\\begin{document}\n"
                                                     u"\\include{chap1}\n\\bibliography{refs}\n"_s);
    m_fixture.write("chap1.tex", u"\\chapter{序論}\\label{chap:序論}\n"_s, "CP932");
    m_fixture.write("refs.bib", u"@book{yamada2020,\n  author = {山田 太郎},\n  title = {日本語の論文}\n}\n"_s);
    open(main);
    waitForFiles();

    QTest::keyClicks(m_view.get(), u"\\ref{"_s);
    ASSERT_TRUE(popup().isShown());
    EXPECT_EQ(popup().items(), QStringList({u"chap:序論"_s}));
    QTest::keyClick(m_view.get(), Qt::Key_Down);
    QTest::keyClick(m_view.get(), Qt::Key_Return);
    EXPECT_EQ(lastLine(), u"\\ref{chap:序論"_s);

    QTest::keyClicks(m_view.get(), u"}"_s);
    QTest::keyClick(m_view.get(), Qt::Key_Return);
    QTest::keyClicks(m_view.get(), u"\\cite{y"_s);
    ASSERT_TRUE(popup().isShown());
    EXPECT_EQ(selected(), u"yamada2020"_s);
    QTest::keyClick(m_view.get(), Qt::Key_Return);
    // The note beside the key is shown, never inserted.
    EXPECT_EQ(lastLine(), u"\\cite{yamada2020"_s);
    // A key is offered again after each comma.
    QTest::keyClicks(m_view.get(), u","_s);
    EXPECT_TRUE(popup().isShown());
    EXPECT_EQ(popup().items(), QStringList({u"yamada2020"_s}));
}

TEST_F(DocumentCompletion, AChapterOpenedAloneOffersTheMainFilesLabelsToo)
{
    m_fixture.write("main.tex", u"\\documentclass{jbook}\n\\label{main:表紙}\n\\include{chap1}\n\\input{chap2}\n"_s);
    const QString chapter = m_fixture.write("chap1.tex", u"\\label{chap:一}\n"_s, "CP932");
    m_fixture.write("chap2.tex", u"\\label{chap:二}\n"_s, "EUC-JP-MS");
    open(chapter);
    waitForFiles();

    // The chapter's own labels come from the editor: one typed and not yet saved
    // is offered, one saved but deleted since is not.
    m_view->selectAll();
    QTest::keyClicks(m_view.get(), u"\\label{chap:"_s);
    commit(u"新"_s);
    QTest::keyClicks(m_view.get(), u"}"_s);
    QTest::keyClick(m_view.get(), Qt::Key_Return);
    QTest::keyClicks(m_view.get(), u"\\ref{"_s);
    ASSERT_TRUE(popup().isShown());
    EXPECT_EQ(popup().items(), QStringList({u"chap:二"_s, u"chap:新"_s, u"main:表紙"_s}));
}

TEST_F(DocumentCompletion, AListOpenedBeforeTheFilesAreReadTakesThemInWithoutMovingTheSelection)
{
    const QString main = m_fixture.write("main.tex", u"\\documentclass{jarticle}\n\\label{b}\n\\input{chap}\n"_s);
    m_fixture.write("chap.tex", u"\\label{a}\\label{c}\n"_s);
    open(main);
    // The reading has started and cannot end before events are processed again.
    ASSERT_TRUE(popup().documentFiles().isReading());
    QTest::keyClicks(m_view.get(), u"\\ref{b"_s);
    ASSERT_TRUE(popup().isShown());
    EXPECT_EQ(popup().items(), QStringList({u"b"_s}));
    EXPECT_EQ(selected(), u"b"_s);
    waitForFiles();
    EXPECT_EQ(popup().items(), QStringList({u"a"_s, u"b"_s, u"c"_s}));
    EXPECT_EQ(selected(), u"b"_s);
    EXPECT_TRUE(popup().isShown());

    // A citation list with nothing yet to show opens when the keys arrive, as long
    // as nothing was typed meanwhile.
    QTest::keyClick(m_view.get(), Qt::Key_Escape);
    m_fixture.write("refs.bib", u"@misc{key, title={T}}\n"_s);
    m_fixture.write("chap.tex", u"\\label{a}\\bibliography{refs}\n"_s);
    m_document.OnSaveDocument(main);
    QTest::keyClicks(m_view.get(), u"}\\cite{"_s);
    EXPECT_FALSE(popup().isShown());
    waitForFiles();
    ASSERT_TRUE(popup().isShown());
    EXPECT_EQ(popup().items(), QStringList({u"key"_s}));
}

TEST_F(DocumentCompletion, AChangedDatabaseIsReadAgainWhenTheNextListOpens)
{
    const QString main = m_fixture.write("main.tex", u"\\documentclass{jarticle}\n\\bibliography{refs}\n"_s);
    m_fixture.write("refs.bib", u"@book{neko, title={猫}}\n"_s);
    open(main);
    waitForFiles();
    QTest::keyClicks(m_view.get(), u"\\cite{"_s);
    ASSERT_TRUE(popup().isShown());
    const int narrow = popup().width();
    QTest::keyClick(m_view.get(), Qt::Key_Escape);

    m_fixture.write("refs.bib", u"@book{inu, title={犬と鳥と魚の研究}}\n@book{neko, title={猫}}\n"_s, "CP932");
    QTest::keyClicks(m_view.get(), u"}\\cite{"_s);
    // The list opens at once with the keys as last read and takes in the new ones,
    // with their wider notes, when the database has been read again.
    ASSERT_TRUE(popup().isShown());
    EXPECT_EQ(popup().items(), QStringList({u"neko"_s}));
    waitForFiles();
    EXPECT_EQ(popup().items(), QStringList({u"inu"_s, u"neko"_s}));
    EXPECT_GT(popup().width(), narrow);
}

TEST_F(DocumentCompletion, FileNamesAreOfferedForTheCommandsThatReadFiles)
{
    const QString main = m_fixture.write("main.tex", u"\\documentclass{jarticle}\n"_s);
    m_fixture.write("chapters/序章.tex", u""_s);
    m_fixture.write("figures/cat.png", u""_s);
    m_fixture.write("refs.bib", u""_s);
    open(main);
    waitForFiles();

    QTest::keyClicks(m_view.get(), u"\\input{"_s);
    EXPECT_EQ(popup().items(), QStringList({u"chapters/序章"_s, u"main"_s}));
    QTest::keyClick(m_view.get(), Qt::Key_Escape);
    QTest::keyClicks(m_view.get(), u"}\\includegraphics[width=3cm]{fig"_s);
    EXPECT_EQ(selected(), u"figures/cat.png"_s);
    // A dot goes on into the extension instead of accepting the row.
    QTest::keyClicks(m_view.get(), u"ures/cat."_s);
    EXPECT_TRUE(popup().isShown());
    QTest::keyClick(m_view.get(), Qt::Key_Tab);
    EXPECT_TRUE(lastLine().endsWith(u"}\\includegraphics[width=3cm]{figures/cat.png"_s));
    QTest::keyClicks(m_view.get(), u"}\\bibliography{"_s);
    EXPECT_EQ(popup().items(), QStringList({u"refs"_s}));
    QTest::keyClick(m_view.get(), Qt::Key_Escape);
    QTest::keyClicks(m_view.get(), u"}\\addbibresource{"_s);
    EXPECT_EQ(popup().items(), QStringList({u"refs.bib"_s}));
}

} // namespace
