#include "FuzzChecks.h"

#include <QFile>
#include <QTemporaryDir>

#include "editors/Configuration.h"
#include "editors/LineTyping.h"
#include "model/CodePage.h"
#include "files/SettingsFile.h"
#include "link/Transfer.h"
#include "messages/Messages.h"
#include "model/HexText.h"
#include "support/ConfigSnapshot.h"
#include "support/FakeComm.h"
#include "support/FakeTicks.h"

namespace FuzzChecks {

namespace {

// A window in the middle of work, different for different inputs: a line
// in its ASCII view with a character in it, the editor on another character
// with a drawing not yet stored, a reserved byte set.
void startWorking(Configuration &config, quint32 mix)
{
    config.startUp();
    MessageLine &line = mix & 1 ? config.line1() : config.line2();
    line.selectView(MessageLine::View::Ascii);
    line.setAsciiText(1 + static_cast<int>(mix % 7), QStringLiteral("Q"));
    for (quint32 k = 0; k < (mix >> 1) % 4; ++k)
        config.characters().stepNext();
    config.characters().setCodeText(QStringLiteral("41"));
    config.characters().toggleDot(1 + static_cast<int>(mix % 5), static_cast<int>(mix % 7));
    config.image().set(ImageLayout::Reserved.back(), static_cast<quint8>(mix));
}

quint32 mixOf(QByteArrayView data)
{
    quint32 mix = static_cast<quint32>(data.size());
    for (const char byte : data.first(qMin<qsizetype>(data.size(), 8)))
        mix = mix * 31 + static_cast<quint8>(byte);
    return mix;
}

// Both lines in their hex view, every cell the exact pair of its byte.
QString linesShow(Configuration &config, const SettingsImage &image)
{
    int first = ImageLayout::Line1;
    for (MessageLine *line : {&config.line1(), &config.line2()}) {
        if (line->view() != MessageLine::View::Hex)
            return QStringLiteral("a line is not in its hex view");
        for (int cell = 1; cell <= line->cellCount(); ++cell) {
            const QString expected = HexText::hexPair(image.at(first + cell - 1));
            if (line->hexText(cell) != expected || !line->asciiText(cell).isEmpty())
                return QStringLiteral("cell %1 shows \"%2\", not %3")
                    .arg(cell)
                    .arg(line->hexText(cell), expected);
        }
        first = ImageLayout::Line2;
    }
    return QString();
}

// Reads the upload script; past the end of the input every value is 0.
class Reader
{
public:
    explicit Reader(QByteArrayView data) : m_data(data) {}
    bool atEnd() const { return m_at >= m_data.size(); }
    quint8 byte() { return atEnd() ? 0 : static_cast<quint8>(m_data[m_at++]); }
    quint16 word() { return static_cast<quint16>(byte() | byte() << 8); }
    QByteArray bytes(int count)
    {
        const QByteArray part =
            m_data.sliced(m_at).first(qMin<qsizetype>(count, m_data.size() - m_at)).toByteArray();
        m_at += part.size();
        return part;
    }

private:
    QByteArrayView m_data;
    qsizetype m_at = 0;
};

} // namespace

QString settingsFileLoad(QByteArrayView data)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fuzz.vfd"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(data.data(), data.size()) != data.size())
            return QStringLiteral("the test could not write its file");
    }

    Configuration config;
    startWorking(config, mixOf(data));
    const QStringList before = configSnapshot(config);

    // As the window loads a file.
    const Result<QByteArray> file = SettingsFile::read(path);
    const bool loaded = file && config.applyFile(*file);

    bool loadable = data.size() >= ImageLayout::ConfigLength;
    for (const DisplaySettingInfo &setting : DisplaySettings::Table)
        loadable = loadable && setting.isEntry(static_cast<quint8>(data[setting.imageIndex - 1]));
    if (loaded != loadable)
        return loaded ? QStringLiteral("a file that cannot be loaded was loaded")
                      : QStringLiteral("a loadable file was refused: %1")
                            .arg(file ? QString() : Messages::sentence(file.error()));
    if (!loaded)
        return configSnapshot(config) == before
                   ? QString()
                   : QStringLiteral("a failed load changed the configuration");

    const QByteArray expected = data.first(ImageLayout::ConfigLength).toByteArray();
    if (config.image().configBytes() != expected)
        return QStringLiteral("the image is not the file");
    for (const DisplaySettingInfo &setting : DisplaySettings::Table)
        if (config.listPosition(setting.setting) != config.image().at(setting.imageIndex))
            return QStringLiteral("a list does not show its byte");
    if (const QString wrong = linesShow(config, config.image()); !wrong.isEmpty())
        return wrong;
    if (config.characters().number() != 1)
        return QStringLiteral("the editor is not on character 1");

    // Saved again, after a look at both lines in ASCII, it is the same file.
    for (MessageLine *line : {&config.line1(), &config.line2()}) {
        line->selectView(MessageLine::View::Ascii);
        line->selectView(MessageLine::View::Hex);
    }
    config.AssembleImage();
    if (config.image().configBytes() != expected)
        return QStringLiteral("load, view switch and AssembleImage do not give the file back");
    return QString();
}

