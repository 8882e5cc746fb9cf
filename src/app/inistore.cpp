#include "inistore.h"

#include "conversionfailure.h"
#include "inifile.h"

#include <QFileInfo>

namespace lumora {

Outcome<QString> readIniValue(const QString& path, const QString& section, const QString& key) {
    const Outcome<IniFile> file = IniFile::load(path);
    if (!file)
        return file.failure();
    return file->value(section, key, QStringLiteral("0"));
}

bool writeIniValue(const QString& path, const QString& section, const QString& key,
                   const QString& value) {
    // Callers go on without the setting, as the original did.
    if (!QFileInfo(path).isFile())
        return false;
    Outcome<IniFile> loaded = IniFile::load(path);
    if (!loaded)
        return false;
    IniFile ini = *loaded;
    ini.setValue(section, key, value);
    return ini.save(path).ok();
}

Outcome<int> toIniInteger(const QString& text) {
    bool ok = false;
    const QString trimmed = text.trimmed();
    const int value = trimmed.toInt(&ok, 10);
    if (!ok || trimmed.isEmpty())
        return conversionFailure(text);
    return value;
}

} // namespace lumora
