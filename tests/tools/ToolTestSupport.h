#pragma once

#include "ExternalProgram.h"
#include "ModalHost.h"

#include <QDir>
#include <QString>
#include <QStringList>

#include <vector>

// The helper program's arguments as an option template: each one in single quotes,
// so backslash sequences reach the helper as written.
inline ExternalProgram helperProgram(const QStringList &arguments)
{
    QStringList quoted;
    for (const QString &argument : arguments)
        quoted.append(u'\'' + argument + u'\'');
    return ExternalProgram(QStringLiteral("helper"), QStringLiteral(QUILLMERE_CHILD_HELPER), quoted.join(u' '));
}

// Collects the message boxes shown while it lives, answering each with OK.
class MessageRecorder
{
public:
    MessageRecorder()
    {
        ModalHost::answerMessagesWith([this](const ModalHost::Message &message) {
            messages.push_back(message);
            return QMessageBox::Ok;
        });
    }
    ~MessageRecorder() { ModalHost::answerMessagesWith({}); }
    MessageRecorder(const MessageRecorder &) = delete;
    MessageRecorder &operator=(const MessageRecorder &) = delete;

    std::vector<ModalHost::Message> messages;
};
