#include "app/MessageFrame.h"

#include <array>

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>

#include "app/Controls.h"
#include "app/widgets/AsciiCellValidator.h"
#include "app/widgets/MessageCell.h"

namespace {

using View = MessageLine::View;

// The frames' table. Line 1 has one row of cells per view, line 2 two rows
// of twenty, its second row going on at cell 21.
struct FrameRow
{
    const char *name;
    const char *caption;
    Twips frameAt; // on the page
    const char *cellPrefix;
    Twips asciiOptionAt;
    Twips hexOptionAt;
    int cellRowCount;
    std::array<int, 2> asciiRowTops;
    std::array<int, 2> hexRowTops;
};
constexpr FrameRow Frames[] = {
    {"Frame1",
     "Welcome Msg 1",
     {240, 480, 8772, 2292},
     "L1",
     {120, 600, 972, 264},
     {120, 1320, 852, 264},
     1,
     {1080, 0},
     {1800, 0}},
    {"Frame2",
     "Welcome Msg 2 ",
     {240, 2760, 8772, 3492},
     "L2",
     {120, 600, 972, 264},
     {120, 2160, 852, 264},
     2,
     {1080, 1680},
     {2400, 3000}},
};
constexpr Twips ClearAt = {7320, 360, 1092, 372};

// Cell c of a row stands at left CellLeft + CellPitch * (c - 1).
constexpr int CellsPerRow = 20;
constexpr int CellLeft = 1200;
constexpr int CellPitch = 360;
constexpr int CellWidth = 372;
constexpr int CellHeight = 384;

// Ruler captions and the column each stands over, per row of cells; a ruler
// sits just above its row and a little wider than a cell (pixels).
struct RulerMark
{
    const char *caption;
    int column;
};
constexpr RulerMark FirstRowRuler[] = {{"0", 1}, {"5", 5}, {"10", 10}, {"15", 15}, {"20", 20}};
constexpr RulerMark SecondRowRuler[] = {{"21", 1}, {"25", 5}, {"30", 10}, {"35", 15}, {"40", 20}};
constexpr int RulerHeight = 14;
constexpr int RulerOverhang = 4;

} // namespace

MessageFrame::MessageFrame(int lineNumber, MessageLine &line, QWidget *page, QPoint pageOrigin)
    : QGroupBox(QLatin1String(Frames[lineNumber - 1].caption), page), m_line(line), m_typing(line),
      m_lineNumber(lineNumber)
{
    const FrameRow &frameRow = Frames[m_lineNumber - 1];
    const QString lineName = tr("welcome message %1").arg(lineNumber);
    Controls::identify(this, QLatin1String(frameRow.name));
    setGeometry(Controls::place(frameRow.frameAt, pageOrigin));

    const QString prefix = QLatin1String(frameRow.cellPrefix);
    m_asciiOption = new QRadioButton(QStringLiteral("ASCII"), this);
    Controls::identify(m_asciiOption, QStringLiteral("Op_%1A").arg(prefix),
                       tr("ASCII view of %1").arg(lineName));
    m_asciiOption->setGeometry(Controls::place(frameRow.asciiOptionAt));
    Controls::widenToFit(m_asciiOption);
    m_hexOption = new QRadioButton(QStringLiteral("Hex"), this);
    Controls::identify(m_hexOption, QStringLiteral("Op_%1H").arg(prefix),
                       tr("Hex view of %1").arg(lineName));
    m_hexOption->setGeometry(Controls::place(frameRow.hexOptionAt));
    Controls::widenToFit(m_hexOption);

    addView(View::Ascii);
    addView(View::Hex);

    m_clear =
        Controls::button(this, QStringLiteral("CLR_MSG%1").arg(lineNumber), QStringLiteral("Clear"),
                         Controls::place(ClearAt), tr("Clear %1").arg(lineName));

    connect(&m_line, &MessageLine::cellTextChanged, this, &MessageFrame::showCell);
    connect(&m_line, &MessageLine::viewChanged, this, &MessageFrame::showView);
    for (int cell = 1; cell <= m_line.cellCount(); ++cell) {
        showCell(View::Hex, cell);
        showCell(View::Ascii, cell);
    }
    showView();
}

void MessageFrame::addView(View view)
{
    const FrameRow &frameRow = Frames[m_lineNumber - 1];
    const bool hex = view == View::Hex;
    const QByteArray cellArray = QByteArray(frameRow.cellPrefix) + (hex ? "H" : "A");
    const QByteArray rulerArray = "Label_" + cellArray + "1";
    const QString lineName = tr("Welcome message %1").arg(m_lineNumber);
    const QString cellKind = hex ? tr("hex cell") : tr("ASCII cell");
    QList<MessageCell *> &cells = hex ? m_hexCells : m_asciiCells;
    QList<QLabel *> &rulers = hex ? m_hexRulers : m_asciiRulers;
    for (int cellRow = 0; cellRow < frameRow.cellRowCount; ++cellRow) {
        const int top = (hex ? frameRow.hexRowTops : frameRow.asciiRowTops)[std::size_t(cellRow)];
        for (const RulerMark &mark : cellRow == 0 ? FirstRowRuler : SecondRowRuler) {
            auto *ruler = new QLabel(QLatin1String(mark.caption), this);
            Controls::identify(ruler, Controls::element(rulerArray.constData(), int(rulers.size())),
                               tr("%1, column ruler %2").arg(lineName, ruler->text()));
            ruler->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
            const int left = Controls::px(CellLeft + CellPitch * (mark.column - 1));
            ruler->setGeometry(left - RulerOverhang, Controls::px(top) - RulerHeight,
                               Controls::px(CellWidth) + 2 * RulerOverhang, RulerHeight);
            rulers << ruler;
        }
        for (int column = 1; column <= CellsPerRow; ++column) {
            const int cell = cellRow * CellsPerRow + column;
            auto *edit = new MessageCell(this);
            Controls::identify(edit, Controls::element(cellArray.constData(), cell),
                               tr("%1, %2 %3").arg(lineName, cellKind).arg(cell));
            edit->setAlignment(Qt::AlignCenter);
            edit->setMaxLength(hex ? MessageLine::HexCellLength : MessageLine::AsciiCellLength);
            edit->setTextMargins(0, 0, 0, 0);
            edit->setGeometry(
                Controls::place({CellLeft + CellPitch * (column - 1), top, CellWidth, CellHeight}));
            if (!hex)
                edit->setValidator(new AsciiCellValidator(edit));
            // A line is one Tab stop; its own keys move between its cells.
            edit->setFocusPolicy(cell == m_entryCell ? Qt::StrongFocus : Qt::ClickFocus);
            cells << edit;
            bindCell(view, cell);
        }
    }
}

