// The screen-saver backend against services on a bus of the test's own: the screen saver's
// Inhibit where it exists, else the portal's, and every request given back.
#include "dbusscreensaver.h"
#include "support/eventwait.h"
#include "support/privatebus.h"

#include <QDBusObjectPath>
#include <QVariantMap>

#include <gtest/gtest.h>

using namespace lumora;
using namespace lumora::test;

namespace {

QStringList calls; // what the fake services were asked, in order

class FakeScreenSaverService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public slots:
    uint Inhibit(const QString& app, const QString& reason) {
        calls << QStringLiteral("Inhibit %1 %2").arg(app, reason);
        return 7;
    }
    void UnInhibit(uint cookie) { calls << QStringLiteral("UnInhibit %1").arg(cookie); }
};

const QString kRequestPath = QStringLiteral("/org/freedesktop/portal/desktop/request/1/t1");

class FakePortalRequest : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Request")
public slots:
    void Close() { calls << QStringLiteral("Close"); }
};

class FakePortal : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Inhibit")
public slots:
    QDBusObjectPath Inhibit(const QString&, uint flags, const QVariantMap& options) {
        calls << QStringLiteral("Portal %1 %2").arg(flags).arg(options.value("reason").toString());
        return QDBusObjectPath(kRequestPath);
    }
};

struct Services {
    bool screenSaver;
    bool portal;
};

// A bus with the chosen services, and the backend on a connection of its own.
struct Desktop {
    PrivateBus bus;
    QDBusConnection services = bus.connect("services");
    FakeScreenSaverService saver;
    FakePortal portal;
    FakePortalRequest request;
    std::unique_ptr<DBusScreenSaverInhibitor> inhibitor;

    explicit Desktop(Services with) {
        calls.clear();
        const auto all = QDBusConnection::ExportAllSlots;
        if (with.screenSaver) {
            services.registerObject("/org/freedesktop/ScreenSaver", &saver, all);
            services.registerService("org.freedesktop.ScreenSaver");
        }
        if (with.portal) {
            services.registerObject("/org/freedesktop/portal/desktop", &portal, all);
            services.registerObject(kRequestPath, &request, all);
            services.registerService("org.freedesktop.portal.Desktop");
        }
        inhibitor = std::make_unique<DBusScreenSaverInhibitor>(bus.connect("client"), "app");
    }
};

} // namespace

TEST(ScreenSaverBus, AsksTheScreenSaverElseThePortalAndGivesBack) {
    struct Row {
        Services with;
        QStringList expected;
    };
    const Row rows[] = {
        {{true, true}, {"Inhibit app film", "UnInhibit 7"}},
        {{false, true}, {"Portal 8 film", "Close"}},
        {{false, false}, {}},
    };
    for (const Row& r : rows) {
        Desktop desktop(r.with);
        ASSERT_TRUE(desktop.bus.started());
        desktop.inhibitor->inhibit("film");
        desktop.inhibitor->inhibit("film"); // held already: no second request
        const auto asked = [&](int n) { return [n] { return calls.size() >= n; }; };
        const bool served = r.with.screenSaver || r.with.portal;
        served ? void(waitUntil(asked(1), 3000)) : settle(200); // both services fail at first
        desktop.inhibitor->release();
        desktop.inhibitor->release();
        served ? void(waitUntil(asked(2), 3000)) : settle(100);
        settle(100);
        EXPECT_EQ(calls, r.expected) << r.with.screenSaver << r.with.portal;
    }
}

TEST(ScreenSaverBus, ARequestReleasedBeforeItsAnswerIsGivenBackOnArrival) {
    Desktop desktop({true, false});
    desktop.inhibitor->inhibit("film");
    desktop.inhibitor->release();
    EXPECT_TRUE(waitUntil([] { return calls.size() == 2; }, 3000));
    EXPECT_EQ(calls, QStringList({"Inhibit app film", "UnInhibit 7"}));
}

TEST(ScreenSaverBus, WithoutABusNothingHappens) {
    calls.clear();
    DBusScreenSaverInhibitor inhibitor(QDBusConnection(QStringLiteral("none")), "app");
    inhibitor.inhibit("film");
    inhibitor.release();
    settle(50);
    EXPECT_TRUE(calls.isEmpty());
}

#include "screensaver_test.moc"
