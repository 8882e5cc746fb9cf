#include "numbertext.h"

#include "conversionfailure.h"

#include <limits>

namespace lumora {

std::optional<std::int64_t> parseInt64(QStringView text) {
    qsizetype i = 0;
    const bool negative = !text.isEmpty() && text[0] == u'-';
    if (!text.isEmpty() && (text[0] == u'-' || text[0] == u'+'))
        ++i;
    if (i == text.size())
        return std::nullopt;
    // Accumulate as a negative number so the smallest value fits.
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        const int digit = int(c - u'0');
        if (value < (kMin + digit) / 10)
            return std::nullopt;
        value = value * 10 - digit;
    }
    if (negative)
        return value;
    if (value == kMin)
        return std::nullopt;
    return -value;
}

std::optional<std::int32_t> parseInt32(QStringView text) {
    const std::optional<std::int64_t> wide = parseInt64(text);
    if (!wide || *wide < std::numeric_limits<std::int32_t>::min() ||
        *wide > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return std::int32_t(*wide);
}

Outcome<std::int32_t> toInt32(QStringView text) {
    const std::optional<std::int32_t> value = parseInt32(text);
    if (!value)
        return conversionFailure(text);
    return *value;
}

} // namespace lumora
