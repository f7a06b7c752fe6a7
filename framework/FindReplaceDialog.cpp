#include "FindReplaceDialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QPushButton *addButton(QVBoxLayout *column, const QString &text, const char *name)
{
    auto *button = new QPushButton(text);
    button->setObjectName(QLatin1String(name));
    column->addWidget(button);
    return button;
}

} // namespace

FindReplaceDialog::FindReplaceDialog(Mode mode, QWidget *parent)
    : QDialog(parent)
    , m_mode(mode)
{
    setModal(false);
    setWindowTitle(mode == Mode::Find ? QStringLiteral("検索") : QStringLiteral("置換"));

    auto *left = new QVBoxLayout;
    left->addLayout(createFields());
    left->addLayout(createOptions());
    left->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(createButtons());

    connect(m_findWhat, &QLineEdit::textChanged, this, &FindReplaceDialog::enableButtons);
    enableButtons();
}

QLayout *FindReplaceDialog::createFields()
{
    auto *fields = new QFormLayout;
    m_findWhat = new QLineEdit;
    m_findWhat->setObjectName(QStringLiteral("findWhat"));
    auto *findLabel = new QLabel(QStringLiteral("検索する文字列(&N):"));
    findLabel->setBuddy(m_findWhat);
    fields->addRow(findLabel, m_findWhat);
    if (m_mode == Mode::Replace) {
        m_replaceWith = new QLineEdit;
        m_replaceWith->setObjectName(QStringLiteral("replaceWith"));
        auto *replaceLabel = new QLabel(QStringLiteral("置換後の文字列(&P):"));
        replaceLabel->setBuddy(m_replaceWith);
        fields->addRow(replaceLabel, m_replaceWith);
    }
    return fields;
}

QLayout *FindReplaceDialog::createOptions()
{
    auto *checks = new QVBoxLayout;
    m_wholeWord = new QCheckBox(QStringLiteral("単語単位で探す(&W)"));
    m_wholeWord->setObjectName(QStringLiteral("wholeWord"));
    m_matchCase = new QCheckBox(QStringLiteral("大文字と小文字を区別する(&C)"));
    m_matchCase->setObjectName(QStringLiteral("matchCase"));
    checks->addWidget(m_wholeWord);
    checks->addWidget(m_matchCase);

    auto *options = new QHBoxLayout;
    options->addLayout(checks);
    // Replacing always works towards the end of the text, so only the find dialog
    // offers a direction.
    if (m_mode == Mode::Find) {
        auto *direction = new QGroupBox(QStringLiteral("検索する方向"));
        m_up = new QRadioButton(QStringLiteral("上へ(&U)"));
        m_up->setObjectName(QStringLiteral("up"));
        m_down = new QRadioButton(QStringLiteral("下へ(&D)"));
        m_down->setObjectName(QStringLiteral("down"));
        m_down->setChecked(true);
        auto *directionLayout = new QHBoxLayout(direction);
        directionLayout->addWidget(m_up);
        directionLayout->addWidget(m_down);
        options->addWidget(direction);
    }
    return options;
}

QLayout *FindReplaceDialog::createButtons()
{
    auto *buttons = new QVBoxLayout;
    m_findNextButton = addButton(buttons, QStringLiteral("次を検索(&F)"), "findNext");
    m_findNextButton->setDefault(true);
    connect(m_findNextButton, &QPushButton::clicked, this, [this] { emit findNextRequested(request()); });
    if (m_mode == Mode::Replace) {
        m_replaceButton = addButton(buttons, QStringLiteral("置換して次に(&R)"), "replace");
        connect(m_replaceButton, &QPushButton::clicked, this,
                [this] { emit replaceRequested(request(), replaceWith()); });
        m_replaceAllButton = addButton(buttons, QStringLiteral("すべて置換(&A)"), "replaceAll");
        connect(m_replaceAllButton, &QPushButton::clicked, this,
                [this] { emit replaceAllRequested(request(), replaceWith()); });
    }
    QPushButton *cancel = addButton(buttons, QStringLiteral("キャンセル"), "cancel");
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addStretch();
    return buttons;
}

void FindReplaceDialog::enableButtons()
{
    const bool haveText = !m_findWhat->text().isEmpty();
    m_findNextButton->setEnabled(haveText);
    if (m_replaceButton) {
        m_replaceButton->setEnabled(haveText);
        m_replaceAllButton->setEnabled(haveText);
    }
}

void FindReplaceDialog::setFindWhat(const QString &text)
{
    m_findWhat->setText(text);
    m_findWhat->selectAll();
}

FindReplaceDialog::Request FindReplaceDialog::request() const
{
    return Request{m_findWhat->text(), !m_up || !m_up->isChecked(), m_matchCase->isChecked(), m_wholeWord->isChecked()};
}

QString FindReplaceDialog::replaceWith() const
{
    return m_replaceWith ? m_replaceWith->text() : QString();
}
