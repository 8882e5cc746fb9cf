#include "platformfakes.h"
#include "startup.h"
#include "windowsystem.h"

#include <gtest/gtest.h>

using namespace lumora;
using namespace lumora::test;

namespace {

struct Entry {
    FakeNamedMutex mutex;
    FakeWindowSystem windows;
    FakeDialogs dialogs;
    FakeFlashFactory flash;
    FakeRunningCopyLink link;
    EntryPlatform platform{mutex, windows, dialogs, flash, &link};
    Config config;
    QString title;

    EntryOutcome run(int build, const QStringList& args = {"/opt/x/Client/lumora-channel"}) {
        return runEntrySteps(config, FileVersion{{2, 0, 0, std::uint16_t(build)}},
                             "/opt/x/Client/lumora-channel", args, platform,
                             [&](const QString& t) { title = t; });
    }
};

} // namespace

TEST(Startup, EditionGivesTitleAndMutex) {
    Entry e;
    EXPECT_EQ(e.run(21), EntryOutcome::Run);
    EXPECT_EQ(e.title, "Lumora学拼音");
    EXPECT_EQ(e.mutex.created, QStringList{"pinyin"});
    EXPECT_EQ(e.config.editionCode, 21);

    Entry premium;
    EXPECT_EQ(premium.run(7), EntryOutcome::Run);
    EXPECT_EQ(premium.title, "Lumora精品版");
    EXPECT_EQ(premium.mutex.created, QStringList{"jingpin"});
    EXPECT_EQ(premium.config.editionCode, 7); // the main window makes it 0 later
}

TEST(Startup, SecondCopyRestoresTheFirstAndEndsWithoutFlashCheck) {
    Entry e;
    e.mutex.held << "hanzi";
    e.windows.windows = {{5, "TfrmMain", "学拼音", "lumora-channel"},
                         {9, "tfrmmain", "宝宝学识字", "LUMORA-CHANNEL"}};
    e.windows.windows.erase(e.windows.windows.begin()); // only the copy of our file name counts
    EXPECT_EQ(e.run(23), EntryOutcome::HandedOver);
    EXPECT_EQ(e.windows.restored, std::vector<NativeWindow>{9});
    EXPECT_TRUE(e.link.asked.isEmpty()) << "a window found needs no other way";
    EXPECT_EQ(e.flash.created, 0);
    EXPECT_TRUE(e.dialogs.shown.empty());
}

TEST(Startup, SecondCopyWhoseFirstWindowIsMissingEndsSilently) {
    Entry e;
    e.mutex.held << "hanzi";
    e.windows.windows = {{3, "TfrmMain", "x", "other-program"},
                         {4, "QWidget", "x", "lumora-channel"}};
    EXPECT_EQ(e.run(23), EntryOutcome::HandedOver);
    EXPECT_TRUE(e.windows.restored.empty());
}

TEST(Startup, WithoutItsWindowTheRunningCopyIsAskedOverTheLink) {
    struct Row {
        int build;
        bool answers;
        const char* edition;
    };
    for (const Row& r :
         {Row{23, true, "hanzi"}, Row{25, false, "yinyu"}, Row{7, true, "jingpin"}}) {
        Entry e;
        e.mutex.held << r.edition;
        e.link.answers = r.answers;
        EXPECT_EQ(e.run(r.build), EntryOutcome::HandedOver) << r.build;
        EXPECT_EQ(e.link.asked, QStringList{r.edition}) << r.build;
        EXPECT_EQ(handOverToRunningCopy(e.windows, "/p/lumora-channel", &e.link, r.edition),
                  r.answers);
        EXPECT_EQ(e.flash.created, 0);
    }
    Entry first;
    EXPECT_EQ(first.run(23), EntryOutcome::Run);
    EXPECT_TRUE(first.link.asked.isEmpty()) << "the first copy asks nobody";
}

TEST(Startup, StartSwitchIsTheFirstArgumentInAnyCase) {
    const QString prog = "/p/lumora-channel";
    EXPECT_TRUE(isStartSwitch({prog, "-start"}));
    EXPECT_TRUE(isStartSwitch({prog, "-START", "more"}));
    EXPECT_FALSE(isStartSwitch({prog}));
    EXPECT_FALSE(isStartSwitch({prog, "x", "-start"}));
    EXPECT_FALSE(isStartSwitch({prog, "-started"}));

    Entry e;
    e.run(23, {prog, "-Start"});
    EXPECT_TRUE(e.config.hideOnStart);
}

TEST(Startup, MissingFlashControlShowsTheMessageAndEnds) {
    Entry e;
    e.flash.installed = false;
    EXPECT_EQ(e.run(23), EntryOutcome::FlashMissing);
    ASSERT_EQ(e.dialogs.shown.size(), 1u);
    EXPECT_EQ(e.dialogs.shown[0].kind, "plain"); // no icon
    EXPECT_EQ(e.dialogs.shown[0].text, "您的系统还没有安装对Flash的支持，请安装后重试。");
    EXPECT_EQ(e.dialogs.shown[0].caption, "提示");
}

TEST(Startup, FlashCountsAsInstalledWhenOnlyTheFreeingFails) {
    FakeFlashFactory flash;
    flash.releaseThrows = true;
    EXPECT_TRUE(isFlashInstalled(flash));
}

TEST(Startup, LongProgramPathsAreCutAlikeInBothCopies) {
    const QString longPath = "/" + QString(120, 'd') + "/lumora-channel";
    // Cut to 99 characters, the name part is what is left of the directory.
    EXPECT_EQ(instanceNameFromPath(longPath), QString(98, 'd'));
    EXPECT_EQ(instanceNameFromPath("/opt/a/Client/lumora-channel"), "lumora-channel");
    EXPECT_EQ(cutToBuffer(QString(150, 'x')).size(), 99);
}
