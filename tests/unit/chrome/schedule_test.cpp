#include "systemmsgschedule.h"

#include <gtest/gtest.h>

#include <vector>

namespace lumora {
namespace {

using Action = SystemMsgSchedule::Action;

// Minutes (1-based tick numbers) at which the pop-up is shown over a run.
struct ScheduleRun {
    bool productOpen = false;
    bool reachable = true;
    int fullScreenFrom = 0; // full screen for ticks in [from, until)
    int fullScreenUntil = 0;
    int probes = 0;

    std::vector<int> shows(int ticks) {
        SystemMsgSchedule schedule;
        int now = 0;
        const SystemMsgSchedule::Conditions conditions{
            [this] { return productOpen; },
            [this] {
                ++probes;
                return reachable;
            },
            [&] { return now >= fullScreenFrom && now < fullScreenUntil; }};
        std::vector<int> shown;
        for (now = 1; now <= ticks; ++now)
            if (schedule.tick(conditions) == Action::Show)
                shown.push_back(now);
        return shown;
    }
};

TEST(SystemMsgSchedule, FirstAtMinuteThreeThenEverySixHours) {
    ScheduleRun run;
    EXPECT_EQ(run.shows(800), (std::vector<int>{3, 363, 723}));
    EXPECT_EQ(run.probes, 3); // the site is asked only in a slot
}

TEST(SystemMsgSchedule, FullScreenPutsTheSlotOffUntilItEnds) {
    ScheduleRun run;
    run.fullScreenFrom = 2;
    run.fullScreenUntil = 10;
    EXPECT_EQ(run.shows(800), (std::vector<int>{10, 370, 730}));
    EXPECT_EQ(run.probes, 3 + 7); // minutes 3 to 9 asked again each minute
}

TEST(SystemMsgSchedule, SkippedSlotsWaitSixHours) {
    ScheduleRun product;
    product.productOpen = true;
    EXPECT_TRUE(product.shows(800).empty());
    EXPECT_EQ(product.probes, 0);

    ScheduleRun offline;
    offline.reachable = false;
    EXPECT_TRUE(offline.shows(800).empty());
    EXPECT_EQ(offline.probes, 3);
}

TEST(SystemMsgSchedule, ReportsWhyASlotPassed) {
    SystemMsgSchedule schedule;
    bool fullScreen = true;
    const SystemMsgSchedule::Conditions conditions{[] { return false; }, [] { return true; },
                                                   [&] { return fullScreen; }};
    EXPECT_EQ(schedule.tick(conditions), Action::None);
    EXPECT_EQ(schedule.tick(conditions), Action::None);
    EXPECT_EQ(schedule.tick(conditions), Action::WaitFullScreen);
    EXPECT_EQ(schedule.systemMsgTicks(), 2);
    fullScreen = false;
    EXPECT_EQ(schedule.tick(conditions), Action::Show);
    EXPECT_EQ(schedule.systemMsgTicks(), 3);
    // Missing answers count as: product closed, site unreachable, no full screen.
    SystemMsgSchedule bare;
    for (int i = 0; i < 2; ++i)
        bare.tick({});
    EXPECT_EQ(bare.tick({}), Action::SkipUnreachable);
}

} // namespace
} // namespace lumora
