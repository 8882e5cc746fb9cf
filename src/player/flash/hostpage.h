#pragma once

#include <QString>
#include <QWebEnginePage>

namespace lumora {

// The page the emulator runs in: it stays on itself once loaded, opens nothing, shows no
// error pages or scroll bars, and carries the web channel's script.
class HostPage : public QWebEnginePage {
public:
    HostPage(QWebEngineProfile* profile, QObject* parent);
    bool loaded = false;

protected:
    bool acceptNavigationRequest(const QUrl&, NavigationType, bool isMainFrame) override {
        return isMainFrame && !loaded;
    }
};

} // namespace lumora
