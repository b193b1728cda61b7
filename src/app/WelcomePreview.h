#pragma once

#include <QObject>
#include <QPoint>

class Configuration;
class GlassView;
class QLabel;
class QWidget;

// The glass as the welcome message will show it, under the two frames of
// the "Welcome Msg" page: line 1 on the upper row, line 2's first 20
// characters on the lower row and its characters 21 to 40 under the glass.
// It follows every cell (either view), "Character Type" and the stored
// user-defined characters.
class WelcomePreview : public QObject
{
    Q_OBJECT

public:
    WelcomePreview(Configuration &config, QWidget *page, QPoint pageOrigin);

    GlassView *view() const { return m_view; }

private:
    void refresh();

    Configuration &m_config;
    GlassView *m_view = nullptr;
    QLabel *m_notes = nullptr;
};
