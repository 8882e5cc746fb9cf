#pragma once

#include "cataloguetree.h"
#include "config.h"
#include "lumoraplay.h"
#include "outcome.h"
#include "playstate.h"
#include "programmeplayer.h"
#include "systemmsgschedule.h"

#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

class QShortcut;
class QTabWidget;
class QTimer;

namespace lumora {

class Dialogs;
class Engine;
class FlashControl;
class RandomSource;
class MediaPlayer;
class MediaPlayerFactory;
class WaveOutVolume;
class Shell;
class AsyncUrlProbe;
class CaptionBar;
class StatusStrip;
class WebPane;
class WebPaneFactory;
class WindowSystem;
class tLxsimage;
class SystemMsgHolder;
class TransportBar;
class PlayerArea;
class ExitFullScreenPanel;
class ApplicationEvents1;
class CataloguePanel;
class CataloguePrefetch;

// The platform parts and collaborators the main window uses; created in main only.
struct MainWindowServices {
    Dialogs& dialogs;
    WindowSystem& windows;
    Shell& shell;
    AsyncUrlProbe& probe; // never waits: answers come back through the event loop
    WebPaneFactory& webPanes;
    Engine& engine;
    FlashControl& flash; // ShockwaveFlash1
    MediaPlayerFactory& media;
    WaveOutVolume& volume;
    QString versionString;
    // Starts the background login (the login thread in the program).
    std::function<void(std::int32_t clientCode, const QString& urlHome)> startLogin;
    // Ends the program (the application's terminate).
    std::function<void()> terminate;
    // The catalogue file read ahead while the program started, if any; the window takes it
    // when it asks for that very file.
    CataloguePrefetch* catalogue = nullptr;
};

// The program's only main window.
class TfrmMain : public QWidget {
    Q_OBJECT
public:
    TfrmMain(Config& config, MainWindowServices services, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // Set-up and lifecycle.
    void FormCreate();
    Done initMainWindow();
    void applyEditionCaptions();
    void restorePlayModeUi();
    Done reloadCatalogue();
    void startSession();
    void FormShow();
    void FormDestroy();
    void restoreFromHandOver(); // another copy asked this one to show itself

    // The hidden audio player.
    void createAudioPlayer();
    void releaseAudioPlayer();
    void CloseMp3();
    MediaPlayer* audioPlayer() const { return m_audioPlayer.get(); }
    int audioPlayerGen() const { return m_audioPlayerGen; }

    // Playback.
    Done playProgramme(const LumoraPlayPtr& record);
    void ReplayClick();
    bool isLocalFile() const { return m_isLocalFile; }
    int fullScreenOn() const { return m_fullScreen.shown == FullScreen::Off ? 0 : 1; }
    // The news schedule's minute (shorter in end-to-end runs).
    void setSystemMsgMinute(int milliseconds);

    // Playlist.
    void TimerPlayListTimer();
    void setPlayState(PlayState state);
    Done playNext(bool byMode);
    Done playPrevious();
    void btnNextClick();
    void btnPreClick();
    void sbtnPlayModeClick();
    void setPlayMode(const QString& mode);
    void updateLoadBar(int position, int total);
    int FlvCurDownloadPercent(const QString& text);
    void setRandomSource(std::unique_ptr<RandomSource> random);

    // Transport bar.
    void btnPlayClick();
    void pnlPlayPosMouseDown(int x);
    void pnlPlayPosMouseMove(int x);
    void pnlPlayPosMouseUp();
    void pnlLoadPercentMouseDown(int x);
    void btnSoundClick();
    void imgSoundMouseMove();
    void pnlPlayFlvMouseMove();
    TransportBar& transportBar() { return *m_transport; }

    // Full screen.
    void sbtnFullScreenClick();
    void btnExitFullScreenClick();
    void hotKeyMessage();

    // Window chrome.
    void limgMaxClick();
    void limgNorClick();
    void imgTcDblClick();
    void imgTcMouseDown(Qt::MouseButtons buttons);
    void FormResize();
    void updateTreeScrollBar();
    void tv1MouseUp();
    void imgScrollMiddle2MouseDown(int y);
    void imgScrollMiddle2MouseMove(int y);
    void imgScrollMiddle2MouseUp();
    void maximise();

    // System messages.
    void TimerSystemMsgTimer();
    SystemMsgHolder& systemMessages() { return *m_systemMsg; }
    const class ApplicationEvents1& applicationEvents() const { return *m_applicationEvents; }
    std::int32_t systemMsgTicks() const { return m_schedule.systemMsgTicks(); }
    int restoreWidth() const { return m_restoreSize.width(); }
    int restoreHeight() const { return m_restoreSize.height(); }

    // Volume.
    void readSystemVolume();
    void TrackBar2Change();

    // Engine callbacks.
    void engineProgress(std::int32_t id, std::int32_t percent);

    // Handlers.
    void limgCloseClick();
    void N8Click();
    void sbtnMoreClick();
    void sbtnQQOnlineClick();
    void wbAdsDocumentComplete(bool topLevel);
    void wbBottomDocumentComplete(bool topLevel);
    void wbMp3DocumentComplete(bool topLevel);
    void tv1Click();
    void imgSearchClick();
    void delSearchResult();
    void edtkeyEnter();
    void edtkeyExit();
    void edtkeyChange();
    bool edtkeyKeyDown(int key); // true when the key was taken
    void tv1Expanded(int index);
    void tv1Collapsed(int index);

    // Catalogue.
    int getFirstPlay() const;
    int getChildCount(int index) const;
    const CatalogueTree& catalogue() const { return m_tree; }
    bool selectNode(int index); // false when there is no such node
    int selectedNode() const;   // -1 without a selection

signals:
    // A programme started: curPlay() is the new one.
    void programmeStarted();
    // setPlayState showed this state.
    void playStateShown(PlayState state);
    // The tick showed the programme's position and length in seconds.
    void timesShown(int position, int total);

public:
    bool isMaximized() const { return m_isMaximized; }
    const LumoraPlayPtr& curPlay() const { return m_curPlay; }
    void setCurPlay(LumoraPlayPtr record);
    WebPane& wbAds();
    WebPane& wbBottom();
    WebPane& wbMp3();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildComponents();
    void buildCatalogueColumn(QWidget* parent);
    void connectHandlers();
    void connectCatalogue();
    void syncExpansion();
    void clickFolder(int index); // the accordion's folder click, shown
    void loadRememberedProgramme();
    Outcome<QString> programmeSource(TLumoraPlay& record);
    std::unique_ptr<ProgrammePlayer> playerFor(const TLumoraPlay& record);
    Done startPlayer(TLumoraPlay& record);
    Done tick(ProgrammePlayer& player);
    void showTimes(int position, int total, KnobUnit unit);
    void setupFullScreen();
    void setFullScreenChrome(bool shown);
    Done selectAndClick(int index);
    Done openSelectedNode(); // what a click on the selected node does
    // A site's pane and the way its panel is shown or hidden.
    using ShowPanel = std::function<void(bool shown)>;
    void showSitePane(WebPane& pane, ShowPanel showPanel, const QString& address);
    void siteDocumentComplete(WebPane& pane, const ShowPanel& showPanel, const QString& address,
                              bool topLevel);

    Config& m_config;
    MainWindowServices m_services;
    CatalogueTree m_tree;
    LumoraPlayPtr m_curPlay;
    std::unique_ptr<ProgrammePlayer> m_player; // picked with m_curPlay, by its type
    bool m_isMaximized = false;
    bool m_sessionStarted = false;
    bool m_destroyed = false;
    int m_audioPlayerGen = 0;
    bool m_isLocalFile = false;
    // What is full screen now: nothing, the control's own window (the player movie's request),
    // or this window around the control (a Flash movie).
    enum class FullScreen { Off, Control, Window };
    struct FullScreenState {
        FullScreen shown = FullScreen::Off;
        QPoint origin;        // where the window stood before it covered the screen
        QRect normalGeometry; // the window's own geometry to come back to
        QShortcut* escapeKey = nullptr;
    } m_fullScreen;
    struct SeekDrag {
        bool active = false;
        int startX = 0;
    } m_seekDrag;
    bool m_playlistStopped = false; // moved nowhere at the end of the programme
    QSize m_restoreSize;
    SystemMsgSchedule m_schedule;
    std::uint64_t m_audioPageAsk = 0; // numbers the audio page questions
    std::unique_ptr<SystemMsgHolder> m_systemMsg;
    std::unique_ptr<RandomSource> m_random;

    // Components, named as the window's design names them.
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QTimer* TimerPlayList = nullptr;
    QTimer* TimerSystemMsg = nullptr;
    class ApplicationEvents1* m_applicationEvents = nullptr;
    PlayerArea* m_playerArea = nullptr; // pnlHomePageMain
    ExitFullScreenPanel* m_exitFullScreen = nullptr;

private:
    CaptionBar* m_captionBar = nullptr;
    StatusStrip* m_statusStrip = nullptr;
    CataloguePanel* pnlFunALl = nullptr; // the catalogue column
    std::unique_ptr<MediaPlayer> m_audioPlayer;
    TransportBar* m_transport = nullptr; // pnlPlayFlv
};

} // namespace lumora
