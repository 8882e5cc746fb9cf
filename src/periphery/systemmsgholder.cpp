#include "systemmsgholder.h"

namespace lumora {

SystemMsgHolder::SystemMsgHolder(WebPaneFactory& panes, QString urlMiniIndex,
                                 ScreenAreasSource screenAreas)
    : m_panes(panes), m_urlMiniIndex(std::move(urlMiniIndex)),
      m_screenAreas(std::move(screenAreas)) {}

SystemMsgHolder::~SystemMsgHolder() {
    delete m_popup.data();
}

void SystemMsgHolder::showSlot() {
    try {
        if (!m_popup) {
            m_popup = new TfrmSystemMsg(m_panes, m_urlMiniIndex, m_screenAreas);
            m_popup->setShowFor(m_showFor);
        }
        m_popup->showBelowScreen();
    } catch (...) {
        // The slot is lost; the next one tries again.
    }
}

bool SystemMsgHolder::isInBrowser(const QObject* obj) const {
    if (!m_popup || !obj || !obj->isWidgetType())
        return false;
    const QWidget* browser = m_popup->browserWidget();
    const auto* widget = static_cast<const QWidget*>(obj);
    return widget == browser || browser->isAncestorOf(widget);
}

} // namespace lumora
