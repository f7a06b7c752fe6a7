#include "CDullSense.h"
#include "CUltraEditView.h"
#include "CandidateList.h"
#include "DictionaryLocation.h"
#include "DocumentScan.h"
#include "ModalAnswers.h"
#include "ModalHost.h"
#include "ProfileStore.h"

#include <QApplication>
#include <QFile>
#include <QInputMethodEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

// An editor view as the user meets it, with dictionaries of the test's choosing
// beside a pretend executable. Keys are typed with QTest, as a user types them.
class CompletionTyping : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_profile.setPath(m_dir.filePath(QStringLiteral("quillmere.ini")));
    }

    void TearDown() override
    {
        for (const ModalHost::Message &message : m_answers.messages())
            ADD_FAILURE() << message.text.toStdString();
    }

    void writeDictionaries(const QByteArray &functions, const QByteArray &environments = {})
    {
        writeFile(QStringLiteral("TeXFunctions.dic"), functions);
        writeFile(QStringLiteral("BeginEnd.dic"), environments);
    }

    void writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile file(m_dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // The caret stands at the end of text.
    std::unique_ptr<CUltraEditView> makeView(const QString &text = QString())
    {
        auto view = std::make_unique<CUltraEditView>(m_profile, nullptr, DictionaryLocation(m_dir.path(), QString()));
        view->resize(400, 300);
        view->setPlainText(text);
        view->moveCursor(QTextCursor::End);
        view->show();
        view->activateWindow();
        view->setFocus();
        return view;
    }

    static CDullSense &popupOf(const CUltraEditView &view)
    {
        CDullSense *popup = view.findChild<CDullSense *>();
        EXPECT_NE(popup, nullptr);
        return *popup;
    }

    static QString selectedText(const CDullSense &popup)
    {
        const int row = popup.selectedRow();
        return row < 0 ? QString() : popup.items().at(row);
    }

    static QString textOf(const CUltraEditView &view) { return view.toPlainText(); }
    static int caretOf(const CUltraEditView &view) { return view.textCursor().position(); }

    QTemporaryDir m_dir;
    ProfileStore m_profile;
    ModalAnswers m_answers;
};

TEST_F(CompletionTyping, BackslashWithoutDictionariesOffersTheFixedItems)
{
    const auto view = makeView();
    QTest::keyClick(view.get(), '\\');

    const CDullSense &popup = popupOf(*view);
    EXPECT_TRUE(popup.isShown());
    EXPECT_EQ(popup.items().size(), 14);
    EXPECT_EQ(popup.selectedRow(), 0);
    EXPECT_EQ(textOf(*view), QStringLiteral("\\"));
    EXPECT_NE(QApplication::focusWidget(), &popup);
}

TEST_F(CompletionTyping, EnterAcceptsTheFirstExactRowAsOneUndoStep)
{
    writeDictionaries("define Section\ndefine section\ndefine secnumdepth\ndefine SECTION2\n");
    const auto view = makeView(QStringLiteral("x "));
    QTest::keyClicks(view.get(), QStringLiteral("\\sec"));
    EXPECT_EQ(selectedText(popupOf(*view)), QStringLiteral("\\secnumdepth"));
    QTest::keyClicks(view.get(), QStringLiteral("t"));
    EXPECT_EQ(selectedText(popupOf(*view)), QStringLiteral("\\section"));

    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_EQ(textOf(*view), QStringLiteral("x \\section"));
    EXPECT_EQ(caretOf(*view), 10);
    EXPECT_FALSE(popupOf(*view).isShown());

    view->undo();
    EXPECT_EQ(textOf(*view), QStringLiteral("x \\sect"));
}

TEST_F(CompletionTyping, UpperCaseTypingPrefersAnExactRowThenIgnoresCase)
{
    writeDictionaries("define section\ndefine SECTION2\n");
    const auto view = makeView();
    QTest::keyClicks(view.get(), QStringLiteral("\\SEC"));
    EXPECT_EQ(selectedText(popupOf(*view)), QStringLiteral("\\SECTION2"));
    QTest::keyClick(view.get(), Qt::Key_Backspace);
    QTest::keyClicks(view.get(), QStringLiteral("c"));
    EXPECT_EQ(selectedText(popupOf(*view)), QStringLiteral("\\section"));
}

