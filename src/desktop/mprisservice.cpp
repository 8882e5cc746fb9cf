#include "mprisservice.h"

#include "mediasession.h"

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QStringList>

namespace lumora {
namespace {

const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

class RootAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ no)
    Q_PROPERTY(bool CanRaise READ yes)
    Q_PROPERTY(bool HasTrackList READ no)
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ none)
    Q_PROPERTY(QStringList SupportedMimeTypes READ none)
public:
    explicit RootAdaptor(MprisService* service)
        : QDBusAbstractAdaptor(service), m_service(service) {}
    bool no() const { return false; }
    bool yes() const { return true; }
    QString identity() const { return m_service->identity(); }
    QString desktopEntry() const { return kDesktopEntry; }
    QStringList none() const { return {}; }

public slots:
    void Raise() { m_service->session().raise(); }
    void Quit() {}

private:
    MprisService* m_service;
};

class PlayerAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(double Rate READ one WRITE ignore)
    Q_PROPERTY(double MinimumRate READ one)
    Q_PROPERTY(double MaximumRate READ one)
    Q_PROPERTY(double Volume READ one WRITE ignore)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(bool CanGoNext READ canGoNext)
    Q_PROPERTY(bool CanGoPrevious READ canGoPrevious)
    Q_PROPERTY(bool CanPlay READ canPlay)
    Q_PROPERTY(bool CanPause READ canPause)
    Q_PROPERTY(bool CanSeek READ no)
    Q_PROPERTY(bool CanControl READ yes)
public:
    explicit PlayerAdaptor(MprisService* service)
        : QDBusAbstractAdaptor(service), m_session(service->session()) {}
    QString playbackStatus() const { return property(QStringLiteral("PlaybackStatus")).toString(); }
    QVariantMap metadata() const { return property(QStringLiteral("Metadata")).toMap(); }
    qlonglong position() const { return m_session.positionMicroseconds(); }
    bool canGoNext() const { return flag(QStringLiteral("CanGoNext")); }
    bool canGoPrevious() const { return flag(QStringLiteral("CanGoPrevious")); }
    bool canPlay() const { return flag(QStringLiteral("CanPlay")); }
    bool canPause() const { return flag(QStringLiteral("CanPause")); }
    double one() const { return 1.0; }
    // Rate and volume stay the program's own; the desktop cannot change them here.
    void ignore(double) {}
    bool no() const { return false; }
    bool yes() const { return true; }

public slots:
    void PlayPause() { m_session.command(MediaCommand::PlayPause); }
    void Play() { m_session.command(MediaCommand::Play); }
    void Pause() { m_session.command(MediaCommand::Pause); }
    void Stop() { m_session.command(MediaCommand::Stop); }
    void Next() { m_session.command(MediaCommand::Next); }
    void Previous() { m_session.command(MediaCommand::Previous); }
    void Seek(qlonglong) {}
    void SetPosition(const QDBusObjectPath&, qlonglong) {}
    void OpenUri(const QString&) {}

signals:
    void Seeked(qlonglong position);

private:
    QVariant property(const QString& name) const {
        return m_session.playerProperties().value(name);
    }
    bool flag(const QString& name) const { return property(name).toBool(); }
    MediaSession& m_session;
};

} // namespace

MprisService::MprisService(QDBusConnection bus, MediaSession& session, QString identity,
                           QString editionName, QObject* parent)
    : QObject(parent), m_bus(std::move(bus)), m_session(session), m_identity(std::move(identity)) {
    if (!m_bus.isConnected())
        return;
    new RootAdaptor(this);
    new PlayerAdaptor(this);
    if (!m_bus.registerObject(kMprisPath, this))
        return;
    // Another edition holds the plain name: the instance suffix tells the copies apart.
    const QString instance =
        kMprisName + QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid());
    for (const QString& name : {kMprisName, instance})
        if (m_bus.registerService(name)) {
            m_name = name;
            break;
        }
    if (m_bus.registerService(editionName))
        m_editionName = editionName;
    m_published = m_session.playerProperties();
    connect(&m_session, &MediaSession::changed, this, &MprisService::publishChanges);
}

MprisService::~MprisService() {
    for (const QString& name : {m_name, m_editionName})
        if (!name.isEmpty())
            m_bus.unregisterService(name);
    if (m_bus.isConnected())
        m_bus.unregisterObject(kMprisPath);
}

void MprisService::publishChanges() {
    const QVariantMap now = m_session.playerProperties();
    const QVariantMap changed = changedProperties(m_published, now);
    m_published = now;
    if (changed.isEmpty())
        return;
    QDBusMessage signal =
        QDBusMessage::createSignal(kMprisPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                   QStringLiteral("PropertiesChanged"));
    signal << kPlayerInterface << changed << QStringList();
    m_bus.send(signal);
}

} // namespace lumora

#include "mprisservice.moc"
