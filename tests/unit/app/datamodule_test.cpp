#include "datamodule.h"
#include "inistore.h"
#include "support/tempdir.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace lumora;
using lumora::test::TempDir;

namespace {

// An installation: ROOT/Client/lumora-channel with ROOT/Config/Source.ini beside Client.
struct Installation {
    TempDir root;
    Config config;

    explicit Installation(bool withSource = true) {
        root.write("Client/lumora-channel", "");
        if (withSource)
            root.write("Config/Source.ini", "[Info]\n");
    }
    QString client(const QString& rel) const { return root.file("Client/" + rel); }
    void writeClient(const QString& rel, const QByteArray& bytes) {
        root.write("Client/" + rel, bytes);
    }
    void start() { TDataModule1(config, client("lumora-channel")).DataModuleCreate(); }
};

} // namespace

TEST(DataModule, FirstStartCreatesLocalIniWithTheEightKeysInOrder) {
    Installation inst;
    inst.start();
    EXPECT_EQ(inst.root.read("Client/Config/local.ini"),
              "[Info]\n1=0\n6=33554455\n7=100090\n8=1\n9=0\n10=\n11=0\n12=\n");
    const Config& c = inst.config;
    EXPECT_EQ(c.appDir, inst.client(""));
    EXPECT_EQ(c.localIniPath, inst.client("Config/local.ini"));
    EXPECT_EQ(c.closeAction, "1"); // the file's value, not the read default "0"
    EXPECT_EQ(c.clientCode, 33554455);
    EXPECT_EQ(c.playMode, "0");
    EXPECT_EQ(c.downloadDir, inst.client("DL/"));
    EXPECT_EQ(c.cacheDir, inst.client("Caches/"));
    EXPECT_TRUE(QFileInfo(c.downloadDir).isDir());
    EXPECT_TRUE(QFileInfo(c.cacheDir).isDir());
}

TEST(DataModule, AbsentKeysTakeTheReadDefaults) {
    Installation inst;
    inst.writeClient("Config/local.ini", "[iNFO]\n");
    inst.start();
    EXPECT_EQ(inst.config.startCount, 0);
    EXPECT_EQ(inst.config.clientCode, 33554455);
    EXPECT_EQ(inst.config.closeAction, "0");
    EXPECT_EQ(inst.config.downloadDir, inst.client("DL/"));
}

TEST(DataModule, DirectoriesGivenInTheFileAreKeptAsTheyAre) {
    Installation inst;
    inst.writeClient("Config/local.ini", "[Info]\n1=4\n10=/nowhere/dl/\n12=\n");
    inst.start();
    EXPECT_EQ(inst.config.startCount, 4);
    EXPECT_EQ(inst.config.downloadDir, "/nowhere/dl/");
    EXPECT_FALSE(QFileInfo::exists("/nowhere/dl/"));
    EXPECT_EQ(inst.config.cacheDir, inst.client("Caches/")); // empty value: the default folder
}

TEST(DataModule, AStartCountThatIsNoNumberEndsTheLocalStage) {
    Installation inst;
    inst.writeClient("Config/local.ini", "[Info]\n1=abc\n6=5\n8=1\n11=2\n");
    inst.start();
    EXPECT_EQ(inst.config.startCount, 0);
    EXPECT_EQ(inst.config.clientCode, 0);
    EXPECT_EQ(inst.config.closeAction, "");
    EXPECT_EQ(inst.config.playMode, "");
    EXPECT_EQ(inst.config.downloadDir, ""); // the directory defaults are not applied
    // The main window's set-up then counts this start as the first one.
    countStart(inst.config);
    EXPECT_EQ(readIniValue(inst.config.localIniPath, "Info", "1").value(), "1");
}

TEST(DataModule, MissingSourceMarkerIgnoresPlatformIni) {
    Installation inst(false);
    inst.writeClient("Config/platform.ini", "[Info]\n1=http://site\n");
    inst.config.editionCode = 23;
    inst.start();
    EXPECT_EQ(inst.config.editionCode, -1);
    EXPECT_TRUE(inst.config.urlHome.isEmpty());
    EXPECT_TRUE(inst.config.urlStatusBarAd.isEmpty());
    EXPECT_EQ(inst.config.closeAction, "1"); // local.ini is still read
}

