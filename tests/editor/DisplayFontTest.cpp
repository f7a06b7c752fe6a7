#include "EditorFixture.h"

#include "CLineWindow.h"
#include "CommandIds.h"
#include "TwipsConversion.h"

#include <QFontDatabase>
#include <QFontDialog>

namespace {

class DisplayFontTest : public EditorFixture
{
protected:
    void storeFont(const QString &name, int size) const
    {
        m_profile.writeString(QStringLiteral("DisplayFont"), QStringLiteral("Name"), name);
        m_profile.writeInt(QStringLiteral("DisplayFont"), QStringLiteral("Size"), size);
    }

    int storedSize() const { return storedInt(QStringLiteral("DisplayFont"), QStringLiteral("Size")); }

    // Runs the font command with the dialog confirmed as it opened; returns the
    // logical height it opened with.
    int confirmFontDialog(CUltraEditView &view) const
    {
        int openedWith = 0;
        ModalHost::answerDialogsWith([&openedWith, &view](QDialog &dialog) {
            const QFont initial = static_cast<QFontDialog &>(dialog).currentFont();
            openedWith = TwipsConversion::dialogHeightOf(initial, view.logicalDpiY());
            return int(QDialog::Accepted);
        });
        view.executeCommand(CommandId::ChangeFont);
        return openedWith;
    }

    static QString fixedFamily() { return QFontDatabase::systemFont(QFontDatabase::FixedFont).family(); }
};

TEST_F(DisplayFontTest, TwipsAndDialogHeightsTruncateTowardsZero)
{
    EXPECT_EQ(TwipsConversion::toDialogHeight(200, 96), -13);
    EXPECT_EQ(TwipsConversion::fromDialogHeight(-13, 96), 195);
    EXPECT_EQ(TwipsConversion::toDialogHeight(195, 96), -13);
    EXPECT_EQ(TwipsConversion::toDialogHeight(200, 120), -16);
    EXPECT_EQ(TwipsConversion::fromDialogHeight(-16, 120), 192);
    EXPECT_EQ(TwipsConversion::dialogHeightOfPoints(10, 96), -13);
    EXPECT_EQ(TwipsConversion::dialogHeightOfPoints(9.75, 96), -13);
    QFont font;
    font.setPointSizeF(10.5);
    EXPECT_EQ(TwipsConversion::twipsOf(font, 96), 210);
    font.setPixelSize(16);
    EXPECT_EQ(TwipsConversion::twipsOf(font, 96), 240);
    EXPECT_EQ(TwipsConversion::dialogHeightOf(font, 96), -16);
}

TEST_F(DisplayFontTest, TheStoredFontIsUsedAndWrittenBackOnlyAtTheEnd)
{
    storeFont(fixedFamily(), 300);
    {
        auto view = makeView();
        EXPECT_EQ(view->font().family(), fixedFamily());
        EXPECT_DOUBLE_EQ(view->font().pointSizeF(), 15.0);
        m_profile.writeInt(QStringLiteral("DisplayFont"), QStringLiteral("Size"), 1);
    }
    EXPECT_EQ(storedSize(), 300);
    EXPECT_EQ(storedString(QStringLiteral("DisplayFont"), QStringLiteral("Name")), fixedFamily());
}

TEST_F(DisplayFontTest, WithoutUsableSettingsTheControlsOwnFixedFontStays)
{
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    {
        auto view = makeView();
        EXPECT_EQ(view->font().family(), fixed.family());
    }
    const int initialSize = storedSize();
    EXPECT_GT(initialSize, 0);
    EXPECT_EQ(storedString(QStringLiteral("DisplayFont"), QStringLiteral("Name")), fixed.family());

    storeFont(QString(), 0);
    makeView().reset();
    EXPECT_EQ(storedSize(), initialSize);
    EXPECT_EQ(storedString(QStringLiteral("DisplayFont"), QStringLiteral("Name")), fixed.family());
}

TEST_F(DisplayFontTest, ASizeConfirmedUnchangedSettlesAndCancelChangesNothing)
{
    storeFont(fixedFamily(), 200);
    {
        auto view = makeView();
        ASSERT_EQ(view->logicalDpiY(), 96);
        EXPECT_EQ(confirmFontDialog(*view), -13);
    }
    EXPECT_EQ(storedSize(), 195);
    {
        auto view = makeView();
        EXPECT_EQ(confirmFontDialog(*view), -13);
    }
    EXPECT_EQ(storedSize(), 195);

    auto view = makeView();
    const QFont before = view->font();
    const int width = view->lineWindowWidth();
    m_profile.writeInt(QStringLiteral("ShowLineNumber"), QStringLiteral("ShowLineNumber"), 5);
    ModalHost::answerDialogsWith([](QDialog &dialog) {
        QFont huge(fixedFamily());
        huge.setPointSize(40);
        static_cast<QFontDialog &>(dialog).setCurrentFont(huge);
        return int(QDialog::Rejected);
    });
    view->executeCommand(CommandId::ChangeFont);
    EXPECT_EQ(view->font(), before);
    EXPECT_EQ(view->lineWindowWidth(), width);
    EXPECT_EQ(storedInt(QStringLiteral("ShowLineNumber"), QStringLiteral("ShowLineNumber")), 5);
}

TEST_F(DisplayFontTest, ANewFontRemakesTheGutterToItsWidth)
{
    storeFont(fixedFamily(), 200);
    auto view = makeView(QStringLiteral("text"));
    const int narrow = view->lineWindowWidth();
    m_profile.writeInt(QStringLiteral("ShowLineNumber"), QStringLiteral("ShowLineNumber"), 5);
    ModalHost::answerDialogsWith([](QDialog &dialog) {
        QFont large(fixedFamily());
        large.setPointSize(30);
        static_cast<QFontDialog &>(dialog).setCurrentFont(large);
        return int(QDialog::Accepted);
    });
    view->executeCommand(CommandId::ChangeFont);
    EXPECT_DOUBLE_EQ(view->font().pointSizeF(), 30.0);
    ASSERT_NE(view->lineWindow(), nullptr);
    EXPECT_GT(view->lineWindowWidth(), narrow);
    EXPECT_EQ(view->lineWindow()->width(), view->lineWindowWidth());
    EXPECT_EQ(storedInt(QStringLiteral("ShowLineNumber"), QStringLiteral("ShowLineNumber")), 1);
    view.reset();
    EXPECT_EQ(storedSize(), 600);
}

} // namespace