TEST_F(CompletionTyping, BraceAfterACommandOpensItsArgumentListAtOnce)
{
    writeDictionaries("define usepackage\nset usepackage.param.count 1\nadd usepackage.param.1 graphicx\n"
                      "add usepackage.param.1 amsmath\n");
    const auto view = makeView();
    QTest::keyClicks(view.get(), QStringLiteral("\\usep{"));
    EXPECT_EQ(textOf(*view), QStringLiteral("\\usepackage{"));
    const CDullSense &popup = popupOf(*view);
    ASSERT_TRUE(popup.isShown());
    EXPECT_EQ(popup.items(), QStringList({QStringLiteral("amsmath"), QStringLiteral("graphicx")}));
    EXPECT_EQ(popup.selectedRow(), -1);

    // A comma accepts and opens the same list again for the next package.
    QTest::keyClicks(view.get(), QStringLiteral("gr,"));
    EXPECT_EQ(textOf(*view), QStringLiteral("\\usepackage{graphicx,"));
    EXPECT_TRUE(popup.isShown());
    QTest::keyClicks(view.get(), QStringLiteral("AMS}"));
    EXPECT_EQ(textOf(*view), QStringLiteral("\\usepackage{graphicx,amsmath}"));
    EXPECT_FALSE(popup.isShown());
}

TEST_F(CompletionTyping, PunctuationRightAfterTheBackslashMakesAControlSymbol)
{
    const auto view = makeView();
    QTest::keyClicks(view.get(), QStringLiteral("\\#"));
    EXPECT_EQ(textOf(*view), QStringLiteral("\\#"));
    EXPECT_TRUE(popupOf(*view).isShown());
    EXPECT_EQ(selectedText(popupOf(*view)), QStringLiteral("\\#"));
}

TEST_F(CompletionTyping, PunctuationWithoutSelectionClosesAndIsTypedAsItIs)
{
    const auto view = makeView();
    QTest::keyClicks(view.get(), QStringLiteral("\\zz."));
    EXPECT_EQ(textOf(*view), QStringLiteral("\\zz."));
    EXPECT_FALSE(popupOf(*view).isShown());
}

TEST_F(CompletionTyping, BeginOpensTheEnvironmentListEvenWhenItIsEmpty)
{
    const auto view = makeView();
    QTest::keyClicks(view.get(), QStringLiteral("\\begin{"));
    EXPECT_EQ(textOf(*view), QStringLiteral("\\begin{"));
    EXPECT_TRUE(popupOf(*view).isShown());
    EXPECT_EQ(popupOf(*view).items().size(), 0);
}

TEST_F(CompletionTyping, RefOffersTheDocumentsLabelsOrNothing)
{
    const auto empty = makeView(QStringLiteral("% \\label{hidden}\n"));
    QTest::keyClicks(empty.get(), QStringLiteral("\\ref{"));
    EXPECT_EQ(textOf(*empty), QStringLiteral("% \\label{hidden}\n\\ref{"));
    EXPECT_FALSE(popupOf(*empty).isShown());

    const auto view = makeView(QStringLiteral("%%%%%%%%%%%%%%%%%%%%\n\\label{sec:a}\n\\ref{sec:b} "));
    QTest::keyClicks(view.get(), QStringLiteral("\\ref{"));
    ASSERT_TRUE(popupOf(*view).isShown());
    EXPECT_EQ(popupOf(*view).items(), QStringList({QStringLiteral("sec:a"), QStringLiteral("sec:b")}));
    QTest::keyClicks(view.get(), QStringLiteral("sec:b\t"));
    EXPECT_TRUE(textOf(*view).endsWith(QStringLiteral("\\ref{sec:b")));
}

