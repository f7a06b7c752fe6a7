#include "CAboutDlg.h"

#include "DialogUnits.h"

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
    const DialogUnits units(dialogFont);

    auto *icon = new QLabel(this);
    const int iconSize = qMax(32, units.toPixelsY(20));
    icon->setPixmap(QApplication::windowIcon().pixmap(iconSize, iconSize));
    icon->setGeometry(QRect(units.toPixels(11, 17, 0, 0).topLeft(), QSize(iconSize, iconSize)));

    auto *version = new QLabel(QStringLiteral("Quillmere Version 0.1.4"), this);
    version->setObjectName(QStringLiteral("version"));
    const QRect versionRect = units.toPixels(40, 10, 119, 8);
    version->setGeometry(versionRect.adjusted(0, 0, 0, qMax(0, version->sizeHint().height() - versionRect.height())));

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    ok->setGeometry(units.toPixels(178, 7, 50, 16));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    const QRect client = units.toPixels(0, 0, 235, 55);
    setFixedSize(client.width(), qMax(client.height(), icon->geometry().bottom() + units.toPixelsY(7)));
}
