#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantMap>

namespace lumora {

class MediaSession;

inline const QString kMprisName = QStringLiteral("org.mpris.MediaPlayer2.lumora_channel");
inline const QString kMprisPath = QStringLiteral("/org/mpris/MediaPlayer2");
inline const QString kDesktopEntry = QStringLiteral("lumora-channel");

// The player on the session bus under the MPRIS 2 name, and under the edition's own name by
// which a second copy finds it. Without a bus it does nothing.
class MprisService : public QObject {
    Q_OBJECT
public:
    MprisService(QDBusConnection bus, MediaSession& session, QString identity, QString editionName,
                 QObject* parent = nullptr);
    ~MprisService() override;

    // The name taken on the bus; empty when there is no bus.
    QString serviceName() const { return m_name; }
    MediaSession& session() { return m_session; }
    QString identity() const { return m_identity; }

private:
    void publishChanges();

    QDBusConnection m_bus;
    MediaSession& m_session;
    QString m_identity;
    QString m_name;
    QString m_editionName;
    QVariantMap m_published;
};

} // namespace lumora
