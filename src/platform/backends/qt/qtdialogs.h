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

// The Flash control is the Flash emulator's files in the program's "ruffle" folder, played in
// a web engine pane; without the files, or without the web engine's helper process, no control
// can be created.
class RuffleFlashFactory : public FlashControlFactory {
public:
    explicit RuffleFlashFactory(QString appDir) : m_appDir(std::move(appDir)) {}
    Outcome<std::unique_ptr<FlashInstance>> create() override;

private:
    QString m_appDir;
};

// The web engine's helper process as the engine looks for it: the path in
// QTWEBENGINEPROCESS_PATH alone when that is set, else the first that exists of Qt's library
// executables folder and the program's folder. Empty when there is none.
QString webEngineHelperPath(const QString& fromEnvironment, const QString& libraryExecutables,
                            const QString& programDir);
// A regular file this user may run.
bool isRunnableFile(const QString& path);

} // namespace lumora
