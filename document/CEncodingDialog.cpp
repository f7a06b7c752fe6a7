#include "CEncodingDialog.h"

#include "DialogUnits.h"
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
    const DialogUnits units(dialogFont);

    auto *listLabel = new QLabel(QStringLiteral("文字エンコード"), this);
    auto *newlineGroup = new QGroupBox(QStringLiteral("改行コード"), this);
    m_encodingList = new QComboBox(this);
    for (const TextEncoding encoding : AllTextEncodings)
        m_encodingList->addItem(dialogListText(encoding));
    m_byteOrderMarkBox = new QCheckBox(QStringLiteral("バイト・オーダー・マーク有り"), this);

    m_newlineButtons = new QButtonGroup(this);
    const std::pair<ControlId, const char16_t *> newlines[] = {
        {LfButton, u"LF (UNIX)"}, {CrLfButton, u"CR+LF (Windows)"}, {CrButton, u"CR (Machintosh)"}};
    const QRect newlineRects[] = {units.toPixels(23, 60, 43, 10), units.toPixels(80, 60, 74, 10),
                                  units.toPixels(168, 60, 69, 10)};
    std::vector<QRadioButton *> radios;
    for (std::size_t i = 0; i < std::size(newlines); ++i) {
        auto *radio = new QRadioButton(QString::fromUtf16(newlines[i].second), this);
        m_newlineButtons->addButton(radio, newlines[i].first);
        radio->setGeometry(newlineRects[i]);
        radios.push_back(radio);
    }

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    connect(ok, &QPushButton::clicked, this, &CEncodingDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &CEncodingDialog::reject);
    connect(m_encodingList, &QComboBox::currentIndexChanged, this, &CEncodingDialog::enableByteOrderMarkFor);

    // Texts are taller in the fonts this platform has than the template allows,
    // so every control gets at least the height it asks for.
    const auto place = [](QWidget *widget, const QRect &rect) {
        widget->setGeometry(rect.adjusted(0, 0, 0, qMax(0, widget->sizeHint().height() - rect.height())));
    };
    place(m_encodingList, units.toPixels(70, 14, 172, 12));
    place(m_byteOrderMarkBox, units.toPixels(119, 33, 97, 8));
    for (std::size_t i = 0; i < radios.size(); ++i)
        place(radios[i], newlineRects[i]);
    place(ok, units.toPixels(79, 85, 41, 14));
    place(cancel, units.toPixels(138, 85, 41, 14));
    place(listLabel, units.toPixels(15, 17, 47, 8));
    newlineGroup->setGeometry(units.toPixels(15, 50, 227, 28));
    newlineGroup->lower();
    setTabOrder(m_encodingList, m_byteOrderMarkBox);
    setTabOrder(m_byteOrderMarkBox, ok);
    setTabOrder(ok, cancel);
    setFixedSize(units.toPixels(0, 0, 260, 106).size());
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
