#pragma once

#include <memory>

#include <QComboBox>

#include "check/PortEnumerator.h"

// The editable port box. Each time its list opens, the serial ports that the
// system reports are listed after the fixed entries, each as its device and
// description, and its tooltip lists them too. Choosing one puts its device
// name in the box, which is what a transfer opens.
class PortComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit PortComboBox(QWidget *parent = nullptr);
    ~PortComboBox() override;

    // Where the detected ports come from; the system's by default.
    void setPortEnumerator(std::unique_ptr<PortEnumerator> enumerator);

    void showPopup() override;

    // The detected ports now, one "device - description" per line.
    QString availablePortsText() const;

    // The role of a detected entry that holds its description; the fixed
    // entries have none.
    static constexpr int DescriptionRole = Qt::UserRole + 1;

private:
    void refreshDetected(const QList<DetectedPort> &ports);
    static QString portsText(const QList<DetectedPort> &ports);

    std::unique_ptr<PortEnumerator> m_enumerator;
};
