#pragma once

#include "outcome.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace lumora {

// Decimal integer texts as the catalogue and the engine write them: an optional sign and at
// least one digit, nothing else (no blanks, no hexadecimal), within the type's range.
std::optional<std::int32_t> parseInt32(QStringView text);
std::optional<std::int64_t> parseInt64(QStringView text);

// As parseInt32, with the conversion failure the standard error box shows.
Outcome<std::int32_t> toInt32(QStringView text);

} // namespace lumora
