#pragma once

#include <cstdint>
#include <functional>
#include <utility>

namespace lumora {

// When the system-message pop-up is tried: three minutes after start and every six hours,
// put off minute by minute while the player is in full screen.
class SystemMsgSchedule {
public:
    static constexpr int kSlotTicks = 360;
    static constexpr int kFirstSlot = 3;

    enum class Action { None, SkipProductOpen, SkipUnreachable, WaitFullScreen, Show };

    // Asked only in a slot, in this order; the reachability question may block.
    struct Conditions {
        std::function<bool()> fullProductOpen;
        std::function<bool()> siteReachable;
        std::function<bool()> fullScreenOn;
    };

    // TimerSystemMsgTimer: one tick a minute.
    Action tick(const Conditions& conditions);
    std::int32_t systemMsgTicks() const { return m_ticks; }

private:
    std::int32_t m_ticks = 0;
};

} // namespace lumora
