#pragma once

#include "outcome.h"

#include <QString>
#include <QStringView>

namespace lumora {

// A text that should hold a decimal integer does not; the words are those of the standard
// error box.
inline Failure conversionFailure(QStringView text) {
    return Failure{QStringLiteral("'%1' is not a valid integer value").arg(text)};
}

} // namespace lumora
