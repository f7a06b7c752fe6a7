#include "EditorFixture.h"

#include "CommandIds.h"
#include "FindReplaceDialog.h"
#include "StringTable.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

class FindReplaceTest : public EditorFixture
{
protected:
    FindReplaceDialog *openDialog(CUltraEditView &view, int command)
    {
        view.executeCommand(command);
        const auto mode = command == CommandId::EditFind ? FindReplaceDialog::Mode::Find
                                                         : FindReplaceDialog::Mode::Replace;
        for (auto *dialog : view.findChildren<FindReplaceDialog *>()) {
            if (dialog->mode() == mode && dialog->isVisible())
                return dialog;
        }
        return nullptr;
    }

    static void fill(FindReplaceDialog &dialog, const QString &findWhat, bool matchCase = false, bool wholeWord = false)
    {
        dialog.findChild<QLineEdit *>(QStringLiteral("findWhat"))->setText(findWhat);
        dialog.findChild<QCheckBox *>(QStringLiteral("matchCase"))->setChecked(matchCase);
        dialog.findChild<QCheckBox *>(QStringLiteral("wholeWord"))->setChecked(wholeWord);
    }

    static void click(FindReplaceDialog &dialog, const char *button)
    {
        QTest::mouseClick(dialog.findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton);
    }

    // Start and end of the selection after each find, until nothing is found.
    std::vector<std::pair<int, int>> findAll(CUltraEditView &view, FindReplaceDialog &dialog)
    {
        std::vector<std::pair<int, int>> found;
        const std::size_t messages = m_answers.messages().size();
        while (m_answers.messages().size() == messages && found.size() < 10) {
            click(dialog, "findNext");
            if (m_answers.messages().size() == messages)
                found.emplace_back(view.textCursor().selectionStart(), view.textCursor().selectionEnd());
        }
        return found;
    }

    using Matches = std::vector<std::pair<int, int>>;
    static const inline QString Text = QStringLiteral("Alpha beta alpha alphabet ALPHA");
};

TEST_F(FindReplaceTest, FindingForwardsHonoursCaseAndWholeWordsAndSaysWhenTheEndIsReached)
{
    auto view = makeView(Text);
    FindReplaceDialog *dialog = openDialog(*view, CommandId::EditFind);
    ASSERT_NE(dialog, nullptr);

    fill(*dialog, QStringLiteral("alpha"));
    EXPECT_EQ(findAll(*view, *dialog), (Matches{{0, 5}, {11, 16}, {17, 22}, {26, 31}}));
    ASSERT_EQ(m_answers.messages().size(), 1u);
    EXPECT_EQ(m_answers.messages().back().text, QStringLiteral("ドキュメントを最後まで検索しました。"));
    EXPECT_EQ(m_answers.messages().back().icon, QMessageBox::Information);
    EXPECT_EQ(view->textCursor().selectionStart(), 26);

    select(*view, 0, 0);
    fill(*dialog, QStringLiteral("alpha"), true);
    EXPECT_EQ(findAll(*view, *dialog), (Matches{{11, 16}, {17, 22}}));

    select(*view, 0, 0);
    fill(*dialog, QStringLiteral("alpha"), true, true);
    EXPECT_EQ(findAll(*view, *dialog), (Matches{{11, 16}}));
    EXPECT_EQ(view->textCursor().selectionStart(), 11);
    EXPECT_EQ(view->textCursor().selectionEnd(), 16);
}

TEST_F(FindReplaceTest, FindingBackwardsSaysWhenTheStartIsReached)
{
    auto view = makeView(Text);
    select(*view, Text.size(), Text.size());
    FindReplaceDialog *dialog = openDialog(*view, CommandId::EditFind);
    ASSERT_NE(dialog, nullptr);
    dialog->findChild<QRadioButton *>(QStringLiteral("up"))->setChecked(true);
    fill(*dialog, QStringLiteral("ALPHA"), false, true);
    EXPECT_EQ(findAll(*view, *dialog), (Matches{{26, 31}, {11, 16}, {0, 5}}));
    ASSERT_EQ(m_answers.messages().size(), 1u);
    EXPECT_EQ(m_answers.messages().back().text, StringTable::text(StringTable::SearchReachedStart));
}

