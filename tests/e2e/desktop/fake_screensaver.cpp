// A screen-saver service for the test bus: prints every Inhibit and UnInhibit it is asked.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QObject>

#include <cstdio>

class FakeScreenSaver : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public slots:
    uint Inhibit(const QString& application, const QString& reason) {
        std::printf("Inhibit %u %s: %s\n", ++m_cookie, qPrintable(application), qPrintable(reason));
        std::fflush(stdout);
        return m_cookie;
    }
    void UnInhibit(uint cookie) {
        std::printf("UnInhibit %u\n", cookie);
        std::fflush(stdout);
    }

private:
    uint m_cookie = 0;
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    FakeScreenSaver saver;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/ScreenSaver"), &saver,
                            QDBusConnection::ExportAllSlots) ||
        !bus.registerService(QStringLiteral("org.freedesktop.ScreenSaver")))
        return 1;
    std::puts("ready");
    std::fflush(stdout);
    return app.exec();
}

#include "fake_screensaver.moc"
