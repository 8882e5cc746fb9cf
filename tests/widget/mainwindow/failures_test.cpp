#include "harness.h"

#include <gtest/gtest.h>

#include <functional>

using namespace lumora;
using namespace lumora::test;

namespace {

// The sample catalogue's first programme (index 1) with an id the engine cannot be asked
// about; the video after it (index 2) plays.
constexpr int kBroken = 1, kVideo = 2;
const QString kBrokenText = QStringLiteral("'x11' is not a valid integer value");

struct HandlerCase {
    const char* label;
    std::function<void(TfrmMain&)> handler;
    int boxes; // error boxes the handler shows
};

void clickNode(TfrmMain& w, int index) {
    if (w.selectNode(index))
        w.tv1Click();
}

// Each handler that reaches the broken programme gets its failure back and shows it in the
// standard error box itself; nothing leaves the handler. The tick and the play button drop it,
// as every failure inside them.
TEST(HandlerFailures, ReachTheErrorBoxFromTheHandlerItself) {
    const HandlerCase cases[] = {
        {"tree click", [](TfrmMain& w) { clickNode(w, kBroken); }, 1},
        {"previous button", [](TfrmMain& w) { w.btnPreClick(); }, 1},
        {"next button", [](TfrmMain& w) { w.btnNextClick(); }, 1}, // to the category's first
        {"replay",
         [](TfrmMain& w) {
             clickNode(w, kBroken);
             w.ReplayClick();
         },
         2},
        {"tick at the end", [](TfrmMain& w) { w.TimerPlayListTimer(); }, 0},
        {"play button's replay",
         [](TfrmMain& w) {
             w.setCurPlay(w.catalogue().record(kBroken));
             w.setPlayState(PlayState::Stopped);
             w.btnPlayClick();
         },
         0},
    };
    for (const HandlerCase& c : cases) {
        SCOPED_TRACE(c.label);
        Harness h;
        h.writeCatalogue(23, sampleCatalogue().replace("id=\"11\"", "id=\"x11\""));
        TfrmMain& w = h.create();
        clickNode(w, kVideo); // it ended, as the tick will read
        h.flash.replies[QStringLiteral("<invoke name=\"getPlayState\"></invoke>")] =
            QStringLiteral("<number>0</number>");
        ASSERT_TRUE(h.dialogs.shown.empty());
        EXPECT_NO_THROW(c.handler(w));
        ASSERT_EQ(int(h.dialogs.shown.size()), c.boxes);
        for (const FakeDialogs::Shown& box : h.dialogs.shown) {
            EXPECT_EQ(box.kind, "error");
            EXPECT_EQ(box.text, kBrokenText);
        }
        EXPECT_EQ(w.curPlay(), w.catalogue().record(kBroken)); // it was tried
        EXPECT_FALSE(playListTimer(w).isActive());
    }
}

} // namespace
