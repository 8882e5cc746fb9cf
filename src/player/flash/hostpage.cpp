#include "hostpage.h"

#include <QColor>
#include <QFile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

#include <stdexcept>

namespace lumora {

HostPage::HostPage(QWebEngineProfile* profile, QObject* parent) : QWebEnginePage(profile, parent) {
    QWebEngineSettings* s = settings();
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    s->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    s->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, true);
    s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    s->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    s->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    setBackgroundColor(Qt::black);

    QWebEngineScript channelScript;
    channelScript.setName(QStringLiteral("qwebchannel"));
    channelScript.setSourceCode(resourceText(QStringLiteral(":/qtwebchannel/qwebchannel.js")));
    channelScript.setInjectionPoint(QWebEngineScript::DocumentCreation);
    channelScript.setWorldId(QWebEngineScript::MainWorld);
    scripts().insert(channelScript);
}

QString resourceText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("missing resource " + path.toStdString());
    return QString::fromUtf8(file.readAll());
}

} // namespace lumora
