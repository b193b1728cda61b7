#include "app/CharacterPage.h"

#include <array>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>

#include "app/Controls.h"
#include "app/Prompts.h"
#include "app/widgets/DotButton.h"
#include "app/widgets/DotGrid.h"
#include "messages/CharacterMessages.h"

namespace {

// The page's table, in twips relative to the tab control.
constexpr Twips CaptionAt = {960, 960, 3732, 372};    // UDC_label
constexpr Twips PreviousAt = {960, 1680, 732, 372};   // UDC_UP
constexpr Twips HexPrefixAt = {2250, 1800, 252, 252}; // Label5
constexpr Twips CodeAt = {2520, 1680, 612, 384};      // UDC_TEXT
constexpr Twips HexSuffixAt = {3240, 1800, 492, 252}; // Label8
constexpr Twips NextAt = {3960, 1680, 732, 372};      // UDC_NEXT
constexpr Twips GridAt = {1680, 2280, 2292, 3252};    // map1(0) .. map5(6)
constexpr int DotPitch = 480;                         // from dot to dot
constexpr int DotSize = 372;
constexpr Twips RangeAt = {4920, 4800, 1692, 252};   // Label9
constexpr Twips MaximumAt = {4920, 5160, 1692, 252}; // Label10
constexpr Twips ClearAt = {480, 5160, 972, 372};     // MAP_Clear
constexpr Twips NoteAt = {4920, 2280, 4000, 900};    // beside the grid

using DotHandler = void (CharacterPage::*)(int);

// "User Defined Character  1" (two blanks) until the first step, then
// "User Defined Character N".
QString captionOf(const CharacterEditor &editor)
{
    if (editor.startUpCaption())
        return QStringLiteral("User Defined Character  1");
    return QStringLiteral("User Defined Character %1").arg(editor.number());
}

} // namespace

CharacterPage::CharacterPage(CharacterEditor &editor, Prompts &prompts, QWidget *page,
                             QPoint pageOrigin)
    : DeferredPage(page, pageOrigin), m_editor(editor), m_prompts(prompts)
{
}

void CharacterPage::buildControls(QWidget *page, QPoint pageOrigin)
{
    const auto place = [pageOrigin](const Twips &at) { return Controls::place(at, pageOrigin); };

    // Its accessible name is its text, so that it says which character is shown.
    m_caption = Controls::label(page, QStringLiteral("UDC_label"), QString(), place(CaptionAt));
    auto *previous = Controls::button(page, QStringLiteral("UDC_UP"), QStringLiteral("<<"),
                                      place(PreviousAt), tr("Previous character"));
    QLabel *prefix =
        Controls::label(page, QStringLiteral("Label5"), QStringLiteral("0x"), place(HexPrefixAt));
    m_codeBox = new QLineEdit(page);
    Controls::identify(m_codeBox, QStringLiteral("UDC_TEXT"), tr("Character code"));
    m_codeBox->setMaxLength(CharacterEditor::CodeTextLength);
    m_codeBox->setGeometry(place(CodeAt));
    prefix->setBuddy(m_codeBox);
    Controls::label(page, QStringLiteral("Label8"), QStringLiteral("(Hex)"), place(HexSuffixAt));
    auto *next = Controls::button(page, QStringLiteral("UDC_NEXT"), QStringLiteral(">>"),
                                  place(NextAt), tr("Next character"));

    m_grid = new DotGrid(CharacterEditor::Columns, CharacterEditor::Rows, Controls::px(DotPitch),
                         Controls::px(DotSize), page);
    m_grid->setGeometry(place(GridAt));
    m_grid->setAccessibleName(tr("Dot grid"));
    for (int column = 1; column <= CharacterEditor::Columns; ++column) {
        const QByteArray array = "map" + QByteArray::number(column);
        for (int row = 0; row < CharacterEditor::Rows; ++row)
            Controls::identify(m_grid->dot(column, row), Controls::element(array.constData(), row),
                               tr("Dot column %1, row %2").arg(column).arg(row));
    }

    Controls::label(page, QStringLiteral("Label9"), QStringLiteral("Range : 0x20~0x7E"),
                    place(RangeAt));
    Controls::label(page, QStringLiteral("Label10"), QStringLiteral("Max Characters = 9"),
                    place(MaximumAt));
    auto *clear = Controls::button(page, QStringLiteral("MAP_Clear"), QStringLiteral("Clear"),
                                   place(ClearAt), tr("Clear dot grid"));
    m_unstoredNote = new QLabel(page);
    Controls::identify(m_unstoredNote, QStringLiteral("UDC_note"));
    m_unstoredNote->setWordWrap(true);
    m_unstoredNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_unstoredNote->setGeometry(place(NoteAt));
    m_unstoredNote->hide();

    m_previous = previous;
    m_next = next;
    m_clear = clear;
    connect(previous, &QPushButton::clicked, this, &CharacterPage::UDC_UP_Click);
    connect(next, &QPushButton::clicked, this, &CharacterPage::UDC_NEXT_Click);
    connect(clear, &QPushButton::clicked, this, &CharacterPage::MAP_Clear_Click);
    connect(m_codeBox, &QLineEdit::textChanged, &m_editor, &CharacterEditor::setCodeText);
    connect(m_grid, &DotGrid::dotToggled, this, [this](int column, int row, bool lit) {
        static constexpr std::array<DotHandler, CharacterEditor::Columns> handlers = {
            &CharacterPage::map1_Click, &CharacterPage::map2_Click, &CharacterPage::map3_Click,
            &CharacterPage::map4_Click, &CharacterPage::map5_Click};
        if (m_editor.isLit(column, row) != lit)
            (this->*handlers[std::size_t(column - 1)])(row);
    });
    connect(&m_editor, &CharacterEditor::changed, this, &CharacterPage::showCharacter);
    showCharacter();
}

