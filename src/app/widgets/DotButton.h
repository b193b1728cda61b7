#pragma once

#include <QPushButton>

// One dot of the character grid: a checkable button without caption that
// is filled with the window-text colour when lit (checked) and with the
// button colour when dark, so the state is visible both on screen and to
// accessibility tools.
class DotButton : public QPushButton
{
    Q_OBJECT

public:
    explicit DotButton(QWidget *parent = nullptr);

    QColor fillColor() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};
