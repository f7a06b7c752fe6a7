#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The modeless find and replace dialogs. They only collect what to search for and
// say what the user asked; the view they serve does the searching.
class FindReplaceDialog : public QDialog
{
    Q_OBJECT

public:
    enum class Mode { Find, Replace };

    struct Request
    {
        QString findWhat;
        bool down = true;
        bool matchCase = false;
        bool wholeWord = false;
    };

    FindReplaceDialog(Mode mode, QWidget *parent);

    Mode mode() const { return m_mode; }
    void setFindWhat(const QString &text);
    Request request() const;
    QString replaceWith() const;

signals:
    void findNextRequested(const FindReplaceDialog::Request &request);
    void replaceRequested(const FindReplaceDialog::Request &request, const QString &replaceWith);
    void replaceAllRequested(const FindReplaceDialog::Request &request, const QString &replaceWith);

private:
    QLayout *createFields();
    QLayout *createOptions();
    QLayout *createButtons();
    void enableButtons();

    Mode m_mode;
    QLineEdit *m_findWhat = nullptr;
    QLineEdit *m_replaceWith = nullptr;
    QCheckBox *m_wholeWord = nullptr;
    QCheckBox *m_matchCase = nullptr;
    QRadioButton *m_up = nullptr;
    QRadioButton *m_down = nullptr;
    QPushButton *m_findNextButton = nullptr;
    QPushButton *m_replaceButton = nullptr;
    QPushButton *m_replaceAllButton = nullptr;
};
