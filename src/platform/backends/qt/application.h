#pragma once

#include "dialogs.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>

#include <functional>

namespace lumora {

// The application object. An exception that escapes an event handler (a programming error:
// handlers get failures as values) is logged and shown in the standard error box with its
// text, and the program goes on.
class LumoraApplication : public QApplication {
public:
    LumoraApplication(int& argc, char** argv);
    void setErrorDialogs(Dialogs* dialogs) { m_dialogs = dialogs; }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    Dialogs* m_dialogs = nullptr;
};

// Runs onRestore when another copy of the program asks this one to show itself.
class RestoreRequestFilter : public QAbstractNativeEventFilter {
public:
    explicit RestoreRequestFilter(std::function<void()> onRestore);
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    std::function<void()> m_onRestore;
    unsigned m_atom = 0;
};

} // namespace lumora
