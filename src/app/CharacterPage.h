#pragma once

#include <QList>
#include <QPoint>

#include "app/DeferredPage.h"
#include "editors/CharacterEditor.h"

class DotGrid;
class Prompts;
class QLabel;
class QLineEdit;
class QWidget;

// The "User Defined Character" page, bound to the character editor: the
// caption with the character's number, the code box between the step
// buttons, the dot grid, and a note while the screen is not yet stored.
// Its controls are made when the page is first shown.
class CharacterPage : public DeferredPage
{
    Q_OBJECT

public:
    CharacterPage(CharacterEditor &editor, Prompts &prompts, QWidget *page, QPoint pageOrigin);

    // The page's controls that Tab reaches, in reading order; none before
    // the page is built.
    QList<QWidget *> tabOrder() const;

private slots:
    // A dot was lit or darkened: the editor follows the dot's state,
    // however it changed.
    void map1_Click(int row);
    void map2_Click(int row);
    void map3_Click(int row);
    void map4_Click(int row);
    void map5_Click(int row);
    void MAP_Clear_Click();
    void UDC_NEXT_Click();
    void UDC_UP_Click();

private:
    void buildControls(QWidget *page, QPoint pageOrigin) override;
    void showCharacter();
    // Steps the editor, then shows its message, if any, and only then what
    // the step changed: a refused code stays in its box until the message
    // is closed.
    void step(CharacterEditor::Step (CharacterEditor::*move)());

    CharacterEditor &m_editor;
    Prompts &m_prompts;
    // Made by buildControls().
    QLabel *m_caption = nullptr;    // UDC_label
    QWidget *m_previous = nullptr;  // UDC_UP
    QLineEdit *m_codeBox = nullptr; // UDC_TEXT
    QWidget *m_next = nullptr;      // UDC_NEXT
    DotGrid *m_grid = nullptr;      // map1 .. map5
    QWidget *m_clear = nullptr;     // MAP_Clear
    QLabel *m_unstoredNote = nullptr;
    bool m_stepping = false; // the screen waits for the step's message
};
