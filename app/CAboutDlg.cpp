#include "CAboutDlg.h"

#include "DialogTemplate.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("バージョン情報 Quillmere"));
    QFont dialogFont(QStringLiteral("MS UI Gothic"), 9);
    dialogFont.setStyleHint(QFont::SansSerif);
    setFont(dialogFont);
    DialogTemplate layout(*this, dialogFont, 235, 55);

    auto *icon = new QLabel(this);
    const int iconSize = 32;
    icon->setPixmap(QApplication::windowIcon().pixmap(iconSize, iconSize));
    icon->setAlignment(Qt::AlignCenter);
    layout.place(icon, 11, 17, 21, 20);

    auto *version = new QLabel(QStringLiteral("Quillmere Version 0.1.4"), this);
    version->setObjectName(QStringLiteral("version"));
    layout.place(version, 40, 10, 119, 8);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    layout.place(ok, 178, 7, 50, 16);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout.layOut();
}
