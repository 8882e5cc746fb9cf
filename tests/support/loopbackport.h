#pragma once

#include <utility>

namespace lumora::test {

// A TCP socket bound to 127.0.0.1 at a port the system chose, and that port; throws when the
// system gives none. The caller owns (and closes) the socket.
std::pair<int, int> boundLoopbackSocket();

// A loopback port nothing listens on: bound to learn a free number, then closed, so that
// connections to it are refused at once.
int closedPort();

} // namespace lumora::test
