#include "systemmsgschedule.h"

namespace lumora {

namespace {
bool ask(const std::function<bool()>& condition) {
    return condition && condition();
}
} // namespace

SystemMsgSchedule::Action SystemMsgSchedule::tick(const Conditions& conditions) {
    // Unsigned step: after about 4,000 years the counter wraps instead of overflowing.
    m_ticks = static_cast<std::int32_t>(static_cast<std::uint32_t>(m_ticks) + 1u);
    if (m_ticks % kSlotTicks != kFirstSlot)
        return Action::None;
    if (ask(conditions.fullProductOpen))
        return Action::SkipProductOpen;
    if (!ask(conditions.siteReachable))
        return Action::SkipUnreachable;
    if (ask(conditions.fullScreenOn)) {
        --m_ticks; // the same slot again next minute
        return Action::WaitFullScreen;
    }
    return Action::Show;
}

} // namespace lumora
