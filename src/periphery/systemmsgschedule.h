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

    using Decision = std::function<void(Action)>;
    using SiteAnswer = std::function<void(bool reachable)>;
    // Asked only in a slot, in this order. The site's answer may come later, through the
    // function it is given; full screen is read once that answer is in.
    struct Conditions {
        std::function<bool()> fullProductOpen;
        std::function<void(SiteAnswer)> askSiteReachable;
        std::function<bool()> fullScreenOn;
    };

    // TimerSystemMsgTimer: one tick a minute. decided gets the tick's action: at once, or
    // when the site has answered. A slot that comes while the site is still being asked
    // passes as None. The schedule itself must outlive the answer.
    void tick(const Conditions& conditions, Decision decided);
    std::int32_t systemMsgTicks() const { return m_ticks; }

private:
    void afterProbe(bool reachable, std::int32_t slot, const Conditions& conditions,
                    const Decision& decided);

    std::int32_t m_ticks = 0;
    bool m_asking = false;
};

} // namespace lumora
