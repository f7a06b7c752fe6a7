#include "CEncodingDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace {

struct DialogView
{
    explicit DialogView(CEncodingDialog &dialog)
        : list(dialog.findChild<QComboBox *>())
        , mark(dialog.findChild<QCheckBox *>())
    {
        for (QRadioButton *radio : dialog.findChildren<QRadioButton *>())
            radios.append(radio);
    }

    QString checkedNewline() const
    {
        for (const QRadioButton *radio : radios) {
            if (radio->isChecked())
                return radio->text();
        }
        return {};
    }

    QComboBox *list;
    QCheckBox *mark;
    QList<QRadioButton *> radios;
};

EncodingFlags acceptedValue(EncodingFlags initial, const std::function<void(DialogView &)> &edit)
{
    CEncodingDialog dialog;
    dialog.setValue(initial);
    DialogView view(dialog);
    edit(view);
    dialog.accept();
    return dialog.value();
}

TEST(EncodingDialogTest, ShowsTheValueItIsGiven)
{
    CEncodingDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), "保存用文字エンコード・改行コードの設定");
    DialogView view(dialog);
    ASSERT_EQ(view.list->count(), 6);
    EXPECT_EQ(view.list->itemText(0), "シフトJIS");
    EXPECT_EQ(view.list->itemText(4), "UTF-16 (Little endian)");
    EXPECT_EQ(view.mark->text(), "バイト・オーダー・マーク有り");
    // The initial value is this platform's: UTF-8, no mark, LF.
    EXPECT_EQ(view.list->currentIndex(), 3);
    EXPECT_FALSE(view.mark->isChecked());
    EXPECT_TRUE(view.mark->isEnabled());
    EXPECT_EQ(view.checkedNewline(), "LF (UNIX)");

    dialog.setValue(EncodingFlags(0x6010));
    EXPECT_EQ(view.list->currentIndex(), 4);
    EXPECT_TRUE(view.mark->isChecked());

    dialog.setValue(EncodingFlags(0xC002));
    EXPECT_EQ(view.list->currentIndex(), 1);
    EXPECT_FALSE(view.mark->isEnabled());
    EXPECT_EQ(view.checkedNewline(), "CR (Machintosh)");

    // Several encoding bits: the highest is shown.
    dialog.setValue(EncodingFlags(0x8005));
    EXPECT_EQ(view.list->currentIndex(), 2);
    EXPECT_EQ(view.checkedNewline(), "CR+LF (Windows)");
}

TEST(EncodingDialogTest, OkComposesTheValue)
{
    // Unchanged, a UTF-8 file without a mark stays without one.
    EXPECT_EQ(acceptedValue(EncodingFlags(0x8008), [](DialogView &) {}).value(), 0x8008);
    EXPECT_EQ(acceptedValue(EncodingFlags(0x4008),
                            [](DialogView &view) {
                                view.list->setCurrentIndex(1);
                                view.radios[2]->setChecked(true);
                            })
                  .value(),
              0xC002);
    EXPECT_EQ(acceptedValue(EncodingFlags(0x4008),
                            [](DialogView &view) {
                                view.list->setCurrentIndex(4);
                                view.mark->setChecked(true);
                            })
                  .value(),
              0x6010);
    // A checked box stays checked but greyed for EUC-JP, and is ignored there.
    EXPECT_EQ(acceptedValue(EncodingFlags(0x4008),
                            [](DialogView &view) {
                                view.list->setCurrentIndex(5);
                                view.mark->setChecked(true);
                                view.list->setCurrentIndex(1);
                                EXPECT_TRUE(view.mark->isChecked());
                                EXPECT_FALSE(view.mark->isEnabled());
                            })
                  .value(),
              0x4002);
    EXPECT_EQ(acceptedValue(EncodingFlags(0x4008), [](DialogView &view) { view.list->setCurrentIndex(-1); }).value(),
              0x4001);
}

TEST(EncodingDialogTest, CancelKeepsTheValue)
{
    CEncodingDialog dialog;
    dialog.setValue(EncodingFlags(0x8001));
    DialogView view(dialog);
    view.list->setCurrentIndex(5);
    dialog.reject();
    EXPECT_EQ(dialog.value().value(), 0x8001);
}

} // namespace
