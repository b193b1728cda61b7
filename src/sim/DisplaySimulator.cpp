#include "DisplaySimulator.h"

#include <QStringList>

#include "model/OptionLists.h"

using namespace Protocol;

DisplaySimulator::Event DisplaySimulator::feed(quint8 byte)
{
    switch (m_state) {
    case State::Idle:
        if (byte == Escape)
            m_state = State::Escape;
        return Event::None;
    case State::Escape:
        if (byte == DownloadCommand) {
            m_state = State::Lead;
        } else if (byte == UploadCommand) {
            m_state = State::Idle;
            return Event::UploadRequested;
        } else if (byte != Escape) {
            m_state = State::Idle;
        }
        return Event::None;
    case State::Lead:
        if (byte != LeadByte) {
            m_state = State::Idle;
            return Event::BadLead;
        }
        m_incoming.clear();
        m_state = State::Image;
        return Event::None;
    case State::Image:
        m_incoming.append(static_cast<char>(byte));
        if (m_incoming.size() < ImageLayout::ConfigLength)
            return Event::None;
        if (!m_options.keepImage)
            m_image.setConfigBytes(m_incoming);
        m_incoming.clear();
        m_state = State::Idle;
        return m_options.keepImage ? Event::Kept : Event::Downloaded;
    }
    return Event::None;
}

QByteArray DisplaySimulator::uploadReply() const
{
    QByteArray reply;
    reply.append(static_cast<char>(m_options.lead));
    reply.append(m_image.configBytes());
    if (m_options.replyLength >= 0 && m_options.replyLength < reply.size())
        reply.truncate(m_options.replyLength);
    reply.append(QByteArray(m_options.extraBytes, static_cast<char>(ExtraByte)));
    return reply;
}

namespace {

QString listText(const QStringList &list, int position)
{
    if (position < list.size())
        return QStringLiteral("%1 \"%2\"").arg(position).arg(list.at(position));
    return QStringLiteral("%1 (no such entry)").arg(position);
}

QString messageText(const SettingsImage &image, int first, int length)
{
    QString text;
    for (int k = 0; k < length; ++k) {
        const quint8 code = image.at(first + k);
        if (code >= 0x20 && code <= 0x7E)
            text += QLatin1Char(static_cast<char>(code));
        else if (code == 0)
            text += QLatin1Char(' ');
        else
            text += QLatin1Char('.');
    }
    return QStringLiteral("\"%1\"").arg(text);
}

} // namespace

QString DisplaySimulator::describe() const
{
    QStringList lines;
    const QByteArray bytes = m_image.configBytes();
    for (int row = 0; row < bytes.size(); row += 16) {
        QString line =
            QStringLiteral("  %1:").arg(row + ImageLayout::FirstConfig, 3, 10, QLatin1Char(' '));
        for (int k = row; k < qMin<int>(row + 16, static_cast<int>(bytes.size())); ++k)
            line +=
                QStringLiteral(" %1").arg(static_cast<quint8>(bytes[k]), 2, 16, QLatin1Char('0'));
        lines << line.toUpper();
    }
    using namespace ImageLayout;
    lines << QStringLiteral("  display baud: %1")
                 .arg(listText(OptionLists::displayBaudRates(), m_image.at(DisplayBaud)));
    lines << QStringLiteral("  character set: %1")
                 .arg(listText(OptionLists::charSets(), m_image.at(CharacterSet)));
    lines << QStringLiteral("  command set: %1")
                 .arg(listText(OptionLists::commandSets(), m_image.at(CommandSet)));
    lines << QStringLiteral("  passthru: %1")
                 .arg(listText(OptionLists::passthruModes(), m_image.at(Passthru)));
    lines << QStringLiteral("  line 1: %1").arg(messageText(m_image, Line1, Line1Length));
    lines << QStringLiteral("  line 2: %1").arg(messageText(m_image, Line2, Line2Length));
    for (int n = 1; n <= CharacterCount; ++n) {
        const int at = recordPosition(n);
        if (m_image.at(at) == 0)
            continue;
        QString columns;
        for (int c = 1; c < RecordSize; ++c)
            columns += QStringLiteral(" %1").arg(m_image.at(at + c), 2, 16, QLatin1Char('0'));
        lines << QStringLiteral("  character %1: code 0x%2, columns%3")
                     .arg(n)
                     .arg(m_image.at(at), 2, 16, QLatin1Char('0'))
                     .arg(columns.toUpper());
    }
    return lines.join(QLatin1Char('\n'));
}
