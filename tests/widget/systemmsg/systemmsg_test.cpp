#include "fakewebpane.h"
#include "lxsimage.h"
#include "support/eventwait.h"
#include "systemmsgholder.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace lumora {
namespace {

using test::FakeWebPane;
using test::FakeWebPaneFactory;

const QString kUrl = QStringLiteral("http://news.example.test/mini_index.html");
// A 1280 x 1024 screen with a 40 px panel at the bottom.
const ScreenAreas kAreas{{0, 0, 1280, 1024}, {0, 0, 1280, 984}};

// Lets deferred deletes and queued calls run.
void settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

class SystemMsgTest : public ::testing::Test {
protected:
    void TearDown() override { settle(); }

    TfrmSystemMsg* showSlot() {
        m_holder.showSlot();
        return m_holder.current();
    }
    FakeWebPane* pane() { return m_panes.last(); }

    FakeWebPaneFactory m_panes;
    SystemMsgHolder m_holder{m_panes, kUrl, [] { return kAreas; }};
};

TEST_F(SystemMsgTest, CreatedBelowTheScreenLoadingItsPagePastTheCache) {
    TfrmSystemMsg* popup = showSlot();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->windowTitle(), QStringLiteral("最新消息"));
    EXPECT_EQ(popup->size(), QSize(350, 300));
    EXPECT_TRUE(popup->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(popup->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(popup->pos(), QPoint(1280 - 350, 1024));
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->shownMarker(), 0);
    EXPECT_EQ(pane()->navigations(), (QList<FakeWebPane::Navigation>{{kUrl, 12}}));
    EXPECT_EQ(popup->pnlClose()->geometry(), QRect(309, 0, 41, 15));
    EXPECT_EQ(popup->image1()->toolTip(), QStringLiteral("关闭"));
    EXPECT_EQ(popup->image1()->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_FALSE(popup->timer1()->isActive());
    EXPECT_EQ(popup->timer1()->interval(), 3'600'000);
    EXPECT_TRUE(m_holder.isInBrowser(popup->browserWidget()));
    EXPECT_FALSE(m_holder.isInBrowser(popup->image1()));
}

TEST_F(SystemMsgTest, SlidesInOnceWhenTheTopLevelPageIsAtItsAddress) {
    TfrmSystemMsg* popup = showSlot();
    std::vector<int> tops;
    QObject::connect(popup, &TfrmSystemMsg::slideStep, [&](int top) { tops.push_back(top); });

    pane()->complete(false); // a frame
    pane()->setLocation(kUrl + "?redirected");
    pane()->complete(true);
    settle();
    EXPECT_EQ(popup->shownMarker(), 0);
    EXPECT_EQ(popup->y(), 1024);
    EXPECT_TRUE(tops.empty());

    pane()->setLocation(kUrl.toUpper());
    pane()->complete(true);
    ASSERT_TRUE(test::waitUntil([&] { return popup->timer1()->isActive(); }, 3000));
    EXPECT_EQ(popup->shownMarker(), 1);
    ASSERT_EQ(tops.size(), 301u);
    EXPECT_TRUE(std::adjacent_find(tops.begin(), tops.end(),
                                   [](int a, int b) { return b != a - 1; }) == tops.end());
    EXPECT_EQ(tops.front(), 983);
    EXPECT_EQ(popup->pos(), QPoint(930, 984 - 300 - 1));
    EXPECT_TRUE(popup->timer1()->isActive());

    pane()->complete(true); // the page reloading itself
    settle();
    EXPECT_EQ(tops.size(), 301u);
}

TEST_F(SystemMsgTest, TheHourOrTheClosePictureDestroysAndClearsTheReference) {
    m_holder.setShowFor(std::chrono::milliseconds(20));
    QPointer<TfrmSystemMsg> popup = showSlot();
    pane()->complete(true);
    settle();
    ASSERT_TRUE(popup);
    EXPECT_EQ(popup->timer1()->interval(), 20);
    EXPECT_TRUE(test::waitUntil([&] { return popup.isNull(); }));
    EXPECT_EQ(m_holder.current(), nullptr);

    popup = showSlot();
    ASSERT_TRUE(popup);
    emit popup->image1()->clicked();
    settle();
    EXPECT_TRUE(popup.isNull());
    EXPECT_EQ(m_holder.current(), nullptr);
    EXPECT_EQ(m_panes.panes().size(), 2);
}

TEST_F(SystemMsgTest, CloseDuringTheSlideInStopsIt) {
    QPointer<TfrmSystemMsg> popup = showSlot();
    int steps = 0;
    QObject::connect(popup, &TfrmSystemMsg::slideStep, [&](int) {
        if (++steps == 5) // a click that arrives while the window slides
            QMetaObject::invokeMethod(popup->image1(), &tLxsimage::clicked, Qt::QueuedConnection);
    });
    pane()->complete(true);
    EXPECT_TRUE(test::waitUntil([&] { return popup.isNull(); }, 3000));
    EXPECT_GE(steps, 5);
    EXPECT_LT(steps, 301);
    EXPECT_EQ(m_holder.current(), nullptr);
}

TEST_F(SystemMsgTest, NextSlotReusesAPopupStillThere) {
    TfrmSystemMsg* popup = showSlot();
    pane()->complete(true);
    settle();
    ASSERT_EQ(popup->shownMarker(), 1);

    ASSERT_TRUE(test::waitUntil([&] { return popup->timer1()->isActive(); }, 3000));
    EXPECT_EQ(showSlot(), popup);
    EXPECT_EQ(m_panes.panes().size(), 1);
    EXPECT_EQ(popup->shownMarker(), 0);
    EXPECT_EQ(popup->y(), 1024);
    EXPECT_EQ(pane()->navigations().size(), 2);
    pane()->complete(true);
    EXPECT_TRUE(test::waitUntil([&] { return popup->timer1()->isActive(); }, 3000));
}

} // namespace
} // namespace lumora
