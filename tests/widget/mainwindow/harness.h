#pragma once

#include "fakeengine.h"
#include "fakeflashcontrol.h"
#include "fakemediaplayer.h"
#include "fakeurlprobe.h"
#include "fakewebpane.h"
#include "mainwindow.h"
#include "platformfakes.h"
#include "support/tempdir.h"
#include "volume.h"

#include <memory>
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
    // The same with the window probing through `siteProbe` (a real one, say) instead of `probe`.
    explicit Harness(UrlProbe& siteProbe);

    TempDir root;
    Config config;
    EventLog log;
    FakeDialogs dialogs;
    FakeWindowSystem windows;
    FakeShell shell;
    LoggingProbe probe{log};
    UrlProbe& siteProbe = probe; // what the window probes with
    FakeWebPaneFactory webPanes;
    LoggingEngine engine{log};
    FakeFlashControl flash;
    FakeMediaPlayerFactory media;
    LoggingVolume volume{log};
    std::vector<LumoraPlayPtr> played;
    std::function<void()> onPlay; // runs when a programme starts playing
    int terminated = 0;
    std::unique_ptr<TfrmMain> window;

    void writeCatalogue(int channel, const QByteArray& xml);
    void writeLocalIni(const QByteArray& text);
    void writePlatformIni(const QByteArray& text);
    // Loads the configuration as the data module does and builds the window.
    TfrmMain& create();
    FakeWebPane& pane(const char* objectName);
    QString iniValue(const QString& key) const;
};

// A catalogue of channel 23: two folders with programmes, a folder inside the second.
QByteArray sampleCatalogue();

} // namespace lumora::test
