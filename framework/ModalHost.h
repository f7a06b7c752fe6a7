#pragma once

#include <QMap>
#include <QMessageBox>
#include <QString>

#include <functional>

class QDialog;
class QWidget;

// The one place where the program runs a message box or a modal dialog. Tests
// install answers in advance so that no modal loop ever waits for a person.
class ModalHost
{
public:
    struct Message
    {
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons = QMessageBox::Ok;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    };
    // Texts of our own for standard buttons, where "Yes" and "No" would not say
    // what each does.
    using ButtonTexts = QMap<QMessageBox::StandardButton, QString>;
    using MessageAnswer = std::function<QMessageBox::StandardButton(const Message &)>;
    using DialogAnswer = std::function<int(QDialog &)>;

    static QMessageBox::StandardButton showMessage(QWidget *parent, const QString &text, QMessageBox::Icon icon,
                                                   QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                                   QMessageBox::StandardButton defaultButton = QMessageBox::NoButton,
                                                   const ButtonTexts &buttonTexts = {});
    static int runDialog(QDialog &dialog);

    // An empty function puts the real modal loops back.
    static void answerMessagesWith(MessageAnswer answer);
    static void answerDialogsWith(DialogAnswer answer);

private:
    static MessageAnswer &messageAnswer();
    static DialogAnswer &dialogAnswer();
};
