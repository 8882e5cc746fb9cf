#pragma once

namespace lumora {

// Adds the web engine's switches of this program to the user's own, and sets the environment its
// helper processes start with; call before the first web view or profile exists.
void addWebEngineSwitches();

} // namespace lumora
