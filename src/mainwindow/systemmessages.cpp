// The service's news: tried three minutes after start and every six hours.
#include "asyncprobe.h"
#include "captions.h"
#include "mainwindow.h"
#include "startup.h"
#include "systemmsgholder.h"
#include "windowsystem.h"

#include <QTimer>

namespace lumora {

void TfrmMain::setSystemMsgMinute(int milliseconds) {
    TimerSystemMsg->setInterval(milliseconds);
}

void TfrmMain::TimerSystemMsgTimer() {
    const SystemMsgSchedule::Conditions conditions{
        [this] {
            return m_services.windows.findWindow(kMainWindowClass, Caption::FullProductCaption)
                .has_value();
        },
        [this](SystemMsgSchedule::SiteAnswer answer) {
            m_services.probe.askReachable(m_config.urlMiniIndex, this, std::move(answer));
        },
        [this] { return fullScreenOn() != 0; },
    };
    m_schedule.tick(conditions, [this](SystemMsgSchedule::Action action) {
        if (action == SystemMsgSchedule::Action::Show)
            m_systemMsg->showSlot();
    });
}

} // namespace lumora
