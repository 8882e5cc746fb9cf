#pragma once

#include "webpane.h"

#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include <chrono>
#include <functional>
#include <memory>

class QTimer;
class QVariantAnimation;

namespace lumora {

class tLxsimage;

// The screen and the part of it not taken by panels.
struct ScreenAreas {
    QRect screen;
    QRect workArea;
};
using ScreenAreasSource = std::function<ScreenAreas()>;
// The primary screen's areas.
ScreenAreas primaryScreenAreas();

// The latest news of the service: a small borderless pop-up that slides up at the bottom right
// once its page has loaded and closes itself after an hour. It deletes itself when closed.
class TfrmSystemMsg : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 350;
    static constexpr int kClientHeight = 300;
    static constexpr int kCloseWidth = 41;
    static constexpr int kCloseHeight = 15;
    static constexpr std::chrono::milliseconds kShowFor{3'600'000};
    static constexpr std::chrono::milliseconds kSlideStep{1}; // per pixel of the slide-in
    static constexpr int kNavigateFlags = WebPane::NoReadFromCache | WebPane::NoWriteToCache;

    TfrmSystemMsg(WebPaneFactory& panes, const QString& urlMiniIndex,
                  ScreenAreasSource screenAreas = primaryScreenAreas);
    ~TfrmSystemMsg() override;

    // A slot of the schedule: placed below the screen, shown, marker reset, page (re)loaded.
    void showBelowScreen();

    // The document-complete handler of wbSystemMsg; the slide-in itself runs from the event
    // loop, so that a pane destroyed during it is not on the stack.
    void wbSystemMsgDocumentComplete(bool topLevel);
    void Timer1Timer();
    void Image1Click();

    // 0 until the page has slid in, then 1.
    int shownMarker() const { return m_shownMarker; }
    WebPane& wbSystemMsg() { return *m_pane; }
    // The browser's widget, whose right clicks the application filter swallows.
    QWidget* browserWidget() const;
    QTimer* timer1() const { return m_timer1; }
    QWidget* pnlClose() const { return m_pnlClose; }
    tLxsimage* image1() const { return m_image1; }
    // Tests shorten the hour.
    void setShowFor(std::chrono::milliseconds interval);

signals:
    // Each 1-pixel step of the slide-in, after the move.
    void slideStep(int top);

private:
    void slideIn();

    QString m_urlMiniIndex;
    ScreenAreasSource m_screenAreas;
    std::unique_ptr<WebPane> m_pane;
    QWidget* m_pnlClose = nullptr;
    tLxsimage* m_image1 = nullptr;
    QTimer* m_timer1 = nullptr;
    QPointer<QVariantAnimation> m_slide; // while sliding in
    int m_shownMarker = 0;
};

} // namespace lumora
