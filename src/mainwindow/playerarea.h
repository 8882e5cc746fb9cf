#pragma once

#include <QFrame>

#include <memory>

class QPushButton;
class QStackedWidget;

namespace lumora {

class TransportBar;
class WebPane;
class WebPaneFactory;

// The player's side of the window (the frame pnlHomePageMain): the page that shows the
// programme, the Flash control's view or the audio page, with the transport bar under it.
class PlayerArea : public QFrame {
    Q_OBJECT
public:
    // flashView is the Flash control's widget (ShockwaveFlash1); the area holds it from now on.
    PlayerArea(QWidget* flashView, WebPaneFactory& panes, QWidget* parent);
    ~PlayerArea() override;

    // The control's view on top, or the audio programme's page.
    void showFlash();
    void showAudioPage();
    bool flashShown() const;
    WebPane& audioPane() { return *m_wbMp3; }
    TransportBar& transport() { return *m_transport; }

private:
    QWidget* m_flashView = nullptr;
    QStackedWidget* m_pnlplayMain = nullptr;
    std::unique_ptr<WebPane> m_wbMp3;
    TransportBar* m_transport = nullptr;
};

// The small button panel (pnlExitFullScreen) that leaves full screen; it floats over the
// window, so its parent is the window itself.
class ExitFullScreenPanel : public QFrame {
    Q_OBJECT
public:
    explicit ExitFullScreenPanel(QWidget* window);

signals:
    void exitFullScreenClicked();

private:
    QPushButton* m_btnExitFullScreen = nullptr;
};

} // namespace lumora
