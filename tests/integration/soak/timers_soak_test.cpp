// A simulated day of the window's timers: the playlist tick every second with players that
// reach their ends, the system-message schedule every minute with its pop-up coming and going.
#include "procstats.h"
#include "systemmsgholder.h"
#include "urlprobe.h"
#include "widget/mainwindow/harness.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <vector>

namespace lumora {
namespace {

constexpr int kDaySeconds = 86'400;
constexpr int kWarmUpSeconds = 2 * 3600; // past the first pop-up, shown at minute 3 for an hour
constexpr int kMidSeconds = 13 * 3600;   // past the third pop-up
constexpr int kMovieFrames = 120;
constexpr std::int64_t kSongMs = 60'000;
constexpr std::int64_t kMaxRssGrowth = 10 << 20;
// A leak per tick shows as steady growth once every pop-up slot has been through once.
constexpr std::int64_t kMaxLateRssGrowth = 2 << 20;
constexpr int kMaxFdChange = 2;
const QString kNewsPage = QStringLiteral("http://site.test/mini_index.html");

// The news page answers; the audio page does not, so audio falls back to the offline page.
class SoakProbe : public UrlProbe {
public:
    bool isUrlReachable(const QString& address) override {
        ++calls;
        return address == kNewsPage;
    }
    int calls = 0;
};

// One category of Flash movies and songs, all in the cache.
QByteArray soakCatalogue() {
    return R"(<list><item type="0" id="1" pid="" name="儿歌"/>
<item type="1" id="11" pid="1" name="a"/><item type="2" id="12" pid="1" name="b"/>
<item type="1" id="13" pid="1" name="c"/><item type="2" id="14" pid="1" name="d"/></list>)";
}

void settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

struct Sample {
    std::int64_t rss;
    int fds;
};

Sample sample() {
    settle();
    return {test::residentBytes(), test::openDescriptors()};
}

TEST(Soak, ADayOfPlaylistAndSystemMessageTicks) {
    SoakProbe probe;
    InlineUrlProbe asking(probe);
    test::Harness rig(asking);
    rig.writeCatalogue(23, soakCatalogue());
    rig.writePlatformIni("[Info]\n1=http://site.test\n11=" + kNewsPage.toUtf8() + "\n");
    for (const char* file : {"11.swf", "12.mp3", "13.swf", "14.mp3"})
        rig.root.write(QStringLiteral("Client/Caches/23/%1").arg(QLatin1String(file)), "data");
    TfrmMain& w = rig.create();
    // The loop below is the clock: the window's own minute timer would add a tick of its own
    // whenever the simulated day takes longer than a real minute (as under the sanitizers).
    test::systemMsgTimer(w).stop();
    test::FakeFlashControl& flash = rig.flash;

    std::map<QString, int> started;
    QObject::connect(&w, &TfrmMain::programmeStarted, [&] {
        ++started[w.curPlay()->type];
        if (w.curPlay()->type == ProgrammeType::Flash) { // a fresh movie, loaded at once
            flash.ready = FlashReadyState::Complete;
            flash.frames = kMovieFrames;
            flash.frame = 0;
        }
    });
    ASSERT_TRUE(w.selectNode(1));
    w.tv1Click();
    ASSERT_EQ(started[ProgrammeType::Flash], 1);

    SystemMsgHolder& popups = w.systemMessages();
    std::vector<int> shownAt; // minutes
    int slid = 0, closed = 0;
    int closeAtMinute = -1;
    const QString modes[] = {"0", "3", "2", "0"};

    Sample start{}, mid{};
    QElapsedTimer clock;
    clock.start();
    for (int second = 1; second <= kDaySeconds; ++second) {
        // The players move on by one second.
        if (flash.ready == FlashReadyState::Complete && flash.frame + 1 < flash.frames)
            ++flash.frame;
        if (test::FakeMediaPlayer* player = rig.media.latest()) {
            player->lengthMs = kSongMs;
            if (player->mode() == MediaMode::Playing)
                player->positionMs = std::min(player->positionMs + 1000, kSongMs);
        }
        w.TimerPlayListTimer();

        if (second % 60 == 0) {
            const int minute = second / 60;
            w.TimerSystemMsgTimer();
            TfrmSystemMsg* popup = popups.current();
            if (popup && popup->shownMarker() == 0) { // a slot passed: shown below the screen
                shownAt.push_back(minute);
                static_cast<test::FakeWebPane&>(popup->wbSystemMsg()).complete(true);
                QElapsedTimer slide;
                slide.start();
                while (!popup->timer1()->isActive() && slide.elapsed() < 5000)
                    QCoreApplication::processEvents();
                ASSERT_TRUE(popup->timer1()->isActive()) << "minute " << minute;
                slid += popup->shownMarker();
                closeAtMinute = minute + 60;
            }
            if (minute == closeAtMinute) {
                // The hour is up: by the pop-up's own timer, or by its close picture.
                ASSERT_NE(popups.current(), nullptr) << "minute " << minute;
                if (closed % 2 == 0)
                    popups.current()->Timer1Timer();
                else
                    popups.current()->Image1Click();
                settle();
                EXPECT_EQ(popups.current(), nullptr) << "minute " << minute;
                ++closed;
            }
        }
        if (second % 3600 == 0) {
            flash.log.clear(); // the fakes' own records are not what is measured
            rig.media.record->log.clear();
            rig.log.clear();
            rig.played.clear();
            if (second % (6 * 3600) == 0)
                w.setPlayMode(modes[(second / (6 * 3600)) % 4]);
        }
        if (second == kWarmUpSeconds)
            start = sample();
        if (second == kMidSeconds)
            mid = sample();
    }
    const Sample end = sample();
    const double seconds = clock.elapsed() / 1000.0;

    std::printf("soak: %d playlist ticks, %d schedule ticks in %.1f s\n", kDaySeconds,
                w.systemMsgTicks(), seconds);
    std::printf("soak: programmes started flash=%d audio=%d; pop-ups shown=%d slid=%d closed=%d\n",
                started[ProgrammeType::Flash], started[ProgrammeType::Audio], int(shownAt.size()),
                slid, closed);
    std::printf("soak: RSS start=%lld KiB mid=%lld KiB end=%lld KiB (growth %lld KiB); "
                "fds start=%d end=%d\n",
                static_cast<long long>(start.rss / 1024), static_cast<long long>(mid.rss / 1024),
                static_cast<long long>(end.rss / 1024),
                static_cast<long long>((end.rss - start.rss) / 1024), start.fds, end.fds);

    EXPECT_EQ(w.systemMsgTicks(), kDaySeconds / 60);
    EXPECT_EQ(shownAt, (std::vector<int>{3, 363, 723, 1083}));
    EXPECT_EQ(slid, 4);
    EXPECT_EQ(closed, 4);
    // Movies of 101 s and songs of 60 s follow each other; modes 3 and 2 change the mix.
    EXPECT_GT(started[ProgrammeType::Flash] + started[ProgrammeType::Audio], kDaySeconds / 110);
    EXPECT_GT(started[ProgrammeType::Audio], 100);
    EXPECT_TRUE(rig.dialogs.shown.empty());
    EXPECT_GT(start.rss, 0);
#ifndef __SANITIZE_ADDRESS__ // the sanitizer's quarantine holds freed memory on purpose
    EXPECT_LT(end.rss - start.rss, kMaxRssGrowth);
    EXPECT_LT(end.rss - mid.rss, kMaxLateRssGrowth);
#endif
    EXPECT_LE(std::abs(end.fds - start.fds), kMaxFdChange);
}

} // namespace
} // namespace lumora
