// The composition root: every platform backend is created here and nowhere else.
#include "application.h"
#include "datamodule.h"
#include "fileversion.h"
#include "lockfilemutex.h"
#include "mainwindow.h"
#include "qtdialogs.h"
#include "startup.h"
#include "x11windowsystem.h"

#include <QFileInfo>
#include <QLocale>

using namespace lumora;

int main(int argc, char** argv) {
    LumoraApplication app(argc, argv);
    QtDialogs dialogs;
    app.setErrorDialogs(&dialogs);

    const QString programPath = QString::fromStdString(programFilePath());
    const auto version = readFileVersion(programPath.toStdString());
    X11WindowSystem windows;
    LockFileMutex mutex;
    RuffleFlashFactory flash(QFileInfo(programPath).absolutePath() + QLatin1Char('/'));
    EntryPlatform platform{mutex, windows, dialogs, flash};

    Config config;
    const EntryOutcome outcome =
        runEntrySteps(config, version, programPath, app.arguments(), platform,
                      [&](const QString& title) { QCoreApplication::setApplicationName(title); });
    if (outcome != EntryOutcome::Run)
        return 0;

    TDataModule1 dataModule(config, programPath);
    dataModule.DataModuleCreate();

    TfrmMain mainWindow(config, MainWindowServices{dialogs, windows});
    RestoreRequestFilter restoreFilter([&] { mainWindow.restoreFromHandOver(); });
    app.installNativeEventFilter(&restoreFilter);
    if (!config.hideOnStart)
        mainWindow.show();
    return app.exec();
}
