#pragma once

#include <QString>

namespace lumora {

// The process-wide configuration values, loaded once at start-up. Paths use '/' and every
// directory value ends with '/'.
struct Config {
    QString appDir;
    QString dataDir;
    QString localIniPath;
    int editionCode = 0;
    bool hideOnStart = false;

    // local.ini
    int startCount = 0;
    int clientCode = 0;
    QString closeAction;
    QString downloadDir;
    QString playMode;
    QString cacheDir;

    // platform.ini
    QString urlHome;
    QString urlDownload;
    QString urlMp3Page;
    QString urlMiniIndex;
    QString urlOnlineService;
    QString urlStatusBarAd;
    QString urlChannelAds;

    // The catalogue shown and the programme last opened in it.
    int currentChannel = 0;
    int currentNodeIndex = 0;
};

// Keys and defaults of the INI files, defined once.
namespace ini {
inline const QString Section = QStringLiteral("Info");
inline const QString SectionRead = QStringLiteral("info"); // the same section, as it is read
inline const QString LocalIni = QStringLiteral("Config/local.ini");
inline const QString PlatformIni = QStringLiteral("Config/platform.ini");
inline const QString SourceIni = QStringLiteral("../Config/Source.ini");
inline const QString ConfigDir = QStringLiteral("Config");
inline const QString DownloadDir = QStringLiteral("DL/");
inline const QString CacheDir = QStringLiteral("Caches/");

inline const QString KeyStartCount = QStringLiteral("1");
inline const QString KeyClientCode = QStringLiteral("6");
inline const QString KeyCloseAction = QStringLiteral("8");
inline const QString KeyDownloadDir = QStringLiteral("10");
inline const QString KeyPlayMode = QStringLiteral("11");
inline const QString KeyCacheDir = QStringLiteral("12");
// Ours: the program's volume, which the system kept for the original.
inline const QString KeyVolume = QStringLiteral("Volume");

inline const QString KeyUrlHome = QStringLiteral("1");
inline const QString KeyUrlDownload = QStringLiteral("3");
inline const QString KeyUrlMp3Page = QStringLiteral("10");
inline const QString KeyUrlMiniIndex = QStringLiteral("11");
inline const QString KeyUrlOnlineService = QStringLiteral("12");
inline const QString KeyUrlStatusBarAd = QStringLiteral("14");
inline const QString KeyUrlChannelAds = QStringLiteral("15");
} // namespace ini

// The service's two hosts.
inline const QString kSiteHost = QStringLiteral("http://www.lumora.example");
inline const QString kDownloadHost = QStringLiteral("http://down.lumora.example");

} // namespace lumora
