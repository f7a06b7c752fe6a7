#pragma once

#include <QObject>

class CUltraEditView;

// Marks the bracket beside the caret and its partner with a background colour,
// following the caret; no partner, no mark.
class BracketMarker : public QObject
{
    Q_OBJECT

public:
    explicit BracketMarker(CUltraEditView &view);
    // Takes the marks away.
    ~BracketMarker() override;

    // The background of both brackets: a light amber, as plain to the colour-blind
    // as to anyone.
    static QColor markColour();

private:
    void markAtCaret();

    CUltraEditView &m_view;
};
