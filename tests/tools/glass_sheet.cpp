// glass_sheet OUT.png: the contact sheet of the glass's font, for review
// glyph by glyph: the codes 0x20..0x83 five rows of twenty (0x7F on as
// codes without a glyph), then every international replacement.

#include <QGuiApplication>
#include <QPainter>

#include "glass/GlassRenderer.h"

namespace {

QList<GlassText::Cell> internationalCells()
{
    QList<GlassText::Cell> cells;
    QStringList seen;
    for (int set = 1; set < InternationalSets::PublicCount; ++set) {
        for (const quint8 code : InternationalSets::Codes) {
            const auto replaced = InternationalSets::replacement(set, code);
            if (!replaced || seen.contains(replaced->text))
                continue;
            seen << replaced->text;
            cells << GlassText::Cell{code, GlassText::Kind::Replaced, replaced->columns, 0,
                                     replaced->text};
        }
    }
    return cells;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: glass_sheet OUT.png\n");
        return 2;
    }
    GlassText::Input input;
    for (int first = 0x20; first < 0x84; first += GlassText::Columns) {
        QByteArray row;
        for (int code = first; code < first + GlassText::Columns; ++code)
            row += char(code);
        input.rows << row;
    }
    GlassText::Glass glass = GlassText::resolve(input);
    const QList<GlassText::Cell> international = internationalCells();
    for (qsizetype at = 0; at < international.size(); at += GlassText::Columns) {
        GlassText::Row row = international.mid(at, GlassText::Columns);
        while (row.size() < GlassText::Columns)
            row << GlassText::cellFor(' ', input);
        glass.rows << row;
    }

    GlassRenderer renderer(8);
    const QImage &dots = renderer.render(glass);
    constexpr int LabelWidth = 80;
    QImage sheet(dots.width() + LabelWidth, dots.height(), QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.drawImage(LabelWidth, 0, dots);
    for (int row = 0; row < int(glass.rows.size()); ++row) {
        const QRect cell = renderer.cellRect(row, 0);
        const QString label = row < int(input.rows.size())
                                  ? QStringLiteral("0x%1").arg(0x20 + row * 20, 2, 16)
                                  : QStringLiteral("intl.");
        painter.drawText(QRect(0, cell.top(), LabelWidth - 8, cell.height()),
                         Qt::AlignRight | Qt::AlignVCenter, label);
    }
    painter.end();
    return sheet.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
