#include "fakes/fakewebpane.h"

#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

namespace lumora::test {
namespace {

// The fake stands in for the real pane in window tests: it must sit in layouts and complete
// on request at the location it was given.
TEST(FakeWebPaneTest, RecordsAndCompletesOnRequest) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    FakeWebPaneFactory factory;
    auto pane = factory.createPane(&window);
    layout->addWidget(pane->widget());
    ASSERT_EQ(factory.last(), pane.get());
    EXPECT_EQ(pane->widget()->parentWidget(), &window);

    QList<bool> completes;
    pane->onDocumentComplete = [&](bool topLevel) { completes.append(topLevel); };
    pane->navigate("http://a/", 12);
    factory.last()->setLocation("http://b/");
    factory.last()->complete(false);
    factory.last()->complete();
    pane->setBodyScrollAndBorder("auto", "none");

    EXPECT_EQ(factory.last()->navigations(), (QList<FakeWebPane::Navigation>{{"http://a/", 12}}));
    EXPECT_EQ(pane->locationUrl(), "http://b/");
    EXPECT_EQ(completes, (QList<bool>{false, true}));
    EXPECT_EQ(factory.last()->bodyStyles(), (QList<FakeWebPane::BodyStyle>{{"auto", "none"}}));
    pane.reset();
    EXPECT_TRUE(window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly).isEmpty());
}

} // namespace
} // namespace lumora::test
