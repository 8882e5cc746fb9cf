#include "datamodule.h"

#include "inifile.h"
#include "inistore.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

namespace lumora {
namespace {

bool isFile(const QString& path) {
    return QFileInfo(path).isFile();
}

// local.ini as created at first start, in this order.
const std::pair<QString, QString> kLocalDefaults[] = {
    {ini::KeyStartCount, QStringLiteral("0")},
    {ini::KeyClientCode, QStringLiteral("33554455")},
    {QStringLiteral("7"), QStringLiteral("100090")},
    {ini::KeyCloseAction, QStringLiteral("1")},
    {QStringLiteral("9"), QStringLiteral("0")},
    {ini::KeyDownloadDir, QString()},
    {ini::KeyPlayMode, QStringLiteral("0")},
    {ini::KeyCacheDir, QString()},
};

// An empty directory value falls back to a folder of dataDir, created when missing.
QString defaultDirectory(const QString& value, const QString& dataDir, const QString& sub) {
    if (!value.isEmpty())
        return value;
    const QString dir = dataDir + sub;
    QDir().mkpath(dir);
    return dir;
}

// A write of the settings takes milliseconds; a temporary file this old belongs to no write
// still running, in this copy or in another edition sharing the installation.
constexpr std::chrono::minutes kLeftoverAge{10};

} // namespace

TDataModule1::TDataModule1(Config& config, QString programFilePath)
    : m_config(config), m_programFilePath(std::move(programFilePath)) {}

void TDataModule1::DataModuleCreate() {
    initLocalConfig();
    loadConfig();
}

void TDataModule1::initLocalConfig() {
    m_config.appDir = QFileInfo(m_programFilePath).absolutePath() + QLatin1Char('/');
    m_config.dataDir = m_config.appDir;
    m_config.localIniPath = m_config.dataDir + ini::LocalIni;
    IniFile::removeLeftoverTemporaries(m_config.localIniPath, kLeftoverAge);
    if (QFileInfo::exists(m_config.localIniPath))
        return;
    // The folder is "Config" (the original created "config", the same on its file system).
    if (!QDir().mkpath(m_config.dataDir + ini::ConfigDir))
        return;
    IniFile defaults;
    for (const auto& [key, value] : kLocalDefaults)
        defaults.setValue(ini::Section, key, value);
    (void)defaults.save(m_config.localIniPath); // the program goes on without the file
}

void TDataModule1::loadConfig() {
    loadLocalIni();
    if (!loadSourceMarker())
        return;
    loadPlatformIni();
}

void TDataModule1::loadLocalIni() {
    Config& c = m_config;
    if (!isFile(c.localIniPath))
        return;
    const Outcome<IniFile> file = IniFile::load(c.localIniPath);
    if (!file)
        return;
    const auto read = [&](const QString& key, const QString& fallback) {
        return file->value(ini::SectionRead, key, fallback);
    };
    const QString zero = QStringLiteral("0");
    // The stage ends at a key that is no integer; later keys keep their start values.
    const Outcome<int> startCount = toIniInteger(read(ini::KeyStartCount, zero));
    if (!startCount)
        return;
    c.startCount = *startCount;
    const Outcome<int> clientCode =
        toIniInteger(read(ini::KeyClientCode, QStringLiteral("33554455")));
    if (!clientCode)
        return;
    c.clientCode = *clientCode;
    c.closeAction = read(ini::KeyCloseAction, zero);
    c.downloadDir = read(ini::KeyDownloadDir, QString());
    c.playMode = read(ini::KeyPlayMode, zero);
    c.cacheDir = read(ini::KeyCacheDir, QString());
    c.downloadDir = defaultDirectory(c.downloadDir, c.dataDir, ini::DownloadDir);
    c.cacheDir = defaultDirectory(c.cacheDir, c.dataDir, ini::CacheDir);
}

bool TDataModule1::loadSourceMarker() {
    if (isFile(m_config.appDir + ini::SourceIni))
        return true;
    m_config.editionCode = -1;
    return false;
}

void TDataModule1::loadPlatformIni() {
    Config& c = m_config;
    const QString path = c.appDir + ini::PlatformIni;
    if (!isFile(path))
        return;
    const Outcome<IniFile> file = IniFile::load(path);
    if (!file)
        return; // unreadable: the addresses stay empty
    const auto read = [&](const QString& key, const QString& fallback) {
        return file->value(ini::SectionRead, key, fallback);
    };
    c.urlHome = read(ini::KeyUrlHome, kSiteHost);
    c.urlDownload = read(ini::KeyUrlDownload, kDownloadHost + QStringLiteral("/"));
    c.urlMp3Page = read(ini::KeyUrlMp3Page, kSiteHost + QStringLiteral("/Mp3PageHtml/Mp3PageHtml"));
    c.urlMiniIndex = read(ini::KeyUrlMiniIndex, kSiteHost + QStringLiteral("/mini_index.html"));
    c.urlOnlineService = read(ini::KeyUrlOnlineService, QString());
    c.urlStatusBarAd =
        read(ini::KeyUrlStatusBarAd, kSiteHost + QStringLiteral("/ad/StatusBar.html"));
    c.urlChannelAds =
        read(ini::KeyUrlChannelAds, kSiteHost + QStringLiteral("/ad/ChannelAds.html"));
}

void countStart(const Config& config) {
    writeIniValue(config.localIniPath, ini::Section, ini::KeyStartCount,
                  QString::number(config.startCount + 1));
}

} // namespace lumora
