#pragma once

#include "outcome.h"

#include <QString>

namespace lumora {

// The one call of the Flash control that the player-movie bridge needs: an external-interface
// request in, the movie's reply out, or why there is none (no movie, no answer yet, the movie's
// error).
class ExternalInterfaceCaller {
public:
    virtual ~ExternalInterfaceCaller() = default;
    virtual Outcome<QString> CallFunction(const QString& request) = 0;
};

} // namespace lumora
