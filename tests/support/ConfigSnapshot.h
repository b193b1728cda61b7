#pragma once

#include <QStringList>

#include "editors/Configuration.h"

// Everything a widget can show of a configuration (image, list positions,
// both lines in both views, the character editor), to prove that an
// operation changed nothing.
inline QStringList configSnapshot(Configuration &config)
{
    QStringList state;
    state << QString::fromLatin1(config.image().configBytes().toHex())
          << QString::number(config.image().at(0));
    for (const DisplaySettingInfo &setting : DisplaySettings::Table)
        state << QString::number(config.listPosition(setting.setting));
    for (MessageLine *line : {&config.line1(), &config.line2()}) {
        state << QString::number(int(line->view()));
        for (int cell = 1; cell <= line->cellCount(); ++cell)
            state << line->hexText(cell) << line->asciiText(cell);
    }
    CharacterEditor &editor = config.characters();
    state << QString::number(editor.number()) << QString::number(editor.startUpCaption())
          << editor.codeText();
    for (int column = 1; column <= CharacterEditor::Columns; ++column)
        for (int row = 0; row < CharacterEditor::Rows; ++row)
            state << (editor.isLit(column, row) ? QStringLiteral("#") : QStringLiteral("."));
    return state;
}
