#include "check/DisplayCheck.h"

#include "editors/Configuration.h"
#include "link/LineSettings.h"
#include "messages/Messages.h"
#include "model/DisplaySettings.h"
#include "model/HexText.h"
#include "model/ImageCodec.h"
#include "model/OptionLists.h"
#include "screen/ScreenInterpreter.h"

namespace {

using ImageCodec::FieldRef;

// "Command Mode :" and " Character Type :" as a name in a sentence.
QString captionOf(const DisplaySettingInfo &info)
{
    QString caption = QString::fromLatin1(info.windowCaption).trimmed();
    if (caption.endsWith(QLatin1Char(':')))
        caption.chop(1);
    return caption.trimmed();
}

QString entryText(const ImageCodec::SettingField &field)
{
    return field.entry().value_or(QStringLiteral("byte %1").arg(field.position));
}

QString describe(const FieldRef &ref, const ImageCodec::Fields &window,
                 const ImageCodec::Fields &display)
{
    switch (ref.kind) {
    case FieldRef::Kind::Setting: {
        const ImageCodec::SettingField &ours = window.settings[ref.slot];
        return QStringLiteral("%1: %2 / display: %3")
            .arg(captionOf(ours.info()), entryText(ours), entryText(display.settings[ref.slot]));
    }
    case FieldRef::Kind::Cell:
        return QStringLiteral("Welcome Msg %1, cell %2: %3 / %4")
            .arg(ref.slot + 1)
            .arg(ref.cell)
            .arg(HexText::hexPair(window.lines[ref.slot].cell(ref.cell)),
                 HexText::hexPair(display.lines[ref.slot].cell(ref.cell)));
    case FieldRef::Kind::Glyph:
        return QStringLiteral("User Defined Character %1").arg(window.glyphs[ref.slot].number);
    case FieldRef::Kind::Reserved:
        return QStringLiteral("Reserved byte %1: %2 / %3")
            .arg(window.reserved[ref.slot].index)
            .arg(HexText::hexPair(window.reserved[ref.slot].value),
                 HexText::hexPair(display.reserved[ref.slot].value));
    }
    return ref.name();
}

// The link settings text that the display's own speed stands for: the
// entry of "Buad Rate" that names the same speed.
QString linkOfDisplaySpeed(int position)
{
    const DisplaySettingInfo &speed = DisplaySettings::of(DisplaySetting::DisplaySpeed);
    for (const QString &link : OptionLists::linkSettings()) {
        if (OptionLists::positionOf(speed.entries(), link) == position)
            return link;
    }
    return speed.entryAt(position).value_or(QString());
}

} // namespace

DisplayCheck::DisplayCheck(const Configuration &config, MSComm &comm, TickCounter &ticks,
                           QObject *parent)
    : QObject(parent), m_config(config), m_comm(comm), m_ticks(ticks),
      m_line2(defaultLine2())
{
    makeFinder(DisplayFinder::systemLinks());
    followCommandSet();
    connect(&m_config, &Configuration::listPositionChanged, this, [this](DisplaySetting setting) {
        if (setting == DisplaySetting::CommandSet)
            followCommandSet();
    });
}

// --- Find VFD ------------------------------------------------------------

QList<PortChoice> DisplayCheck::portsToAsk(const QStringList &listed,
                                           const QList<DetectedPort> &detected,
                                           const QString &typed)
{
    QList<PortChoice> ports;
    for (const QString &entry : listed)
        ports << PortChoice::fromComboText(listed, entry);
    for (const DetectedPort &port : detected)
        ports << PortChoice::fromComboText(listed, port.device);
    if (!typed.trimmed().isEmpty())
        ports << PortChoice::fromComboText(listed, typed.trimmed());
    return DisplayFinder::distinct(ports);
}

void DisplayCheck::makeFinder(DisplayFinder::LinkFactory links)
{
    m_finder = std::make_unique<DisplayFinder>(std::move(links));
    connect(m_finder.get(), &DisplayFinder::progress, this, &DisplayCheck::findProgress);
    connect(m_finder.get(), &DisplayFinder::resultReady, this, [this](const FindResult &result) {
        m_found << result;
        emit foundChanged();
    });
    connect(m_finder.get(), &DisplayFinder::finished, this, &DisplayCheck::findFinished);
}

void DisplayCheck::setFinderLinks(DisplayFinder::LinkFactory links)
{
    if (!finding())
        makeFinder(std::move(links));
}

void DisplayCheck::startFind(const QList<PortChoice> &ports)
{
    if (finding())
        return;
    m_found.clear();
    emit foundChanged();
    m_finder->start(ports);
}

void DisplayCheck::stopFind()
{
    m_finder->stop();
}

bool DisplayCheck::finding() const
{
    return m_finder->isRunning();
}

QString DisplayCheck::foundText(const FindResult &result)
{
    if (result.answered())
        return QStringLiteral("%1: %2, %3").arg(result.port, result.settings, result.summary());
    return QStringLiteral("%1: %2").arg(result.port,
                                        result.reason.isEmpty() ? result.outcomeName()
                                                                : result.reason);
}

