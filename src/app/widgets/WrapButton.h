#pragma once

#include <QPushButton>

// A command button whose caption wraps onto a second line when it is wider
// than the button, as the long captions of the narrow transfer buttons need.
class WrapButton : public QPushButton
{
    Q_OBJECT

public:
    explicit WrapButton(const QString &text, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
