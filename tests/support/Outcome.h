#pragma once

#include <optional>

#include <QMetaType>
#include <QString>

#include "messages/Messages.h"
#include "model/Result.h"

// How a transfer or a file operation ended, for data rows: no reason when
// it succeeded.
using Outcome = std::optional<Error::Reason>;

Q_DECLARE_METATYPE(Outcome)

template <typename T> Outcome outcomeOf(const Result<T> &result)
{
    return result ? Outcome() : Outcome(result.error().reason);
}

// What the user reads about a failure; empty on success.
template <typename T> QString messageOf(const Result<T> &result)
{
    return result ? QString() : Messages::sentence(result.error());
}
