#include <QTest>

#include "model/OptionLists.h"
#include "screen/ScreenInterpreter.h"
#include "support/ScreenNotation.h"

namespace {

int set(const char *name)
{
    return OptionLists::positionOf(OptionLists::commandSets(), QString::fromLatin1(name));
}

} // namespace

class TestScreenInterpreter : public QObject
{
    Q_OBJECT

private slots:
    void commands_data();
    void commands();
    void changeOfSetReportsTheCutCommand();
    void feedSaysWhetherTheScreenChanged();
    void unknownSequencesAreBounded();
    void runTimeState_data();
    void runTimeState();
    void look_data();
    void look();
};

void TestScreenInterpreter::commands_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<QString>("lower");
    QTest::addColumn<int>("cursorRow");
    QTest::addColumn<int>("cursorColumn");
    QTest::addColumn<QString>("unknown");
    QTest::addColumn<bool>("waiting");

    const QString wrappedX = QString(19, QLatin1Char(' ')) + QLatin1Char('X');
    const QString twenty = QStringLiteral("'ABCDEFGHIJKLMNOPQRST'");

    // clang-format off
    QTest::newRow("EPSON text") << set("EPSON") << "'AB'" << "AB" << "" << 0 << 2 << "" << false;
    QTest::newRow("EPSON row 1 wraps to row 2") << set("EPSON") << "1F 24 14 01 'XYZ'" << wrappedX << "YZ" << 1 << 2 << "" << false;
    QTest::newRow("EPSON row 2 wraps to row 1") << set("EPSON") << "1F 24 14 02 'XY'" << "Y" << wrappedX << 0 << 1 << "" << false;
    QTest::newRow("EPSON 0D") << set("EPSON") << "'ABC' 0D 'x'" << "xBC" << "" << 0 << 1 << "" << false;
    QTest::newRow("EPSON ESC @") << set("EPSON") << "1F 24 05 02 'AB' 1B 40" << "" << "" << 0 << 0 << "" << false;
    QTest::newRow("EPSON 0C") << set("EPSON") << "'AB' 0C" << "" << "" << 0 << 2 << "" << false;
    QTest::newRow("EPSON ESC = 2") << set("EPSON") << "1B 3D 02 'A'" << "A" << "" << 0 << 1 << "" << false;
    QTest::newRow("EPSON ESC = 1") << set("EPSON") << "1B 3D 01 'A'" << "A" << "" << 0 << 1 << "1b 3d 01" << false;
    QTest::newRow("EPSON US 1") << set("EPSON") << "1F 01 'A'" << "A" << "" << 0 << 1 << "" << false;
    QTest::newRow("EPSON US $") << set("EPSON") << "1F 24 05 02 'A'" << "" << "    A" << 1 << 5 << "" << false;
    QTest::newRow("EPSON US $ column 21") << set("EPSON") << "1F 24 15 01 'A'" << "A" << "" << 0 << 1 << "1f 24 15 01" << false;
    QTest::newRow("EPSON US $ row 3") << set("EPSON") << "1F 24 01 03" << "" << "" << 0 << 0 << "1f 24 01 03" << false;
    QTest::newRow("EPSON ESC R n") << set("EPSON") << "1B 52 03 'A'" << "A" << "" << 0 << 1 << "1b 52 03" << false;
    QTest::newRow("EPSON other ESC") << set("EPSON") << "1B 7A 'A'" << "A" << "" << 0 << 1 << "1b 7a" << false;
    QTest::newRow("EPSON other US") << set("EPSON") << "1F 05 'A'" << "A" << "" << 0 << 1 << "1f 05" << false;
    QTest::newRow("EPSON control") << set("EPSON") << "07 'A'" << "A" << "" << 0 << 1 << "07" << false;
    QTest::newRow("EPSON above 7E") << set("EPSON") << "'A' 80 7F 'B'" << "AB" << "" << 0 << 2 << "80|7f" << false;
    QTest::newRow("EPSON waits") << set("EPSON") << "1F 24 05" << "" << "" << 0 << 0 << "" << true;

    QTest::newRow("UTC/S 0D") << set("UTC/S") << "'ABC' 0D 'x'" << "xBC" << "" << 0 << 1 << "" << false;
    QTest::newRow("UTC/S DLE") << set("UTC/S") << "10 15 'A'" << "" << " A" << 1 << 2 << "" << false;
    QTest::newRow("UTC/S DLE 28") << set("UTC/S") << "10 28 'A'" << "A" << "" << 0 << 1 << "10 28" << false;
    QTest::newRow("UTC/S US") << set("UTC/S") << "'AB' 1F" << "" << "" << 0 << 2 << "" << false;
    QTest::newRow("UTC/S RS") << set("UTC/S") << "'AB' 1E" << "" << "" << 0 << 0 << "" << false;
    QTest::newRow("UTC/S DC1") << set("UTC/S") << "11 'A'" << "A" << "" << 0 << 1 << "" << false;
    QTest::newRow("UTC/S 0F is no position") << set("UTC/S") << "0F 15 'A'" << "A" << "" << 0 << 1 << "0f|15" << false;

    QTest::newRow("UTC/P 0D") << set("UTC/P") << "'ABC' 0D 'x'" << "xBC" << "" << 0 << 1 << "" << false;
    QTest::newRow("UTC/P ESC u A") << set("UTC/P") << "'XYZ' 1B 75 41 'AB' 0D" << "AB" << "" << 0 << 3 << "" << false;
    QTest::newRow("UTC/P ESC u B") << set("UTC/P") << "1B 75 42 'AB' 0D" << "" << "AB" << 0 << 0 << "" << false;
    QTest::newRow("UTC/P empty clears") << set("UTC/P") << "'XY' 1B 75 41 0D" << "" << "" << 0 << 2 << "" << false;
    QTest::newRow("UTC/P full row, its 0D") << set("UTC/P") << "'AB' 1B 75 42 " + twenty + " 0D 'x'" << "ABx" << "ABCDEFGHIJKLMNOPQRST" << 0 << 3 << "" << false;
    QTest::newRow("UTC/P full row, then text") << set("UTC/P") << "1B 75 42 " + twenty + " 'x'" << "x" << "ABCDEFGHIJKLMNOPQRST" << 0 << 1 << "" << false;
    QTest::newRow("UTC/P control in text") << set("UTC/P") << "1B 75 41 'A' 07 'B' 0D" << "AB" << "" << 0 << 0 << "07" << false;
    QTest::newRow("UTC/P ESC d") << set("UTC/P") << "1B 64 'A'" << "A" << "" << 0 << 1 << "" << false;
    QTest::newRow("UTC/P ESC u C") << set("UTC/P") << "1B 75 43 'A'" << "A" << "" << 0 << 1 << "1b 75 43" << false;
    QTest::newRow("UTC/P waits for 0D") << set("UTC/P") << "1B 75 41 'AB'" << "" << "" << 0 << 0 << "" << true;

    QTest::newRow("AEDEX 0D") << set("AEDEX") << "'ABC' 0D 'x'" << "xBC" << "" << 0 << 1 << "" << false;
    QTest::newRow("AEDEX !#1") << set("AEDEX") << "'XYZ!#1AB' 0D" << "AB" << "" << 0 << 3 << "" << false;
    QTest::newRow("AEDEX !#2") << set("AEDEX") << "'!#2AB' 0D" << "" << "AB" << 0 << 0 << "" << false;
    QTest::newRow("AEDEX !#9") << set("AEDEX") << "'!#9' " + twenty + " 'UVW' 0D" << "ABCDEFGHIJKLMNOPQRST" << "UVW" << 0 << 0 << "" << false;
    QTest::newRow("AEDEX ! is text") << set("AEDEX") << "'A!B!'" << "A!B" << "" << 0 << 3 << "" << true;
    QTest::newRow("AEDEX !#A") << set("AEDEX") << "'!#AB'" << "B" << "" << 0 << 1 << "21 23 41" << false;
    QTest::newRow("EMAX !#2") << set("EMAX") << "'!#2AB' 0D" << "" << "AB" << 0 << 0 << "" << false;

    QTest::newRow("ADM788 0D") << set("ADM788") << "'ABC' 0D 'x'" << "xBC" << "" << 0 << 1 << "" << false;
    QTest::newRow("ADM788 0C") << set("ADM788") << "'AB' 0C" << "" << "" << 0 << 2 << "" << false;
    QTest::newRow("ADM788 0E") << set("ADM788") << twenty + " 'UV' 0E 'x'" << "x" << "UV" << 0 << 1 << "" << false;
    QTest::newRow("ADM788 0F") << set("ADM788") << twenty + " 'UV' 0F 'x'" << "ABCDEFGHIJKLMNOPQRST" << "x" << 1 << 1 << "" << false;
    QTest::newRow("ADM788 ESC") << set("ADM788") << "1B 40 'A'" << "@A" << "" << 0 << 2 << "1b" << false;

    QTest::newRow("CD5220 0D") << set("CD5220") << "'ABC' 0D 'x'" << "xBC" << "" << 0 << 1 << "" << false;
    QTest::newRow("CD5220 0C") << set("CD5220") << "'AB' 0C" << "" << "" << 0 << 2 << "" << false;
    QTest::newRow("CD5220 ESC @") << set("CD5220") << "'AB' 1B 40 'C'" << "ABC" << "" << 0 << 3 << "" << false;
    QTest::newRow("CD5220 ESC Q A") << set("CD5220") << "1B 51 41 'AB' 0D" << "AB" << "" << 0 << 0 << "" << false;
    QTest::newRow("CD5220 ESC Q B") << set("CD5220") << "1B 51 42 'AB' 0D" << "" << "AB" << 0 << 0 << "" << false;
    QTest::newRow("CD5220 CLR in string mode") << set("CD5220") << "'XY' 1B 51 42 'AB' 0C 'C'" << "  C" << "" << 0 << 3 << "" << false;
    QTest::newRow("CD5220 CAN in string mode") << set("CD5220") << "1B 51 41 'AB' 18 'C'" << "C" << "" << 0 << 1 << "" << false;
    QTest::newRow("CD5220 ESC in string mode") << set("CD5220") << "1B 51 41 'A' 1B 'B' 0D" << "AB" << "" << 0 << 0 << "1b" << false;
    QTest::newRow("CD5220 ESC l") << set("CD5220") << "1B 6C 05 02 'A'" << "" << "    A" << 1 << 5 << "" << false;
    QTest::newRow("CD5220 ESC l column 0") << set("CD5220") << "1B 6C 00 01 'A'" << "A" << "" << 0 << 1 << "1b 6c 00 01" << false;
    QTest::newRow("CD5220 ESC f n") << set("CD5220") << "1B 66 41 'B'" << "B" << "" << 0 << 1 << "1b 66 41" << false;

    QTest::newRow("LogicControl 0D") << set("LogicControl") << "'ABC' 0D 'x'" << "xBC" << "" << 0 << 1 << "" << false;
    QTest::newRow("LogicControl US") << set("LogicControl") << "10 15 'AB' 1F" << "" << "" << 0 << 0 << "" << false;
    QTest::newRow("LogicControl DLE") << set("LogicControl") << "10 15 'A'" << "" << " A" << 1 << 2 << "" << false;
    QTest::newRow("LogicControl DLE 28") << set("LogicControl") << "10 28" << "" << "" << 0 << 0 << "10 28" << false;
    QTest::newRow("LogicControl BS") << set("LogicControl") << "'AB' 08 'x' 10 00 08 'y'" << "yx" << "" << 0 << 1 << "" << false;
    QTest::newRow("LogicControl HT") << set("LogicControl") << "'A' 09 'B'" << "A B" << "" << 0 << 3 << "" << false;
    QTest::newRow("LogicControl LF normal") << set("LogicControl") << "11 10 14 'A' 0A 'B'" << " B" << "A" << 0 << 2 << "" << false;
    QTest::newRow("LogicControl LF scrolls") << set("LogicControl") << "10 14 'AB' 0A 'C'" << "AB" << "  C" << 1 << 3 << "" << false;
    QTest::newRow("LogicControl scrolls at power-on") << set("LogicControl") << "10 27 'XY'" << wrappedX << "Y" << 1 << 1 << "" << false;
    QTest::newRow("LogicControl full lower row stays") << set("LogicControl") << "10 27 'X'" << "" << wrappedX << 1 << 19 << "" << false;
    QTest::newRow("LogicControl DC1 wraps") << set("LogicControl") << "11 10 27 'XY'" << "Y" << wrappedX << 0 << 1 << "" << false;
    QTest::newRow("LogicControl DC2 scrolls") << set("LogicControl") << "11 12 10 27 'XY'" << wrappedX << "Y" << 1 << 1 << "" << false;
    QTest::newRow("LogicControl control") << set("LogicControl") << "07" << "" << "" << 0 << 0 << "07" << false;

    // What tills send beyond the test screen, one row per command.
    const QString full = QStringLiteral("'ABCDEFGHIJKLMNOPQRST' 10 14 'abcdefghijklmnopqrst'");
    const QString upperFull = QStringLiteral("ABCDEFGHIJKLMNOPQRST"), lowerFull = QStringLiteral("abcdefghijklmnopqrst");
    QTest::newRow("EPSON CAN clears the cursor's row") << set("EPSON") << "'AB' 1F 24 01 02 'CD' 18" << "AB" << "" << 1 << 2 << "" << false;
    QTest::newRow("EPSON VT home") << set("EPSON") << "1F 24 05 02 0B 'A'" << "A" << "" << 0 << 1 << "" << false;
    QTest::newRow("EPSON US CR row end") << set("EPSON") << "1F 0D 'A'" << "                   A" << "" << 1 << 0 << "" << false;
    QTest::newRow("EPSON US B bottom") << set("EPSON") << "'XY' 1F 42 'A'" << "XY" << "A" << 1 << 1 << "" << false;
    QTest::newRow("EPSON BS wraps back") << set("EPSON") << "08 'A'" << "" << "                   A" << 0 << 0 << "" << false;
    QTest::newRow("EPSON HT wraps on") << set("EPSON") << "1F 24 14 01 09 'A'" << "" << "A" << 1 << 1 << "" << false;
    QTest::newRow("EPSON LF") << set("EPSON") << "'A' 0A 'B'" << "A" << " B" << 1 << 2 << "" << false;
    QTest::newRow("EPSON US LF up") << set("EPSON") << "1F 42 'A' 1F 0A 'B'" << " B" << "A" << 0 << 2 << "" << false;
    QTest::newRow("EPSON vertical scroll at the end") << set("EPSON") << "1F 02 'AB' 1F 24 14 02 'C' 09" << "                   C" << "" << 1 << 0 << "" << false;
    QTest::newRow("EPSON vertical scroll US LF") << set("EPSON") << "1F 02 'AB' 1F 0A" << "" << "AB" << 0 << 2 << "" << false;
    QTest::newRow("EPSON horizontal scroll HT") << set("EPSON") << "1F 03 1F 24 13 01 'XY' 1F 24 14 01 09" << "                 XY " << "" << 0 << 19 << "" << false;
    QTest::newRow("EPSON horizontal scroll BS") << set("EPSON") << "1F 03 'XY' 1F 24 01 01 08" << " XY" << "" << 0 << 0 << "" << false;
    QTest::newRow("EPSON horizontal scroll LF on row 2") << set("EPSON") << "1F 03 1F 42 0A 'A'" << "" << "A" << 1 << 1 << "" << false;
    QTest::newRow("EPSON US @ self-test") << set("EPSON") << "'AB' 1F 40" << "" << "" << 0 << 0 << "" << false;
    QTest::newRow("EPSON US C 2") << set("EPSON") << "1F 43 02" << "" << "" << 0 << 0 << "1f 43 02" << false;
    QTest::newRow("EPSON US X 5") << set("EPSON") << "1F 58 05" << "" << "" << 0 << 0 << "1f 58 05" << false;
    QTest::newRow("EPSON US r reverse") << set("EPSON") << "1F 72 01 'A'" << "A" << "" << 0 << 1 << "" << false;
    QTest::newRow("EPSON US . period") << set("EPSON") << "'A' 1F 2E 41" << "A" << "" << 0 << 1 << "" << false;
    QTest::newRow("EPSON US , comma") << set("EPSON") << "'A' 1F 2C 41" << "A" << "" << 0 << 1 << "" << false;
    QTest::newRow("EPSON US ; both") << set("EPSON") << "'A' 1F 3B 41" << "A" << "" << 0 << 1 << "" << false;
    QTest::newRow("EPSON US # annunciator") << set("EPSON") << "1F 23 01 05 'A'" << "A" << "" << 0 << 1 << "" << false;
    QTest::newRow("EPSON ESC t code table") << set("EPSON") << "1B 74 02 'A'" << "A" << "" << 0 << 1 << "" << false;
    QTest::newRow("EPSON ESC % user characters") << set("EPSON") << "1B 25 01 'A'" << "A" << "" << 0 << 1 << "" << false;
    QTest::newRow("EPSON ESC ? delete one") << set("EPSON") << "1B 3F 41 'A'" << "A" << "" << 0 << 1 << "" << false;
    QTest::newRow("EPSON ESC # emulation") << set("EPSON") << "1B 23 31 'A'" << "A" << "" << 0 << 1 << "1b 23 31" << false;

    QTest::newRow("UTC/S DC2 scrolls") << set("UTC/S") << "12 10 27 'XY'" << wrappedX << "Y" << 1 << 1 << "" << false;
    QTest::newRow("UTC/S BS erases") << set("UTC/S") << "'AB' 08 'x' 10 00 08" << "Ax" << "" << 1 << 19 << "" << false;
    QTest::newRow("UTC/S HT") << set("UTC/S") << "'AB' 10 00 09 'x'" << "Ax" << "" << 0 << 2 << "" << false;
    QTest::newRow("UTC/S LF") << set("UTC/S") << "'A' 0A 'B'" << "A" << " B" << 1 << 2 << "" << false;
    QTest::newRow("UTC/S CAN to the row's end") << set("UTC/S") << full + " 10 02 18" << "AB" << lowerFull << 0 << 2 << "" << false;
    QTest::newRow("UTC/S EM to the display's end") << set("UTC/S") << full + " 10 02 19" << "AB" << "" << 0 << 2 << "" << false;
    QTest::newRow("UTC/S FS flashing") << set("UTC/S") << "1C 'A'" << "A" << "" << 0 << 1 << "" << false;
    QTest::newRow("UTC/S GS no flashing") << set("UTC/S") << "1D 'A'" << "A" << "" << 0 << 1 << "" << false;
    QTest::newRow("UTC/S SUB font") << set("UTC/S") << "1A 01 'A'" << "A" << "" << 0 << 1 << "" << false;
    QTest::newRow("UTC/S ESC d") << set("UTC/S") << "1B 64 'A'" << "A" << "" << 0 << 1 << "1b 64" << false;

    QTest::newRow("UTC/P ESC u I both rows") << set("UTC/P") << "1B 75 49 " + QString(full).remove(QStringLiteral("10 14 ")) + " 0D" << upperFull << lowerFull << 0 << 0 << "" << false;
    QTest::newRow("UTC/P ESC RS") << set("UTC/P") << "1B 1E 'A'" << "A" << "" << 0 << 1 << "1b 1e" << false;
    QTest::newRow("UTC/P ESC SI CR") << set("UTC/P") << "1B 0F 0D 'A'" << "A" << "" << 0 << 1 << "1b 0f 0d" << false;

    QTest::newRow("AEDEX !#B") << set("AEDEX") << "'!#BAB' 0D" << "" << "AB" << 0 << 0 << "" << false;
    QTest::newRow("AEDEX !#7") << set("AEDEX") << "'!#7' 0D 'A'" << "A" << "" << 0 << 1 << "" << false;

    QTest::newRow("ADM788 DLE decimal point") << set("ADM788") << "10 31 'A'" << "A" << "" << 0 << 1 << "" << false;
    QTest::newRow("ADM788 DC1 blink") << set("ADM788") << "11 31 'A'" << "A" << "" << 0 << 1 << "" << false;
    QTest::newRow("ADM788 DC2 no blink") << set("ADM788") << "12 32 'A'" << "A" << "" << 0 << 1 << "" << false;

    QTest::newRow("CD5220 CAN clears the row") << set("CD5220") << "'AB' 18" << "" << "" << 0 << 2 << "" << false;
    QTest::newRow("CD5220 ESC DC1 overwrite") << set("CD5220") << "1B 12 1B 11 1B 6C 14 02 'XY'" << "Y" << wrappedX << 0 << 1 << "" << false;
    QTest::newRow("CD5220 ESC DC2 vertical scroll") << set("CD5220") << "'AB' 1B 12 1B 6C 14 02 'X' 09" << "                   X" << "" << 1 << 0 << "" << false;
    QTest::newRow("CD5220 ESC DC3 horizontal scroll") << set("CD5220") << "1B 13 'XY' 1B 6C 01 01 08" << " XY" << "" << 0 << 0 << "" << false;
    QTest::newRow("CD5220 US 1 overwrite") << set("CD5220") << "1F 02 1F 01 1B 6C 14 02 'XY'" << "Y" << wrappedX << 0 << 1 << "" << false;
    QTest::newRow("CD5220 US 2 vertical scroll") << set("CD5220") << "'AB' 1F 02 1B 6C 14 02 'X' 09" << "                   X" << "" << 1 << 0 << "" << false;
    QTest::newRow("CD5220 US 3 horizontal scroll") << set("CD5220") << "1F 03 'XY' 1B 6C 01 01 1B 5B 44" << " XY" << "" << 0 << 0 << "" << false;
    QTest::newRow("CD5220 ESC [ D left") << set("CD5220") << "'AB' 1B 5B 44 'x'" << "Ax" << "" << 0 << 2 << "" << false;
    QTest::newRow("CD5220 BS left") << set("CD5220") << "'AB' 08 'x'" << "Ax" << "" << 0 << 2 << "" << false;
    QTest::newRow("CD5220 ESC [ C right") << set("CD5220") << "1B 5B 43 'x'" << " x" << "" << 0 << 2 << "" << false;
    QTest::newRow("CD5220 HT right") << set("CD5220") << "09 'x'" << " x" << "" << 0 << 2 << "" << false;
    QTest::newRow("CD5220 ESC [ A up") << set("CD5220") << "1B 6C 02 02 1B 5B 41 'x'" << " x" << "" << 0 << 2 << "" << false;
    QTest::newRow("CD5220 US LF up") << set("CD5220") << "1B 6C 02 02 1F 0A 'x'" << " x" << "" << 0 << 2 << "" << false;
    QTest::newRow("CD5220 ESC [ B down") << set("CD5220") << "'A' 1B 5B 42 'x'" << "A" << " x" << 1 << 2 << "" << false;
    QTest::newRow("CD5220 LF down") << set("CD5220") << "'A' 0A 'x'" << "A" << " x" << 1 << 2 << "" << false;
    QTest::newRow("CD5220 ESC [ H home") << set("CD5220") << "'AB' 1B 5B 48 'x'" << "xB" << "" << 0 << 1 << "" << false;
    QTest::newRow("CD5220 VT home") << set("CD5220") << "'AB' 0B 'x'" << "xB" << "" << 0 << 1 << "" << false;
    QTest::newRow("CD5220 ESC [ L row start") << set("CD5220") << "'AB' 1B 5B 4C 'x'" << "xB" << "" << 0 << 1 << "" << false;
    QTest::newRow("CD5220 ESC [ R row end") << set("CD5220") << "1B 5B 52 'x'" << "                   x" << "" << 1 << 0 << "" << false;
    QTest::newRow("CD5220 US CR row end") << set("CD5220") << "1F 0D 'x'" << "                   x" << "" << 1 << 0 << "" << false;
    QTest::newRow("CD5220 ESC [ K bottom") << set("CD5220") << "1B 5B 4B 'x'" << "" << "x" << 1 << 1 << "" << false;
    QTest::newRow("CD5220 US B bottom") << set("CD5220") << "1F 42 'x'" << "" << "x" << 1 << 1 << "" << false;
    QTest::newRow("CD5220 US @ self-test") << set("CD5220") << "'AB' 1F 40" << "" << "" << 0 << 0 << "" << false;
    QTest::newRow("CD5220 ESC c font") << set("CD5220") << "1B 63 00 'A'" << "A" << "" << 0 << 1 << "" << false;
    QTest::newRow("CD5220 ESC % user characters") << set("CD5220") << "1B 25 01 'A'" << "A" << "" << 0 << 1 << "" << false;
    QTest::newRow("CD5220 ESC ? delete one") << set("CD5220") << "1B 3F 41 'A'" << "A" << "" << 0 << 1 << "" << false;
    QTest::newRow("CD5220 ESC s 1 store") << set("CD5220") << "1B 73 01 'A'" << "A" << "" << 0 << 1 << "" << false;
    QTest::newRow("CD5220 ESC d 1 reload") << set("CD5220") << "1B 64 01 'A'" << "A" << "" << 0 << 1 << "" << false;
    QTest::newRow("CD5220 ESC = device") << set("CD5220") << "1B 3D 02 'A'" << "A" << "" << 0 << 1 << "" << false;
    QTest::newRow("CD5220 ESC # emulation") << set("CD5220") << "1B 23 30 'A'" << "A" << "" << 0 << 1 << "1b 23 30" << false;


    QTest::newRow("EPSON ESC & defines") << set("EPSON") << "1B 26 01 41 42 05 7F 08 08 08 7F 01 01 'A'" << "A" << "" << 0 << 1 << "" << false;
    QTest::newRow("EPSON ESC & waits for columns") << set("EPSON") << "1B 26 01 41 41 05 7F" << "" << "" << 0 << 0 << "" << true;
    QTest::newRow("EPSON ESC & six columns") << set("EPSON") << "1B 26 01 41 41 06 'A'" << "A" << "" << 0 << 1 << "1b 26 01 41 41 06" << false;
    QTest::newRow("CD5220 ESC & defines") << set("CD5220") << "1B 26 01 30 30 01 55 'A'" << "A" << "" << 0 << 1 << "" << false;
    QTest::newRow("CD5220 ESC Q D scrolls") << set("CD5220") << "1B 51 44 'THANK YOU FOR SHOPPING HERE' 0D" << "THANK YOU FOR SHOPPI" << "" << 0 << 0 << "" << false;
    QTest::newRow("UTC/P ESC u D scrolls") << set("UTC/P") << "1B 75 44 'THANK YOU FOR SHOPPING HERE' 0D" << "THANK YOU FOR SHOPPI" << "" << 0 << 0 << "" << false;
    QTest::newRow("UTC/P ESC u F scrolls once") << set("UTC/P") << "1B 75 46 'HELLO' 0D" << "HELLO" << "" << 0 << 0 << "" << false;
    QTest::newRow("AEDEX !#4 scrolls") << set("AEDEX") << "'!#4THANK YOU FOR SHOPPING HERE' 0D" << "THANK YOU FOR SHOPPI" << "" << 0 << 0 << "" << false;
    QTest::newRow("AEDEX !#6 scrolls once") << set("AEDEX") << "'!#6HELLO' 0D" << "HELLO" << "" << 0 << 0 << "" << false;
    QTest::newRow("AEDEX !#8 new pair") << set("AEDEX") << "'!#8**' 0D '**1AB' 0D" << "AB" << "" << 0 << 0 << "" << false;
    QTest::newRow("AEDEX !#8 old pair is text") << set("AEDEX") << "'!#8**' 0D '!#1AB'" << "!#1AB" << "" << 0 << 5 << "" << false;
    QTest::newRow("LogicControl ETX defines") << set("LogicControl") << "03 41 01 02 03 04 05 'A'" << "A" << "" << 0 << 1 << "" << false;
    QTest::newRow("LogicControl ENQ scrolls") << set("LogicControl") << "05 'THANK YOU FOR SHOPPING HERE' 0D" << "THANK YOU FOR SHOPPI" << "" << 0 << 0 << "" << false;
    QTest::newRow("LogicControl ESC ACK scrolls row 2") << set("LogicControl") << "1B 06 'HELLO' 0D" << "" << "HELLO" << 0 << 0 << "" << false;
    QTest::newRow("LogicControl ESC BEL scrolls row 1") << set("LogicControl") << "1B 07 'HELLO' 0D" << "HELLO" << "" << 0 << 0 << "" << false;
    QTest::newRow("LogicControl ESC VT scrolls row 2") << set("LogicControl") << "1B 0B 'HELLO' 0D" << "" << "HELLO" << 0 << 0 << "" << false;

    QTest::newRow("UTC/P ESC u E clock") << set("UTC/P") << "1B 75 45 '12:30' 0D" << "" << "12:30" << 0 << 0 << "" << false;
    QTest::newRow("UTC/P ESC u E again") << set("UTC/P") << "1B 75 45 '12:30' 0D 1B 75 42 'X' 0D 1B 75 45 0D" << "" << "12:30" << 0 << 0 << "" << false;
    QTest::newRow("AEDEX !#5 clock") << set("AEDEX") << "'!#512:30' 0D" << "" << "12:30" << 0 << 0 << "" << false;
    QTest::newRow("KS310 data only") << set("KS310") << "'A' 1B 0D 'B'" << "A??B" << "" << 0 << 4 << "1b|0d" << false;
    QTest::newRow("DSP800 data only") << set("DSP800") << "'!#1' 0C" << "!#1?" << "" << 0 << 4 << "0c" << false;
    QTest::newRow("outside the list") << 10 << "1B 40" << "?@" << "" << 0 << 2 << "1b" << false;
    // clang-format on
}

