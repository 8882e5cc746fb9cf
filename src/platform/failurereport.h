#pragma once

#include "dialogs.h"
#include "outcome.h"

namespace lumora {

// Shows a failure in the standard error box: the one place where the program reports one.
void reportFailure(Dialogs& dialogs, const Failure& failure);

// The same for an operation's outcome; nothing when it succeeded.
void reportFailure(Dialogs& dialogs, const Done& outcome);

// The last guard of the event loop: an exception that escaped a handler is a programming error.
// It is logged and shown like a failure, and the program goes on.
void reportEscapedException(Dialogs* dialogs, const char* what);

} // namespace lumora
