#include "CAboutDlg.h"
#include "CEncodingDialog.h"
#include "CExternProgSettingDlg.h"
#include "ExternalProgramTable.h"
#include "FindReplaceDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// Every label, box and button of a dialog is at least as large as its own text asks
// in the font actually used, lies inside the dialog and overlaps no other control
// but the group box around it; the dialog is wide enough for its title.
void expectNothingClipped(QDialog &dialog)
{
    dialog.show();
    QCoreApplication::processEvents();
    const QString name = dialog.windowTitle();
    EXPECT_GE(dialog.width(), QFontMetrics(QApplication::font()).horizontalAdvance(name)) << name.toStdString();

    std::vector<QWidget *> controls;
    for (QWidget *control : dialog.findChildren<QWidget *>()) {
        if (control->isVisible()
            && (qobject_cast<QLabel *>(control) || qobject_cast<QAbstractButton *>(control)
                || qobject_cast<QComboBox *>(control) || qobject_cast<QGroupBox *>(control)))
            controls.push_back(control);
    }
    ASSERT_FALSE(controls.empty());
    for (const QWidget *control : controls) {
        const QSize hint = control->sizeHint().isValid() ? control->sizeHint() : control->minimumSizeHint();
        const QRect inDialog(control->mapTo(&dialog, QPoint()), control->size());
        const auto *button = qobject_cast<const QAbstractButton *>(control);
        const auto *label = qobject_cast<const QLabel *>(control);
        const std::string text = (button ? button->text() : label ? label->text() : QString()).toStdString();
        EXPECT_GE(control->width(), hint.width()) << name.toStdString() << ": " << text;
        EXPECT_GE(control->height(), hint.height()) << name.toStdString() << ": " << text;
        EXPECT_TRUE(dialog.rect().contains(inDialog)) << name.toStdString() << ": " << text;
        for (const QWidget *other : controls) {
            if (other == control || qobject_cast<const QGroupBox *>(control) || qobject_cast<const QGroupBox *>(other)
                || control->parentWidget() != other->parentWidget())
                continue;
            EXPECT_FALSE(control->geometry().intersects(other->geometry())) << name.toStdString() << ": " << text;
        }
    }
    dialog.hide();
}

TEST(DialogTextTest, EveryDialogShowsItsTextsWhole)
{
    CEncodingDialog encoding;
    expectNothingClipped(encoding);

    ExternalProgramTable table;
    table.Add(ExternalProgram(QStringLiteral("platex"), QStringLiteral("platex"), QStringLiteral("\"%s.tex\"")));
    CExternProgSettingDlg programs(table);
    expectNothingClipped(programs);

    CAboutDlg about;
    expectNothingClipped(about);

    FindReplaceDialog find(FindReplaceDialog::Mode::Find, nullptr);
    expectNothingClipped(find);
    FindReplaceDialog replace(FindReplaceDialog::Mode::Replace, nullptr);
    expectNothingClipped(replace);
}

} // namespace
