#include "failurereport.h"

#include <QDebug>

namespace lumora {

void reportFailure(Dialogs& dialogs, const Failure& failure) {
    dialogs.showError(failure.message);
}

void reportFailure(Dialogs& dialogs, const Done& outcome) {
    if (!outcome)
        reportFailure(dialogs, outcome.failure());
}

void reportEscapedException(Dialogs* dialogs, const char* what) {
    qCritical("lumora: an exception escaped an event handler: %s", what);
    if (dialogs)
        reportFailure(*dialogs, Failure{QString::fromUtf8(what)});
}

} // namespace lumora
