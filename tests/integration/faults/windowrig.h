#pragma once

#include "fakeengine.h"
#include "fakeflashcontrol.h"
#include "fakemediaplayer.h"
#include "fakewebpane.h"
#include "mainwindow.h"
#include "platformfakes.h"
#include "support/tempdir.h"
#include "volume.h"

#include <QByteArray>

#include <memory>

namespace lumora::test {

// An installation of edition 23 on disk, fakes for every platform part except the probe, which
// the test gives, and the main window built on them.
struct WindowRig {
    explicit WindowRig(UrlProbe& probe);

    TempDir root;
    Config config;
    FakeDialogs dialogs;
    FakeWindowSystem windows;
    FakeShell shell;
    UrlProbe& probe;
    FakeWebPaneFactory webPanes;
    FakeEngine engine;
    FakeFlashControl flash;
    FakeMediaPlayerFactory media;
    ProgramVolume volume;
    std::unique_ptr<TfrmMain> window;

    void writeCatalogue(const QByteArray& xml);
    void writePlatformIni(const QByteArray& text);
    // Loads the configuration as the data module does and builds the window (its set-up runs).
    TfrmMain& create();
};

} // namespace lumora::test
