// The commands on settings files: show, new, edit and diff.

#include "Commands.h"
#include "Edits.h"
#include "ImageView.h"
#include "Output.h"
#include "glass/GlassPicture.h"
#include "messages/Messages.h"

namespace Commands {

namespace {

const QString Json = QStringLiteral("json");
const QString Output = QStringLiteral("output");
const QString Png = QStringLiteral("png");

SettingsImage imageOf(const QString &path)
{
    SettingsImage image;
    image.setConfigBytes(Cli::readSettings(path));
    return image;
}

// The welcome lines as the glass shows them, as a PNG file.
void writeGlass(const SettingsImage &image, const QString &pngPath)
{
    const GlassText::Welcome welcome = GlassText::welcome(image);
    const Result<void> saved =
        GlassPicture::savePng(GlassPicture::compose(welcome.glass, welcome.beyond), pngPath);
    if (!saved)
        Cli::fileError(Messages::fileFailure(saved.error()));
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
        QStringLiteral("show"), QStringLiteral("FILE.vfd [--json] [--png OUT.png]"),
        QStringLiteral("Prints a settings file decoded: the four list settings by position and "
                       "text, both welcome lines as text and as hex pairs, every user character "
                       "that has a code, and the reserved bytes that are not 0. In a line's "
                       "text, a cell holding 0 before the end of the line shows as \u2400. "
                       "With --png, also writes the welcome lines as the glass will show them."));
    addJson(line);
    line.addOption({Png},
                   QStringLiteral("Write a picture of the glass showing the welcome lines: line 1 "
                                  "above, line 2's first 20 characters below, its characters 21 "
                                  "to 40 under the glass (how the display shows them is not "
                                  "public); in the file's Character Type and user characters."),
                   QStringLiteral("OUT.png"));
    if (!line.parse(arguments))
        return Cli::Done;
    const QString path = line.positionals(1).front();
    const SettingsImage image = imageOf(path);
    if (line.isSet(Png))
        writeGlass(image, line.atMostOneValue(Png));
    printView(ImageView::describe(image), line.isSet(Json), ImageView::describeText);
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