TEST(DataModule, PlatformIniValuesAndDefaults) {
    Installation inst;
    inst.config.editionCode = 23;
    inst.writeClient("Config/platform.ini", "[info]\n1=http://127.0.0.1:8080\n12=http://qq\n");
    inst.start();
    const Config& c = inst.config;
    EXPECT_EQ(c.editionCode, 23);
    EXPECT_EQ(c.urlHome, "http://127.0.0.1:8080");
    EXPECT_EQ(c.urlOnlineService, "http://qq");
    EXPECT_EQ(c.urlDownload, kDownloadHost + "/");
    EXPECT_EQ(c.urlMp3Page, kSiteHost + "/Mp3PageHtml/Mp3PageHtml");
    EXPECT_EQ(c.urlMiniIndex, kSiteHost + "/mini_index.html");
    EXPECT_EQ(c.urlStatusBarAd, kSiteHost + "/ad/StatusBar.html");
    EXPECT_EQ(c.urlChannelAds, kSiteHost + "/ad/ChannelAds.html");
}

TEST(DataModule, WithoutPlatformIniTheAddressesStayEmpty) {
    Installation inst;
    inst.start();
    EXPECT_TRUE(inst.config.urlHome.isEmpty());
    EXPECT_TRUE(inst.config.urlDownload.isEmpty());
}

TEST(DataModule, LocalIniThatIsAFolderLeavesTheStartValues) {
    Installation inst;
    QDir().mkpath(inst.client("Config/local.ini"));
    inst.start();
    EXPECT_EQ(inst.config.closeAction, "");
    EXPECT_EQ(inst.config.downloadDir, "");
    EXPECT_EQ(inst.config.clientCode, 0);
}

TEST(DataModule, BinaryOrHugeLocalIniDoesNotStopTheStart) {
    Installation inst;
    QByteArray junk(1 << 20, '\0');
    for (int i = 0; i < junk.size(); ++i)
        junk[i] = char((i * 7919) & 0xFF);
    inst.writeClient("Config/local.ini", junk);
    EXPECT_NO_THROW(inst.start());

    Installation huge;
    huge.writeClient("Config/local.ini", "[Info]\n1=3\n" + QByteArray(17 << 20, ' '));
    EXPECT_NO_THROW(huge.start());
    EXPECT_EQ(huge.config.startCount, 0); // too large to be a settings file: not read
    countStart(huge.config);              // and not rewritten either
    EXPECT_EQ(QFileInfo(huge.config.localIniPath).size(), 11 + (17 << 20));
}

TEST(DataModule, CountStartWritesOneMoreThanTheValueRead) {
    Installation inst;
    inst.writeClient("Config/local.ini", "[Info]\n1=41\n");
    inst.start();
    countStart(inst.config);
    countStart(inst.config); // the value in memory stays the one read at start
    EXPECT_EQ(readIniValue(inst.config.localIniPath, "Info", "1").value(), "42");
    EXPECT_EQ(inst.config.startCount, 41);
}

TEST(DataModule, OnlyOurOwnOldTemporaryFilesAreRemovedAtStart) {
    constexpr qint64 kHour = 3600;
    const struct {
        const char* name;
        qint64 age;
        bool removed;
    } cases[] = {
        {".local.ini.lumora-partial-Ab12Cd", kHour, true},
        {".local.ini.lumora-partial-Ab12Cd", 0, false}, // a write may still own it
        {"local.ini.Ab12Cd", kHour, false},             // a name a person may choose
        {"local.ini.backup", kHour, false},
        {".local.ini.lumora-partial-Ab12C", kHour, false},
        {".local.ini.lumora-partial-Ab12Cd.x", kHour, false},
        {".local.ini.lumora-partial-Ab-2Cd", kHour, false},
        {".platform.ini.lumora-partial-Ab12Cd", kHour, false},
    };
    for (const auto& c : cases) {
        Installation inst;
        inst.writeClient("Config/local.ini", "[Info]\n1=2\n");
        const QString file = QStringLiteral("Client/Config/") + c.name;
        inst.root.write(file, "[Info]\n1=");
        inst.root.age(file, c.age);
        inst.start();
        EXPECT_EQ(inst.root.exists(file), !c.removed) << c.name << " aged " << c.age;
        EXPECT_EQ(inst.config.startCount, 2) << c.name;
    }
}
