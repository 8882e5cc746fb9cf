#include "flvplayer.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <optional>

namespace lumora {
namespace {

// Answers every request with one reply (or fails) and keeps the requests.
class ScriptedFlash : public ExternalInterfaceCaller {
public:
    explicit ScriptedFlash(std::optional<QString> reply) : m_reply(std::move(reply)) {}
    Outcome<QString> CallFunction(const QString& request) override {
        requests.append(request);
        if (!m_reply)
            return Failure{QStringLiteral("control gone")};
        return *m_reply;
    }
    QStringList requests;

private:
    std::optional<QString> m_reply;
};

TEST(FlvRequests, AreTheMovieExternalInterfaceTexts) {
    ScriptedFlash flash(QStringLiteral("<undefined/>"));
    flvPlayPause(flash);
    flvSeek(flash, 95);
    flvGetDuration(flash);
    flvGetPosition(flash);
    flvGetPlayState(flash);
    const QStringList expected{
        R"(<invoke name="sendEvent"><arguments><string>playpause</string></arguments></invoke>)",
        R"(<invoke name="sendEvent"><arguments><string>position</string><number>95</number></arguments></invoke>)",
        R"(<invoke name="getDuration"></invoke>)",
        R"(<invoke name="getPosition"></invoke>)",
        R"(<invoke name="getPlayState"></invoke>)",
    };
    EXPECT_EQ(flash.requests, expected);
}

struct ReplyCase {
    const char* reply;
    int time; // duration and position
    int playState;
};

class FlvReplies : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(FlvReplies, AreReadAsNearestIntegerOrErrorValue) {
    ScriptedFlash flash(QString::fromUtf8(GetParam().reply));
    EXPECT_EQ(flvGetDuration(flash), GetParam().time);
    EXPECT_EQ(flvGetPosition(flash), GetParam().time);
    EXPECT_EQ(flvGetPlayState(flash), GetParam().playState);
}

INSTANTIATE_TEST_SUITE_P(Numbers, FlvReplies,
                         ::testing::Values(ReplyCase{"<number>12.5</number>", 12, 12},
                                           ReplyCase{"<number>13.5</number>", 14, 14},
                                           ReplyCase{"<NUMBER>7</NUMBER>", 7, 7},
                                           ReplyCase{"<Number>2</nUmBeR>", 2, 2},
                                           ReplyCase{"<number>0</number>", 0, 0},
                                           ReplyCase{"<number>-2.5</number>", -2, -2},
                                           ReplyCase{"<number>1.4999</number>", 1, 1},
                                           ReplyCase{"<number> 3.6 </number>", 4, 4},
                                           ReplyCase{"<number>1e2</number>", 100, 100},
                                           ReplyCase{"<number>.5</number>", 0, 0}));

INSTANTIATE_TEST_SUITE_P(NoNumber, FlvReplies,
                         ::testing::Values(ReplyCase{"", 0, -1},
                                           ReplyCase{"<string>1</string>", 0, -1},
                                           ReplyCase{"<number></number>", 0, -1},
                                           ReplyCase{"<number>1,5</number>", 0, -1},
                                           ReplyCase{"<number>1,000</number>", 0, -1},
                                           ReplyCase{"<number>nan</number>", 0, -1},
                                           ReplyCase{"<number>inf</number>", 0, -1},
                                           ReplyCase{"<number>1e400</number>", 0, -1},
                                           ReplyCase{"<number>3e9</number>", 0, -1},
                                           ReplyCase{"<number>0x10</number>", 0, -1},
                                           ReplyCase{"<undefined/>", 0, -1}));

TEST(FlvReplies, CallerFailureGivesErrorValuesAndCommandsStayQuiet) {
    ScriptedFlash flash(std::nullopt);
    EXPECT_EQ(flvGetDuration(flash), 0);
    EXPECT_EQ(flvGetPosition(flash), 0);
    EXPECT_EQ(flvGetPlayState(flash), -1);
    EXPECT_NO_THROW(flvPlayPause(flash));
    EXPECT_NO_THROW(flvSeek(flash, 3));
    EXPECT_EQ(flash.requests.size(), 5);
}

TEST(StripNumberTags, LowerCasesAndRemovesEveryTag) {
    EXPECT_EQ(stripNumberTags("<NUMBER>1</Number><number>2</number>"), "12");
    EXPECT_EQ(stripNumberTags("<String>A</String>"), "<string>a</string>");
    EXPECT_EQ(stripNumberTags(""), "");
}

} // namespace
} // namespace lumora
