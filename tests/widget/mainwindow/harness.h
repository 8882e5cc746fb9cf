#pragma once

#include "cataloguepanel.h"
#include "fakeengine.h"
#include "fakeflashcontrol.h"
#include "fakemediaplayer.h"
#include "fakeurlprobe.h"
#include "fakewebpane.h"
#include "mainwindow.h"
#include "platformfakes.h"
#include "support/tempdir.h"
#include "volume.h"

#include <QTimer>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace lumora::test {

// One log of what the window asked of its collaborators, in order.
using EventLog = std::vector<std::string>;

class LoggingEngine : public FakeEngine {
public:
    explicit LoggingEngine(EventLog& log) : m_log(log) {}
    std::function<void()> onInit;
    bool Initlumora(std::int32_t code, ProgressHandler handler) override {
        m_log.push_back("engine.init " + std::to_string(code));
        if (onInit)
            onInit();
        return FakeEngine::Initlumora(code, std::move(handler));
    }
    void UnInitlumora() override {
        m_log.push_back("engine.uninit");
        FakeEngine::UnInitlumora();
    }

private:
    EventLog& m_log;
};

class LoggingProbe : public FakeUrlProbe {
public:
    explicit LoggingProbe(EventLog& log) : m_log(log) {}
    bool isUrlReachable(const QString& address) override {
        m_log.push_back("probe " + address.toStdString());
        return FakeUrlProbe::isUrlReachable(address);
    }

private:
    EventLog& m_log;
};

class LoggingVolume : public ProgramVolume {
public:
    explicit LoggingVolume(EventLog& log) : m_log(log) {}
    std::uint32_t read() override {
        m_log.push_back("volume.read");
        return ProgramVolume::read();
    }

private:
    EventLog& m_log;
};

// An installation on disk, the fakes, and the window built on them.
struct Harness {
    // Edition 23 with a small catalogue, Source.ini, a local.ini and a platform.ini.
    Harness();
    // The same with the window asking `siteProbe` (a threaded one, say) instead of `probe`.
    explicit Harness(AsyncUrlProbe& siteProbe);

    TempDir root;
    Config config;
    EventLog log;
    FakeDialogs dialogs;
    FakeWindowSystem windows;
    FakeShell shell;
    LoggingProbe probe{log};
    InlineUrlProbe probeAtOnce{probe};      // answers before the window's call returns
    AsyncUrlProbe& siteProbe = probeAtOnce; // what the window asks
    FakeWebPaneFactory webPanes;
    LoggingEngine engine{log};
    FakeFlashControl flash;
    FakeMediaPlayerFactory media;
    LoggingVolume volume{log};
    std::vector<LumoraPlayPtr> played;
    std::function<void()> onPlay; // runs when a programme starts playing
    int terminated = 0;
    CataloguePrefetch* catalogue = nullptr; // handed to the window as read ahead
    std::unique_ptr<TfrmMain> window;

    void writeCatalogue(int channel, const QByteArray& xml);
    void writeLocalIni(const QByteArray& text);
    void writePlatformIni(const QByteArray& text);
    // Loads the configuration as the data module does and builds the window.
    TfrmMain& create();
    FakeWebPane& pane(const char* objectName);
    QString iniValue(const QString& key) const;
};

// One of the window's parts (its caption bar, status strip...), reached as a test reaches it.
template <typename Part> Part& part(TfrmMain& window) {
    if (Part* found = window.findChild<Part*>())
        return *found;
    throw std::logic_error("the window has no such part");
}
// A child of the window or of a part by its design name (objectName).
template <typename T> T& named(QObject& parent, const char* objectName) {
    if (T* found = parent.findChild<T*>(QString::fromLatin1(objectName)))
        return *found;
    throw std::logic_error(std::string("nothing named ") + objectName);
}
inline QTimer& playListTimer(TfrmMain& window) {
    return named<QTimer>(window, "TimerPlayList");
}
inline QTimer& systemMsgTimer(TfrmMain& window) {
    return named<QTimer>(window, "TimerSystemMsg");
}
// A left click, as the mouse gives it, on the control of that name inside a part.
void clickOn(QWidget& part, const char* control);
// The catalogue panel's own widget of that name, for checks of the widget itself.
template <typename T> T* catalogueWidget(TfrmMain& w, const char* name) {
    return part<CataloguePanel>(w).findChild<T*>(QString::fromLatin1(name));
}

// A catalogue of channel 23: two folders with programmes, a folder inside the second.
QByteArray sampleCatalogue();
// Programmes of the sample catalogue by absolute index.
inline constexpr int kFlashB = 1, kVideoP = 2, kAudioA = 4;
// Selects the node at that index and clicks it, as a person would; fails the test without it.
void click(TfrmMain& w, int index);

} // namespace lumora::test
