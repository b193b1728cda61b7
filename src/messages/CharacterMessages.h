#pragma once

#include <QString>

#include "editors/CharacterEditor.h"

// What the character page says about a step and about a drawing not yet
// stored.
namespace CharacterMessages {

// The message a failed step shows ("Hex Value Error !!"); empty for Taken
// and Ignored.
QString stepMessage(CharacterEditor::Step step);

// How to keep the drawing of character `number`; empty for None.
QString unstoredNote(CharacterEditor::Unstored unstored, int number);

} // namespace CharacterMessages
