#include "ImageView.h"

#include <QJsonArray>
#include <QRegularExpression>

#include "editors/CharacterEditor.h"
#include "model/CodePage.h"
#include "model/HexText.h"

namespace ImageView {

namespace {

// Stands for a cell holding 0 before the end of its line, which a text
// could not show otherwise. It has no code, so it cannot be typed back.
constexpr char16_t EmptyCell = 0x2400;
constexpr int LabelWidth = 15;

QString byteText(quint8 byte)
{
    return QStringLiteral("0x") + HexText::hexPair(byte);
}

QJsonObject listValue(const SettingsImage &image, const ListField &field)
{
    const int position = image.at(Configuration::imageIndex(field.list));
    const QStringList &entries = Configuration::entries(field.list);
    return {{QStringLiteral("position"), position},
            {QStringLiteral("text"), position < entries.size() ? QJsonValue(entries.at(position))
                                                               : QJsonValue(QJsonValue::Null)}};
}

QJsonObject glyphValue(const SettingsImage &image, int number)
{
    const int at = ImageLayout::recordPosition(number);
    QStringList columns;
    for (int column = 1; column <= CharacterEditor::Columns; ++column)
        columns << HexText::hexPair(image.at(at + column));
    return {{QStringLiteral("number"), number},
            {QStringLiteral("code"), byteText(image.at(at))},
            {QStringLiteral("pattern"), patternText(image, number)},
            {QStringLiteral("columns"), columns.join(QLatin1Char(' '))}};
}

QString lineText(const SettingsImage &image, const LineField &line)
{
    int used = line.length;
    while (used > 0 && image.at(line.first + used - 1) == 0)
        --used;
    QString text;
    for (int k = 0; k < used; ++k) {
        const quint8 code = image.at(line.first + k);
        text += code == 0 ? QString(QChar(EmptyCell)) : CodePage::textForCode(code);
    }
    return text;
}

QStringList linePairs(const SettingsImage &image, const LineField &line)
{
    QStringList pairs;
    for (int k = 0; k < line.length; ++k)
        pairs << HexText::hexPair(image.at(line.first + k));
    return pairs;
}

struct Field
{
    QString name;
    QJsonValue value;
};

// Every byte of the configuration in exactly one field.
QList<Field> fields(const SettingsImage &image)
{
    QList<Field> all;
    for (const ListField &list : Lists)
        all.append({QString::fromLatin1(list.name), listValue(image, list)});
    for (const LineField &line : Lines) {
        const QStringList pairs = linePairs(image, line);
        for (int cell = 1; cell <= line.length; ++cell)
            all.append({QStringLiteral("%1[%2]").arg(QLatin1String(line.name)).arg(cell),
                        pairs.at(cell - 1)});
    }
    for (int n = 1; n <= ImageLayout::CharacterCount; ++n)
        all.append({QStringLiteral("glyph[%1]").arg(n), glyphValue(image, n)});
    for (const int index : ImageLayout::Reserved)
        all.append({QStringLiteral("reserved[%1]").arg(index), byteText(image.at(index))});
    return all;
}

QString label(const QString &name)
{
    return name.leftJustified(LabelWidth - 1) + QLatin1Char(' ');
}

QString listText(const QJsonObject &value)
{
    const QJsonValue text = value.value(QStringLiteral("text"));
    const int position = value.value(QStringLiteral("position")).toInt();
    if (text.isNull())
        return QStringLiteral("%1 (no such entry)").arg(position);
    return QStringLiteral("%1 \"%2\"").arg(position).arg(text.toString());
}

// One field's value in a line of text.
QString valueText(const QJsonValue &value, const QJsonValue &other)
{
    if (!value.isObject()) {
        const QString text = value.toString();
        if (text.startsWith(QStringLiteral("0x")))
            return text; // a reserved byte
        const QString character = CodePage::textForCode(
            HexText::decodePair(QStringView(text).left(1), QStringView(text).mid(1, 1)));
        return character.isEmpty() ? text : QStringLiteral("%1 \"%2\"").arg(text, character);
    }
    const QJsonObject object = value.toObject();
    if (object.contains(QStringLiteral("position")))
        return listText(object);
    const QString code = object.value(QStringLiteral("code")).toString();
    const QString columns = object.value(QStringLiteral("columns")).toString();
    if (code == byteText(0) && columns == QStringLiteral("00 00 00 00 00"))
        return QStringLiteral("empty");
    QString text = code + QLatin1Char(':') + object.value(QStringLiteral("pattern")).toString();
    // The pattern ignores bit 7 of a column; the bytes do not.
    const QJsonObject otherObject = other.toObject();
    if (otherObject.value(QStringLiteral("pattern")) == object.value(QStringLiteral("pattern")))
        text += QStringLiteral(" (columns %1)").arg(columns);
    return text;
}

} // namespace

QString patternText(const SettingsImage &image, int number)
{
    const CharacterEditor::Grid grid = CharacterEditor::gridOf(image, number);
    QStringList rows;
    for (int row = 0; row < CharacterEditor::Rows; ++row) {
        QString text;
        for (const auto &column : grid)
            text += column[static_cast<std::size_t>(row)] ? QLatin1Char('#') : QLatin1Char('.');
        rows << text;
    }
    return rows.join(QLatin1Char('/'));
}

QJsonObject describe(const SettingsImage &image)
{
    QJsonObject view;
    for (const ListField &list : Lists)
        view.insert(QLatin1String(list.name), listValue(image, list));
    for (const LineField &line : Lines)
        view.insert(QLatin1String(line.name),
                    QJsonObject{{QStringLiteral("text"), lineText(image, line)},
                                {QStringLiteral("hex"), linePairs(image, line).join(u' ')}});
    QJsonArray glyphs;
    for (int n = 1; n <= ImageLayout::CharacterCount; ++n) {
        if (image.at(ImageLayout::recordPosition(n)) != 0)
            glyphs.append(glyphValue(image, n));
    }
    view.insert(QStringLiteral("glyphs"), glyphs);
    QJsonArray reserved;
    for (const int index : ImageLayout::Reserved) {
        if (image.at(index) != 0)
            reserved.append(QJsonObject{{QStringLiteral("byte"), index},
                                        {QStringLiteral("value"), byteText(image.at(index))}});
    }
    view.insert(QStringLiteral("reserved"), reserved);
    return view;
}

QString describeText(const QJsonObject &view)
{
    QStringList out;
    for (const ListField &list : Lists) {
        const QString name = QString::fromLatin1(list.name);
        out << label(name) + listText(view.value(name).toObject());
    }
    for (const LineField &line : Lines) {
        const QString name = QString::fromLatin1(line.name);
        const QJsonObject value = view.value(name).toObject();
        out << label(name) + QStringLiteral("\"%1\"").arg(value.value(u"text").toString());
        // Twenty pairs to a row.
        const QString hex = value.value(u"hex").toString();
        for (qsizetype at = 0; at < hex.size(); at += 60)
            out << label(at == 0 ? name + QStringLiteral(" hex") : QString()) + hex.mid(at, 59);
    }
    for (const QJsonValue glyph : view.value(u"glyphs").toArray()) {
        const QJsonObject object = glyph.toObject();
        out << label(QStringLiteral("glyph[%1]").arg(object.value(u"number").toInt())) +
                   QStringLiteral("code %1").arg(object.value(u"code").toString());
        for (const QString &row : object.value(u"pattern").toString().split(QLatin1Char('/')))
            out << label(QString()) + row;
    }
    const QJsonArray reserved = view.value(u"reserved").toArray();
    if (reserved.isEmpty())
        out << label(QStringLiteral("reserved")) + QStringLiteral("all 0");
    for (const QJsonValue byte : reserved)
        out << label(QStringLiteral("reserved[%1]").arg(byte[u"byte"].toInt())) +
                   byte[u"value"].toString();
    return out.join(QLatin1Char('\n'));
}

QJsonObject compare(const SettingsImage &a, const SettingsImage &b)
{
    const QList<Field> fieldsA = fields(a);
    const QList<Field> fieldsB = fields(b);
    QJsonArray differences;
    for (qsizetype k = 0; k < fieldsA.size(); ++k) {
        if (fieldsA[k].value != fieldsB[k].value)
            differences.append(QJsonObject{{QStringLiteral("field"), fieldsA[k].name},
                                           {QStringLiteral("a"), fieldsA[k].value},
                                           {QStringLiteral("b"), fieldsB[k].value}});
    }
    return {{QStringLiteral("differences"), differences}};
}

QString compareText(const QJsonObject &comparison)
{
    QStringList out;
    for (const QJsonValue difference : comparison.value(u"differences").toArray()) {
        const QJsonValue a = difference[u"a"];
        const QJsonValue b = difference[u"b"];
        out << QStringLiteral("%1: %2 -> %3")
                   .arg(difference[u"field"].toString(), valueText(a, b), valueText(b, a));
    }
    return out.join(QLatin1Char('\n'));
}

QStringList differingFields(const QJsonObject &comparison)
{
    static const QRegularExpression Cell(QStringLiteral("^(line\\d)\\[(\\d+)\\]$"));
    QStringList names;
    QString runPrefix;
    int runFirst = 0;
    int runLast = 0;
    const auto closeRun = [&] {
        if (runPrefix.isEmpty())
            return;
        names << (runFirst == runLast
                      ? QStringLiteral("%1[%2]").arg(runPrefix).arg(runFirst)
                      : QStringLiteral("%1[%2-%3]").arg(runPrefix).arg(runFirst).arg(runLast));
        runPrefix.clear();
    };
    for (const QJsonValue difference : comparison.value(u"differences").toArray()) {
        const QString name = difference[u"field"].toString();
        const QRegularExpressionMatch cell = Cell.match(name);
        if (!cell.hasMatch()) {
            closeRun();
            names << name;
            continue;
        }
        const int index = cell.captured(2).toInt();
        if (cell.captured(1) == runPrefix && index == runLast + 1) {
            runLast = index;
            continue;
        }
        closeRun();
        runPrefix = cell.captured(1);
        runFirst = runLast = index;
    }
    closeRun();
    return names;
}

QStringList invalidLists(const SettingsImage &image)
{
    QStringList names;
    for (const ListField &list : Lists) {
        if (listValue(image, list).value(u"text").isNull())
            names << QString::fromLatin1(list.name);
    }
    return names;
}

} // namespace ImageView
