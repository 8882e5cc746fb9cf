#pragma once

#include <QString>

namespace lumora {

// Seconds as "mm:ss", or "h:mm:ss" from one hour on (75 → "01:15", 3725 → "1:02:05").
// A negative count has no meaning as a play time and gives "00:00".
QString formatSeconds(int seconds);

} // namespace lumora
