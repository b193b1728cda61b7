#include "app/widgets/DotGrid.h"

#include <algorithm>

#include <QKeyEvent>

#include "app/widgets/DotButton.h"

DotGrid::DotGrid(int columns, int rows, int pitch, int dotSize, QWidget *parent)
    : QWidget(parent), m_columns(columns), m_rows(rows)
{
    for (int column = 1; column <= columns; ++column) {
        for (int row = 0; row < rows; ++row) {
            auto *dot = new DotButton(this);
            dot->setGeometry(pitch * (column - 1), pitch * row, dotSize, dotSize);
            dot->setFocusPolicy(Qt::ClickFocus);
            dot->installEventFilter(this);
            connect(dot, &QAbstractButton::toggled, this,
                    [this, column, row](bool lit) { emit dotToggled(column, row, lit); });
            m_dots << dot;
        }
    }
    resize(pitch * (columns - 1) + dotSize, pitch * (rows - 1) + dotSize);
    makeCurrent(1, 0);
}

DotButton *DotGrid::dot(int column, int row) const
{
    return m_dots.value((column - 1) * m_rows + row);
}

QList<QWidget *> DotGrid::dots() const
{
    return QList<QWidget *>(m_dots.cbegin(), m_dots.cend());
}

bool DotGrid::eventFilter(QObject *watched, QEvent *event)
{
    const qsizetype index = m_dots.indexOf(qobject_cast<DotButton *>(watched));
    if (index < 0)
        return QWidget::eventFilter(watched, event);
    const int column = int(index) / m_rows + 1;
    const int row = int(index) % m_rows;
    if (event->type() == QEvent::FocusIn) {
        makeCurrent(column, row);
    } else if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        int toColumn = column;
        int toRow = row;
        switch (key->key()) {
        case Qt::Key_Left:
            --toColumn;
            break;
        case Qt::Key_Right:
            ++toColumn;
            break;
        case Qt::Key_Up:
            --toRow;
            break;
        case Qt::Key_Down:
            ++toRow;
            break;
        default:
            return false;
        }
        // The edges hold the focus; nothing wraps into another row or column.
        toColumn = std::clamp(toColumn, 1, m_columns);
        toRow = std::clamp(toRow, 0, m_rows - 1);
        makeCurrent(toColumn, toRow);
        dot(toColumn, toRow)->setFocus(Qt::OtherFocusReason);
        return true;
    }
    return false;
}

void DotGrid::makeCurrent(int column, int row)
{
    // Only the current dot is a Tab stop; the others take the focus on a click.
    dot(m_currentColumn, m_currentRow)->setFocusPolicy(Qt::ClickFocus);
    m_currentColumn = column;
    m_currentRow = row;
    dot(column, row)->setFocusPolicy(Qt::StrongFocus);
}
