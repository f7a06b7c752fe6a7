#pragma once

#include "EncodingFlags.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QComboBox;

// Chooses how the document is written: the encoding, a byte-order mark for the UTF
// encodings, and the line end.
class CEncodingDialog : public QDialog
{
    Q_OBJECT

public:
    enum ControlId { LfButton = 1002, CrLfButton = 1003, CrButton = 1004 };

    explicit CEncodingDialog(QWidget *parent = nullptr);

    // Set before the dialog runs; after OK it holds the user's choice.
    void setValue(EncodingFlags value);
    EncodingFlags value() const { return m_value; }

    void accept() override;

private:
    void createControls();
    void showValue();
    void enableByteOrderMarkFor(int index);
    EncodingFlags composeValue() const;

    QComboBox *m_encodingList = nullptr;
    QCheckBox *m_byteOrderMarkBox = nullptr;
    QButtonGroup *m_newlineButtons = nullptr;
    EncodingFlags m_value = EncodingFlags::platformDefault();
};