void TestScreenInterpreter::commands()
{
    QFETCH(int, set);
    QFETCH(QString, input);
    QFETCH(QString, upper);
    QFETCH(QString, lower);
    QFETCH(int, cursorRow);
    QFETCH(int, cursorColumn);
    QFETCH(QString, unknown);
    QFETCH(bool, waiting);

    QVERIFY(set >= 0);
    ScreenInterpreter model(set);
    model.feed(bytes(input));
    QCOMPARE(model.rowText(0), row(upper));
    QCOMPARE(model.rowText(1), row(lower));
    QCOMPARE(model.screen().cursorRow(), cursorRow);
    QCOMPARE(model.screen().cursorColumn(), cursorColumn);
    QCOMPARE(unknownText(model.takeUnknown()), unknown);
    QVERIFY(!model.hasUnknown());
    QCOMPARE(model.waiting(), waiting);
}

void TestScreenInterpreter::changeOfSetReportsTheCutCommand()
{
    ScreenInterpreter model(set("UTC/P"));
    model.feed(bytes("1B 75 41 'AB'"));
    model.setCommandSet(set("EPSON"));
    QVERIFY(!model.waiting());
    QCOMPARE(unknownText(model.takeUnknown()), QStringLiteral("1b 75 41 41 42"));
    // The rest is read in the new set.
    model.feed(bytes("0D 1B 40 'C'"));
    QCOMPARE(model.rowText(0), row(QStringLiteral("C")));
    QVERIFY(!model.hasUnknown());
}

