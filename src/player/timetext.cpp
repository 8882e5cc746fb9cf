#include "timetext.h"

namespace lumora {

QString formatSeconds(int seconds) {
    if (seconds < 0)
        return QStringLiteral("00:00");
    const int hours = seconds / 3600;
    const int rest = seconds - hours * 3600;
    const int minutes = rest / 60;
    const QString minutesAndSeconds = QString::asprintf("%.2d:%.2d", minutes, rest - minutes * 60);
    return hours > 0 ? QString::number(hours) + QLatin1Char(':') + minutesAndSeconds
                     : minutesAndSeconds;
}

} // namespace lumora
