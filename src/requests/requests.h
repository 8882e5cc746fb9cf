#pragma once

#include "engine.h"
#include "lumoraplay.h"
#include "outcome.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace lumora {

// The file extension of a type code (".swf", ".mp3", ...); empty for other codes and non-numbers.
QString typeExtension(const QString& type);

// The server folder of a programme: the smallest integer not less than id / 128.
QString programmeFolder(std::int32_t id);

// urlDownload + folder + "/" + enciphered id + extension.
QString downloadAddress(const QString& urlDownload, std::int32_t id, const QString& type);

// The engine number in a play address: the decimal text between the first "P2P/" and the last
// four characters, low 32 bits kept. Empty when the answer holds no such number.
std::optional<std::int32_t> engineNumberFromAnswer(QStringView answer);

// Hands a programme that is not on disk to the engine. Updates name and downUrl; when the engine
// accepts it, also engineNo and playUrl. Fails with the conversion failure for an id that is not
// a decimal number (before the engine is called) and for an answer without an engine number
// (playUrl and engineNo then unchanged).
Done requestProgramme(TLumoraPlay& record, Engine& engine, const QString& urlDownload);

} // namespace lumora
