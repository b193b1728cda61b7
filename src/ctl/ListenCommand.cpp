// tq540ctl listen: which command set (and speed) a till speaks, from what
// it sends on the display's cable. Never writes a byte to the port.

#include <optional>
#include <thread>

#include <QJsonArray>
#include <QJsonObject>
#include <QSaveFile>

#include "Commands.h"
#include "Displays.h"
#include "LinkOptions.h"
#include "Output.h"
#include "PerPort.h"
#include "glass/GlassPicture.h"
#include "link/SystemComm.h"
#include "listen/LineSpeed.h"
#include "listen/Listener.h"
#include "listen/Recognition.h"
#include "messages/ListenMessages.h"
#include "messages/Messages.h"

namespace Commands {

namespace {

const QString Port = QStringLiteral("port");
const QString Seconds = QStringLiteral("seconds");
const QString Settings = QStringLiteral("settings");
const QString BothSpeeds = QStringLiteral("both-speeds");
const QString Save = QStringLiteral("save");
const QString Png = QStringLiteral("png");

constexpr int DefaultSeconds = 10;

// One turn of listening at one speed, and what its bytes read as.
struct Turn
{
    QString settings;
    Listener::End end = Listener::End::TimeUp;
    Error lineError;
    QByteArray capture;
    Recognition recognition;

