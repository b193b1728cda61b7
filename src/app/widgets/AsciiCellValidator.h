#pragma once

#include <QValidator>

// An ASCII message cell takes nothing or one character that has a code in
// the display's code page; anything else is not accepted while typing.
class AsciiCellValidator : public QValidator
{
    Q_OBJECT

public:
    using QValidator::QValidator;

    State validate(QString &input, int &pos) const override;
};
