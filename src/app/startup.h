#pragma once

#include "config.h"
#include "dialogs.h"
#include "fileversion.h"
#include "flashfactory.h"
#include "runningcopy.h"
#include "singleinstance.h"
#include "windowsystem.h"

#include <QStringList>

#include <functional>
#include <optional>
#include <string>

namespace lumora {

// Class name of the main window, which other copies and the full product look for.
inline const QString kMainWindowClass = QStringLiteral("TfrmMain");
inline constexpr const char* kFlashMissingMessage =
    "您的系统还没有安装对Flash的支持，请安装后重试。";

// Sets editionCode and the application title, creates the edition's mutex and answers whether
// another copy of the edition runs.
bool applyEdition(Config& config, const std::optional<FileVersion>& version, NamedMutex& mutex,
                  const std::function<void(const QString&)>& setTitle);

// Finds the running copy's main window (same class, same program file name) and restores it;
// where the window system shows no such window, asks the copy through link (when given).
// Answers whether the running copy was reached.
bool handOverToRunningCopy(WindowSystem& windows, const QString& programPath,
                           RunningCopyLink* link = nullptr, const QString& mutexName = {});

// The first argument after the program's name, lower-cased, is "-start".
bool isStartSwitch(const QStringList& arguments);

// Creating the Flash control succeeds; a failure while freeing it does not count.
bool isFlashInstalled(FlashControlFactory& factory);

enum class EntryOutcome { HandedOver, FlashMissing, Run };

struct EntryPlatform {
    NamedMutex& mutex;
    WindowSystem& windows;
    Dialogs& dialogs;
    FlashControlFactory& flash;
    RunningCopyLink* link = nullptr; // the hand-over where windows cannot be looked up
};

// The entry steps up to the creation of the data module: edition, single instance, "-start"
// and the Flash check. Run means: create the data module and the main window now.
EntryOutcome runEntrySteps(Config& config, const std::optional<FileVersion>& version,
                           const QString& programPath, const QStringList& arguments,
                           EntryPlatform& platform,
                           const std::function<void(const QString&)>& setTitle);

} // namespace lumora