    bool madeSense() const
    {
        return recognition.verdict == Recognition::Verdict::Named ||
               recognition.verdict == Recognition::Verdict::CannotTell;
    }
};

const char *endName(Listener::End end)
{
    switch (end) {
    case Listener::End::Full:
        return "capture-limit";
    case Listener::End::LineLost:
        return "port-lost";
    case Listener::End::Stopped:
        return "stopped";
    case Listener::End::Listening:
    case Listener::End::TimeUp:
        break;
    }
    return "time-up";
}

const char *verdictName(Recognition::Verdict verdict)
{
    static const char *const Names[] = {"nothing-heard", "none-fits", "cannot-tell", "named"};
    return Names[static_cast<int>(verdict)];
}

Turn listenOnce(const Transfer::Target &target, int seconds, bool showProgress)
{
    SystemComm comm;
    SystemTickCounter ticks;
    Listener listener(comm, ticks);
    if (const Result<void> started = listener.start(target.port, target.settings, seconds);
        !started)
        throw Cli::Failure{Cli::Failed, Messages::sentence(started.error())};
    qint32 shownSecond = -1;
    while (listener.poll()) {
        if (showProgress && listener.msLeft() / 1000 != shownSecond) {
            shownSecond = listener.msLeft() / 1000;
            Cli::err(QStringLiteral("%1: %2").arg(
                target.settings,
                ListenMessages::progress(listener.capture().size(), listener.msLeft())));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    Turn turn{target.settings, listener.end(), listener.lineError(), listener.capture(), {}};
    turn.recognition = Recognizer::recognize(turn.capture);
    return turn;
}

// The turn whose bytes read best; none when no turn's bytes made sense.
std::optional<qsizetype> bestTurn(const QList<Turn> &turns)
{
    std::optional<qsizetype> best;
    for (qsizetype k = 0; k < turns.size(); ++k) {
        if (!turns[k].madeSense())
            continue;
        if (!best || turns[k].recognition.best().score > turns[*best].recognition.best().score)
            best = k;
    }
    return best;
}

QString glass(const SetFit &fit)
{
    const QString edge = QStringLiteral("+%1+").arg(QString(20, QLatin1Char('-')));
    return QStringList{edge, QLatin1Char('|') + fit.rows[0] + QLatin1Char('|'),
                       QLatin1Char('|') + fit.rows[1] + QLatin1Char('|'), edge}
        .join(QLatin1Char('\n'));
}

QString verdictText(const Turn &turn, int seconds)
{
    if (turn.recognition.verdict == Recognition::Verdict::NothingHeard)
        return ListenMessages::nothingArrived(seconds, turn.settings);
    return ListenMessages::verdict(turn.recognition);
}

QJsonObject turnJson(const Turn &turn, int seconds)
{
    const Recognition &recognition = turn.recognition;
    QJsonObject object{{QStringLiteral("settings"), turn.settings},
                       {QStringLiteral("bytes"), qint64(recognition.bytes)},
                       {QStringLiteral("ending"), QLatin1String(endName(turn.end))},
                       {QStringLiteral("verdict"), QLatin1String(verdictName(recognition.verdict))},
                       {QStringLiteral("message"), verdictText(turn, seconds)}};
    if (recognition.named())
        object.insert(QStringLiteral("commandSet"),
                      ListenMessages::setName(recognition.best().commandSet));
    if (recognition.verdict == Recognition::Verdict::CannotTell)
        object.insert(QStringLiteral("candidates"),
                      QJsonArray{ListenMessages::setName(recognition.best().commandSet),
                                 ListenMessages::setName(recognition.runnerUp().commandSet)});
    QJsonArray ranking;
    for (const SetFit &fit : recognition.ranking)
        ranking.append(
            QJsonObject{{QStringLiteral("commandSet"), ListenMessages::setName(fit.commandSet)},
                        {QStringLiteral("share"), fit.takenShare(recognition.bytes)},
                        {QStringLiteral("ownCommandBytes"), qint64(fit.ownBytes)},
                        {QStringLiteral("score"), fit.score}});
    object.insert(QStringLiteral("ranking"), ranking);
    if (!recognition.ranking.isEmpty())
        object.insert(QStringLiteral("rows"),
                      QJsonArray{recognition.best().rows[0], recognition.best().rows[1]});
    return object;
}

QString turnText(const Turn &turn, int seconds)
{
    const Recognition &recognition = turn.recognition;
    QStringList lines{
        QStringLiteral("listened at %1: %2 bytes").arg(turn.settings).arg(recognition.bytes)};
    if (const QString ending = ListenMessages::ending(turn.end, recognition.bytes, turn.lineError);
        !ending.isEmpty())
        lines << ending;
    lines << verdictText(turn, seconds);
    for (const SetFit &fit : recognition.ranking)
        lines << QStringLiteral("  ") + ListenMessages::fitLine(fit, recognition.bytes);
    if (recognition.verdict == Recognition::Verdict::Named ||
        recognition.verdict == Recognition::Verdict::CannotTell)
        lines << QStringLiteral("the glass in %1:")
                     .arg(ListenMessages::setName(recognition.best().commandSet))
              << glass(recognition.best());
    return lines.join(QLatin1Char('\n'));
}

// The glass as the set heard would show it, as a PNG file; the built-in
// glyphs, as the display's own settings are not known here.
void writeGlass(const SetFit &fit, const QString &path)
{
    GlassText::Input input;
    input.rows = {fit.codes[0], fit.codes[1]};
    const Result<void> saved =
        GlassPicture::savePng(GlassPicture::compose(GlassText::resolve(input)), path);
    if (!saved)
        Cli::fileError(Messages::fileFailure(saved.error()));
}

void save(const QString &path, const QByteArray &capture)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(capture) != capture.size() || !file.commit())
        Cli::fileError(QStringLiteral("%1: %2").arg(Messages::shown(path), file.errorString()));
}

int secondsOption(const Cli::CommandLine &line)
{
    const QString text = line.atMostOneValue(Seconds);
    if (text.isEmpty() && !line.isSet(Seconds))
        return DefaultSeconds;
    bool ok = false;
    const int seconds = text.toInt(&ok);
    if (!ok || seconds < 1 || seconds > Listener::LongestSeconds)
        Cli::usage(QStringLiteral("--seconds needs a number from 1 to %1, not %2")
                       .arg(Listener::LongestSeconds)
                       .arg(Messages::quoted(text)));
    return seconds;
}

} // namespace

int listen(const QStringList &arguments)
{
    Cli::CommandLine line(
        QStringLiteral("listen"),
        QStringLiteral("--port P [--seconds N] [--settings S | --both-speeds] [--json] "
                       "[--save FILE] [--png OUT.png]"),
        QStringLiteral(
            "Listens on the port where the display's cable from the till is plugged in, and "
            "tells which command set the till speaks: how well the bytes read as each publicly "
            "described set (commands only one set has weigh most), the set named when it leads "
            "clearly, and the two rows its display would show. Never writes a byte to the "
            "port. At most %1 bytes are kept. Exits 0 when a set was named, 1 when none fits, "
            "nothing arrived or the port cannot be used.")
            .arg(Listener::CaptureLimit));
    addLinkOptions(line, QStringLiteral("The port to listen on."));
    line.addOption({Seconds},
                   QStringLiteral("How long to listen (default %1, at most %2); with "
                                  "--both-speeds, at each speed.")
                       .arg(DefaultSeconds)
                       .arg(Listener::LongestSeconds),
                   QStringLiteral("N"));
    line.addOption({BothSpeeds},
                   QStringLiteral("Listen in turns at 9600 and at 19200 baud and say at which "
                                  "speed the bytes made sense."));
    addJsonOption(line);
    line.addOption({Save}, QStringLiteral("Keep the raw bytes heard in FILE."),
                   QStringLiteral("FILE"));
    line.addOption({Png},
                   QStringLiteral("Also write the two rows, as the set named would show them, "
                                  "as a picture of the glass."),
                   QStringLiteral("OUT.png"));
    if (!line.parse(arguments))
        return Cli::Done;
    line.positionals(0);
    const QString port = line.atMostOneValue(Port);
    if (port.isEmpty())
        Cli::usage(QStringLiteral("listen needs --port"));
    const int seconds = secondsOption(line);
    // Port and settings as every command reads them: --settings "" refused.
    const QString settings = displays(line).front().target.settings;
    if (line.isSet(BothSpeeds) && line.isSet(Settings))
        Cli::usage(QStringLiteral("give --settings or --both-speeds, not both"));
    const QString savePath = line.atMostOneValue(Save);
    if (line.isSet(Save) && savePath.isEmpty())
        Cli::usage(QStringLiteral("--save needs a file name"));
    const QString pngPath = line.atMostOneValue(Png);
    if (line.isSet(Png) && pngPath.isEmpty())
        Cli::usage(QStringLiteral("--png needs a file name"));

    QStringList speeds{settings};
    if (line.isSet(BothSpeeds)) {
        speeds.clear();
        for (const int baud : LineSpeed::Speeds)
            speeds << QStringLiteral("%1,n,8,1").arg(baud);
    }
    const bool showProgress = progress(line) == Displays::Progress::Shown;
    QList<Turn> turns;
    for (const QString &speed : speeds)
        turns << listenOnce(Displays::targets({port}, speed).front(), seconds, showProgress);

    const std::optional<qsizetype> chosen = bestTurn(turns);
    const Turn &result = turns[chosen.value_or(0)];
    if (!savePath.isEmpty())
        save(savePath, result.capture);
    if (!pngPath.isEmpty() && result.madeSense())
        writeGlass(result.recognition.best(), pngPath);

    // One port's result in the shape every command that reaches ports uses.
    QJsonObject fields = turnJson(result, seconds);
    const QString outcome = fields.take(QStringLiteral("verdict")).toString();
    const QString message = fields.take(QStringLiteral("message")).toString();
    if (turns.size() > 1) {
        QJsonArray listens;
        for (const Turn &turn : turns)
            listens.append(turnJson(turn, seconds));
        fields.insert(QStringLiteral("listens"), listens);
        fields.insert(QStringLiteral("speed"), chosen ? QJsonValue(result.settings) : QJsonValue());
    }
    const PerPort::Display display{port, Displays::targets({port}, speeds.front()).front()};
    const QJsonObject view{
        {QStringLiteral("ports"),
         QJsonArray{PerPort::toJson(display, {.outcome = outcome,
                                              .success = result.recognition.named(),
                                              .message = message,
                                              .fields = fields})}}};
    printView(view, json(line), [&](const QJsonObject &) {
        QStringList parts;
        for (const Turn &turn : turns)
            parts << turnText(turn, seconds);
        if (turns.size() > 1)
            parts << ListenMessages::speedVerdict(
                chosen ? LineSettings::parse(result.settings)->baudRate : 0);
        return parts.join(QStringLiteral("\n\n"));
    });
    return result.recognition.named() ? Cli::Done : Cli::Failed;
}

} // namespace Commands