// Upload script, all values little-endian:
//   flags (1 byte): 1 the output never drains, 2 a fault after N bytes of
//   the request (N = 1 + bit 4), 8 a fault some ms after the request,
//   16 the clock starts near its wrap, 32 coarse clock steps;
//   clock start (2 bytes), clock step (1), fault time in ms (2);
//   stale bytes: count (1) and bytes;
//   then chunks up to the end: delay after the previous chunk in ms (2),
//   count (1), bytes.
QString uploadReply(QByteArrayView data)
{
    Reader in(data);
    const quint8 flags = in.byte();
    const quint16 start = in.word();
    const quint8 step = in.byte();
    const quint16 faultMs = in.word();
    const quint32 clockStart = flags & 16 ? 0xFFFFFFFFu - start : static_cast<quint32>(start) << 16;
    const quint32 clockStep = flags & 32 ? 1u + step % 16 : 1u;

    FakeTicks ticks(clockStart, clockStep);
    FakeComm port(&ticks);
    port.neverDrain = flags & 1;
    if (flags & 2)
        port.faultAfterBytes = flags & 4 ? 2 : 1;
    if (flags & 8)
        port.faultAfterMs = faultMs;
    port.staleInput = in.bytes(in.byte());
    QByteArray stream;
    quint32 at = 0;
    quint32 firstAt = 0;    // when the first reply byte is there
    quint32 completeAt = 0; // when 127 reply bytes are there
    while (!in.atEnd()) {
        at += in.word();
        const QByteArray bytes = in.bytes(in.byte());
        port.reply.append({at, bytes});
        if (stream.isEmpty() && !bytes.isEmpty())
            firstAt = at;
        if (stream.size() < Protocol::ReplyLength &&
            stream.size() + bytes.size() >= Protocol::ReplyLength)
            completeAt = at;
        stream += bytes;
    }

    Configuration config;
    startWorking(config, mixOf(data));
    const QStringList before = configSnapshot(config);
    QList<int> positionsBefore;
    for (const DisplaySettingInfo &setting : DisplaySettings::Table)
        positionsBefore << config.listPosition(setting.setting);

    const Transfer::Target target{
        PortChoice::fromComboText({QStringLiteral("Com 1")}, QStringLiteral("Com 1")),
        QStringLiteral("9600,n,8,1")};
    const Result<SettingsImage> result = Transfer::upload(port, ticks, target);
    // As the window takes the reply.
    if (result)
        config.applyUpload(*result);

    if (port.isPortOpen())
        return QStringLiteral("the port was left open");
    if (!QByteArray("\x1B\xEE").startsWith(port.written))
        return QStringLiteral("the request was not 1B EE");
    const qint64 slack = 4 * qint64(clockStep);
    const bool validReply = stream.size() >= Protocol::ReplyLength &&
                            static_cast<quint8>(stream[0]) == Protocol::LeadByte;
    if (!result) {
        const QString message = Messages::sentence(result.error());
        if (message.isEmpty() || message == Messages::uploadOk())
            return QStringLiteral("a failed upload said \"%1\"").arg(message);
        if (validReply && !(flags & (1 | 2 | 8)) && completeAt + slack <= Transfer::FirstByteWaitMs)
            return QStringLiteral("a whole reply in time was refused: %1").arg(message);
        return configSnapshot(config) == before
                   ? QString()
                   : QStringLiteral("a failed upload changed the configuration");
    }

    // Accepted: only 0xAA and 127 bytes, in time, on a sound line.
    const bool faultFirst = (flags & 2) || ((flags & 8) && faultMs <= completeAt);
    if (!validReply || port.neverDrain || faultFirst ||
        firstAt > Transfer::FirstByteWaitMs + slack ||
        completeAt > firstAt + Transfer::ReplyWaitMs + 2 * slack)
        return QStringLiteral("a reply was accepted that should not be");
    SettingsImage reply;
    for (int k = 0; k < Protocol::ReplyLength; ++k)
        reply.set(k, static_cast<quint8>(stream[k]));
    if (*result != reply || config.image() != reply)
        return QStringLiteral("the image is not the reply (stale bytes in it?)");
    for (std::size_t k = 0; k < DisplaySettings::Count; ++k) {
        const DisplaySettingInfo &setting = DisplaySettings::Table[k];
        const int value = reply.at(setting.imageIndex);
        const bool applies = value < setting.uploadBound && setting.isEntry(value);
        if (config.listPosition(setting.setting) != (applies ? value : positionsBefore[k]))
            return QStringLiteral("list %1 shows %2 for the byte %3")
                .arg(k)
                .arg(config.listPosition(setting.setting))
                .arg(value);
    }
    return linesShow(config, reply);
}

