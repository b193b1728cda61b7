#include "app/WelcomePreview.h"

#include <algorithm>

#include <QLabel>

#include "app/Controls.h"
#include "app/widgets/GlassView.h"
#include "editors/Configuration.h"
#include "messages/GlassMessages.h"
#include "model/OptionLists.h"

namespace {

// In twips relative to the tab control, under "Welcome Msg 2".
constexpr Twips PreviewAt = {240, 6330, 5580, 1590}; // WelcomePreview
constexpr Twips CaptionAt = {5940, 6330, 3072, 252}; // Label_Preview
constexpr Twips NotesAt = {5940, 6600, 3072, 1320};  // PreviewNotes

bool hasReplaced(const GlassText::Glass &glass)
{
    return std::any_of(glass.rows.begin(), glass.rows.end(), [](const GlassText::Row &row) {
        return std::any_of(row.begin(), row.end(), [](const GlassText::Cell &cell) {
            return cell.kind == GlassText::Kind::Replaced;
        });
    });
}

} // namespace

WelcomePreview::WelcomePreview(Configuration &config, QWidget *page, QPoint pageOrigin)
    : QObject(page), m_config(config)
{
    QLabel *caption = Controls::label(page, QStringLiteral("Label_Preview"), tr("Glass preview :"),
                                      Controls::place(CaptionAt, pageOrigin));
    m_view = new GlassView(page);
    Controls::identify(m_view, QStringLiteral("WelcomePreview"));
    m_view->setGeometry(Controls::place(PreviewAt, pageOrigin));
    caption->setBuddy(m_view);
    m_notes = Controls::label(page, QStringLiteral("PreviewNotes"), QString(),
                              Controls::place(NotesAt, pageOrigin));
    m_notes->setWordWrap(true);
    m_notes->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont notesFont = m_notes->font();
    notesFont.setBold(false);
    notesFont.setPointSizeF(9);
    m_notes->setFont(notesFont);

    for (std::size_t k = 0; k < m_lines.size(); ++k) {
        MessageLine *line = k == 0 ? &m_config.line1() : &m_config.line2();
        connect(line, &MessageLine::cellTextChanged, this,
                [this, k, line](MessageLine::View view, int cell) {
                    // A switch of view empties the other view's cells: not a change.
                    if (view == line->view())
                        cellChanged(k, cell);
                });
        connect(line, &MessageLine::viewChanged, this, &WelcomePreview::refresh);
    }
    connect(&m_config.characters(), &CharacterEditor::changed, this, &WelcomePreview::refresh);
    connect(&m_config, &Configuration::listPositionChanged, this, &WelcomePreview::refresh);
    m_view->setSpokenText([this] { return spokenText(); });
    refresh();
}

QString WelcomePreview::setName() const
{
    return OptionLists::charSets().value(m_config.listPosition(DisplaySetting::CharacterSet));
}

void WelcomePreview::refresh()
{
    m_drawing.characterSet = m_config.listPosition(DisplaySetting::CharacterSet);
    m_drawing.userCharacters = GlassText::imageCharacters(m_config.image());
    m_lines = {m_config.line1().bytes(), m_config.line2().bytes()};
    m_shown = GlassText::welcome(m_lines[0], m_lines[1], m_drawing.characterSet,
                                 m_drawing.userCharacters);
    const QString unused = GlassMessages::unusedCharacters(m_shown.glass.unusedCharacters);
    m_notes->setText((unused.isEmpty() ? QString() : unused + QLatin1Char(' ')) +
                     GlassMessages::continuationNote());
    showGlass(true);
}

void WelcomePreview::cellChanged(std::size_t line, int cell)
{
    const quint8 code = (line == 0 ? m_config.line1() : m_config.line2()).byte(cell);
    const int k = cell - 1;
    if (k >= m_lines[line].size() || quint8(m_lines[line][k]) == code)
        return;
    m_lines[line][k] = char(code);
    constexpr int Width = GlassText::Columns;
    GlassText::Cell &shown = line == 0   ? m_shown.glass.rows[0][k]
                             : k < Width ? m_shown.glass.rows[1][k]
                                         : m_shown.beyond.rows[0][k - Width];
    const bool wasReplaced = shown.kind == GlassText::Kind::Replaced;
    shown = GlassText::cellFor(code, m_drawing);
    showGlass(wasReplaced || shown.kind == GlassText::Kind::Replaced);
}

void WelcomePreview::showGlass(bool replacedTouched)
{
    m_view->setGlass(m_shown.glass, m_shown.beyond);
    if (!replacedTouched)
        return;
    const QString tip = hasReplaced(m_shown.glass) || hasReplaced(m_shown.beyond)
                            ? GlassMessages::replacementNote(setName())
                            : QString();
    if (m_view->toolTip() != tip)
        m_view->setToolTip(tip);
}

QString WelcomePreview::spokenText() const
{
    const GlassText::Glass &glass = m_view->glass();
    const QString unused = GlassMessages::unusedCharacters(glass.unusedCharacters);
    const QString described =
        GlassMessages::describe(glass, {tr("row 1"), tr("row 2")}, setName()) + QLatin1Char(' ') +
        GlassMessages::describe(m_view->continuation(),
                                {tr("line 2's characters 21 to 40")}, setName());
    return tr("Glass preview : %1%2")
        .arg(described, unused.isEmpty() ? QString() : QLatin1Char(' ') + unused);
}
