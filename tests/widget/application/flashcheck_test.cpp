// The Flash check at start: the emulator's files and the web engine's helper process.
#include "qtdialogs.h"
#include "support/tempdir.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace lumora;
using lumora::test::TempDir;

namespace {

constexpr auto kRunnable = QFileDevice::ReadOwner | QFileDevice::ExeOwner;

// dir/name as a file with the given permissions.
QString placeFile(const TempDir& dir, const QString& name, QFileDevice::Permissions mode) {
    dir.write(name, "#!/bin/sh\n");
    QFile::setPermissions(dir.file(name), mode);
    return dir.file(name);
}

} // namespace

TEST(FlashCheck, HelperIsFoundWhereTheWebEngineLooks) {
    TempDir dir;
    const QString inLibexec = placeFile(dir, "libexec/QtWebEngineProcess", kRunnable);
    const QString inProgram = placeFile(dir, "program/QtWebEngineProcess", kRunnable);
    const QString libexec = dir.file("libexec"), program = dir.file("program");
    const QString none = dir.file("none");
    const struct {
        QString environment, libexec, program, found;
    } cases[] = {
        {"", libexec, program, inLibexec},
        {"", none, program, inProgram},
        {"", none, none, ""},
        {inProgram, libexec, program, inProgram}, // the variable alone counts when set
        {dir.file("none/QtWebEngineProcess"), libexec, program, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(webEngineHelperPath(c.environment, c.libexec, c.program), c.found)
            << c.environment.toStdString() << " " << c.libexec.toStdString();
}

TEST(FlashCheck, TheEmulatorAndARunnableHelperAreBothNeeded) {
    const struct {
        const char* label;
        bool ruffle;
        const char* helper; // "" none, "x" runnable, "-" not runnable, "d" a folder
        bool installed;
    } cases[] = {
        {"both there", true, "x", true},           {"no emulator", false, "x", false},
        {"helper not runnable", true, "-", false}, {"helper a folder", true, "d", false},
        {"helper missing", true, "", false},
    };
    const QByteArray saved = qgetenv("QTWEBENGINEPROCESS_PATH");
    for (const auto& c : cases) {
        TempDir dir;
        if (c.ruffle)
            dir.write("app/ruffle/ruffle.js", "");
        const QString helper = dir.file("QtWebEngineProcess");
        if (c.helper == std::string("x") || c.helper == std::string("-"))
            placeFile(dir, "QtWebEngineProcess",
                      c.helper == std::string("x") ? kRunnable : QFileDevice::ReadOwner);
        else if (c.helper == std::string("d"))
            dir.write("QtWebEngineProcess/x", "");
        qputenv("QTWEBENGINEPROCESS_PATH", QFile::encodeName(helper));
        RuffleFlashFactory factory(dir.file("app/"));
        EXPECT_EQ(factory.create().ok(), c.installed) << c.label;
    }
    qputenv("QTWEBENGINEPROCESS_PATH", saved);
}
