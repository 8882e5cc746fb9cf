#pragma once

#include <QString>

namespace lumora {

// The value of a key; "0" when the key or the file is absent. Throws IniError when the file
// cannot be read.
QString readIniValue(const QString& path, const QString& section, const QString& key);

// Writes the key into an existing file only; true after a successful write. Never throws and
// never creates a file.
bool writeIniValue(const QString& path, const QString& section, const QString& key,
                   const QString& value);

// Integer text as the settings hold it: optional sign and decimal digits, 32-bit; throws
// IniError otherwise.
int toIniInteger(const QString& text);

} // namespace lumora
