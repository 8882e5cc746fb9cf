#include "awakeguard.h"
#include "fakescreensaver.h"
#include "mediasession.h"

#include <QDBusObjectPath>

#include <gtest/gtest.h>

using namespace lumora;

namespace {

using S = PlayState;
using C = MediaCommand;
using A = TransportAction;

// A session whose handlers write their names into calls.
struct Recorded {
    QStringList calls;
    MediaSession session{{[this] { calls << "play"; }, [this] { calls << "next"; },
                          [this] { calls << "previous"; }, [this] { calls << "raise"; }}};
};

const NowPlaying kMovie{QStringLiteral("1207"), QStringLiteral("日 月 山 水"), true};
const NowPlaying kSong{QStringLiteral("88"), QStringLiteral("读一读"), false};

} // namespace

TEST(MediaSession, CommandsMapOntoThePlayButtonByState) {
    struct Row {
        C command;
        std::optional<S> state; // none: nothing shown yet
        A expected;
    };
    const Row rows[] = {
        {C::PlayPause, S::Playing, A::PlayButton},
        {C::PlayPause, S::Paused, A::PlayButton},
        {C::PlayPause, S::Stopped, A::PlayButton},
        {C::PlayPause, S::Loading, A::None},
        {C::PlayPause, std::nullopt, A::None},
        {C::Play, S::Playing, A::None},
        {C::Play, S::Paused, A::PlayButton},
        {C::Play, S::Stopped, A::PlayButton},
        {C::Play, S::Loading, A::None},
        {C::Pause, S::Playing, A::PlayButton},
        {C::Pause, S::Paused, A::None},
        {C::Pause, S::Stopped, A::None},
        {C::Stop, S::Playing, A::PlayButton},
        {C::Stop, S::Paused, A::None},
        {C::Next, S::Loading, A::Next},
        {C::Next, std::nullopt, A::None},
        {C::Previous, S::Stopped, A::Previous},
        {C::Previous, std::nullopt, A::None},
    };
    for (const Row& r : rows)
        EXPECT_EQ(transportActionFor(r.command, r.state), r.expected)
            << int(r.command) << " in " << (r.state ? int(*r.state) : 0);
}

TEST(MediaSession, CommandsCallTheWindowsHandlers) {
    Recorded r;
    r.session.command(C::Play); // nothing plays yet
    r.session.setPlayState(S::Playing);
    r.session.command(C::Play);
    r.session.command(C::PlayPause);
    r.session.command(C::Next);
    r.session.command(C::Previous);
    r.session.raise();
    EXPECT_EQ(r.calls, QStringList({"play", "next", "previous", "raise"}));
}

TEST(MediaSession, PlaybackStatusTexts) {
    struct Row {
        S state;
        const char* status;
    };
    const Row rows[] = {{S::Playing, "Playing"},
                        {S::Paused, "Paused"},
                        {S::Stopped, "Stopped"},
                        {S::Loading, "Stopped"}};
    Recorded r;
    EXPECT_EQ(r.session.playerProperties().value("PlaybackStatus").toString(), "Stopped");
    for (const Row& row : rows) {
        r.session.setPlayState(row.state);
        EXPECT_EQ(r.session.playerProperties().value("PlaybackStatus").toString(), row.status)
            << int(row.state);
    }
    EXPECT_EQ(r.session.playState(), S::Loading);
}

TEST(MediaSession, MetadataNamesTheProgrammeAndItsLengthOnceKnown) {
    Recorded r;
    EXPECT_TRUE(r.session.playerProperties().value("Metadata").toMap().isEmpty());
    EXPECT_FALSE(r.session.playerProperties().value("CanGoNext").toBool());
    r.session.setPlayState(S::Loading);
    r.session.setProgramme({QStringLiteral("12-a/b"), QStringLiteral("火字的故事"), true});
    QVariantMap metadata = r.session.playerProperties().value("Metadata").toMap();
    EXPECT_EQ(metadata.value("xesam:title").toString(), QStringLiteral("火字的故事"));
    EXPECT_FALSE(metadata.contains("mpris:length"));
    const QString track = metadata.value("mpris:trackid").value<QDBusObjectPath>().path();
    EXPECT_EQ(track, "/org/lumora/channel/programme/p12_a_b");
    EXPECT_TRUE(r.session.playerProperties().value("CanGoNext").toBool());
    EXPECT_FALSE(r.session.playerProperties().value("CanPlay").toBool()); // loading

    r.session.setTimes(75, 3725);
    metadata = r.session.playerProperties().value("Metadata").toMap();
    EXPECT_EQ(metadata.value("mpris:length").toLongLong(), 3725000000LL);
    EXPECT_EQ(r.session.positionMicroseconds(), 75000000LL);

    r.session.setProgramme(kSong); // a new programme starts from nothing known
    EXPECT_FALSE(r.session.playerProperties().value("Metadata").toMap().contains("mpris:length"));
    EXPECT_EQ(r.session.positionMicroseconds(), 0);
}

TEST(MediaSession, PositionAloneIsNoChange) {
    Recorded r;
    int changed = 0;
    QObject::connect(&r.session, &MediaSession::changed, [&changed] { ++changed; });
    r.session.setTimes(1, 10);
    r.session.setTimes(2, 10);
    r.session.setPlayState(S::Playing);
    r.session.setPlayState(S::Playing);
    EXPECT_EQ(changed, 2);
}

TEST(MediaSession, ChangedPropertiesAreTheDifferingAndNewOnes) {
    const QVariantMap before{{"A", 1}, {"B", "x"}, {"M", QVariantMap{{"t", "a"}}}};
    struct Row {
        QVariantMap after;
        QStringList keys;
    };
    const Row rows[] = {
        {before, {}},
        {{{"A", 2}, {"B", "x"}, {"M", QVariantMap{{"t", "a"}}}}, {"A"}},
        {{{"A", 1}, {"B", "x"}, {"M", QVariantMap{{"t", "b"}}}}, {"M"}},
        {{{"A", 1}, {"C", true}}, {"C"}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(changedProperties(before, r.after).keys(), r.keys)
            << r.keys.join(',').toStdString();
}

TEST(AwakeGuard, HeldOnlyWhileAMovieOrVideoPlays) {
    struct Step {
        const NowPlaying* programme; // nullptr: keep the programme
        S state;
        QStringList callsAfter;
    };
    const QString inhibit = QStringLiteral("inhibit watching");
    const Step steps[] = {
        {&kMovie, S::Loading, {}},
        {nullptr, S::Playing, {inhibit}},
        {nullptr, S::Playing, {inhibit}},
        {nullptr, S::Paused, {inhibit, "release"}},
        {nullptr, S::Playing, {inhibit, "release", inhibit}},
        {&kSong, S::Loading, {inhibit, "release", inhibit, "release"}},
        {nullptr, S::Playing, {inhibit, "release", inhibit, "release"}},
        {&kMovie, S::Playing, {inhibit, "release", inhibit, "release", inhibit}},
        {nullptr, S::Stopped, {inhibit, "release", inhibit, "release", inhibit, "release"}},
    };
    Recorded r;
    test::FakeScreenSaver saver;
    {
        AwakeGuard guard(r.session, saver, QStringLiteral("watching"));
        int i = 0;
        for (const Step& s : steps) {
            if (s.programme)
                r.session.setProgramme(*s.programme);
            r.session.setPlayState(s.state);
            EXPECT_EQ(saver.calls, s.callsAfter) << "step " << i++;
        }
        r.session.setPlayState(S::Playing);
    }
    EXPECT_EQ(saver.calls.last(), "release") << "the guard gives the request back when it ends";
}
