#include "CExternProgSettingDlg.h"

#include "DialogTemplate.h"
#include "ExecutableFileFilters.h"
#include "ModalHost.h"
#include "StringTable.h"

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

template<typename Control>
Control *place(Control *control, DialogTemplate &layout, int x, int y, int width, int height)
{
    layout.place(control, x, y, width, height);
    return control;
}

} // namespace

CExternProgSettingDlg::CExternProgSettingDlg(ExternalProgramTable &table, QWidget *parent)
    : QDialog(parent)
    , m_table(table)
{
    setWindowTitle(QString::fromUtf8("外部プログラムの設定"));
    createControls();
    fillList();
    m_programList->setFocus();
}

void CExternProgSettingDlg::createControls()
{
    DialogTemplate layout(*this, font(), 295, 161);

    // Created in tab order.
    m_programList = place(new QListWidget(this), layout, 22, 25, 89, 103);
    m_programList->setObjectName(QStringLiteral("programList"));
    m_executableEdit = place(new QLineEdit(this), layout, 135, 52, 115, 12);
    m_executableEdit->setObjectName(QStringLiteral("executableEdit"));
    m_browseButton = place(new QPushButton(QString::fromUtf8("参照"), this), layout, 254, 52, 27, 11);
    m_browseButton->setObjectName(QStringLiteral("browseButton"));
    m_browseButton->setAutoDefault(false);
    m_optionEdit = place(new QLineEdit(this), layout, 135, 92, 115, 12);
    m_optionEdit->setObjectName(QStringLiteral("optionEdit"));
    auto *ok = place(new QPushButton(QStringLiteral("OK"), this), layout, 89, 140, 50, 14);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    auto *cancel = place(new QPushButton(QString::fromUtf8("キャンセル"), this), layout, 155, 140, 50, 14);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setAutoDefault(false);
    place(new QLabel(QString::fromUtf8("プログラム一覧"), this), layout, 16, 14, 47, 8);
    place(new QLabel(QString::fromUtf8("実行ファイル名"), this), layout, 128, 39, 48, 8);
    place(new QLabel(QString::fromUtf8("コマンドライン"), this), layout, 129, 79, 41, 8);
    layout.layOut();

    connect(m_programList, &QListWidget::currentRowChanged, this, &CExternProgSettingDlg::onSelectionChanged);
    connect(m_browseButton, &QPushButton::clicked, this, &CExternProgSettingDlg::browseForExecutable);
    connect(ok, &QPushButton::clicked, this, &CExternProgSettingDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CExternProgSettingDlg::reject);
}

void CExternProgSettingDlg::fillList()
{
    m_workingCopy = m_table;
    const QSignalBlocker quiet(m_programList);
    for (int position = 0; position < m_workingCopy.GetCount(); ++position)
        m_programList->addItem(m_workingCopy.GetAt(position).name());
    if (m_programList->count() == 0)
        return;
    m_programList->setCurrentRow(0);
    showEntry(0);
}

void CExternProgSettingDlg::showEntry(int position)
{
    m_shownIndex = position;
    const ExternalProgram entry = m_workingCopy.FindByName(m_programList->item(position)->text());
    m_executableEdit->setText(entry.executable());
    m_optionEdit->setText(entry.optionTemplate());
}

void CExternProgSettingDlg::storeFields(int position)
{
    const QString name = m_programList->item(position)->text();
    const int index = m_workingCopy.IndexOfName(name);
    if (index >= 0)
        m_workingCopy.SetAt(index, ExternalProgram(m_workingCopy.GetAt(index).name(),
                                                   m_executableEdit->text().trimmed(), m_optionEdit->text().trimmed()));
}

void CExternProgSettingDlg::onSelectionChanged()
{
    if (m_shownIndex != -1)
        storeFields(m_shownIndex);
    const int selected = m_programList->currentRow();
    if (selected >= 0)
        showEntry(selected);
}

void CExternProgSettingDlg::accept()
{
    const int selected = m_programList->currentRow();
    if (selected >= 0)
        storeFields(selected);
    m_table = m_workingCopy;
    QDialog::accept();
}

void CExternProgSettingDlg::browseForExecutable()
{
    QFileDialog dialog(this);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(ExecutableFileFilters(StringTable::text(StringTable::ExecutableFilter)));
    if (ModalHost::runDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    m_executableEdit->setText(dialog.selectedFiles().constFirst());
}

bool editExternalPrograms(QWidget *parent, ExternalProgramTable &table)
{
    CExternProgSettingDlg dialog(table, parent);
    return ModalHost::runDialog(dialog) == QDialog::Accepted;
}
