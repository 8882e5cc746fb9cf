#include "systemmsgschedule.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace lumora {
namespace {

using Action = SystemMsgSchedule::Action;

Action tickNow(SystemMsgSchedule& schedule, const SystemMsgSchedule::Conditions& conditions) {
    std::optional<Action> action;
    schedule.tick(conditions, [&](Action decided) { action = decided; });
    EXPECT_TRUE(action.has_value()) << "a site that answers at once decides the tick at once";
    return action.value_or(Action::None);
}

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
            [this](const auto& answer) {
                ++probes;
                answer(reachable);
            },
            [&] { return now >= fullScreenFrom && now < fullScreenUntil; }};
        std::vector<int> shown;
        for (now = 1; now <= ticks; ++now)
            if (tickNow(schedule, conditions) == Action::Show)
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
    const SystemMsgSchedule::Conditions conditions{
        [] { return false; }, [](const auto& answer) { answer(true); }, [&] { return fullScreen; }};
    EXPECT_EQ(tickNow(schedule, conditions), Action::None);
    EXPECT_EQ(tickNow(schedule, conditions), Action::None);
    EXPECT_EQ(tickNow(schedule, conditions), Action::WaitFullScreen);
    EXPECT_EQ(schedule.systemMsgTicks(), 2);
    fullScreen = false;
    EXPECT_EQ(tickNow(schedule, conditions), Action::Show);
    EXPECT_EQ(schedule.systemMsgTicks(), 3);
    // Missing answers count as: product closed, site unreachable, no full screen.
    SystemMsgSchedule bare;
    for (int i = 0; i < 2; ++i)
        tickNow(bare, {});
    EXPECT_EQ(tickNow(bare, {}), Action::SkipUnreachable);
}

TEST(SystemMsgSchedule, ASiteThatAnswersLaterDecidesTheSlotThen) {
    SystemMsgSchedule schedule;
    std::function<void(bool)> pending;
    bool fullScreen = false;
    const SystemMsgSchedule::Conditions conditions{
        [] { return false; }, [&](auto answer) { pending = std::move(answer); },
        [&] { return fullScreen; }};
    std::vector<Action> decided;
    for (int minute = 1; minute <= 4; ++minute) // the slot at 3, then one more minute
        schedule.tick(conditions, [&](Action action) { decided.push_back(action); });
    EXPECT_EQ(decided, (std::vector<Action>{Action::None, Action::None, Action::None}));
    ASSERT_TRUE(pending);

    fullScreen = true; // read when the answer comes, not when the slot began
    std::exchange(pending, {})(true);
    EXPECT_EQ(decided.back(), Action::WaitFullScreen);
    fullScreen = false;
    schedule.tick(conditions, [&](Action action) { decided.push_back(action); });
    ASSERT_TRUE(pending) << "the put-off slot asks again at the next tick";
    std::exchange(pending, {})(true);
    EXPECT_EQ(decided.back(), Action::Show);
    EXPECT_EQ(schedule.systemMsgTicks(), 3);
}

} // namespace
} // namespace lumora