void TestScreenInterpreter::feedSaysWhetherTheScreenChanged()
{
    ScreenInterpreter model(set("EPSON"));
    QVERIFY(model.feed(bytes("'A'")));
    QVERIFY(!model.feed(bytes("1F 01 1F 24 02")));
    QVERIFY(!model.feed(bytes("01")));    // the cursor was already there
    QVERIFY(model.feed(bytes("0D")));     // the cursor moved
    QVERIFY(!model.feed(bytes("1B 7A"))); // only reported
    QVERIFY(model.hasUnknown());
}

void TestScreenInterpreter::unknownSequencesAreBounded()
{
    ScreenInterpreter model(set("ADM788"));
    model.feed(QByteArray(300, '\x07') + QByteArray("\x1B", 1));
    const ScreenInterpreter::Unknown unknown = model.takeUnknown();
    QCOMPARE(unknown.sequences.size(), 256);
    QCOMPARE(unknown.dropped, 45);
    QCOMPARE(unknown.sequences.last(), QByteArray("\x1B", 1));
    QVERIFY(model.takeUnknown().isEmpty());
}

// What the glass needs beyond the cells: glyphs the till defined, whether
// they are in force, and a row whose text scrolls.
void TestScreenInterpreter::runTimeState_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("glyph"); // its five columns in hex; empty: built in
    QTest::addColumn<bool>("selected");
    QTest::addColumn<int>("scrollingRow"); // -1: none

    // clang-format off
    QTest::newRow("EPSON two codes") << set("EPSON") << "1B 26 01 41 42 05 7F 08 08 08 7F 02 01 02 1B 25 01" << 0x42 << "0102000000" << true << -1;
    QTest::newRow("EPSON eighth dot dropped") << set("EPSON") << "1B 26 01 41 41 01 FF" << 0x41 << "7f00000000" << false << -1;
    QTest::newRow("EPSON range upside down") << set("EPSON") << "1B 26 01 42 41 'A'" << 0x41 << "" << false << -1;
    QTest::newRow("EPSON ESC ? deletes") << set("EPSON") << "1B 26 01 41 41 01 7F 1B 3F 41" << 0x41 << "" << false << -1;
    QTest::newRow("CD5220 ESC % off") << set("CD5220") << "1B 25 01 1B 25 00" << 0x41 << "" << false << -1;
    // Row 1 all dots, the rest none: bits 0..4 of the first byte.
    QTest::newRow("LogicControl rows") << set("LogicControl") << "03 41 1F 00 00 00 00" << 0x41 << "0101010101" << false << -1;
    QTest::newRow("CD5220 scrolling") << set("CD5220") << "1B 51 44 'HELLO' 0D" << 0x41 << "" << false << 0;
    QTest::newRow("CD5220 scrolling ends") << set("CD5220") << "1B 51 44 'HELLO' 0D 'A'" << 0x41 << "" << false << -1;
    QTest::newRow("LogicControl row 2 scrolling") << set("LogicControl") << "1B 06 'HELLO' 0D" << 0x41 << "" << false << 1;
    // clang-format on
}

