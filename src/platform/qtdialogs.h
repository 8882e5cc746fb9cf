#pragma once

#include "dialogs.h"
#include "flashfactory.h"
#include "shell.h"

#include <QString>

namespace lumora {

// Message boxes through QMessageBox.
class QtDialogs : public Dialogs {
public:
    void showInfo(const QString& text) override;
    void showPlain(const QString& text, const QString& caption) override;
    bool confirm(const QString& text, const QString& caption) override;
    void showError(const QString& text) override;
};

// The desktop's "open" through QDesktopServices and QProcess.
class QtShell : public Shell {
public:
    void openUrl(const QString& address) override;
    bool startProgram(const QString& path) override;
};

// The Flash control is the Flash emulator's files in the program's "ruffle" folder; without
// them no control can be created.
class RuffleFlashFactory : public FlashControlFactory {
public:
    explicit RuffleFlashFactory(QString appDir) : m_appDir(std::move(appDir)) {}
    std::unique_ptr<FlashInstance> create() override;

private:
    QString m_appDir;
};

} // namespace lumora