namespace {

// A character for the typing script: ASCII with its controls, C1 and
// Latin-1, and a few beyond the code page (one outside the Basic
// Multilingual Plane, half of one).
QString typedCharacter(quint8 byte)
{
    if (byte < 0xE0)
        return QString(QChar(char16_t(byte)));
    switch (byte % 4) {
    case 0:
        return QString::fromUtf16(u"\U0001F600");
    case 1:
        return QString(QChar(char16_t(0xD83D)));
    case 2:
        return QString(QChar(char16_t(0x2401)));
    default:
        return QString(QChar(char16_t(0x0100)));
    }
}

// What the cells of the line's selected view say as bytes.
QByteArray shownBytes(const MessageLine &line)
{
    if (line.view() == MessageLine::View::Hex)
        return line.hexBytes();
    QByteArray bytes;
    for (int cell = 1; cell <= line.cellCount(); ++cell)
        bytes += static_cast<char>(CodePage::codeForText(line.asciiText(cell)).value_or(0));
    return bytes;
}

// Every cell holds what its view allows; the hidden view is empty.
QString cellsAllowed(const MessageLine &line)
{
    for (int cell = 1; cell <= line.cellCount(); ++cell) {
        const QString hex = line.hexText(cell);
        const QString ascii = line.asciiText(cell);
        const bool hexView = line.view() == MessageLine::View::Hex;
        if ((hexView ? ascii : hex).size() != 0)
            return QStringLiteral("cell %1 of the hidden view is not empty").arg(cell);
        if (hex.size() > MessageLine::HexCellLength || !MessageLine::isHexDigits(hex))
            return QStringLiteral("hex cell %1 holds %2").arg(cell).arg(Messages::quoted(hex));
        if (ascii.size() > MessageLine::AsciiCellLength || !CodePage::codeForText(ascii))
            return QStringLiteral("cell %1 holds %2").arg(cell).arg(Messages::quoted(ascii));
    }
    return QString();
}

QStringList cellsOf(const MessageLine &line)
{
    QStringList cells;
    for (int cell = 1; cell <= line.cellCount(); ++cell)
        cells << line.hexText(cell) + u'|' + line.asciiText(cell);
    return cells;
}

} // namespace

QString lineTyping(QByteArrayView data)
{
    Reader script(data);
    const quint32 mix = mixOf(data);
    Configuration config;
    startWorking(config, mix);
    Configuration untouched;
    startWorking(untouched, mix);
    const bool first = script.byte() & 1;
    MessageLine &line = first ? config.line1() : config.line2();
    const MessageLine &other = first ? config.line2() : config.line1();
    const QStringList otherCells = cellsOf(other);
    const int begin = first ? ImageLayout::Line1 : ImageLayout::Line2;

    LineTyping typing(line);
    LineTyping::Caret caret{1 + script.byte() % line.cellCount(), 0};
    while (!script.atEnd()) {
        const quint8 op = script.byte();
        switch (op % 8) {
        case 0:
        case 1: {
            QString text;
            for (int k = script.byte() % (op % 8 == 0 ? 4 : 48); k > 0; --k)
                text += typedCharacter(script.byte());
            caret = op % 8 == 0 ? typing.type(caret, text) : typing.paste(caret, text);
            break;
        }
        case 2:
            caret = typing.backspace(caret);
            break;
        case 3:
            caret = typing.left(caret);
            break;
        case 4:
            caret = typing.right(caret);
            break;
        case 5:
            caret = op & 8 ? typing.end() : typing.home();
            break;
        case 6:
            line.clear();
            caret = typing.home();
            break;
        default: {
            // A switch there and back keeps the bytes the cells say.
            const QByteArray before = shownBytes(line);
            const bool hex = line.view() == MessageLine::View::Hex;
            line.selectView(hex ? MessageLine::View::Ascii : MessageLine::View::Hex);
            if (shownBytes(line) != before)
                return QStringLiteral("a switch of views changed the line's bytes from %1 to %2")
                    .arg(QString::fromLatin1(before.toHex(' ')),
                         QString::fromLatin1(shownBytes(line).toHex(' ')));
            caret = typing.home();
            break;
        }
        }
        if (const QString wrong = cellsAllowed(line); !wrong.isEmpty())
            return wrong;
        if (caret.cell < 1 || caret.cell > line.cellCount() || caret.offset < 0 ||
            caret.offset > line.text(line.view(), caret.cell).size())
            return QStringLiteral("the caret stands outside the line (cell %1, offset %2)")
                .arg(caret.cell)
                .arg(caret.offset);
    }
    if (cellsOf(other) != otherCells)
        return QStringLiteral("typing in one line changed the other");

    // The bytes the cells say are the bytes the image takes, and nothing
    // outside the line moves.
    const QByteArray said = shownBytes(line);
    config.AssembleImage();
    untouched.AssembleImage();
    for (int index = 0; index < ImageLayout::Size; ++index) {
        const bool inLine = index >= begin && index < begin + line.cellCount();
        const quint8 expected =
            inLine ? static_cast<quint8>(said[index - begin]) : untouched.image().at(index);
        if (config.image().at(index) != expected)
            return QStringLiteral("byte %1 is %2, not %3")
                .arg(index)
                .arg(config.image().at(index))
                .arg(expected);
    }
    return QString();
}

} // namespace FuzzChecks
