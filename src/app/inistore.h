#pragma once

#include "outcome.h"

#include <QString>

namespace lumora {

// The value of a key; "0" when the key or the file is absent. Fails when the file cannot be
// read.
Outcome<QString> readIniValue(const QString& path, const QString& section, const QString& key);

// Writes the key into an existing file only; true after a successful write. Never throws and
// never creates a file.
bool writeIniValue(const QString& path, const QString& section, const QString& key,
                   const QString& value);

// Integer text as the settings hold it: optional sign and decimal digits, 32-bit; the
// conversion failure otherwise.
Outcome<int> toIniInteger(const QString& text);

} // namespace lumora
