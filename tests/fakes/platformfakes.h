#pragma once

#include "dialogs.h"
#include "flashfactory.h"
#include "runningcopy.h"
#include "shell.h"
#include "singleinstance.h"
#include "windowsystem.h"

#include <QString>
#include <QStringList>

#include <map>
#include <stdexcept>
#include <vector>

namespace lumora::test {

// Records every message box; confirm answers what the test says.
class FakeDialogs : public Dialogs {
public:
    struct Shown {
        QString kind; // "info", "plain", "confirm", "error"
        QString text;
        QString caption;
    };
    std::vector<Shown> shown;
    bool confirmAnswer = true;

    void showInfo(const QString& text) override {
        shown.push_back({"info", text, QString::fromUtf8(kHintCaption)});
    }
    void showPlain(const QString& text, const QString& caption) override {
        shown.push_back({"plain", text, caption});
    }
    bool confirm(const QString& text, const QString& caption) override {
        shown.push_back({"confirm", text, caption});
        return confirmAnswer;
    }
    void showError(const QString& text) override { shown.push_back({"error", text, {}}); }
};

// A window list the test fills.
class FakeWindowSystem : public WindowSystem {
public:
    struct Window {
        NativeWindow id;
        QString className;
        QString title;
        QString programFileName;
    };
    std::vector<Window> windows;
    std::vector<NativeWindow> restored;
    std::map<NativeWindow, QString> classes;

    std::optional<NativeWindow> findInstanceWindow(const QString& className,
                                                   const QString& programPath) override {
        const QString name = programPath.section(QLatin1Char('/'), -1);
        for (const Window& w : windows)
            if (w.className.compare(className, Qt::CaseInsensitive) == 0 &&
                w.programFileName.compare(name, Qt::CaseInsensitive) == 0)
                return w.id;
        return std::nullopt;
    }
    std::optional<NativeWindow> findWindow(const QString& className,
                                           const QString& title) override {
        for (const Window& w : windows)
            if (w.className.compare(className, Qt::CaseInsensitive) == 0 && w.title == title)
                return w.id;
        return std::nullopt;
    }
    void restoreAndActivate(NativeWindow window) override { restored.push_back(window); }
    void setWindowClass(NativeWindow window, const QString&, const QString& className) override {
        classes[window] = className;
    }
};

// Mutex names already held by "another copy".
class FakeNamedMutex : public NamedMutex {
public:
    QStringList held;
    QStringList created;
    bool createAlreadyExists(const QString& name) override {
        created << name;
        return held.contains(name);
    }
};

// Records which editions were asked to show themselves; answers whether one runs.
class FakeRunningCopyLink : public RunningCopyLink {
public:
    bool answers = true;
    QStringList asked;
    bool askToShow(const QString& mutexName) override {
        asked << mutexName;
        return answers;
    }
};

class FakeFlashFactory : public FlashControlFactory {
public:
    bool installed = true;
    bool releaseThrows = false;
    int created = 0;

    Outcome<std::unique_ptr<FlashInstance>> create() override {
        if (!installed)
            return Failure{QStringLiteral("class not registered")};
        ++created;
        struct Instance : FlashInstance {
            bool throws;
            explicit Instance(bool t) : throws(t) {}
            void release() override {
                if (throws)
                    throw std::runtime_error("release failed");
            }
        };
        return std::make_unique<Instance>(releaseThrows);
    }
};

class FakeShell : public Shell {
public:
    QStringList opened;
    QStringList started;
    bool startSucceeds = true;
    void openUrl(const QString& address) override { opened << address; }
    bool startProgram(const QString& path) override {
        started << path;
        return startSucceeds;
    }
};

} // namespace lumora::test
