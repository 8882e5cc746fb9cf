#pragma once

#include <QString>

namespace lumora {

// The edition's own page: every ".html", letter case ignored, gets the edition code before it.
QString insertEditionCode(const QString& address, int editionCode);

// Whether a pane that finished loading shows the page it was sent to (case ignored).
bool isAtAddress(const QString& location, const QString& address);

// The full product's program: "lumora.exe" in the folder above the program's folder.
QString fullProductPath(const QString& appDir);

} // namespace lumora
