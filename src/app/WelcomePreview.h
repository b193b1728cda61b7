#pragma once

#include <array>

#include <QByteArray>
#include <QObject>
#include <QPoint>

#include "glass/GlassText.h"

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
    // Everything again: after a change of view, set or stored characters.
    void refresh();
    // A cell of line 1 (0) or line 2 (1): only that cell is worked out
    // again, so that typing stays quick.
    void cellChanged(std::size_t line, int cell);
    // The tooltip is looked at again only where a replaced glyph came or went.
    void showGlass(bool replacedTouched);
    // What a screen reader says: the rows, the special cells named.
    QString spokenText() const;
    QString setName() const;

    Configuration &m_config;
    GlassView *m_view = nullptr;
    QLabel *m_notes = nullptr;
    GlassText::Input m_drawing; // the set and the user characters in force
    std::array<QByteArray, 2> m_lines;
    GlassText::Welcome m_shown;
};
