// The composition root: every platform backend is created here and nowhere else.
#include "application.h"
#include "clientlogin.h"
#include "datamodule.h"
#include "dlengine.h"
#include "edition.h"
#include "fileversion.h"
#include "lockfilemutex.h"
#include "mainwindow.h"
#include "qtdialogs.h"
#include "qtmediaplayer.h"
#include "qtwebpane.h"
#include "ruffleflashcontrol.h"
#include "skin.h"
#include "startup.h"
#include "urlprobe.h"
#include "volume.h"
#include "x11windowsystem.h"

#include <QFileInfo>
#include <QTimer>

using namespace lumora;

int main(int argc, char** argv) {
    // The web panes and the Flash control share one graphics context.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    LumoraApplication app(argc, argv);
    QtDialogs dialogs;
    app.setErrorDialogs(&dialogs);

    const QString programPath = QString::fromStdString(programFilePath());
    const QString programDir = QFileInfo(programPath).absolutePath() + QLatin1Char('/');
    const auto version = readFileVersion(programPath.toStdString());
    X11WindowSystem windows;
    LockFileMutex mutex;
    RuffleFlashFactory flashFactory(programDir);
    EntryPlatform platform{mutex, windows, dialogs, flashFactory};

    Config config;
    const EntryOutcome outcome =
        runEntrySteps(config, version, programPath, app.arguments(), platform,
                      [&](const QString& title) { QCoreApplication::setApplicationName(title); });
    if (outcome != EntryOutcome::Run)
        return 0;

    TDataModule1 dataModule(config, programPath);
    dataModule.DataModuleCreate();
    loadSkin(app, programDir + kSkinFolder);

    // The engine outlives everything: the login thread may still use it while the process ends.
    Engine& engine = *new DlEngine(programDir);
    QtShell shell;
    CurlUrlProbe probe;
    QtWebPaneFactory webPanes;
    ProgramVolume volume;
    QtMediaPlayerFactory media(volume);
    // Its view goes into the window; the control outlives the window.
    RuffleFlashControl flash(programDir + QStringLiteral("ruffle"), volume);
    MainWindowServices services{
        dialogs,
        windows,
        shell,
        probe,
        webPanes,
        engine,
        flash,
        media,
        volume,
        getVersionString(version),
        [&engine](std::int32_t code, const QString& url) { new TClientLogin(code, url, engine); },
        {}, // terminate: the application's quit
    };
    int status = 0;
    {
        TfrmMain mainWindow(config, services);
        // End-to-end tests run the news schedule's minutes faster; the rules stay the same.
        if (const int minute = qEnvironmentVariableIntValue("LUMORA_TEST_MINUTE_MS"); minute > 0)
            mainWindow.TimerSystemMsg->setInterval(minute);
        RestoreRequestFilter restoreFilter([&] { mainWindow.restoreFromHandOver(); });
        app.installNativeEventFilter(&restoreFilter);
        if (!config.hideOnStart)
            mainWindow.show();
        status = app.exec();
        app.removeNativeEventFilter(&restoreFilter);
    }
    return status;
}
