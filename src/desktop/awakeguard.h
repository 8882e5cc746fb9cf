#pragma once

#include <QObject>
#include <QString>

namespace lumora {

class MediaSession;
class ScreenSaverInhibitor;

// Holds the screen-saver inhibition exactly while the session keeps the screen awake.
class AwakeGuard : public QObject {
    Q_OBJECT
public:
    AwakeGuard(MediaSession& session, ScreenSaverInhibitor& inhibitor, QString reason,
               QObject* parent = nullptr);
    ~AwakeGuard() override;

private:
    void follow();

    MediaSession& m_session;
    ScreenSaverInhibitor& m_inhibitor;
    QString m_reason;
    bool m_held = false;
};

} // namespace lumora
