// The composition root: every platform backend is created here and nowhere else.
#include "application.h"
#include "awakeguard.h"
#include "catalogueprefetch.h"
#include "clientlogin.h"
#include "commandline.h"
#include "curlurlprobe.h"
#include "datamodule.h"
#include "dbusrunningcopy.h"
#include "dbusscreensaver.h"
#include "dlengine.h"
#include "edition.h"
#include "engineswitches.h"
#include "fileversion.h"
#include "keptvolume.h"
#include "lockfilemutex.h"
#include "mainwindow.h"
#include "mediasession.h"
#include "mprisservice.h"
#include "qtdialogs.h"
#include "qtmediaplayer.h"
#include "qtwebpane.h"
#include "rendering.h"
#include "ruffleflashcontrol.h"
#include "skin.h"
#include "stallwatch.h"
#include "startup.h"
#include "threadedprobe.h"
#include "volume.h"
#include "x11windowsystem.h"

#include <QDBusConnection>
#include <QFileInfo>
#include <QTimer>

#include <chrono>
#include <cstdio>

using namespace lumora;

namespace {

// --help and --version need no display, so they are answered before the application exists.
bool answerInfoRequest(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const InfoRequest request = infoRequest(arguments);
    if (request == InfoRequest::None)
        return false;
    const std::string program = programFilePath();
    const QString text =
        request == InfoRequest::Help
            ? helpText(QFileInfo(QString::fromStdString(program)).absolutePath() + QLatin1Char('/'))
            : versionText(readFileVersion(program));
    std::fputs(text.toUtf8().constData(), stdout);
    return true;
}

// The desktop's media controls and screen saver follow the window's transport bar.
void followWindow(TfrmMain& window, MediaSession& session) {
    QObject::connect(&window, &TfrmMain::playStateShown, &session, &MediaSession::setPlayState);
    QObject::connect(&window, &TfrmMain::timesShown, &session, &MediaSession::setTimes);
    const auto takeProgramme = [&window, &session] {
        const LumoraPlayPtr& p = window.curPlay();
        const bool watched = p->type == ProgrammeType::Flash || p->type == ProgrammeType::Video;
        session.setProgramme({p->id, p->name, watched});
    };
    QObject::connect(&window, &TfrmMain::programmeStarted, &session, takeProgramme);
    // Started hidden, the window opened its programme before anyone listened; the next tick
    // tells how it plays.
    if (window.curPlay()) {
        takeProgramme();
        session.setPlayState(PlayState::Loading);
    }
}

// Starts reading the edition's catalogue, which its window shows, so that a large one is parsed
// while the application, the web engine and the window are created. The window reads the file
// itself where its settings name another one.
std::unique_ptr<CataloguePrefetch> prefetchCatalogue(const QString& programDir,
                                                     const std::optional<FileVersion>& version) {
    const int channel = getEditionCode(version);
    if (!isChannelEdition(channel))
        return nullptr;
    return std::make_unique<CataloguePrefetch>(catalogueFilePath(programDir, channel));
}

} // namespace

int main(int argc, char** argv) {
    if (answerInfoRequest(argc, argv))
        return 0;
    const QString programPath = QString::fromStdString(programFilePath());
    const QString programDir = QFileInfo(programPath).absolutePath() + QLatin1Char('/');
    const auto version = readFileVersion(programPath.toStdString());
    const std::unique_ptr<CataloguePrefetch> catalogue = prefetchCatalogue(programDir, version);
    const bool openGlLeftOut = leaveOutOpenGlWithoutDriver();
    preferLightMp3Decoder();
    // The web panes and the Flash control share one graphics context.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    LumoraApplication app(argc, argv);
    // Before the first web view: the Flash control's check at start-up creates one.
    preferSoftwareRenderingWithoutDriver(openGlLeftOut);
    addWebEngineSwitches();
    // Benchmarks read how long the event loop was held up (worst beat lateness, in ms).
    std::unique_ptr<StallWatch> stallWatch;
    if (const QString report = qEnvironmentVariable("LUMORA_STALL_REPORT"); !report.isEmpty())
        stallWatch = std::make_unique<StallWatch>(report);
    QtDialogs dialogs;
    app.setErrorDialogs(&dialogs);

    X11WindowSystem windows;
    LockFileMutex mutex;
    RuffleFlashFactory flashFactory(programDir);
    DBusRunningCopyLink runningCopy(QDBusConnection::sessionBus());
    EntryPlatform platform{mutex, windows, dialogs, flashFactory, &runningCopy};

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
    ThreadedUrlProbe probe(std::make_shared<CurlUrlProbe>());
    // Benchmarks measure the quiet program without waiting the full time for it.
    const int quietMs = qEnvironmentVariableIntValue("LUMORA_QUIET_MS");
    QtWebPaneFactory webPanes(quietMs > 0 ? std::chrono::milliseconds(quietMs)
                                          : QuietWatch::kQuietAfter);
    ProgramVolume volume;
    KeptVolume keptVolume(volume, config.localIniPath);
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
        catalogue.get(),
    };
    int status = 0;
    {
        TfrmMain mainWindow(config, services);
        MediaSession session({[&] { mainWindow.btnPlayClick(); },
                              [&] { mainWindow.btnNextClick(); }, [&] { mainWindow.btnPreClick(); },
                              [&] { mainWindow.restoreFromHandOver(); }});
        followWindow(mainWindow, session);
        const QDBusConnection bus = QDBusConnection::sessionBus();
        const Edition& edition = editionFor(config.editionCode);
        MprisService mpris(bus, session, QString::fromUtf8(edition.caption),
                           editionBusName(QString::fromUtf8(edition.mutexName)));
        DBusScreenSaverInhibitor screenSaver(bus, QCoreApplication::applicationName());
        AwakeGuard awake(session, screenSaver, QStringLiteral("Playing a programme"));
        // End-to-end tests run the news schedule's minutes faster; the rules stay the same.
        if (const int minute = qEnvironmentVariableIntValue("LUMORA_TEST_MINUTE_MS"); minute > 0)
            mainWindow.setSystemMsgMinute(minute);
        RestoreRequestFilter restoreFilter([&] { mainWindow.restoreFromHandOver(); });
        app.installNativeEventFilter(&restoreFilter);
        if (!config.hideOnStart)
            mainWindow.show();
        status = app.exec();
        app.removeNativeEventFilter(&restoreFilter);
    }
    return status;
}
