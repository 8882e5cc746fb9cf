#include "urlprobe.h"

#include "fakes/fakeurlprobe.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <stdexcept>

namespace lumora {
namespace {

using Answer = test::FakeUrlProbe::Answer;

const QString kPage = QStringLiteral("http://site.example/ads.htm");
const QString kOffline = QStringLiteral("/opt/Resource/Html/offline/mp3.htm");

struct RetryCase {
    const char* name;
    QList<Answer> answers;
    int expectedProbes;
    bool expectPage;
};

class NavigateWithRetry : public ::testing::TestWithParam<RetryCase> {};

TEST_P(NavigateWithRetry, ProbesAtMostTwiceBeforeTheFallback) {
    test::FakeUrlProbe probe;
    probe.script(kPage, GetParam().answers);
    QStringList navigated;
    test::navigateInline(probe, kPage, kOffline, [&](const QString& to) { navigated << to; });
    EXPECT_EQ(probe.callCount(kPage), GetParam().expectedProbes);
    EXPECT_EQ(probe.calls().size(), GetParam().expectedProbes); // never the fallback
    EXPECT_EQ(navigated, QStringList{GetParam().expectPage ? kPage : kOffline});
}

INSTANTIATE_TEST_SUITE_P(
    Answers, NavigateWithRetry,
    ::testing::Values(RetryCase{"FirstProbe", {Answer::Reachable}, 1, true},
                      RetryCase{"SecondProbe", {Answer::Unreachable, Answer::Reachable}, 2, true},
                      RetryCase{"Neither", {Answer::Unreachable}, 2, false},
                      RetryCase{"ThrowThenReachable", {Answer::Throw, Answer::Reachable}, 2, true},
                      RetryCase{"AlwaysThrows", {Answer::Throw}, 2, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NavigateWithRetryFailures, NeverLeaveTheRoutine) {
    test::FakeUrlProbe probe;
    probe.setReachable(kPage, true);
    EXPECT_NO_THROW(test::navigateInline(
        probe, kPage, kOffline, [](const QString&) { throw std::runtime_error("pane gone"); }));
    EXPECT_NO_THROW(test::navigateInline(probe, kPage, kOffline, {}));
    EXPECT_EQ(probe.callCount(kPage), 2);
}

} // namespace
} // namespace lumora
