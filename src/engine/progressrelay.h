#pragma once

#include "engine.h"

#include <cstdint>

namespace lumora::progressrelay {

// The engine reports progress through a plain C function from its own threads. Those reports
// are queued to the thread of the application object and handed there to the handler installed
// last. Only one handler exists per process, as the C callback carries no context.

// Must be called on the user-interface thread, after the application object exists.
void install(const void* owner, Engine::ProgressHandler handler);
// Drops the handler if owner installed it; reports still queued are then dropped too.
void remove(const void* owner);
// Callable from any thread, also while the process ends.
void report(std::int32_t number, std::int32_t percent) noexcept;

} // namespace lumora::progressrelay
