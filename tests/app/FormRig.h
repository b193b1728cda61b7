#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTabWidget>

#include "FakePrompts.h"
#include "app/CharacterPage.h"
#include "app/CheckPage.h"
#include "app/Form1.h"
#include "app/MessagePage.h"
#include "support/FakeComm.h"
#include "support/FakeTicks.h"

// A window on fake serial port, clock and prompts, with lookups by the
// controls' names.
struct FormRig
{
    FakeTicks ticks;
    FakeComm comm{&ticks};
    FakePrompts prompts;
    Form1 form{comm, ticks, prompts};

    // Built: every page's controls exist from the start, as if each page had
    // been shown, so that tests can look at all of them at once. AsShown: a
    // page builds its controls when first shown, as in the program.
    enum class Pages { Built, AsShown };

    explicit FormRig(Pages pages = Pages::Built)
    {
        if (pages == Pages::AsShown)
            return;
        form.messagePage().build();
        form.characterPage().build();
        form.checkPage().build();
    }

    template <typename T = QWidget> T *get(const QString &name) const
    {
        return form.findChild<T *>(name);
    }
    QLineEdit *cell(const char *array, int index) const
    {
        return get<QLineEdit>(QStringLiteral("%1(%2)").arg(QLatin1String(array)).arg(index));
    }
    QPushButton *dot(int column, int row) const
    {
        return get<QPushButton>(QStringLiteral("map%1(%2)").arg(column).arg(row));
    }
    QComboBox *combo(const char *name) const { return get<QComboBox>(QLatin1String(name)); }
    QString comboText(const char *name) const { return combo(name)->currentText(); }
    void click(const char *name) const { get<QAbstractButton>(QLatin1String(name))->click(); }

    // Everything a person can see of the settings, to compare before and after.
    QStringList snapshot() const
    {
        QStringList state;
        for (const char *name : {"Char", "Command", "BaudRate", "Passthru", "Comm", "Baud"})
            state << comboText(name);
        for (const char *array : {"L1H", "L1A", "L2H", "L2A"}) {
            const int count = array[1] == '1' ? 20 : 40;
            for (int i = 1; i <= count; ++i)
                state << cell(array, i)->text() + (cell(array, i)->isHidden() ? "-" : "+");
        }
        for (const char *option : {"Op_L1H", "Op_L1A", "Op_L2H", "Op_L2A"})
            state << QString::number(get<QRadioButton>(QLatin1String(option))->isChecked());
        state << get<QLabel>(QStringLiteral("UDC_label"))->text()
              << get<QLineEdit>(QStringLiteral("UDC_TEXT"))->text();
        QString dots;
        for (int column = 1; column <= 5; ++column)
            for (int row = 0; row < 7; ++row)
                dots += dot(column, row)->isChecked() ? '#' : '.';
        state << dots;
        return state;
    }
};