void TestScreenInterpreter::runTimeState()
{
    QFETCH(int, set);
    QFETCH(QString, input);
    QFETCH(int, code);
    QFETCH(QString, glyph);
    QFETCH(bool, selected);
    QFETCH(int, scrollingRow);

    ScreenInterpreter model(set);
    model.feed(bytes(input));
    const auto &defined = model.userCharacters().glyph(quint8(code));
    QCOMPARE(defined
                 ? QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(defined->data()),
                                                  qsizetype(defined->size()))
                                           .toHex())
                 : QString(),
             glyph);
    QCOMPARE(model.userCharacters().selected(), selected);
    QCOMPARE(model.scrollingRow().value_or(-1), scrollingRow);
}

// How the glass shows the cells: one row per command, and the commands
// that return the look to its power-on values.
void TestScreenInterpreter::look_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("brightness"); // percent
    QTest::addColumn<bool>("cursorShown");
    QTest::addColumn<int>("blink"); // ms on and off; 0 steady, -1 blanked
    QTest::addColumn<QString>("unknown");

    // clang-format off
    QTest::newRow("power-on") << set("EPSON") << "" << 100 << false << 0 << "";
    QTest::newRow("EPSON US X 1") << set("EPSON") << "1F 58 01" << 20 << false << 0 << "";
    QTest::newRow("EPSON US C 1") << set("EPSON") << "1F 43 01" << 100 << true << 0 << "";
    QTest::newRow("EPSON US C 0") << set("EPSON") << "1F 43 01 1F 43 00" << 100 << false << 0 << "";
    QTest::newRow("EPSON US E 10") << set("EPSON") << "1F 45 0A" << 100 << false << 500 << "";
    QTest::newRow("EPSON US E 0 stops") << set("EPSON") << "1F 45 0A 1F 45 00" << 100 << false << 0 << "";
    QTest::newRow("EPSON US E 255 blanks") << set("EPSON") << "1F 45 FF" << 100 << false << -1 << "";
    QTest::newRow("EPSON ESC @ restores") << set("EPSON") << "1F 58 02 1F 43 01 1F 45 FF 1B 40" << 100 << false << 0 << "";
    QTest::newRow("CD5220 ESC * 3") << set("CD5220") << "1B 2A 03" << 60 << false << 0 << "";
    QTest::newRow("CD5220 ESC _ 1") << set("CD5220") << "1B 5F 01" << 100 << true << 0 << "";
    QTest::newRow("CD5220 US E 255") << set("CD5220") << "1F 45 FF" << 100 << false << -1 << "";
    QTest::newRow("CD5220 ESC @ restores") << set("CD5220") << "1B 2A 01 1B 5F 01 1F 45 02 1B 40" << 100 << false << 0 << "";
    QTest::newRow("UTC/S DC3") << set("UTC/S") << "13" << 100 << true << 0 << "";
    QTest::newRow("UTC/S DC4") << set("UTC/S") << "13 14" << 100 << false << 0 << "";
    QTest::newRow("UTC/S EOT 40") << set("UTC/S") << "04 40" << 40 << false << 0 << "";
    QTest::newRow("UTC/S EOT undescribed") << set("UTC/S") << "04 60 04 50" << 60 << false << 0 << "04 50";
    QTest::newRow("LogicControl EOT 20") << set("LogicControl") << "04 20" << 20 << false << 0 << "";
    QTest::newRow("LogicControl DC3") << set("LogicControl") << "13" << 100 << true << 0 << "";
    QTest::newRow("LogicControl US resets") << set("LogicControl") << "04 20 13 1F" << 100 << false << 0 << "";
    // clang-format on
}

void TestScreenInterpreter::look()
{
    QFETCH(int, set);
    QFETCH(QString, input);
    QFETCH(int, brightness);
    QFETCH(bool, cursorShown);
    QFETCH(int, blink);
    QFETCH(QString, unknown);

    ScreenInterpreter model(set);
    model.feed(bytes(input));
    const DisplayLook &look = model.look();
    QCOMPARE(look.brightness, brightness);
    QCOMPARE(look.cursorShown, cursorShown);
    QCOMPARE(look.blink == DisplayLook::Blink::Blanked ? -1 : look.blinkMilliseconds, blink);
    QCOMPARE(look.blink == DisplayLook::Blink::Blinking, blink > 0);
    QCOMPARE(unknownText(model.takeUnknown()), unknown);
    model.reset();
    QCOMPARE(model.look(), DisplayLook());
}

QTEST_GUILESS_MAIN(TestScreenInterpreter)
#include "tst_screeninterpreter.moc"
