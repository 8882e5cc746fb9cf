#pragma once

#include <QString>

namespace lumora {

// The edition's own page: every ".html", letter case ignored, gets the edition code before it.
QString insertEditionCode(const QString& address, int editionCode);

// The address in the form the web engine reports a location: scheme and host in lower case,
// no default port, "/" for an empty path, every escape in one form.
QString normalisedAddress(const QString& address);

// Whether a pane that finished loading shows the page it was sent to: the two addresses
// normalised, case ignored.
bool isAtAddress(const QString& location, const QString& address);

// The full product's program: "lumora.exe" in the folder above the program's folder.
QString fullProductPath(const QString& appDir);

} // namespace lumora
