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

    for (MessageLine *line : {&m_config.line1(), &m_config.line2()}) {
        connect(line, &MessageLine::cellTextChanged, this, &WelcomePreview::refresh);
        connect(line, &MessageLine::viewChanged, this, &WelcomePreview::refresh);
    }
    connect(&m_config.characters(), &CharacterEditor::changed, this, &WelcomePreview::refresh);
    connect(&m_config, &Configuration::listPositionChanged, this, &WelcomePreview::refresh);
    refresh();
}

void WelcomePreview::refresh()
{
    const int set = m_config.listPosition(DisplaySetting::CharacterSet);
    const QString setName = OptionLists::charSets().value(set);
    const auto [glass, beyond] =
        GlassText::welcome(m_config.line1().bytes(), m_config.line2().bytes(), set,
                           GlassText::imageCharacters(m_config.image()));
    m_view->setGlass(glass, beyond);

    const QString unused = GlassMessages::unusedCharacters(glass.unusedCharacters);
    m_notes->setText((unused.isEmpty() ? QString() : unused + QLatin1Char(' ')) +
                     GlassMessages::continuationNote());
    const QString described =
        GlassMessages::describe(glass, {tr("row 1"), tr("row 2")}, setName) + QLatin1Char(' ') +
        GlassMessages::describe(beyond, {tr("under the glass, line 2 characters 21 to 40")},
                                setName);
    m_view->setAccessibleName(
        tr("Glass preview : %1%2")
            .arg(described, unused.isEmpty() ? QString() : QLatin1Char(' ') + unused));
    m_view->setToolTip(hasReplaced(glass) || hasReplaced(beyond)
                           ? GlassMessages::replacementNote(setName)
                           : QString());
}
