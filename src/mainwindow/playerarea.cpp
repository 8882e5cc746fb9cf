// The player's side of the window.
#include "playerarea.h"

#include "skin.h"
#include "transportbar.h"
#include "webpane.h"
#include "widgetmaking.h"

#include <QBoxLayout>
#include <QPushButton>
#include <QStackedWidget>

namespace lumora {
using ui::column;
using ui::panel;

PlayerArea::PlayerArea(QWidget* flashView, WebPaneFactory& panes, QWidget* parent)
    : QFrame(parent), m_flashView(flashView) {
    setObjectName(QStringLiteral("pnlHomePageMain"));
    setFrameShape(QFrame::NoFrame);
    QFrame* pnlwbMain = panel(this, "pnlwbMain");
    column(this)->addWidget(pnlwbMain);
    QFrame* pnlPlay = panel(pnlwbMain, "pnlPlay");
    column(pnlwbMain)->addWidget(pnlPlay);
    auto* col = column(pnlPlay);

    m_pnlplayMain = new QStackedWidget(pnlPlay);
    m_pnlplayMain->setObjectName(QStringLiteral("pnlplayMain"));
    m_flashView->setObjectName(QStringLiteral("ShockwaveFlash1"));
    m_pnlplayMain->addWidget(m_flashView);
    m_wbMp3 = panes.createPane(m_pnlplayMain);
    m_wbMp3->widget()->setObjectName(QStringLiteral("wbMp3"));
    m_pnlplayMain->addWidget(m_wbMp3->widget());
    col->addWidget(m_pnlplayMain, 1);

    // The bar's volume panel floats over the page, so the bar sits in the page's column.
    m_transport = new TransportBar(pnlPlay);
    col->addWidget(m_transport);
}

PlayerArea::~PlayerArea() = default;

void PlayerArea::showFlash() {
    m_pnlplayMain->setCurrentWidget(m_flashView);
    m_flashView->raise();
}

void PlayerArea::showAudioPage() {
    m_pnlplayMain->setCurrentWidget(m_wbMp3->widget());
    m_wbMp3->widget()->setVisible(true);
}

bool PlayerArea::flashShown() const {
    return m_pnlplayMain->currentWidget() == m_flashView;
}

ExitFullScreenPanel::ExitFullScreenPanel(QWidget* window) : QFrame(window) {
    setObjectName(QStringLiteral("pnlExitFullScreen"));
    setFrameShape(QFrame::NoFrame);
    setGeometry(0, 0, 30, 24);
    m_btnExitFullScreen = new QPushButton(this);
    m_btnExitFullScreen->setObjectName(QStringLiteral("btnExitFullScreen"));
    m_btnExitFullScreen->setGeometry(0, 0, 30, 24);
    m_btnExitFullScreen->setToolTip(QStringLiteral("退出全屏"));
    m_btnExitFullScreen->setIcon(skinPicture(QStringLiteral("button_exitfullscreen")));
    connect(m_btnExitFullScreen, &QPushButton::clicked, this,
            &ExitFullScreenPanel::exitFullScreenClicked);
    hide();
}

} // namespace lumora
