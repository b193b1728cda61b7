#include "DisplaySimulator.h"

#include <QStringList>

#include "model/HexText.h"
#include "model/ImageCodec.h"

using namespace Protocol;

void DisplaySimulator::setImage(const SettingsImage &image)
{
    m_image = image;
    m_screen.setCommandSet(m_image.at(ImageLayout::CommandSet));
}

DisplaySimulator::Event DisplaySimulator::feed(quint8 byte)
{
    switch (m_state) {
    case State::Idle:
        if (byte == Escape)
            m_state = State::Escape;
        else
            show(QByteArrayView(reinterpret_cast<const char *>(&byte), 1));
        return Event::None;
    case State::Escape:
        if (byte == DownloadCommand) {
            m_state = State::Lead;
        } else if (byte == UploadCommand) {
            m_state = State::Idle;
            return Event::UploadRequested;
        } else if (byte == Escape) {
            // The first ESC was no exchange; the second may start one.
            show("\x1B");
        } else {
            const char command[] = {char(Escape), char(byte)};
            show(QByteArrayView(command, 2));
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
        if (!m_options.keepImage) {
            SettingsImage stored;
            stored.setConfigBytes(m_incoming);
            setImage(stored);
        }
        m_incoming.clear();
        m_state = State::Idle;
        return m_options.keepImage ? Event::Kept : Event::Downloaded;
    }
    return Event::None;
}

DisplaySimulator::Event DisplaySimulator::lineQuiet(int ms)
{
    if ((m_state != State::Lead && m_state != State::Image) || ms < ExchangeQuietMs)
        return Event::None;
    m_incoming.clear();
    m_state = State::Idle;
    return Event::CutShort;
}

int DisplaySimulator::exchangeBytes() const
{
    switch (m_state) {
    case State::Lead:
        return 2;
    case State::Image:
        return 3 + static_cast<int>(m_incoming.size());
    default:
        return 0;
    }
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
    const ImageCodec::Fields fields = ImageCodec::decode(m_image);
    for (const ImageCodec::SettingField &field : fields.settings)
        lines
            << QStringLiteral("  %1: %2").arg(QLatin1String(field.info().plainName), field.text());
    for (std::size_t k = 0; k < fields.lines.size(); ++k)
        lines << QStringLiteral("  line %1: \"%2\"").arg(k + 1).arg(fields.lines[k].text());
    for (const ImageCodec::Glyph &glyph : fields.glyphs) {
        if (glyph.code == 0)
            continue;
        QString columns;
        for (const quint8 column : glyph.columns)
            columns += QLatin1Char(' ') + HexText::hexPair(column);
        lines << QStringLiteral("  character %1: code 0x%2, columns%3")
                     .arg(glyph.number)
                     .arg(HexText::hexPair(glyph.code).toLower(), columns);
    }
    return lines.join(QLatin1Char('\n'));
}
