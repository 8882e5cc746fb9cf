#include "windowsystem.h"

#include <QFileInfo>

namespace lumora {

QString cutToBuffer(const QString& text) {
    return text.left(99);
}

QString instanceNameFromPath(const QString& path) {
    return QFileInfo(cutToBuffer(path)).fileName();
}

} // namespace lumora
