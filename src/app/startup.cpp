#include "startup.h"

#include "edition.h"

namespace lumora {

bool applyEdition(Config& config, const std::optional<FileVersion>& version, NamedMutex& mutex,
                  const std::function<void(const QString&)>& setTitle) {
    config.editionCode = getEditionCode(version);
    const Edition& edition = editionFor(config.editionCode);
    setTitle(QString::fromUtf8(edition.appTitle));
    return mutex.createAlreadyExists(QString::fromUtf8(edition.mutexName));
}

bool handOverToRunningCopy(WindowSystem& windows, const QString& programPath, RunningCopyLink* link,
                           const QString& mutexName) {
    const auto window = windows.findInstanceWindow(kMainWindowClass, programPath);
    if (!window)
        return link && link->askToShow(mutexName);
    windows.restoreAndActivate(*window);
    return true;
}

bool isStartSwitch(const QStringList& arguments) {
    return arguments.size() > 1 && arguments.at(1).toLower() == QLatin1String("-start");
}

bool isFlashInstalled(FlashControlFactory& factory) {
    Outcome<std::unique_ptr<FlashInstance>> created = factory.create();
    if (!created)
        return false;
    std::unique_ptr<FlashInstance> instance = std::move(created).value();
    try {
        if (instance)
            instance->release();
    } catch (...) {
        // Only the creation tells whether the control is installed.
    }
    return instance != nullptr;
}

EntryOutcome runEntrySteps(Config& config, const std::optional<FileVersion>& version,
                           const QString& programPath, const QStringList& arguments,
                           EntryPlatform& platform,
                           const std::function<void(const QString&)>& setTitle) {
    if (applyEdition(config, version, platform.mutex, setTitle)) {
        handOverToRunningCopy(platform.windows, programPath, platform.link,
                              QString::fromUtf8(editionFor(config.editionCode).mutexName));
        return EntryOutcome::HandedOver;
    }
    if (isStartSwitch(arguments))
        config.hideOnStart = true;
    if (!isFlashInstalled(platform.flash)) {
        platform.dialogs.showPlain(QString::fromUtf8(kFlashMissingMessage),
                                   QString::fromUtf8(kHintCaption));
        return EntryOutcome::FlashMissing;
    }
    return EntryOutcome::Run;
}

} // namespace lumora
