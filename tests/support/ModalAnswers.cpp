#include "ModalAnswers.h"

#include <QDialog>

ModalAnswers::ModalAnswers()
{
    ModalHost::answerMessagesWith([this](const ModalHost::Message &message) {
        m_messages.push_back(message);
        return m_choose(message);
    });
    ModalHost::answerDialogsWith([](QDialog &) { return int(QDialog::Rejected); });
}

ModalAnswers::~ModalAnswers()
{
    ModalHost::answerMessagesWith({});
    ModalHost::answerDialogsWith({});
}
