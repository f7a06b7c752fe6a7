#include "CEncodingDialog.h"

#include "DialogTemplate.h"
#include "TextEncoding.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <optional>

namespace {

bool isUtfIndex(int index)
{
    const std::optional<TextEncoding> encoding = textEncodingFromCode(index);
    return encoding && carriesByteOrderMark(*encoding);
}

// The list shows the highest encoding whose bit is set.
int listIndexOf(EncodingFlags value)
{
    int index = 0;
    for (const TextEncoding encoding : AllTextEncodings) {
        if (value.hasEncoding(encoding))
            index = textEncodingIndex(encoding);
    }
    return index;
}

} // namespace

CEncodingDialog::CEncodingDialog(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("保存用文字エンコード・改行コードの設定"));
    createControls();
    showValue();
}

void CEncodingDialog::createControls()
{
    QFont dialogFont(QStringLiteral("MS Shell Dlg"), 8);
    dialogFont.setStyleHint(QFont::SansSerif);
    setFont(dialogFont);
    DialogTemplate layout(*this, dialogFont, 260, 106);

    // Created in tab order.
    m_encodingList = new QComboBox(this);
    for (const TextEncoding encoding : AllTextEncodings)
        m_encodingList->addItem(dialogListText(encoding));
    layout.place(m_encodingList, 70, 14, 172, 12);
    m_byteOrderMarkBox = new QCheckBox(QStringLiteral("バイト・オーダー・マーク有り"), this);
    layout.place(m_byteOrderMarkBox, 119, 33, 97, 8);

    m_newlineButtons = new QButtonGroup(this);
    const struct
    {
        ControlId id;
        const char16_t *text;
        QRect units;
    } newlines[] = {{LfButton, u"LF (UNIX)", QRect(23, 60, 43, 10)},
                    {CrLfButton, u"CR+LF (Windows)", QRect(80, 60, 74, 10)},
                    {CrButton, u"CR (Machintosh)", QRect(168, 60, 69, 10)}};
    for (const auto &newline : newlines) {
        auto *radio = new QRadioButton(QString::fromUtf16(newline.text), this);
        m_newlineButtons->addButton(radio, newline.id);
        layout.place(radio, newline.units.x(), newline.units.y(), newline.units.width(), newline.units.height());
    }

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    layout.place(ok, 79, 85, 41, 14);
    auto *cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    layout.place(cancel, 138, 85, 41, 14);
    layout.place(new QLabel(QStringLiteral("文字エンコード"), this), 15, 17, 47, 8);
    auto *newlineGroup = new QGroupBox(QStringLiteral("改行コード"), this);
    layout.place(newlineGroup, 15, 50, 227, 28);
    newlineGroup->lower();
    layout.layOut();

    connect(ok, &QPushButton::clicked, this, &CEncodingDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &CEncodingDialog::reject);
    connect(m_encodingList, &QComboBox::currentIndexChanged, this, &CEncodingDialog::enableByteOrderMarkFor);
    m_encodingList->setFocus();
}

void CEncodingDialog::setValue(EncodingFlags value)
{
    m_value = value;
    showValue();
}

void CEncodingDialog::showValue()
{
    const int index = listIndexOf(m_value);
    m_encodingList->setCurrentIndex(index);
    // The box shows whether the file has a mark now; checking it for every UTF
    // encoding would add a mark the file never had.
    m_byteOrderMarkBox->setChecked(isUtfIndex(index) && m_value.hasByteOrderMark());
    enableByteOrderMarkFor(index);
    switch (m_value.newlineCode()) {
    case NewlineCode::CrLf:
        m_newlineButtons->button(CrLfButton)->setChecked(true);
        break;
    case NewlineCode::Cr:
        m_newlineButtons->button(CrButton)->setChecked(true);
        break;
    case NewlineCode::Lf:
    case NewlineCode::NotSet:
        m_newlineButtons->button(LfButton)->setChecked(true);
        break;
    }
}

void CEncodingDialog::enableByteOrderMarkFor(int index)
{
    m_byteOrderMarkBox->setEnabled(isUtfIndex(index));
}

EncodingFlags CEncodingDialog::composeValue() const
{
    const int index = m_encodingList->currentIndex();
    const TextEncoding encoding = textEncodingFromCode(index).value_or(TextEncoding::ShiftJis);
    const bool mark = isUtfIndex(index) && m_byteOrderMarkBox->isChecked();
    NewlineCode newline = NewlineCode::CrLf;
    if (m_newlineButtons->checkedId() == LfButton)
        newline = NewlineCode::Lf;
    else if (m_newlineButtons->checkedId() == CrButton)
        newline = NewlineCode::Cr;
    return EncodingFlags(encoding, mark, newline);
}

void CEncodingDialog::accept()
{
    m_value = composeValue();
    QDialog::accept();
}
