#include "fakeflashcontrol.h"
#include "fakemediaplayer.h"
#include "lumoraplay.h"
#include "programmeplayer.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace lumora {
namespace {

using test::FakeFlashControl;
using test::FakeMediaPlayer;

// The Flash control and the audio device a player of any kind plays on.
struct Parts {
    FakeFlashControl flash;
    std::unique_ptr<FakeMediaPlayer> audio;

    std::unique_ptr<ProgrammePlayer> player(const QString& type) {
        AudioDevice device{.current = [this] { return audio.get(); },
                           .create = [this] { audio = std::make_unique<FakeMediaPlayer>(); },
                           .close = [this] { audio.reset(); }};
        return makeProgrammePlayer(type, {.flash = flash,
                                          .audio = std::move(device),
                                          .playerMovie = QStringLiteral("flvplayer.swf")});
    }
};

struct Reading {
    std::optional<PlayState> state;
    std::optional<int> total;
    bool operator==(const Reading&) const = default;
};

std::optional<Reading> plain(const std::optional<PlayerReading>& r) {
    if (!r)
        return std::nullopt;
    return Reading{r->state, r->total};
}

struct ReadCase {
    const char* name;
    QString type;
    std::function<void(Parts&)> set;
    std::optional<Reading> tick;    // what the tick reads
    std::optional<Reading> loadBar; // what a click on the load bar reads
};

void movieAnswers(Parts& p, const char* state) {
    p.flash.answer("getPlayState", QString::fromLatin1(state));
    p.flash.answer("getDuration", QStringLiteral("75.2"));
}

void loadedMovie(Parts& p, bool playing) {
    p.flash.ready = FlashReadyState::Complete;
    p.flash.frames = 120;
    p.flash.playing = playing;
}

void audioPlaying(Parts& p) {
    p.audio = std::make_unique<FakeMediaPlayer>();
    p.audio->lengthMs = 61500;
    p.audio->modeValue = MediaMode::Playing;
}

class PlayerReads : public ::testing::TestWithParam<ReadCase> {};

// The window acts only on what a player reads; a reading of none is a tick that shows nothing.
TEST_P(PlayerReads, OnlyWhatTheKindActsOnNow) {
    Parts parts;
    GetParam().set(parts);
    const auto player = parts.player(GetParam().type);
    EXPECT_EQ(plain(player->read()), GetParam().tick);
    EXPECT_EQ(plain(player->seekable()), GetParam().loadBar);
}

const ReadCase kReads[] = {
    {"FlashArriving",
     ProgrammeType::Flash,
     [](Parts& p) { p.flash.ready = FlashReadyState::Interactive; },
     {},
     {}},
    {"FlashPlaying", ProgrammeType::Flash, [](Parts& p) { loadedMovie(p, true); },
     Reading{PlayState::Playing, 120}, Reading{{}, 120}},
    {"FlashHeld", ProgrammeType::Flash, [](Parts& p) { loadedMovie(p, false); },
     Reading{PlayState::Paused, 120}, Reading{{}, 120}},
    {"VideoPlaying", ProgrammeType::Video, [](Parts& p) { movieAnswers(p, "1"); },
     Reading{PlayState::Playing, 75}, Reading{PlayState::Playing, 75}},
    {"VideoPaused", ProgrammeType::Video, [](Parts& p) { movieAnswers(p, "2"); },
     Reading{PlayState::Paused, {}}, Reading{PlayState::Playing, 75}},
    {"VideoStopped",
     ProgrammeType::Video,
     [](Parts& p) { movieAnswers(p, "0"); },
     Reading{PlayState::Stopped, {}},
     {}},
    {"VideoUnknownState", ProgrammeType::Video, [](Parts& p) { movieAnswers(p, "3"); }, {}, {}},
    {"VideoSilent", ProgrammeType::Video, [](Parts& p) { p.flash.callFails = true; }, {}, {}},
    {"AudioWithoutDevice", ProgrammeType::Audio, [](Parts&) {}, {}, {}},
    {"AudioPlaying", ProgrammeType::Audio, audioPlaying, Reading{PlayState::Playing, 62},
     Reading{{}, 62}},
    {"Text", ProgrammeType::Text, [](Parts& p) { loadedMovie(p, true); }, {}, {}},
};

INSTANTIATE_TEST_SUITE_P(Kinds, PlayerReads, ::testing::ValuesIn(kReads),
                         [](const auto& info) { return std::string(info.param.name); });

struct SeekCase {
    QString type;
    bool resume;
    QStringList flashLog;
    std::vector<std::string> audioLog;
};

class PlayerSeeks : public ::testing::TestWithParam<SeekCase> {};

// A seek to knob position 5 plays on only where the kind resumes; the video's movie seeks in
// seconds and keeps its own play state.
TEST_P(PlayerSeeks, GiveTheKindsCommandsInOrder) {
    Parts parts;
    audioPlaying(parts);
    const auto player = parts.player(GetParam().type);
    player->seek(5, GetParam().resume);
    EXPECT_EQ(parts.flash.log, GetParam().flashLog);
    EXPECT_EQ(parts.audio->log, GetParam().audioLog);
    EXPECT_EQ(parts.flash.calls.size(), GetParam().type == ProgrammeType::Video ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, PlayerSeeks,
    ::testing::Values(SeekCase{ProgrammeType::Flash, true, {"goto 5", "play"}, {}},
                      SeekCase{ProgrammeType::Flash, false, {"goto 5"}, {}},
                      SeekCase{ProgrammeType::Video, true, {}, {}},
                      SeekCase{ProgrammeType::Audio, true, {}, {"seek 5000", "play"}},
                      SeekCase{ProgrammeType::Audio, false, {}, {"seek 5000"}}));

} // namespace
} // namespace lumora
