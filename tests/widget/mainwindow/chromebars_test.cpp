// The caption bar and the status strip: what their controls tell, how they look.
#include "harness.h"

#include "captionbar.h"
#include "statusstrip.h"

#include <QApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <vector>

using namespace lumora;
using namespace lumora::test;

namespace {

void sendMouse(QWidget* target, QEvent::Type type, Qt::MouseButtons held) {
    const QPointF at(2, 2);
    QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

template <typename Part> struct Control {
    const char* name;
    void (Part::*signal)();
};

// A click on each control gives its own signal and no other.
template <typename Part, std::size_t n>
void expectSignals(Part& part, const Control<Part> (&controls)[n]) {
    for (const Control<Part>& clicked : controls) {
        std::vector<int> given(n, 0);
        const QObject listening; // the counting ends with it
        for (std::size_t i = 0; i < n; ++i)
            QObject::connect(&part, controls[i].signal, &listening, [&given, i] { ++given[i]; });
        clickOn(part, clicked.name);
        for (std::size_t i = 0; i < n; ++i)
            EXPECT_EQ(given[i], &controls[i] == &clicked ? 1 : 0)
                << clicked.name << " gave " << controls[i].name << "'s signal";
    }
}

} // namespace

TEST(CaptionBar, EachControlGivesItsSignal) {
    CaptionBar bar(nullptr);
    const Control<CaptionBar> controls[] = {{"limgMin", &CaptionBar::minimiseClicked},
                                            {"limgMax", &CaptionBar::maximiseClicked},
                                            {"limgNor", &CaptionBar::restoreClicked},
                                            {"limgClose", &CaptionBar::closeClicked},
                                            {"imgLogo", &CaptionBar::logoClicked}};
    expectSignals(bar, controls);

    std::vector<Qt::MouseButtons> drags;
    int doubles = 0;
    QObject::connect(&bar, &CaptionBar::dragStarted,
                     [&drags](Qt::MouseButtons buttons) { drags.push_back(buttons); });
    QObject::connect(&bar, &CaptionBar::doubleClicked, [&doubles] { ++doubles; });
    QWidget* strip = bar.findChild<QWidget*>("imgTc");
    sendMouse(strip, QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_EQ(drags, std::vector<Qt::MouseButtons>{Qt::LeftButton});
    EXPECT_EQ(doubles, 0);
    sendMouse(strip, QEvent::MouseButtonDblClick, Qt::LeftButton);
    EXPECT_EQ(doubles, 1);
}

TEST(CaptionBar, ButtonsFollowTheRightEdgeAndOfferWhatTheWindowIsNot) {
    CaptionBar bar(nullptr);
    bar.resize(600, 84);
    bar.show();
    const auto at = [&bar](const char* name) { return bar.findChild<QWidget*>(name)->geometry(); };
    EXPECT_EQ(at("imgTc"), QRect(5, 0, 590, 84));
    EXPECT_EQ(at("imgTr"), QRect(595, 0, 5, 84));
    EXPECT_EQ(at("limgClose"), QRect(552, 0, 43, 19));
    EXPECT_EQ(at("limgMax"), QRect(519, 0, 33, 19));
    EXPECT_EQ(at("limgNor"), at("limgMax"));
    EXPECT_EQ(at("limgMin"), QRect(486, 0, 33, 19));
    bar.resize(800, 84);
    EXPECT_EQ(at("limgClose").x(), 752);
    for (bool maximised : {true, false}) {
        bar.setMaximised(maximised);
        EXPECT_EQ(bar.findChild<QWidget*>("limgMax")->isVisible(), !maximised);
        EXPECT_EQ(bar.findChild<QWidget*>("limgNor")->isVisible(), maximised);
    }
}

TEST(CaptionBar, ButtonsReachTheWindowsHandlers) {
    Harness h;
    TfrmMain& w = h.create();
    w.show();
    CaptionBar& caption = part<CaptionBar>(w);
    clickOn(caption, "limgNor");
    EXPECT_FALSE(w.isMaximized());
    EXPECT_FALSE(caption.maximised());
    clickOn(caption, "limgMax");
    EXPECT_TRUE(w.isMaximized());
    EXPECT_TRUE(caption.maximised());
    clickOn(caption, "limgMin");
    EXPECT_TRUE(w.windowState() & Qt::WindowMinimized);
}

TEST(StatusStrip, EachControlGivesItsSignal) {
    FakeWebPaneFactory panes;
    StatusStrip strip(panes, nullptr);
    const Control<StatusStrip> controls[] = {{"SpeedButton1", &StatusStrip::moreClicked},
                                             {"sbtnQQOnline", &StatusStrip::qqOnlineClicked},
                                             {"lblWeb", &StatusStrip::linkClicked}};
    expectSignals(strip, controls);
}

TEST(StatusStrip, RecommendationIsHotWhileTheMouseIsOverIt) {
    FakeWebPaneFactory panes;
    StatusStrip strip(panes, nullptr);
    QWidget* link = strip.findChild<QWidget*>("lblWeb");
    sendMouse(link, QEvent::MouseMove, Qt::NoButton);
    EXPECT_TRUE(link->property("hot").toBool());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(link, &leave);
    EXPECT_FALSE(link->property("hot").toBool());
}
