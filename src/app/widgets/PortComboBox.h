#pragma once

#include <QComboBox>

// The editable port box. Its tooltip lists the serial ports that the system
// reports at the moment the list is opened, so that a technician can see
// which device name to type for a USB adapter.
class PortComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit PortComboBox(QWidget *parent = nullptr);

    void showPopup() override;

    // The system's serial ports now, one "device - description" per line.
    static QString availablePortsText();
};
