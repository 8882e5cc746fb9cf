#pragma once

#include <QString>

namespace lumora {

// The one call of the Flash control that the player-movie bridge needs: an external-interface
// request in, the movie's reply out. Implementations may throw when the call fails.
class ExternalInterfaceCaller {
public:
    virtual ~ExternalInterfaceCaller() = default;
    virtual QString CallFunction(const QString& request) = 0;
};

} // namespace lumora
