#include "application.h"
#include "platformfakes.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace lumora;

namespace {

// A handler with a programming error: handlers get failures as values, so only such an
// exception still reaches the application's last guard.
class FailingHandler : public QObject {
public:
    int handled = 0;
    bool event(QEvent* e) override {
        if (e->type() != QEvent::User)
            return QObject::event(e);
        ++handled;
        throw std::runtime_error("'abc' is not a valid integer value");
    }
};

} // namespace

TEST(StandardErrorBox, AFailureThatEscapesAHandlerIsShownAndTheProgramGoesOn) {
    auto* app = dynamic_cast<LumoraApplication*>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    test::FakeDialogs dialogs;
    app->setErrorDialogs(&dialogs);
    FailingHandler handler;
    QCoreApplication::postEvent(&handler, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&handler, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
    app->setErrorDialogs(nullptr);
    EXPECT_EQ(handler.handled, 2); // the second event still arrived
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].kind, "error");
    EXPECT_EQ(dialogs.shown[0].text, "'abc' is not a valid integer value");
}
