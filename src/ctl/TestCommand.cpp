// tq540ctl test: a test screen written into displays in a command set, to
// see what the customer will see and whether the display takes the
// point-of-sale program's commands.

#include <optional>

#include <QJsonObject>

#include "Commands.h"
#include "Displays.h"
#include "Edits.h"
#include "LinkOptions.h"
#include "PerPort.h"
#include "commandsets/CommandSets.h"
#include "commandsets/TestScreen.h"
#include "link/SystemComm.h"
#include "messages/CheckMessages.h"
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
};

QString setName(int commandSet)
{
    const QString name = CommandSets::shortName(commandSet);
    return name.isEmpty() ? QStringLiteral("command set %1 (no list entry)").arg(commandSet) : name;
}

// The texts a display gets: as given, or the set's name and the link's settings.
TestScreen::Result compose(int set, const Plan &plan, const Transfer::Target &target,
                           QJsonObject &fields)
{
    const QString line1 = plan.line1.value_or(CheckMessages::defaultTestLine1(set));
    const QString line2 = plan.line2.value_or(target.settings + QStringLiteral(" OK"));
    fields.insert(QStringLiteral("command"), setName(set));
    fields.insert(QStringLiteral("command-position"), set);
    fields.insert(QStringLiteral("line1"), line1);
    fields.insert(QStringLiteral("line2"), line2);
    return TestScreen::compose(set, line1, line2);
}

PerPort::Result testOne(const PerPort::Port &port, const Plan &plan)
{
    SystemComm comm;
    SystemTickCounter ticks;
    PerPort::Result result;
    int set = 0;
    if (plan.commandSet) {
        set = *plan.commandSet;
    } else {
        port.step(QStringLiteral("reading which command set the display holds"));
        const Result<SettingsImage> held = Transfer::upload(comm, ticks, port.target());
        if (!held) {
            result.message = QStringLiteral("could not read which command set the display "
                                            "holds, so nothing was written: ") +
                             Messages::sentence(held.error());
            return result;
        }
        set = held->at(ImageLayout::CommandSet);
    }
    const TestScreen::Result screen = compose(set, plan, port.target(), result.fields);
    if (!screen.ok()) {
        result.outcome = QStringLiteral("refused");
        result.message = QStringLiteral("the display holds %1: %2; nothing was written")
                             .arg(setName(set), CheckMessages::testScreenRefusal(*screen.problem));
        return result;
    }
    port.step(QStringLiteral("writing the test screen in %1").arg(setName(set)));
    const Result<void> written = Transfer::write(comm, ticks, port.target(), screen.bytes);
    if (!written) {
        result.message = Messages::sentence(written.error());
        return result;
    }
    result.outcome = QStringLiteral("ok");
    result.success = true;
    result.message = QStringLiteral("test screen written in %1").arg(setName(set));
    if (!plan.commandSet)
        result.message += QStringLiteral(", the command set the display holds");
    return result;
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
            "\"<port>: refused: <reason>\" for a display that holds a set with no public "
            "description (KS310, DSP800) or a set that cannot carry the text."));
    addLinkOptions(line, QStringLiteral("A display to test; repeat for more."), AutoPort::Allowed);
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
    addJsonOption(line);
    if (!line.parse(arguments))
        return Cli::Done;
    line.positionals(0);
    const QList<PerPort::Display> targets = displays(line, AutoPort::Allowed);

    Plan plan;
    if (line.isSet(CommandOption))
        plan.commandSet =
            Edits::listPosition(CommandOption, DisplaySettings::of(DisplaySetting::CommandSet),
                                line.atMostOneValue(CommandOption));
    if (line.isSet(Line1Option))
        plan.line1 = line.textValue(Line1Option);
    if (line.isSet(Line2Option))
        plan.line2 = line.textValue(Line2Option);

    // Whatever can be refused before a display is reached is refused now.
    // EPSON takes every printable character, so without --command its
    // refusals are those that hold in any set.
    QJsonObject probe;
    const TestScreen::Result checked =
        compose(plan.commandSet.value_or(CommandSets::Epson), plan, targets.front().target, probe);
    if (!checked.ok())
        Cli::usage(
            QStringLiteral("%1; nothing was sent").arg(CheckMessages::testScreenRefusal(*checked.problem)));

    return PerPort::run(targets, {.json = json(line), .progress = progress(line)},
                        [&](const PerPort::Port &port) { return testOne(port, plan); });
}

} // namespace Commands
