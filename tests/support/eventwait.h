#pragma once

#include <functional>

namespace lumora::test {

// Runs the event loop until done() holds or the time is up; answers whether it held.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 20000);

// Runs the event loop for a while, to see that something does NOT happen.
void settle(int ms);

} // namespace lumora::test
