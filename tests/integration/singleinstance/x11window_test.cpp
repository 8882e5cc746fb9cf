#include "application.h"
#include "startup.h"
#include "support/eventwait.h"
#include "x11windowsystem.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QWidget>

#include <gtest/gtest.h>

using namespace lumora;

TEST(X11WindowSystem, FindsOurHiddenWindowByClassAndProgramFile) {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    X11WindowSystem windows;
    QWidget window;
    window.setWindowTitle(QString::fromUtf8("宝宝学识字"));
    const auto id = NativeWindow(window.winId()); // created, never shown
    windows.setWindowClass(id, "lumora-channel", kMainWindowClass);
    QCoreApplication::processEvents();

    const QString ownPath = QCoreApplication::applicationFilePath();
    const QString ownName = QFileInfo(ownPath).fileName();
    EXPECT_EQ(windows.findInstanceWindow("tfrmmain", ownPath), id);
    // Another folder, the same file name in other letter case: still our copy.
    EXPECT_EQ(windows.findInstanceWindow("TfrmMain", "/elsewhere/" + ownName.toUpper()), id);
    EXPECT_EQ(windows.findInstanceWindow("TfrmMain", "/x/other-program"), std::nullopt);
    EXPECT_EQ(windows.findInstanceWindow("QWidget", ownPath), std::nullopt);
    EXPECT_EQ(windows.findWindow("TfrmMain", QString::fromUtf8("宝宝学识字")), id);
    EXPECT_EQ(windows.findWindow("TfrmMain", "Lumora"), std::nullopt);
}

TEST(X11WindowSystem, RestoreRequestReachesTheRunningCopy) {
    X11WindowSystem windows;
    QWidget window;
    const auto id = NativeWindow(window.winId());
    int restores = 0;
    RestoreRequestFilter filter([&] { ++restores; });
    qApp->installNativeEventFilter(&filter);
    windows.restoreAndActivate(id);
    test::waitUntil([&] { return restores > 0; }, 3000);
    qApp->removeNativeEventFilter(&filter);
    EXPECT_EQ(restores, 1);
}
