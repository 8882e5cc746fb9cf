#pragma once

#include "externalinterfacecaller.h"

#include <QString>

#include <optional>

namespace lumora {

// Requests to the player movie that plays videos inside the Flash control. The commands ignore
// the reply; the getters read a number from it and return their error value on any failure.

void flvPlayPause(ExternalInterfaceCaller& flash);
void flvSeek(ExternalInterfaceCaller& flash, int seconds);

int flvGetDuration(ExternalInterfaceCaller& flash);  // whole seconds; 0 on error
int flvGetPosition(ExternalInterfaceCaller& flash);  // whole seconds; 0 on error
int flvGetPlayState(ExternalInterfaceCaller& flash); // 0 stopped, 1 playing, 2 paused; -1 on error

// The player movie's play states by name; any other answer, an error included, is none.
enum class MoviePlayState { Stopped = 0, Playing = 1, Paused = 2 };
std::optional<MoviePlayState> flvMoviePlayState(ExternalInterfaceCaller& flash);

// The player movie's start parameters (FlashVars) for a video file or address. The movie reads
// them URL-decoded, so '+', '&', '%' and blanks of a file name are percent-encoded.
QString flvPlayerVars(const QString& file);

// The reply lower-cased, with every "<number>" and "</number>" removed.
QString stripNumberTags(const QString& reply);

} // namespace lumora
