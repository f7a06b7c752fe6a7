#pragma once

#include "ModalHost.h"

#include <QMessageBox>

#include <vector>

// Answers every message box and question the code under test shows while it lives,
// and keeps them for the test to inspect, so that no modal loop ever waits for a
// person. Questions get the button chosen last (OK until one is chosen); modal
// dialogs are rejected until the test gives ModalHost::answerDialogsWith an answer
// of its own. Both real loops are put back when it goes.
class ModalAnswers
{
public:
    ModalAnswers();
    ~ModalAnswers();
    ModalAnswers(const ModalAnswers &) = delete;
    ModalAnswers &operator=(const ModalAnswers &) = delete;

    void answerWith(QMessageBox::StandardButton button) { m_answer = button; }

    const std::vector<ModalHost::Message> &messages() const { return m_messages; }
    void clear() { m_messages.clear(); }

private:
    std::vector<ModalHost::Message> m_messages;
    QMessageBox::StandardButton m_answer = QMessageBox::Ok;
};