QList<QWidget *> CharacterPage::tabOrder() const
{
    if (!isBuilt())
        return {};
    return QList<QWidget *>{m_previous, m_codeBox, m_next} + m_grid->dots() +
           QList<QWidget *>{m_clear};
}

void CharacterPage::map1_Click(int row)
{
    m_editor.toggleDot(1, row);
}

void CharacterPage::map2_Click(int row)
{
    m_editor.toggleDot(2, row);
}

void CharacterPage::map3_Click(int row)
{
    m_editor.toggleDot(3, row);
}

void CharacterPage::map4_Click(int row)
{
    m_editor.toggleDot(4, row);
}

void CharacterPage::map5_Click(int row)
{
    m_editor.toggleDot(5, row);
}

void CharacterPage::MAP_Clear_Click()
{
    m_editor.clearGrid();
}

void CharacterPage::UDC_NEXT_Click()
{
    step(&CharacterEditor::stepNext);
}

void CharacterPage::UDC_UP_Click()
{
    step(&CharacterEditor::stepPrevious);
}

void CharacterPage::step(CharacterEditor::Step (CharacterEditor::*move)())
{
    CharacterEditor::Step result;
    {
        const QScopedValueRollback<bool> stepping(m_stepping, true);
        result = (m_editor.*move)();
    }
    const QString text = CharacterMessages::stepMessage(result);
    if (!text.isEmpty())
        m_prompts.message(text, appTitle());
    showCharacter();
}

void CharacterPage::showCharacter()
{
    if (m_stepping)
        return;
    m_caption->setText(captionOf(m_editor));
    if (m_codeBox->text() != m_editor.codeText())
        m_codeBox->setText(m_editor.codeText());
    for (int column = 1; column <= CharacterEditor::Columns; ++column) {
        for (int row = 0; row < CharacterEditor::Rows; ++row)
            m_grid->dot(column, row)->setChecked(m_editor.isLit(column, row));
    }
    const QString note = CharacterMessages::unstoredNote(m_editor.unstored(), m_editor.number());
    m_unstoredNote->setText(note);
    m_unstoredNote->setVisible(!note.isEmpty());
}
