#include "inistore.h"

#include "inifile.h"

#include <QFileInfo>

namespace lumora {

QString readIniValue(const QString& path, const QString& section, const QString& key) {
    return IniFile::load(path).value(section, key, QStringLiteral("0"));
}

bool writeIniValue(const QString& path, const QString& section, const QString& key,
                   const QString& value) {
    try {
        if (!QFileInfo(path).isFile())
            return false;
        IniFile ini = IniFile::load(path);
        ini.setValue(section, key, value);
        ini.save(path);
        return true;
    } catch (const std::exception&) {
        return false; // callers go on without the setting, as the original did
    }
}

int toIniInteger(const QString& text) {
    bool ok = false;
    const QString trimmed = text.trimmed();
    const int value = trimmed.toInt(&ok, 10);
    if (!ok || trimmed.isEmpty())
        throw IniError("'" + text.toStdString() + "' is not a valid integer value");
    return value;
}

} // namespace lumora
