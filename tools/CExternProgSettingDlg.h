#pragma once

#include "ExternalProgramTable.h"

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;

// Edits the executable and the option template of every outside program on a
// working copy of the table; OK puts the copy back, Cancel drops it. Names are
// never changed and no entry is added or removed.
class CExternProgSettingDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CExternProgSettingDlg(ExternalProgramTable &table, QWidget *parent = nullptr);

    void accept() override;

private:
    void createControls();
    void fillList();
    void onSelectionChanged();
    void storeFields(int position);
    void showEntry(int position);
    void browseForExecutable();

    ExternalProgramTable &m_table;
    ExternalProgramTable m_workingCopy;
    int m_shownIndex = -1;
    QListWidget *m_programList = nullptr;
    QLineEdit *m_executableEdit = nullptr;
    QLineEdit *m_optionEdit = nullptr;
    QPushButton *m_browseButton = nullptr;
};

// Runs the settings dialog on the table; true when the user confirmed it.
bool editExternalPrograms(QWidget *parent, ExternalProgramTable &table);
