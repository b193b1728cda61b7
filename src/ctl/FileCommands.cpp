// The commands on settings files: show, new, edit and diff.

#include "Commands.h"
#include "Edits.h"
#include "ImageView.h"
#include "Output.h"

namespace Commands {

namespace {

const QString Json = QStringLiteral("json");
const QString Output = QStringLiteral("output");

SettingsImage imageOf(const QString &path)
{
    SettingsImage image;
    image.setConfigBytes(Cli::readSettings(path));
    return image;
}

void addJson(Cli::CommandLine &line)
{
    line.addOption({Json}, QStringLiteral("Print JSON instead of text."));
}

void addOutput(Cli::CommandLine &line, const QString &help)
{
    line.addOption({QStringLiteral("o"), Output}, help, QStringLiteral("file"));
}

// The end of new and edit: the edits on top of `config`, then the file.
int writeEdited(Configuration &config, const Edits::Plan &plan, const QString &output)
{
    Edits::apply(plan, config);
    Cli::writeSettings(output, config.image().configBytes());
    return Cli::Done;
}

} // namespace

int show(const QStringList &arguments)
{
    Cli::CommandLine line(
        QStringLiteral("show"), QStringLiteral("FILE.vfd [--json]"),
        QStringLiteral("Prints a settings file decoded: the four list settings by position and "
                       "text, both welcome lines as text and as hex pairs, every user character "
                       "that has a code, and the reserved bytes that are not 0. In a line's "
                       "text, a cell holding 0 before the end of the line shows as \u2400."));
    addJson(line);
    if (!line.parse(arguments))
        return Cli::Done;
    const QString path = line.positionals(1).front();
    printView(ImageView::describe(imageOf(path)), line.isSet(Json), ImageView::describeText);
    return Cli::Done;
}

int create(const QStringList &arguments)
{
    Cli::CommandLine line(QStringLiteral("new"), QStringLiteral("-o FILE.vfd [EDITS]"),
                          QStringLiteral("Writes a settings file with the factory settings, as "
                                         "\"Set All Default\" leaves the window, changed by the "
                                         "EDITS."));
    addOutput(line, QStringLiteral("The settings file to write."));
    Edits::addOptions(line);
    if (!line.parse(arguments))
        return Cli::Done;
    line.positionals(0);
    const QString output = line.atMostOneValue(Output);
    if (output.isEmpty())
        Cli::usage(QStringLiteral("give the file to write with -o FILE.vfd"));
    const Edits::Plan plan = Edits::read(line);
    Cli::checkOutput(output);

    Configuration config;
    config.SetAllDefault();
    return writeEdited(config, plan, output);
}

int edit(const QStringList &arguments)
{
    Cli::CommandLine line(QStringLiteral("edit"), QStringLiteral("FILE.vfd [-o OUT.vfd] [EDITS]"),
                          QStringLiteral("Changes a settings file by the EDITS, in place or into "
                                         "OUT.vfd. The reserved bytes are kept."));
    addOutput(line, QStringLiteral("Write the result here instead of changing FILE.vfd."));
    Edits::addOptions(line);
    if (!line.parse(arguments))
        return Cli::Done;
    const QString input = line.positionals(1).front();
    const QString given = line.atMostOneValue(Output);
    const QString output = line.isSet(Output) ? given : input;
    const Edits::Plan plan = Edits::read(line);
    Cli::checkOutput(output);

    Configuration config;
    config.applyFile(Cli::readSettings(input));
    return writeEdited(config, plan, output);
}

int diff(const QStringList &arguments)
{
    Cli::CommandLine line(QStringLiteral("diff"), QStringLiteral("A.vfd B.vfd [--json]"),
                          QStringLiteral("Names the settings, message cells, user characters "
                                         "and reserved bytes in which two settings files "
                                         "differ; prints nothing as text when they are the "
                                         "same."));
    addJson(line);
    if (!line.parse(arguments))
        return Cli::Done;
    const QStringList paths = line.positionals(2);
    ImageView::Comparison comparison = ImageView::compare(imageOf(paths[0]), imageOf(paths[1]));
    comparison.pathA = paths[0];
    comparison.pathB = paths[1];
    printView(comparison, line.isSet(Json), ImageView::compareText);
    return ImageView::differingFields(comparison).isEmpty() ? Cli::Done : Cli::Failed;
}

} // namespace Commands
