#include "fakes/fakemediaplayer.h"
#include "volume.h"

#include <gtest/gtest.h>

#include <vector>

namespace lumora {
namespace {

std::uint32_t bothChannels(std::uint32_t level) {
    return (level << 8) | (level << 24);
}

TEST(OutputLevel, FollowsTheLouderChannel) {
    struct Case {
        std::uint32_t volume;
        double level;
    };
    const Case cases[] = {
        {kFullVolume, 1.0},
        {0, 0.0},
        {bothChannels(255), 65280 / 65535.0},
        {bothChannels(128), 32768 / 65535.0},
        {0x0000FFFFu, 1.0},             // left only
        {0x80000000u, 32768 / 65535.0}, // right only
        {0x40001000u, 0x4000 / 65535.0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(outputLevel(c.volume), c.level) << std::hex << c.volume;
}

TEST(ProgramVolume, StartsFullAndTellsListenersOfWrites) {
    ProgramVolume volume;
    EXPECT_EQ(volume.read(), kFullVolume);
    std::vector<std::uint32_t> heard;
    const int id = volume.subscribe([&](std::uint32_t v) { heard.push_back(v); });
    volume.write(bothChannels(128));
    volume.write(0);
    EXPECT_EQ(volume.read(), 0u);
    volume.unsubscribe(id);
    volume.write(kFullVolume);
    EXPECT_EQ(heard, (std::vector<std::uint32_t>{bothChannels(128), 0}));
}

TEST(ProgramVolume, AListenerMayDropAnotherWhileBeingTold) {
    ProgramVolume volume;
    int secondCalls = 0;
    int second = 0;
    volume.subscribe([&](std::uint32_t) { volume.unsubscribe(second); });
    second = volume.subscribe([&](std::uint32_t) { ++secondCalls; });
    volume.write(1);
    volume.write(2);
    EXPECT_EQ(secondCalls, 0);
}

TEST(FakeMediaPlayerFactory, CountsLivePlayersAcrossReleases) {
    test::FakeMediaPlayerFactory factory;
    auto first = factory.create(nullptr);
    first->setName("FrameMP1");
    auto second = factory.create(nullptr);
    EXPECT_EQ(factory.liveCount(), 2);
    first.reset();
    EXPECT_EQ(factory.liveCount(), 1);
    EXPECT_EQ(factory.record->created, 2);
    EXPECT_EQ(factory.latest(), second.get());
    EXPECT_EQ(factory.record->log, (std::vector<std::string>{"FrameMP1:setName FrameMP1"}));
}

} // namespace
} // namespace lumora
