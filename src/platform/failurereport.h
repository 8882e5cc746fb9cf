#pragma once

#include "dialogs.h"

#include <functional>

namespace lumora {

// Shows the error text of an exception in the standard error box; the one place where a
// failure that escaped a handler is reported.
void reportEscapedFailure(Dialogs* dialogs, const char* what);

// Runs action; a failure it throws goes to the standard error box instead of on up the stack.
// Answers whether the action ran to its end.
bool runReportingFailure(Dialogs* dialogs, const std::function<void()>& action);

} // namespace lumora
