// The service's news: tried three minutes after start and every six hours.
#include "captions.h"
#include "mainwindow.h"
#include "startup.h"
#include "systemmsgholder.h"
#include "urlprobe.h"
#include "windowsystem.h"

namespace lumora {

void TfrmMain::TimerSystemMsgTimer() {
    const SystemMsgSchedule::Action action = m_schedule.tick({
        [this] {
            return m_services.windows.findWindow(kMainWindowClass, Caption::FullProductCaption)
                .has_value();
        },
        [this] { return m_services.probe.isUrlReachable(m_config.urlMiniIndex); },
        [this] { return m_fullScreenOn != 0; },
    });
    if (action == SystemMsgSchedule::Action::Show)
        m_systemMsg->showSlot();
}

} // namespace lumora
