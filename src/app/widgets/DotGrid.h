#pragma once

#include <QList>
#include <QWidget>

class DotButton;

// The dots of a user-defined character, columns left to right and rows top
// to bottom. The grid is one Tab stop: Tab reaches the dot that last had the
// focus, the arrow keys move between the dots in both directions, and Space
// toggles the focused dot. The grid paints nothing of its own.
class DotGrid : public QWidget
{
    Q_OBJECT

public:
    // `pitch` is the distance from dot to dot, `dotSize` a dot's side, in pixels.
    DotGrid(int columns, int rows, int pitch, int dotSize, QWidget *parent = nullptr);

    // column 1..columns, row 0..rows - 1
    DotButton *dot(int column, int row) const;
    // Every dot, column by column, in the order Tab passes them.
    QList<QWidget *> dots() const;

signals:
    // A dot was lit or darkened, by a click, a key, code or an assistive tool.
    void dotToggled(int column, int row, bool lit);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void makeCurrent(int column, int row);

    int m_columns;
    int m_rows;
    QList<DotButton *> m_dots; // column by column
    int m_currentColumn = 1;
    int m_currentRow = 0;
};
