#include "failurereport.h"

#include <QString>

#include <exception>

namespace lumora {

void reportEscapedFailure(Dialogs* dialogs, const char* what) {
    if (dialogs)
        dialogs->showError(QString::fromUtf8(what));
}

bool runReportingFailure(Dialogs* dialogs, const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const std::exception& e) {
        reportEscapedFailure(dialogs, e.what());
    } catch (...) {
        reportEscapedFailure(dialogs, "unknown error");
    }
    return false;
}

} // namespace lumora