TEST_F(FindReplaceTest, FindNextRepeatsTheLastSearchOnceThereIsOne)
{
    auto view = makeView(Text);
    EXPECT_FALSE(isEnabled(*view, CommandId::FindNext));

    FindReplaceDialog *dialog = openDialog(*view, CommandId::EditFind);
    ASSERT_NE(dialog, nullptr);
    fill(*dialog, QStringLiteral("alpha"), true);
    click(*dialog, "findNext");
    dialog->hide();
    EXPECT_TRUE(isEnabled(*view, CommandId::FindNext));
    view->executeCommand(CommandId::FindNext);
    EXPECT_EQ(view->textCursor().selectionStart(), 17);
    view->executeCommand(CommandId::FindNext);
    ASSERT_EQ(m_answers.messages().size(), 1u);
    EXPECT_EQ(m_answers.messages().back().text, StringTable::text(StringTable::SearchReachedEnd));
    EXPECT_EQ(view->textCursor().selectionStart(), 17);

    // The dialog opens with a selected word, or else with the last search.
    select(*view, 6, 10);
    EXPECT_EQ(openDialog(*view, CommandId::EditFind)->request().findWhat, QStringLiteral("beta"));
    select(*view, 6, 6);
    EXPECT_EQ(openDialog(*view, CommandId::EditFind)->request().findWhat, QStringLiteral("alpha"));
}

TEST_F(FindReplaceTest, ReplaceTakesTheMatchItStandsOnAndMovesToTheNext)
{
    auto view = makeView(QStringLiteral("cat dog cat"));
    FindReplaceDialog *dialog = openDialog(*view, CommandId::EditReplace);
    ASSERT_NE(dialog, nullptr);
    fill(*dialog, QStringLiteral("cat"));
    dialog->findChild<QLineEdit *>(QStringLiteral("replaceWith"))->setText(QStringLiteral("bird"));

    click(*dialog, "replace");
    EXPECT_EQ(view->toPlainText(), QStringLiteral("cat dog cat"));
    EXPECT_EQ(view->textCursor().selectedText(), QStringLiteral("cat"));
    click(*dialog, "replace");
    EXPECT_EQ(view->toPlainText(), QStringLiteral("bird dog cat"));
    EXPECT_EQ(view->textCursor().selectionStart(), 9);
    click(*dialog, "replace");
    EXPECT_EQ(view->toPlainText(), QStringLiteral("bird dog bird"));
    ASSERT_EQ(m_answers.messages().size(), 1u);
    EXPECT_EQ(m_answers.messages().back().text, StringTable::text(StringTable::SearchReachedEnd));
}

TEST_F(FindReplaceTest, ReplaceAllIsOneUndoStepAndNeverReplacesItsOwnResult)
{
    const QString text = QStringLiteral("a cat\nand a cat\ncatalogue");
    auto view = makeView(text);
    select(*view, 20, 20);
    FindReplaceDialog *dialog = openDialog(*view, CommandId::EditReplace);
    ASSERT_NE(dialog, nullptr);
    fill(*dialog, QStringLiteral("cat"), false, true);
    dialog->findChild<QLineEdit *>(QStringLiteral("replaceWith"))->setText(QStringLiteral("cat cat"));
    click(*dialog, "replaceAll");
    EXPECT_EQ(view->toPlainText(), QStringLiteral("a cat cat\nand a cat cat\ncatalogue"));
    EXPECT_TRUE(m_answers.messages().empty());

    view->undo();
    EXPECT_EQ(view->toPlainText(), text);

    fill(*dialog, QStringLiteral("mouse"));
    click(*dialog, "replaceAll");
    EXPECT_EQ(view->toPlainText(), text);
    ASSERT_EQ(m_answers.messages().size(), 1u);
    EXPECT_EQ(m_answers.messages().back().text, StringTable::text(StringTable::SearchReachedEnd));
}

} // namespace
