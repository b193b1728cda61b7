// tq540ctl test: a test screen written into displays in a command set, to
// see what the customer will see and whether the display takes the
// point-of-sale program's commands.

#include <memory>
#include <optional>
#include <vector>

#include <QJsonArray>
#include <QJsonObject>

#include "Commands.h"
#include "Displays.h"
#include "Edits.h"
#include "LinkOptions.h"
#include "Parallel.h"
#include "Output.h"
#include "commandsets/CommandSets.h"
#include "commandsets/TestScreen.h"
#include "link/SystemComm.h"
#include "messages/Messages.h"
#include "model/DisplaySettings.h"

namespace Commands {

namespace {

const QString CommandOption = QStringLiteral("command");
const QString Line1Option = QStringLiteral("line1");
const QString Line2Option = QStringLiteral("line2");

struct Plan
{
    std::optional<int> commandSet; // none: the set each display holds
    std::optional<QString> line1;
    std::optional<QString> line2;
    Displays::Progress progress = Displays::Progress::Hidden;
};

struct Outcome
{
    enum class Kind { Ok, Failed, Refused };
    Kind kind = Kind::Failed;
    Transfer::Target target;
    std::optional<int> commandSet; // none when the display could not be read
    QString line1;
    QString line2;
    QString message;
};

const char *kindName(Outcome::Kind kind)
{
    static const char *const Names[] = {"ok", "failed", "refused"};
    return Names[static_cast<int>(kind)];
}

QString setName(int commandSet)
{
    const QString name = CommandSets::shortName(commandSet);
    return name.isEmpty() ? QStringLiteral("command set %1 (no list entry)").arg(commandSet) : name;
}

void report(const Plan &plan, const Transfer::Target &target, const QString &step)
{
    if (plan.progress == Displays::Progress::Shown)
        Cli::err(QStringLiteral("%1: %2").arg(Messages::shown(target.port.shownText), step));
}

// The texts a display gets: as given, or the set's name and the link's settings.
TestScreen::Result compose(int set, const Plan &plan, const Transfer::Target &target,
                           Outcome &outcome)
{
    outcome.line1 = plan.line1.value_or(TestScreen::defaultLine1(set));
    outcome.line2 = plan.line2.value_or(target.settings + QStringLiteral(" OK"));
    return TestScreen::compose(set, outcome.line1, outcome.line2);
}

Outcome testOne(const Transfer::Target &target, const Plan &plan)
{
    SystemComm comm;
    SystemTickCounter ticks;
    Outcome outcome;
    outcome.target = target;
    if (plan.commandSet) {
        outcome.commandSet = plan.commandSet;
    } else {
        report(plan, target, QStringLiteral("reading which command set the display holds"));
        const Result<SettingsImage> held = Transfer::upload(comm, ticks, target);
        if (!held) {
            outcome.message = QStringLiteral("could not read which command set the display "
                                             "holds, so nothing was written: ") +
                              Messages::sentence(held.error());
            return outcome;
        }
        outcome.commandSet = held->at(ImageLayout::CommandSet);
    }
    const int set = *outcome.commandSet;
    const TestScreen::Result screen = compose(set, plan, target, outcome);
    if (!screen.ok()) {
        outcome.kind = Outcome::Kind::Refused;
        outcome.message = QStringLiteral("the display holds %1: %2; nothing was written")
                              .arg(setName(set), TestScreen::describe(*screen.problem));
        return outcome;
    }
    report(plan, target, QStringLiteral("writing the test screen in %1").arg(setName(set)));
    const Result<void> written = Transfer::write(comm, ticks, target, screen.bytes);
    if (!written) {
        outcome.message = Messages::sentence(written.error());
        return outcome;
    }
    outcome.kind = Outcome::Kind::Ok;
    outcome.message = QStringLiteral("test screen written in %1").arg(setName(set));
    if (!plan.commandSet)
        outcome.message += QStringLiteral(", the command set the display holds");
    return outcome;
}

// Every display at once, on a bounded number of threads; every wait inside has a bound.
std::vector<Outcome> testAll(const QList<Transfer::Target> &targets, const Plan &plan)
{
    std::vector<Outcome> outcomes(static_cast<std::size_t>(targets.size()));
    Parallel::forEach(static_cast<int>(targets.size()), Parallel::MostAtOnce, [&](int k) {
        outcomes[static_cast<std::size_t>(k)] = testOne(targets[k], plan);
    });
    return outcomes;
}

QJsonObject toJson(const Outcome &outcome)
{
    QJsonObject object{{QStringLiteral("port"), outcome.target.port.shownText},
                       {QStringLiteral("result"), QLatin1String(kindName(outcome.kind))},
                       {QStringLiteral("message"), outcome.message}};
    if (outcome.commandSet) {
        object.insert(QStringLiteral("command"), setName(*outcome.commandSet));
        object.insert(QStringLiteral("command-position"), *outcome.commandSet);
        object.insert(QStringLiteral("line1"), outcome.line1);
        object.insert(QStringLiteral("line2"), outcome.line2);
    }
    return object;
}

} // namespace

int test(const QStringList &arguments)
{
    Cli::CommandLine line(
        QStringLiteral("test"),
        QStringLiteral("--port P [--port P ...] [--command NAME] [--line1 TEXT] [--line2 TEXT] "
                       "[options]"),
        QStringLiteral(
            "Writes a test screen into every display named by --port, all at once: it clears "
            "the display and writes one text on each row, in the display's command set. Without "
            "--command it first reads the display's settings and uses the command set the "
            "display holds; with --command it writes in that set, the one the point-of-sale "
            "program uses, so that a mismatch shows on the display. The default texts name the "
            "set and the line settings (\"TQ-540 TEST: EPSON\", \"9600,n,8,1 OK\"). Prints one "
            "line per display: \"<port>: ok: ...\", \"<port>: failed: <reason>\", or "
            "\"<port>: refused: <reason>\" for a set with no public description (KS310, "
            "DSP800) or a text the set cannot carry. Exit status 2 when every display was "
            "refused."));
    addLinkOptions(line, QStringLiteral("A display to test; repeat for more."));
    line.addOption({CommandOption},
                   QStringLiteral("Write in this command set (list entry, any case, \"(Default)\" "
                                  "optional, or its position 0 to 9) instead of the one each "
                                  "display holds."),
                   QStringLiteral("name"));
    line.addOption({Line1Option},
                   QStringLiteral("The upper row: at most 20 printable ASCII characters."),
                   QStringLiteral("text"));
    line.addOption({Line2Option},
                   QStringLiteral("The lower row: at most 20 printable ASCII characters."),
                   QStringLiteral("text"));
    line.addOption({QStringLiteral("json")}, QStringLiteral("Print JSON instead of text."));
    if (!line.parse(arguments))
        return Cli::Done;
    line.positionals(0);
    const QList<Transfer::Target> targets = Displays::targets(
        line.values(QStringLiteral("port")), line.atMostOneValue(QStringLiteral("settings")));

    Plan plan;
    plan.progress = progress(line);
    if (line.isSet(CommandOption))
        plan.commandSet =
            Edits::listPosition(CommandOption, DisplaySettings::of(DisplaySetting::CommandSet),
                                line.atMostOneValue(CommandOption));
    if (line.isSet(Line1Option))
        plan.line1 = line.atMostOneValue(Line1Option);
    if (line.isSet(Line2Option))
        plan.line2 = line.atMostOneValue(Line2Option);

    // Whatever can be refused before a display is reached is refused now.
    // EPSON takes every printable character, so without --command its
    // refusals are those that hold in any set.
    Outcome probe;
    const TestScreen::Result checked =
        compose(plan.commandSet.value_or(CommandSets::Epson), plan, targets.front(), probe);
    if (!checked.ok())
        Cli::usage(QStringLiteral("%1; nothing was sent").arg(TestScreen::describe(*checked.problem)));

    const std::vector<Outcome> outcomes = testAll(targets, plan);
    bool allRefused = true;
    bool allOk = true;
    QJsonArray list;
    for (const Outcome &outcome : outcomes) {
        allRefused = allRefused && outcome.kind == Outcome::Kind::Refused;
        allOk = allOk && outcome.kind == Outcome::Kind::Ok;
        list.append(toJson(outcome));
    }
    printView(QJsonObject{{QStringLiteral("displays"), list}}, line.isSet(QStringLiteral("json")),
              [](const QJsonObject &view) {
                  QStringList lines;
                  for (const QJsonValue display : view.value(u"displays").toArray())
                      lines << QStringLiteral("%1: %2: %3")
                                   .arg(Messages::shown(display[u"port"].toString()),
                                        display[u"result"].toString(),
                                        display[u"message"].toString());
                  return lines.join(QLatin1Char('\n'));
              });
    return allOk ? Cli::Done : allRefused ? Cli::Usage : Cli::Failed;
}

} // namespace Commands
