#pragma once

#include "fileversion.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace lumora {

// What the command line asks before anything needs a display.
enum class InfoRequest { None, Help, Version };

// Only the first argument after the program's name counts, as for "-start".
InfoRequest infoRequest(const QStringList& arguments);

// The text of --help for a program file in programDir (ends with '/').
QString helpText(const QString& programDir);
// The text of --version: the file version and the name of the edition it carries.
QString versionText(const std::optional<FileVersion>& version);

} // namespace lumora
