#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <stdexcept>

namespace lumora {

// A text that should hold a decimal integer does not.
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const QString& text);
};

// Decimal integer texts as the catalogue and the engine write them: an optional sign and at
// least one digit, nothing else (no blanks, no hexadecimal), within the type's range.
std::optional<std::int32_t> parseInt32(QStringView text);
std::optional<std::int64_t> parseInt64(QStringView text);

// As parseInt32, but throws ConversionError.
std::int32_t toInt32(QStringView text);

} // namespace lumora
