#pragma once

#include "ModalHost.h"

#include <QMessageBox>

#include <functional>
#include <utility>
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

    using Chooser = std::function<QMessageBox::StandardButton(const ModalHost::Message &)>;

    void answerWith(QMessageBox::StandardButton button)
    {
        m_choose = [button](const ModalHost::Message &) { return button; };
    }
    // Answers each message with what choose picks for it; it is still recorded.
    void answerWith(Chooser choose) { m_choose = std::move(choose); }

    const std::vector<ModalHost::Message> &messages() const { return m_messages; }
    void clear() { m_messages.clear(); }

private:
    std::vector<ModalHost::Message> m_messages;
    Chooser m_choose = [](const ModalHost::Message &) { return QMessageBox::Ok; };
};
