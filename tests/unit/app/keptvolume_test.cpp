#include "datamodule.h"
#include "inistore.h"
#include "keptvolume.h"
#include "support/eventwait.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>

using namespace lumora;
using lumora::test::TempDir;

namespace {

using std::chrono::milliseconds;

// One start of the program: the settings as the data module leaves them, and the volume.
struct Start {
    ProgramVolume volume;
    std::optional<KeptVolume> kept;
    Start(const TempDir& root, milliseconds delay = KeptVolume::kWriteDelay) {
        Config config;
        TDataModule1(config, root.file("Client/lumora-channel")).DataModuleCreate();
        kept.emplace(volume, config.localIniPath, delay);
    }
};

const QByteArray kFirstStartIni = "[Info]\n1=0\n6=33554455\n7=100090\n8=1\n9=0\n10=\n11=0\n12=\n";

} // namespace

TEST(KeptVolume, SurvivesARestartAndIsWrittenOnlyWhenItChanges) {
    TempDir root;
    root.write("Client/lumora-channel", "");
    {
        Start first(root);
        EXPECT_EQ(first.volume.read(), kFullVolume);
    }
    EXPECT_EQ(root.read("Client/Config/local.ini"), kFirstStartIni); // nothing of ours yet
    {
        Start second(root, milliseconds(0));
        second.volume.write(0x40004000u);
        second.volume.write(0x80008000u); // a dragged slider: the last level counts
        EXPECT_TRUE(test::waitUntil([&] {
            return root.read("Client/Config/local.ini").contains("Volume=2147516416");
        })) << "written a while after the change, the program still running";
    }
    const QByteArray afterChange = root.read("Client/Config/local.ini");
    EXPECT_EQ(afterChange, kFirstStartIni + "Volume=2147516416\n");
    {
        Start third(root);
        EXPECT_EQ(third.volume.read(), 0x80008000u);
        third.volume.write(0); // muted when the program ends
    }
    EXPECT_EQ(root.read("Client/Config/local.ini"), afterChange);
    {
        Start fourth(root);
        fourth.volume.write(0x10001000u);
    } // written at the end at the latest
    EXPECT_EQ(Start(root).volume.read(), 0x10001000u);
}

TEST(KeptVolume, AValueThatIsNoVolumeLeavesItFull) {
    for (const char* value : {"loud", "-5", "0", "4294967296", ""}) {
        TempDir root;
        root.write("Client/lumora-channel", "");
        root.write("Client/Config/local.ini", QByteArray("[Info]\nVolume=") + value + "\n");
        EXPECT_EQ(Start(root).volume.read(), kFullVolume) << value;
    }
}