std::optional<Transfer::Target> DisplayCheck::choice(int row) const
{
    if (row < 0 || row >= m_found.size() || !m_found.at(row).answered())
        return std::nullopt;
    const FindResult &result = m_found.at(row);
    return Transfer::Target{PortChoice::fromComboText(OptionLists::commPorts(), result.port),
                            result.settings};
}

std::optional<int> DisplayCheck::onlyAnswer() const
{
    std::optional<int> only;
    for (int row = 0; row < m_found.size(); ++row) {
        if (!m_found.at(row).answered())
            continue;
        if (only)
            return std::nullopt;
        only = row;
    }
    return only;
}

// --- Compare With VFD ----------------------------------------------------

Result<QStringList> DisplayCheck::compare(const Transfer::Target &target)
{
    const Result<SettingsImage> display = Transfer::upload(m_comm, m_ticks, target);
    if (!display) {
        m_comparison = {Messages::sentence(display.error())};
        emit comparisonChanged();
        return display.error();
    }
    noteRead(*display, target.settings);
    const QStringList found = differences(m_config.assembledImage(), *display);
    m_comparison = found.isEmpty()
                       ? QStringList{tr("The display holds exactly the window's settings.")}
                       : QStringList{found.size() == 1
                                         ? tr("The display differs in 1 field:")
                                         : tr("The display differs in %1 fields:")
                                               .arg(found.size())} +
                             found;
    emit comparisonChanged();
    return found;
}

QStringList DisplayCheck::differences(const SettingsImage &window, const SettingsImage &display)
{
    const ImageCodec::Fields ours = ImageCodec::decode(window);
    const ImageCodec::Fields theirs = ImageCodec::decode(display);
    QStringList named;
    for (const FieldRef &ref : ImageCodec::differences(ours, theirs))
        named << describe(ref, ours, theirs);
    return named;
}

// --- Send Test -----------------------------------------------------------

int DisplayCheck::commandSet() const
{
    return m_config.listPosition(DisplaySetting::CommandSet);
}

QString DisplayCheck::commandSetName() const
{
    return DisplaySettings::of(DisplaySetting::CommandSet).entryAt(commandSet()).value_or(QString());
}

QString DisplayCheck::defaultLine2()
{
    return QStringLiteral("ABCDEFGHIJ0123456789");
}

void DisplayCheck::setLines(const QString &line1, const QString &line2)
{
    if (line1 == m_line1 && line2 == m_line2)
        return;
    m_line1 = line1;
    m_line2 = line2;
    emit testChanged();
}

// A text the user left at its default follows the set; a typed one stays.
void DisplayCheck::followCommandSet()
{
    const int set = commandSet();
    if (set == m_set)
        return;
    if (m_set < 0 || m_line1 == TestScreen::defaultLine1(m_set))
        m_line1 = TestScreen::defaultLine1(set);
    m_set = set;
    emit testChanged();
}

TestScreen::Result DisplayCheck::testScreen() const
{
    return TestScreen::compose(commandSet(), m_line1, m_line2);
}

QString DisplayCheck::refusal() const
{
    const TestScreen::Result screen = testScreen();
    return screen.ok() ? QString() : TestScreen::describe(*screen.problem);
}

QStringList DisplayCheck::preview() const
{
    ScreenInterpreter display(commandSet());
    display.feed(testScreen().bytes);
    return {display.rowText(0), display.rowText(1)};
}

QString DisplayCheck::sendTest(const Transfer::Target &target)
{
    const TestScreen::Result screen = testScreen();
    if (!screen.ok())
        return TestScreen::describe(*screen.problem);
    const Result<void> sent = Transfer::write(m_comm, m_ticks, target, screen.bytes);
    return sent ? QString() : Messages::sentence(sent.error());
}

// --- the display's speed -------------------------------------------------

void DisplayCheck::noteDownload(const QString &linkSettings)
{
    m_displaySpeed = linkOfDisplaySpeed(m_config.listPosition(DisplaySetting::DisplaySpeed));
    m_linkSettings = linkSettings;
    updateSpeedNote();
}

void DisplayCheck::noteRead(const SettingsImage &display, const QString &linkSettings)
{
    const QString speed = linkOfDisplaySpeed(display.at(ImageLayout::DisplaySpeed));
    m_displaySpeed = speed.isEmpty() ? std::nullopt : std::optional(speed);
    m_linkSettings = linkSettings;
    updateSpeedNote();
}

void DisplayCheck::setLinkSettings(const QString &linkSettings)
{
    m_linkSettings = linkSettings;
    updateSpeedNote();
}

QString DisplayCheck::speedNote() const
{
    return m_speedNote;
}

void DisplayCheck::updateSpeedNote()
{
    QString note;
    if (m_displaySpeed) {
        const std::optional<LineSettings> display = LineSettings::parse(*m_displaySpeed);
        if (!display || LineSettings::parse(m_linkSettings) != display)
            note = tr("After its restart the display listens at %1; \"Buad Rate\" is %2.")
                       .arg(*m_displaySpeed, m_linkSettings);
    }
    if (note == m_speedNote)
        return;
    m_speedNote = note;
    emit speedNoteChanged(note);
}
