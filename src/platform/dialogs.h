#pragma once

#include <QString>

namespace lumora {

// Caption of every message box the program shows.
inline constexpr const char* kHintCaption = "提示";

// The program's modal message boxes.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Caption "提示", information icon, one OK button.
    virtual void showInfo(const QString& text) = 0;
    // Caption given, no icon, one OK button.
    virtual void showPlain(const QString& text, const QString& caption) = 0;
    // Caption given, no icon, OK and Cancel; true on OK.
    virtual bool confirm(const QString& text, const QString& caption) = 0;
    // The application's standard error box for a failure that escaped a handler.
    virtual void showError(const QString& text) = 0;
};

} // namespace lumora