void MessageFrame::bindCell(View view, int cell)
{
    MessageCell *edit = cells(view)[cell - 1];
    // However the text changes (typing, pasting, an assistive tool), the
    // line takes it; what the line refuses is shown as the line holds it.
    connect(edit, &QLineEdit::textChanged, this, [this, view, cell](const QString &text) {
        if (m_showing)
            return;
        if (view == View::Hex)
            m_line.setHexText(cell, text);
        else
            m_line.setAsciiText(cell, text);
        showCell(view, cell);
    });
    connect(edit, &MessageCell::entered, this, [this, cell] { setEntryCell(cell); });
    connect(edit, &MessageCell::clicked, this, [this, cell](int offset) {
        placeCaret(m_typing.clicked({cell, offset}));
    });
    connect(edit, &MessageCell::typed, this, [this, cell](int offset, const QString &text) {
        placeCaret(m_typing.type({cell, offset}, text));
    });
    connect(edit, &MessageCell::pasted, this, [this, cell](int offset, const QString &text) {
        placeCaret(m_typing.paste({cell, offset}, text));
    });
    connect(edit, &MessageCell::lineKey, this, [this, cell](int key, int offset) {
        const LineTyping::Caret at{cell, offset};
        switch (key) {
        case Qt::Key_Left:
            placeCaret(m_typing.left(at));
            break;
        case Qt::Key_Right:
            placeCaret(m_typing.right(at));
            break;
        case Qt::Key_Home:
            placeCaret(m_typing.home());
            break;
        case Qt::Key_End:
            placeCaret(m_typing.end());
            break;
        case Qt::Key_Backspace:
            placeCaret(m_typing.backspace(at));
            break;
        default:
            break;
        }
    });
}

QRadioButton *MessageFrame::option(View view) const
{
    return view == View::Hex ? m_hexOption : m_asciiOption;
}

QList<QWidget *> MessageFrame::tabOrder() const
{
    // Top to bottom, left to right: "Clear" stands highest, at the right.
    QList<QWidget *> order{m_clear, m_asciiOption};
    order += QList<QWidget *>(m_asciiCells.cbegin(), m_asciiCells.cend());
    order << m_hexOption;
    order += QList<QWidget *>(m_hexCells.cbegin(), m_hexCells.cend());
    return order;
}

const QList<MessageCell *> &MessageFrame::cells(View view) const
{
    return view == View::Hex ? m_hexCells : m_asciiCells;
}

void MessageFrame::showCell(View view, int cell)
{
    if (cell < 1 || cell > cells(view).size())
        return;
    MessageCell *edit = cells(view)[cell - 1];
    const QString text = m_line.text(view, cell);
    if (edit->text() == text)
        return;
    const QScopedValueRollback<bool> showing(m_showing, true);
    edit->setText(text);
}

void MessageFrame::showView()
{
    const bool hex = m_line.view() == View::Hex;
    // Tab reaches the selected option; the arrow keys select the other one.
    option(m_line.view())->setChecked(true);
    m_hexOption->setFocusPolicy(hex ? Qt::StrongFocus : Qt::ClickFocus);
    m_asciiOption->setFocusPolicy(hex ? Qt::ClickFocus : Qt::StrongFocus);
    // Hide first, then show, so that the frame never holds both rows at once.
    const auto setShown = [](const auto &widgets, bool shown) {
        for (QWidget *widget : widgets)
            widget->setVisible(shown);
    };
    setShown(hex ? m_asciiRulers : m_hexRulers, false);
    setShown(hex ? m_asciiCells : m_hexCells, false);
    setShown(hex ? m_hexRulers : m_asciiRulers, true);
    setShown(hex ? m_hexCells : m_asciiCells, true);
}

void MessageFrame::placeCaret(LineTyping::Caret caret)
{
    MessageCell *edit = cells(m_line.view()).value(caret.cell - 1);
    if (!edit)
        return;
    edit->setFocus(Qt::OtherFocusReason);
    edit->setCursorPosition(caret.offset);
}

void MessageFrame::setEntryCell(int cell)
{
    for (const View view : {View::Ascii, View::Hex}) {
        cells(view)[m_entryCell - 1]->setFocusPolicy(Qt::ClickFocus);
        cells(view)[cell - 1]->setFocusPolicy(Qt::StrongFocus);
    }
    m_entryCell = cell;
}
