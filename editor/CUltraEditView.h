#pragma once

#include "CommandTarget.h"

#include <QPlainTextEdit>

// The editing pane: a plain-text control with one display font and no wrapping,
// first on the command route.
class CUltraEditView : public QPlainTextEdit, public CommandTarget
{
    Q_OBJECT

public:
    explicit CUltraEditView(QWidget *parent = nullptr);

private:
    void registerEditCommands();

    bool m_undoAvailable = false;
};
