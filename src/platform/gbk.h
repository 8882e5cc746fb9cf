#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace lumora {

// Stored files and the engine's C interface carry 8-bit GBK text; inside the program text is
// QString. Bytes that are not GBK become U+FFFD; characters GBK cannot hold become '?'.
QString fromGbk(std::string_view bytes);
std::string toGbk(const QString& text);

} // namespace lumora
