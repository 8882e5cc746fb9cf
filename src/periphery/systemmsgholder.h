#pragma once

#include "systemmsg.h"

#include <QPointer>

namespace lumora {

// The one system-message pop-up of the process. The window deletes itself when closed, which
// empties the reference; the next slot then makes a new one.
class SystemMsgHolder {
public:
    SystemMsgHolder(WebPaneFactory& panes, QString urlMiniIndex,
                    ScreenAreasSource screenAreas = primaryScreenAreas);
    ~SystemMsgHolder();
    SystemMsgHolder(const SystemMsgHolder&) = delete;
    SystemMsgHolder& operator=(const SystemMsgHolder&) = delete;

    // A slot that passed the schedule: creates the pop-up unless one exists, then places it
    // below the screen, shows it and loads its page. Failures lose the slot and go no further.
    void showSlot();

    TfrmSystemMsg* current() const { return m_popup; }
    // Whether obj is the pop-up's browser or lies inside it (its right clicks are swallowed).
    bool isInBrowser(const QObject* obj) const;
    // Tests shorten the hour of pop-ups made from now on.
    void setShowFor(std::chrono::milliseconds interval) { m_showFor = interval; }

private:
    WebPaneFactory& m_panes;
    QString m_urlMiniIndex;
    ScreenAreasSource m_screenAreas;
    std::chrono::milliseconds m_showFor = TfrmSystemMsg::kShowFor;
    QPointer<TfrmSystemMsg> m_popup;
};

} // namespace lumora
