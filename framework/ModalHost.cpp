#include "ModalHost.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>

QMessageBox::StandardButton ModalHost::showMessage(QWidget *parent, const QString &text, QMessageBox::Icon icon,
                                                   QMessageBox::StandardButtons buttons,
                                                   QMessageBox::StandardButton defaultButton,
                                                   const ButtonTexts &buttonTexts)
{
    if (const MessageAnswer &answer = messageAnswer())
        return answer(Message{text, icon, buttons, defaultButton});
    QMessageBox box(icon, QApplication::applicationDisplayName(), text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    for (auto each = buttonTexts.begin(); each != buttonTexts.end(); ++each) {
        if (QAbstractButton *button = box.button(each.key()))
            button->setText(each.value());
    }
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

int ModalHost::runDialog(QDialog &dialog)
{
    if (const DialogAnswer &answer = dialogAnswer())
        return answer(dialog);
    return dialog.exec();
}

void ModalHost::answerMessagesWith(MessageAnswer answer)
{
    messageAnswer() = std::move(answer);
}

void ModalHost::answerDialogsWith(DialogAnswer answer)
{
    dialogAnswer() = std::move(answer);
}

ModalHost::MessageAnswer &ModalHost::messageAnswer()
{
    static MessageAnswer answer;
    return answer;
}

ModalHost::DialogAnswer &ModalHost::dialogAnswer()
{
    static DialogAnswer answer;
    return answer;
}