TEST_F(CompletionTyping, LabelListFollowsEveryKindOfEditBetweenPopups)
{
    const auto view = makeView(QStringLiteral("\\label{a}\n\\ref{b}\n"));
    const auto labelsOffered = [&view] {
        QTest::keyClick(view.get(), Qt::Key_Return);
        QTest::keyClicks(view.get(), QStringLiteral("\\ref{"));
        const QStringList offered = popupOf(*view).isShown() ? popupOf(*view).items() : QStringList();
        QTest::keyClick(view.get(), Qt::Key_Escape);
        EXPECT_EQ(offered, CandidateList::sorted(
                               DocumentScan::ScanLabels(view->document()->toRawText(), view->textCursor().position())));
        return offered;
    };
    EXPECT_EQ(labelsOffered(), QStringList({QStringLiteral("a"), QStringLiteral("b")}));

    // An edit away from the caret, by program as by a find-and-replace.
    QTextCursor middle(view->document());
    middle.setPosition(10);
    middle.insertText(QStringLiteral("\\label{mid}\u2029\\label{\U0001D465}\n"));
    EXPECT_EQ(labelsOffered(), QStringList({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("mid"),
                                            QStringLiteral("\U0001D465")}));

    middle.setPosition(0);
    middle.setPosition(10, QTextCursor::KeepAnchor);
    middle.removeSelectedText();
    EXPECT_EQ(labelsOffered(), QStringList({QStringLiteral("b"), QStringLiteral("mid"), QStringLiteral("\U0001D465")}));

    // A change that leaves the length as it was.
    QTextCursor same = view->document()->find(QStringLiteral("mid"));
    same.insertText(QStringLiteral("sam"));
    EXPECT_EQ(labelsOffered(), QStringList({QStringLiteral("b"), QStringLiteral("sam"), QStringLiteral("\U0001D465")}));

    middle.setPosition(0);
    middle.insertText(QStringLiteral("\\label{redone}"));
    view->document()->undo();
    view->document()->redo();
    EXPECT_TRUE(labelsOffered().contains(QStringLiteral("redone")));
    middle.setPosition(0);
    middle.insertText(QStringLiteral("\\label{undone}"));
    view->document()->undo();
    EXPECT_FALSE(labelsOffered().contains(QStringLiteral("undone")));

    view->setPlainText(QStringLiteral("\\label{whole}\n") + QString(100000, u'x'));
    view->moveCursor(QTextCursor::End);
    EXPECT_EQ(labelsOffered(), QStringList({QStringLiteral("whole")}));
}

TEST_F(CompletionTyping, BackspaceClosesAtTheBackslashOrBeforeTheDelimiter)
{
    writeDictionaries("", "document\nfigure\n");
    const auto view = makeView();
    QTest::keyClick(view.get(), '\\');
    QTest::keyClick(view.get(), Qt::Key_Backspace);
    EXPECT_EQ(textOf(*view), QString());
    EXPECT_FALSE(popupOf(*view).isShown());

    QTest::keyClicks(view.get(), QStringLiteral("\\begin{d"));
    const CDullSense &popup = popupOf(*view);
    EXPECT_EQ(selectedText(popup), QStringLiteral("document"));
    QTest::keyClick(view.get(), Qt::Key_Backspace);
    EXPECT_TRUE(popup.isShown());
    EXPECT_EQ(popup.selectedRow(), -1);
    QTest::keyClick(view.get(), Qt::Key_Backspace);
    EXPECT_EQ(textOf(*view), QStringLiteral("\\begin"));
    EXPECT_FALSE(popup.isShown());
}

TEST_F(CompletionTyping, EscapeClosesAndLeavesTheTextAsTyped)
{
    const auto view = makeView();
    QTest::keyClicks(view.get(), QStringLiteral("\\ne"));
    QTest::keyClick(view.get(), Qt::Key_Escape);
    EXPECT_FALSE(popupOf(*view).isShown());
    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_EQ(textOf(*view), QStringLiteral("\\ne\n"));
}

TEST_F(CompletionTyping, TabInsertsItselfOnlyWhenNothingIsAccepted)
{
    const auto view = makeView();
    QTest::keyClick(view.get(), Qt::Key_Tab);
    EXPECT_EQ(textOf(*view), QStringLiteral("\t"));
    QTest::keyClicks(view.get(), QStringLiteral("\\de\t"));
    EXPECT_EQ(textOf(*view), QStringLiteral("\t\\def"));
    QTest::keyClicks(view.get(), QStringLiteral("\\zz\t"));
    EXPECT_EQ(textOf(*view), QStringLiteral("\t\\def\\zz\t"));
}

