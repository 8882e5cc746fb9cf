#include "systemmsgschedule.h"

namespace lumora {

namespace {
bool ask(const std::function<bool()>& condition) {
    return condition && condition();
}
} // namespace

void SystemMsgSchedule::tick(const Conditions& conditions, Decision decided) {
    // Unsigned step: after about 4,000 years the counter wraps instead of overflowing.
    m_ticks = static_cast<std::int32_t>(static_cast<std::uint32_t>(m_ticks) + 1u);
    if (m_ticks % kSlotTicks != kFirstSlot || m_asking)
        return decided(Action::None);
    if (ask(conditions.fullProductOpen))
        return decided(Action::SkipProductOpen);
    if (!conditions.askSiteReachable)
        return decided(Action::SkipUnreachable);
    m_asking = true;
    conditions.askSiteReachable([this, slot = m_ticks, conditions, decided](bool reachable) {
        afterProbe(reachable, slot, conditions, decided);
    });
}

void SystemMsgSchedule::afterProbe(bool reachable, std::int32_t slot, const Conditions& conditions,
                                   const Decision& decided) {
    m_asking = false;
    if (!reachable)
        return decided(Action::SkipUnreachable);
    if (ask(conditions.fullScreenOn)) {
        m_ticks = slot - 1; // the same slot again next minute
        return decided(Action::WaitFullScreen);
    }
    decided(Action::Show);
}

} // namespace lumora
