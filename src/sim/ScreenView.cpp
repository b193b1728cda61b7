#include "ScreenView.h"

#include "commandsets/CommandSets.h"
#include "model/HexText.h"

namespace {

QString setName(int commandSet)
{
    const QString name = CommandSets::shortName(commandSet);
    return name.isEmpty() ? QStringLiteral("command set %1").arg(commandSet) : name;
}

QString hex(const QByteArray &sequence)
{
    QStringList pairs;
    for (const char byte : sequence)
        pairs << HexText::hexPair(quint8(byte));
    return pairs.join(QLatin1Char(' '));
}

} // namespace

bool ScreenView::update(const ScreenInterpreter &screen, const ScreenInterpreter::Unknown &unknown)
{
    const bool changed = !m_shown || !unknown.isEmpty() || !(screen.screen() == m_screen) ||
                         screen.commandSet() != m_commandSet ||
                         screen.scrollingRow() != m_scrollingRow;
    m_unknownCount += unknown.sequences.size() + unknown.dropped;
    m_newest += unknown.sequences;
    if (m_newest.size() > NewestKept)
        m_newest.remove(0, m_newest.size() - NewestKept);
    m_screen = screen.screen();
    m_commandSet = screen.commandSet();
    m_interpreting = screen.interpreting();
    m_scrollingRow = screen.scrollingRow();
    m_shown = true;
    return changed;
}

QStringList ScreenView::lines() const
{
    constexpr int Width = Screen::Columns;
    const QString title = QStringLiteral("- %1 ").arg(setName(m_commandSet));
    QStringList lines{QLatin1Char('+') + title.leftJustified(Width, QLatin1Char('-'), true) +
                      QLatin1Char('+')};
    for (int row = 0; row < Screen::Rows; ++row)
        lines << QLatin1Char('|') + m_screen.rowText(row) + QLatin1Char('|');
    lines << QLatin1Char('+') + QString(Width, QLatin1Char('-')) + QLatin1Char('+');
    if (!m_interpreting)
        lines << QStringLiteral("%1 mode: no public description of its commands, so every byte "
                                "is shown as data only")
                     .arg(setName(m_commandSet));
    if (m_scrollingRow)
        lines << QStringLiteral("row %1 scrolls its text; its start is shown")
                     .arg(*m_scrollingRow + 1);
    if (m_unknownCount > 0) {
        QStringList shown;
        for (const QByteArray &sequence : m_newest)
            shown << hex(sequence);
        lines << QStringLiteral("not interpreted (%1 since start, newest last): %2")
                     .arg(m_unknownCount)
                     .arg(shown.join(QStringLiteral(" | ")));
    }
    return lines;
}

QByteArray ScreenView::fileText() const
{
    QByteArray text;
    for (int row = 0; row < Screen::Rows; ++row)
        text += m_screen.rowText(row).toLatin1() + '\n';
    return text;
}
