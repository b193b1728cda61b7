#pragma once

#include <QWidget>

// A drawing of a two-line pole display: decoration only.
class DisplayPicture : public QWidget
{
    Q_OBJECT

public:
    explicit DisplayPicture(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
