#include "messages/GlassMessages.h"

#include "model/HexText.h"

namespace GlassMessages {

namespace {

using GlassText::Kind;

QString hexCode(quint8 code)
{
    return QStringLiteral("0x") + HexText::hexPair(code);
}

// "column 3", "columns 1-4, 7"
QString columnsText(const QList<int> &columns)
{
    QStringList runs;
    for (qsizetype at = 0; at < columns.size();) {
        qsizetype end = at;
        while (end + 1 < columns.size() && columns.at(end + 1) == columns.at(end) + 1)
            ++end;
        runs << (end == at
                     ? QString::number(columns.at(at) + 1)
                     : QStringLiteral("%1-%2").arg(columns.at(at) + 1).arg(columns.at(end) + 1));
        at = end + 1;
    }
    return (columns.size() == 1 ? QStringLiteral("column ") : QStringLiteral("columns ")) +
           runs.join(QStringLiteral(", "));
}

QString cellName(const GlassText::Cell &cell, const QString &setName)
{
    switch (cell.kind) {
    case Kind::User:
        return userCharacter(cell.userNumber, cell.code);
    case Kind::Replaced:
        return QStringLiteral("%1 for %2, as printers show %3 (not settled for displays)")
            .arg(cell.text, hexCode(cell.code), setName.trimmed());
    case Kind::Undrawable:
        return QStringLiteral("code %1, which this preview cannot draw").arg(hexCode(cell.code));
    case Kind::Font:
        break;
    }
    return cell.text;
}

QString rowText(const GlassText::Row &row)
{
    QString text;
    for (const GlassText::Cell &cell : row)
        text += cell.kind == Kind::Undrawable ? QStringLiteral("?") : cell.text;
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text.isEmpty() ? QStringLiteral("blank") : QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

QString userCharacter(int number, quint8 code)
{
    return QStringLiteral("User Defined Character %1 at %2").arg(number).arg(hexCode(code));
}

QString describe(const GlassText::Glass &glass, const QStringList &rowNames, const QString &setName)
{
    QStringList rows;
    // Each special cell once, with every place it stands, in reading order.
    QStringList names;
    QList<QStringList> places;
    for (qsizetype r = 0; r < glass.rows.size(); ++r) {
        const GlassText::Row &row = glass.rows.at(r);
        const QString rowName = rowNames.value(r, QStringLiteral("row %1").arg(r + 1));
        rows << QStringLiteral("%1 %2").arg(rowName, rowText(row));
        QStringList rowNamesHere;
        QList<QList<int>> columnsHere;
        for (int column = 0; column < row.size(); ++column) {
            const GlassText::Cell &cell = row.at(column);
            if (cell.kind == Kind::Font)
                continue;
            const QString name = cellName(cell, setName);
            qsizetype at = rowNamesHere.indexOf(name);
            if (at < 0) {
                rowNamesHere << name;
                columnsHere << QList<int>();
                at = rowNamesHere.size() - 1;
            }
            columnsHere[at] << column;
        }
        for (qsizetype k = 0; k < rowNamesHere.size(); ++k) {
            qsizetype at = names.indexOf(rowNamesHere.at(k));
            if (at < 0) {
                names << rowNamesHere.at(k);
                places << QStringList();
                at = names.size() - 1;
            }
            places[at] << QStringLiteral("%1, %2").arg(rowName, columnsText(columnsHere.at(k)));
        }
    }
    QString text = rows.join(QStringLiteral("; ")) + QLatin1Char('.');
    for (qsizetype k = 0; k < names.size(); ++k)
        text +=
            QStringLiteral(" %1: %2.").arg(names.at(k), places.at(k).join(QStringLiteral("; ")));
    return text;
}

QString unusedCharacters(const QList<ImageCodec::Glyph> &glyphs)
{
    QStringList sentences;
    for (const ImageCodec::Glyph &glyph : glyphs)
        sentences << QStringLiteral("User Defined Character %1 has the code %2, outside "
                                    "0x20~0x7E: it is not drawn.")
                         .arg(glyph.number)
                         .arg(hexCode(glyph.code));
    return sentences.join(QLatin1Char(' '));
}

QString replacementNote(const QString &setName)
{
    return QStringLiteral("Characters of the %1 set are drawn as printers show them; how the "
                          "display draws them is not public.")
        .arg(setName.trimmed());
}

QString continuationNote()
{
    return QStringLiteral("Under the glass: characters 21 to 40 of line 2. How the display "
                          "shows a 40-character line on 20 columns is not public.");
}

} // namespace GlassMessages
