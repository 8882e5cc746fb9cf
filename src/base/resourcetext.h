#pragma once

#include <QFile>
#include <QString>

#include <stdexcept>

namespace lumora {

// The text of a resource built into the program; throws when it is missing, a packaging error.
inline QString resourceText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("missing resource " + path.toStdString());
    return QString::fromUtf8(file.readAll());
}

} // namespace lumora
