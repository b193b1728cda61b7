#include "app/widgets/AsciiCellValidator.h"

#include "model/CodePage.h"

QValidator::State AsciiCellValidator::validate(QString &input, int &) const
{
    if (input.isEmpty())
        return Acceptable;
    if (input.size() == 1 && CodePage::hasCode(input.front()))
        return Acceptable;
    return Invalid;
}
