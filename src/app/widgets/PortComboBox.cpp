#include "app/widgets/PortComboBox.h"

#include <QAbstractItemView>
#include <QSerialPortInfo>
#include <QStringList>

PortComboBox::PortComboBox(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    // A typed device name is used as it stands; it never joins the list.
    setInsertPolicy(QComboBox::NoInsert);
}

void PortComboBox::showPopup()
{
    const QString ports = availablePortsText();
    setToolTip(ports);
    view()->setToolTip(ports);
    QComboBox::showPopup();
}

QString PortComboBox::availablePortsText()
{
    QStringList lines;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &port : ports) {
        const QString description = port.description();
        lines << (description.isEmpty()
                      ? port.systemLocation()
                      : port.systemLocation() + QStringLiteral(" - ") + description);
    }
    if (lines.isEmpty())
        return tr("No serial port found");
    return tr("Serial ports found:") + QLatin1Char('\n') + lines.join(QLatin1Char('\n'));
}
