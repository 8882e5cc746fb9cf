#pragma once

#include <QFrame>

#include <memory>

class QLabel;
class QToolButton;

namespace lumora {

class WebPane;
class WebPaneFactory;

// The status strip at the window's foot (the frame pnlStatus): the version, the recommendation
// link with the site's banner pane over it, and the online-service and more-resources buttons.
class StatusStrip : public QFrame {
    Q_OBJECT
public:
    StatusStrip(WebPaneFactory& panes, QWidget* parent);
    ~StatusStrip() override;

    void setVersionText(const QString& text);
    QString versionText() const;
    void showOnlineService(); // the button for the online service
    // The banner pane, and its panel over the recommendation.
    WebPane& adsPane() { return *m_wbBottom; }
    void showAds(bool shown);
    bool adsShown() const;

signals:
    void moreClicked();
    void qqOnlineClicked();
    void linkClicked(); // the recommendation

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* m_lblSysVersion = nullptr;
    QLabel* m_lblWeb = nullptr;
    QFrame* m_pnlStatusBarAds = nullptr;
    QToolButton* m_sbtnQQOnline = nullptr;
    QToolButton* m_speedButton1 = nullptr;
    std::unique_ptr<WebPane> m_wbBottom;
};

} // namespace lumora
