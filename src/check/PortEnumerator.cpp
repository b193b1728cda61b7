#include "check/PortEnumerator.h"

#include <QSerialPortInfo>

QList<DetectedPort> SystemPortEnumerator::ports() const
{
    QList<DetectedPort> found;
    const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : infos)
        found.append({info.systemLocation(), info.description()});
    return found;
}