TEST_F(CompletionTyping, LeftRightAndDeleteDoNothingWhileOpenAndAClickClosesTheList)
{
    const auto view = makeView(QStringLiteral("abc "));
    QTest::keyClick(view.get(), '\\');
    for (const Qt::Key key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Delete})
        QTest::keyClick(view.get(), key);
    EXPECT_EQ(textOf(*view), QStringLiteral("abc \\"));
    EXPECT_EQ(caretOf(*view), 5);
    EXPECT_TRUE(popupOf(*view).isShown());

    // The click lands where it is aimed, and Enter is then a line break.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->cursorRect(QTextCursor(view->document())).center());
    EXPECT_FALSE(popupOf(*view).isShown());
    EXPECT_EQ(caretOf(*view), 0);
    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_EQ(textOf(*view), QStringLiteral("\nabc \\"));

    // A click on the caret's own place closes it too.
    view->moveCursor(QTextCursor::End);
    QTest::keyClick(view.get(), '\\');
    ASSERT_TRUE(popupOf(*view).isShown());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->cursorRect().center());
    EXPECT_FALSE(popupOf(*view).isShown());
}

TEST_F(CompletionTyping, TheListClosesWhenItsWordIsUndoneOrTheCaretLeavesIt)
{
    const QString labels = QStringLiteral("\\label{sec:a}\n\\label{sec:b}\n");
    const auto view = makeView(labels);
    const CDullSense &popup = popupOf(*view);

    // Undo by key takes the typed text away; the keys that follow are the editor's.
    QTest::keyClicks(view.get(), QStringLiteral("\\ref{"));
    ASSERT_TRUE(popup.isShown());
    QTest::keyClick(view.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(popup.isShown());
    QTest::keyClick(view.get(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(view.get(), Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(view.get(), Qt::Key_Down);
    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_FALSE(textOf(*view).contains(QStringLiteral("\\ref")));
    EXPECT_FALSE(textOf(*view).contains(QStringLiteral("sec:a}sec")));
    EXPECT_EQ(caretOf(*view), static_cast<int>(QStringLiteral("\\label{sec:a}\n\n").size()));

    // Undo from the menu, and redo after an escaped list.
    view->setPlainText(labels);
    view->moveCursor(QTextCursor::End);
    QTest::keyClicks(view.get(), QStringLiteral("\\ref{se"));
    ASSERT_TRUE(popup.isShown());
    view->undo();
    EXPECT_FALSE(popup.isShown());
    view->redo();
    QTest::keyClick(view.get(), Qt::Key_Backspace);
    QTest::keyClick(view.get(), Qt::Key_Backspace);
    QTest::keyClicks(view.get(), QStringLiteral("\\"));
    ASSERT_TRUE(popup.isShown());
    view->undo();
    EXPECT_FALSE(popup.isShown());

    // Ctrl+Home takes the caret out of the word; plain Home stays a list key.
    view->moveCursor(QTextCursor::End);
    QTest::keyClicks(view.get(), QStringLiteral("\\re"));
    QTest::keyClick(view.get(), Qt::Key_Home);
    EXPECT_TRUE(popup.isShown());
    EXPECT_EQ(popup.selectedRow(), 0);
    QTest::keyClick(view.get(), Qt::Key_Home, Qt::ControlModifier);
    EXPECT_FALSE(popup.isShown());
    EXPECT_EQ(caretOf(*view), 0);

    // An edit by program before the word moves it away from the anchor.
    view->moveCursor(QTextCursor::End);
    QTest::keyClicks(view.get(), QStringLiteral("\\ref{s"));
    ASSERT_TRUE(popup.isShown());
    QTextCursor(view->document()).insertText(QStringLiteral("%"));
    EXPECT_FALSE(popup.isShown());

    // One after the caret leaves the word where it was, and the list with it.
    QTest::keyClicks(view.get(), QStringLiteral(" \\ref{s"));
    ASSERT_TRUE(popup.isShown());
    QTextCursor after(view->document());
    after.movePosition(QTextCursor::End);
    after.insertText(QStringLiteral(" after"));
    view->moveCursor(QTextCursor::Left);
    view->moveCursor(QTextCursor::Left);
    view->moveCursor(QTextCursor::Right);
    EXPECT_FALSE(popup.isShown());
}

TEST_F(CompletionTyping, JapaneseThatMatchesNothingEndsTheWordAndCloseBraceNeverReopens)
{
    const auto view = makeView(QStringLiteral("\\label{sec:a}\\label{図:結果}\n"));
    const CDullSense &popup = popupOf(*view);
    const auto commit = [&view](const QString &text) {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(view.get(), &event);
    };

    // A full-width brace from the input method, and the sentence after it.
    QTest::keyClicks(view.get(), QStringLiteral("\\ref{"));
    ASSERT_TRUE(popup.isShown());
    commit(QStringLiteral("｝はじめに"));
    EXPECT_FALSE(popup.isShown());
    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_TRUE(textOf(*view).endsWith(QStringLiteral("\\ref{｝はじめに\n")));

    // Japanese that a label starts with keeps the list; ASCII that matches nothing
    // keeps it too, as before.
    QTest::keyClicks(view.get(), QStringLiteral("\\ref{"));
    commit(QStringLiteral("図"));
    EXPECT_TRUE(popup.isShown());
    EXPECT_EQ(selectedText(popup), QStringLiteral("図:結果"));
    QTest::keyClick(view.get(), Qt::Key_Escape);
    QTest::keyClicks(view.get(), QStringLiteral("\\zz"));
    EXPECT_TRUE(popup.isShown());
    QTest::keyClick(view.get(), Qt::Key_Escape);

    // The brace that accepts a label closes its argument and opens nothing.
    QTest::keyClicks(view.get(), QStringLiteral("\\ref{sec}"));
    EXPECT_FALSE(popup.isShown());
    EXPECT_TRUE(textOf(*view).endsWith(QStringLiteral("\\ref{sec:a}")));
    commit(QStringLiteral("を参照"));
    EXPECT_FALSE(popup.isShown());
}

TEST_F(CompletionTyping, NavigationKeysMoveTheSelectionByRowsAndPages)
{
    QByteArray functions;
    for (char name = 'a'; name < 'a' + 16; ++name)
        functions += QByteArray("define z") + name + '\n';
    writeDictionaries(functions);
    const auto view = makeView();
    QTest::keyClick(view.get(), '\\');
    const CDullSense &popup = popupOf(*view);
    ASSERT_EQ(popup.items().size(), 30);
    EXPECT_EQ(popup.selectedRow(), 0);

    QTest::keyClick(view.get(), Qt::Key_PageDown);
    EXPECT_EQ(popup.selectedRow(), 11);
    for (int i = 0; i < 14; ++i)
        QTest::keyClick(view.get(), Qt::Key_Down);
    EXPECT_EQ(popup.selectedRow(), 25);
    QTest::keyClick(view.get(), Qt::Key_PageDown);
    EXPECT_EQ(popup.selectedRow(), 29);
    QTest::keyClick(view.get(), Qt::Key_Down);
    EXPECT_EQ(popup.selectedRow(), 29);
    QTest::keyClick(view.get(), Qt::Key_PageUp);
    EXPECT_EQ(popup.selectedRow(), 18);
    QTest::keyClick(view.get(), Qt::Key_Home);
    EXPECT_EQ(popup.selectedRow(), 0);
    QTest::keyClick(view.get(), Qt::Key_Up);
    EXPECT_EQ(popup.selectedRow(), 0);
    QTest::keyClick(view.get(), Qt::Key_End);
    EXPECT_EQ(popup.selectedRow(), 29);
    EXPECT_EQ(textOf(*view), QStringLiteral("\\"));
    EXPECT_LE(popup.height(), 10 * popup.sizeHintForRow(0) + 2 * popup.frameWidth());
}

TEST_F(CompletionTyping, AListOpensAtItsTopWhereverTheLastOneWasScrolled)
{
    QString labels;
    for (int i = 0; i < 40; ++i)
        labels += QStringLiteral("\\label{l%1}\n").arg(i, 2, 10, QLatin1Char('0'));
    const auto view = makeView(labels);
    const CDullSense &popup = popupOf(*view);
    QTest::keyClicks(view.get(), QStringLiteral("\\ref{l39"));
    ASSERT_TRUE(popup.isShown());
    ASSERT_GT(popup.verticalScrollBar()->value(), 0);
    QTest::keyClick(view.get(), Qt::Key_Escape);

    QTest::keyClicks(view.get(), QStringLiteral("}"));
    QTest::keyClick(view.get(), Qt::Key_Return);
    QTest::keyClicks(view.get(), QStringLiteral("\\ref{"));
    ASSERT_TRUE(popup.isShown());
    EXPECT_EQ(popup.selectedRow(), -1);
    EXPECT_EQ(popup.verticalScrollBar()->value(), 0);
}

TEST_F(CompletionTyping, ClickSelectsAndDoubleClickAccepts)
{
    const auto view = makeView();
    QTest::keyClicks(view.get(), QStringLiteral("\\re"));
    CDullSense &popup = popupOf(*view);
    const int row = static_cast<int>(popup.items().indexOf(QStringLiteral("\\renewenvironment")));
    const QPoint rowCentre = popup.visualRect(popup.model()->index(row, 0)).center();

    QTest::mouseClick(popup.viewport(), Qt::LeftButton, {}, rowCentre);
    EXPECT_EQ(popup.selectedRow(), row);
    EXPECT_NE(QApplication::focusWidget(), &popup);

    QTest::mouseDClick(popup.viewport(), Qt::LeftButton, {}, rowCentre);
    EXPECT_EQ(textOf(*view), QStringLiteral("\\renewenvironment"));
    EXPECT_FALSE(popup.isShown());
}

TEST_F(CompletionTyping, PopupOpensAboveTheLineAtTheBottomAndLeftOfTheCaretAtTheRight)
{
    QString text;
    for (int line = 0; line < 40; ++line)
        text += QStringLiteral("line\n");
    const auto view = makeView(text + QString(200, QLatin1Char('x')));
    QTest::keyClick(view.get(), '\\');

    const CDullSense &popup = popupOf(*view);
    const QRect caret = view->cursorRect().translated(view->viewport()->geometry().topLeft());
    EXPECT_LE(popup.geometry().bottom(), caret.top());
    EXPECT_LT(popup.geometry().right(), caret.left());
    EXPECT_TRUE(view->viewport()->geometry().contains(popup.geometry()));
}

TEST_F(CompletionTyping, PopupOpensBelowAndRightOfTheCaretWhereThereIsRoom)
{
    const auto view = makeView();
    QTest::keyClick(view.get(), '\\');
    const CDullSense &popup = popupOf(*view);
    const QRect caret = view->cursorRect().translated(view->viewport()->geometry().topLeft());
    EXPECT_GT(popup.geometry().top(), caret.bottom());
    EXPECT_GT(popup.geometry().left(), caret.right());
}

TEST_F(CompletionTyping, InputMethodCommitsTakeTheTypingRoadAndPreeditStaysInTheEditor)
{
    writeDictionaries("define section\n");
    const auto view = makeView();
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("\\sec"));
    QApplication::sendEvent(view.get(), &commit);
    const CDullSense &popup = popupOf(*view);
    EXPECT_TRUE(popup.isShown());
    EXPECT_EQ(selectedText(popup), QStringLiteral("\\section"));

    QInputMethodEvent preedit(QStringLiteral("\u305b"), {});
    QApplication::sendEvent(view.get(), &preedit);
    EXPECT_TRUE(popup.isShown());
    EXPECT_EQ(textOf(*view), QStringLiteral("\\sec"));

    QInputMethodEvent brace;
    brace.setCommitString(QStringLiteral("{"));
    QApplication::sendEvent(view.get(), &brace);
    EXPECT_EQ(textOf(*view), QStringLiteral("\\section{"));
    EXPECT_FALSE(popup.isShown());
}

} // namespace
