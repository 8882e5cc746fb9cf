#pragma once

namespace lumora {

// The play state the transport bar shows; the numbers are the ones the window's design uses.
enum class PlayState { Playing = 1, Paused = 2, Stopped = 3, Loading = 4 };

} // namespace lumora
