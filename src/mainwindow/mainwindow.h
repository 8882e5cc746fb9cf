#pragma once

#include "cataloguetree.h"
#include "config.h"
#include "lumoraplay.h"
#include "systemmsgschedule.h"

#include <QIcon>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QShortcut;
class QSlider;
class QStackedWidget;
class QTabWidget;
class QTimer;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace lumora {

// Item data holding a tree item's absolute index.
inline constexpr int kTreeIndexRole = Qt::UserRole + 1;

class Dialogs;
class Engine;
class FlashControl;
class RandomSource;
class MediaPlayer;
class MediaPlayerFactory;
class WaveOutVolume;
class Shell;
class UrlProbe;
class WebPane;
class WebPaneFactory;
class WindowSystem;
class tLxsimage;
class SystemMsgHolder;
class ApplicationEvents1;

// The platform parts and collaborators the main window uses; created in main only.
struct MainWindowServices {
    Dialogs& dialogs;
    WindowSystem& windows;
    Shell& shell;
    UrlProbe& probe;
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
};

// The program's only main window.
class TfrmMain : public QWidget {
    Q_OBJECT
public:
    TfrmMain(Config& config, MainWindowServices services, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // Set-up and lifecycle.
    void FormCreate();
    void initMainWindow();
    void applyEditionCaptions();
    void restorePlayModeUi();
    void reloadCatalogue();
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
    void playProgramme(const LumoraPlayPtr& record);
    void ReplayClick();
    bool isLocalFile() const { return m_isLocalFile; }
    int fullScreenOn() const { return m_fullScreenOn; }

    // Playlist.
    void TimerPlayListTimer();
    void setPlayState(int n);
    void playNext(bool byMode);
    void playPrevious();
    void btnNextClick();
    void btnPreClick();
    void sbtnPlayModeClick();
    void setPlayMode(const QString& mode);
    void updateLoadBar(int position, int total);
    int FlvCurDownloadPercent(const QString& text);
    static bool isFlashMovieEnded(int frameNum, int total);
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
    bool soundOn() const { return m_soundOn; }

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
    std::int32_t systemMsgTicks() const { return m_schedule.systemMsgTicks(); }
    int restoreWidth() const { return m_restoreWidth; }
    int restoreHeight() const { return m_restoreHeight; }

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
    void tv1Expanded(QTreeWidgetItem* item);
    void tv1Collapsed(QTreeWidgetItem* item);

    // Catalogue.
    int getFirstPlay() const;
    int getChildCount(int index) const;
    const CatalogueTree& catalogue() const { return m_tree; }
    bool selectNode(int index); // false when there is no such node
    int selectedNode() const;   // -1 without a selection

signals:
    // A programme started: curPlay() is the new one.
    void programmeStarted();

public:
    bool isMaximized() const { return m_isMaximized; }
    const LumoraPlayPtr& curPlay() const { return m_curPlay; }
    void setCurPlay(LumoraPlayPtr record) { m_curPlay = std::move(record); }
    WebPane& wbAds() { return *m_wbAds; }
    WebPane& wbBottom() { return *m_wbBottom; }
    WebPane& wbMp3() { return *m_wbMp3; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildComponents();
    void buildTopBar();
    void buildCatalogueColumn(QWidget* parent);
    void buildPlayerColumn(QWidget* parent);
    void buildStatusBar(QWidget* parent);
    void buildPlayModeMenu();
    void connectHandlers();
    void setupTreeAppearance();
    void rebuildTreeItems();
    void appendTreeItems(int first);
    void rebuildTreeItemsFrom(int first); // -1: everything
    int treeTailStart() const;            // first node a search may change, or -1
    // Runs a change of the tree's structure and brings the items up to date.
    template <typename Change> auto changeTree(Change&& change) {
        const int first = treeTailStart();
        auto result = change();
        rebuildTreeItemsFrom(first);
        return result;
    }
    void syncExpansion();
    void loadRememberedProgramme();
    QString programmeSource(TLumoraPlay& record);
    void startByType(TLumoraPlay& record);
    void tickFlash();
    void tickAudio();
    void tickVideo();
    void moveKnob(int position, int total);
    int knobPosition(int total) const;
    void showTimes(int position, int total);
    void showFrameTimes(int position, int total);
    void centreKnobAt(int x);
    void setupFullScreen();
    void setFullScreenChrome(bool shown);
    void buildScrollBar();
    void layoutCaption();
    void connectCaptionButton(tLxsimage* button, const QString& pictures);
    bool handleBarMouse(QObject* watched, QEvent* event);
    void selectAndClick(int index);
    QIcon imageList2(int index) const;
    void showSitePane(WebPane& pane, QWidget& panel, const QString& address);
    void siteDocumentComplete(WebPane& pane, QWidget& panel, const QString& address, bool topLevel);

    Config& m_config;
    MainWindowServices m_services;
    CatalogueTree m_tree;
    std::vector<QTreeWidgetItem*> m_items; // by absolute index
    LumoraPlayPtr m_curPlay;
    bool m_isMaximized = false;
    bool m_sessionStarted = false;
    bool m_destroyed = false;
    int m_audioPlayerGen = 0;
    bool m_isLocalFile = false;
    int m_fullScreenOn = 0;
    bool m_seekDragging = false;
    bool m_finishedNoticeShown = false;
    int m_dragStartX = 0;
    bool m_soundOn = true;
    QPoint m_fullScreenOrigin;
    QRect m_normalGeometry;
    int m_restoreWidth = 0;
    int m_restoreHeight = 0;
    QShortcut* m_escapeKey = nullptr;
    bool m_thumbDragging = false;
    int m_thumbGrabY = 0;
    SystemMsgSchedule m_schedule;
    std::unique_ptr<SystemMsgHolder> m_systemMsg;
    std::unique_ptr<RandomSource> m_random;

public:
    // Components, named as the window's design names them.
    QFrame* pnlTop = nullptr;
    QLabel* imgTl = nullptr;
    QLabel* imgTc = nullptr;
    QLabel* imgTr = nullptr;
    QLabel* imgLogo = nullptr;
    QLabel* lblSysVer = nullptr;
    QLabel* lblHint = nullptr;
    tLxsimage* limgMin = nullptr;
    tLxsimage* limgMax = nullptr;
    tLxsimage* limgNor = nullptr;
    tLxsimage* limgClose = nullptr;
    QFrame* pnlGame = nullptr;
    QFrame* pnlGameC = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QFrame* pnlMain = nullptr;
    QFrame* pnlFunALl = nullptr;
    QFrame* pnlSearch = nullptr;
    QLabel* imgSearchBg = nullptr;
    QLineEdit* edtkey = nullptr;
    QLabel* imgSearch = nullptr;
    QFrame* pnlFuncTree = nullptr;
    QTreeWidget* tv1 = nullptr;
    QFrame* pnlScroll = nullptr;
    QLabel* imgScrollTop = nullptr;
    QLabel* imgScrollMiddle = nullptr;
    QLabel* imgScrollBottom = nullptr;
    QLabel* imgScrollTop2 = nullptr;
    QLabel* imgScrollMiddle2 = nullptr;
    QLabel* imgScrollBottom2 = nullptr;
    QFrame* pnlAds = nullptr;
    QFrame* pnlHomePageMain = nullptr;
    QFrame* pnlwbMain = nullptr;
    QFrame* pnlPlay = nullptr;
    QStackedWidget* pnlplayMain = nullptr;
    QWidget* ShockwaveFlash1 = nullptr;
    QFrame* pnlPlayFlv = nullptr;
    QFrame* pnlPlayTrackBar = nullptr;
    QFrame* pnlLoadAll = nullptr;
    QFrame* pnlLoadPercent = nullptr;
    QFrame* pnlPlayPos = nullptr;
    QPushButton* btnPre = nullptr;
    QPushButton* btnPlay = nullptr;
    QPushButton* btnNext = nullptr;
    QLabel* lblStatus = nullptr;
    QPushButton* btnSound = nullptr;
    tLxsimage* imgSound = nullptr;
    QToolButton* sbtnPlayMode = nullptr;
    QToolButton* sbtnFullScreen = nullptr;
    QLabel* lblTime = nullptr;
    QFrame* pnlVolume = nullptr;
    QSlider* TrackBar2 = nullptr;
    QFrame* pnlStatus = nullptr;
    QLabel* lblSysVersion = nullptr;
    QToolButton* sbtnQQOnline = nullptr;
    QLabel* lblWeb = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QFrame* pnlStatusBarAds = nullptr;
    QFrame* pnlExitFullScreen = nullptr;
    QPushButton* btnExitFullScreen = nullptr;
    QMenu* pMenuPlayMode = nullptr;
    QTimer* TimerPlayList = nullptr;
    QTimer* TimerSystemMsg = nullptr;
    class ApplicationEvents1* ApplicationEvents1 = nullptr;

private:
    std::unique_ptr<WebPane> m_wbAds;
    std::unique_ptr<WebPane> m_wbBottom;
    std::unique_ptr<WebPane> m_wbMp3;
    std::unique_ptr<MediaPlayer> m_audioPlayer;
};

} // namespace lumora
