#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "glass/GlassText.h"

// What a preview of the glass says in words: for a screen reader, a
// tooltip and tq540ctl.
namespace GlassMessages {

// "User Defined Character 2 at 0x41"
QString userCharacter(int number, quint8 code);

// The rows as text, each named by `rowNames` ("row 1"), then every cell
// that is not the font's own glyph, named with where it stands: user
// characters, international replacements (with `setName`, the "Character
// Type" entry) and codes without a glyph.
QString describe(const GlassText::Glass &glass, const QStringList &rowNames,
                 const QString &setName);

// Records whose code lies outside 0x20..0x7E; empty when there are none.
QString unusedCharacters(const QList<ImageCodec::Glyph> &glyphs);

// Why a replaced glyph may differ on the glass.
QString replacementNote(const QString &setName);

// The cells of a 40-character line beyond the 20 columns of the glass.
QString continuationNote();

} // namespace GlassMessages
