// The engine's downloads against a real local source: integrity, resumption and failures.
#include "enginefixture.h"

#include <algorithm>
#include <random>

namespace lumora::test {
namespace {

using namespace std::chrono_literals;
using Behaviour = SourceServer::Behaviour;

class Download : public EngineFixture {};

TEST_F(Download, CompletesByteIdenticalWithPercentRisingToHundred) {
    const std::string body = randomBytes(kFiveMegabytes, 1);
    Behaviour slow;
    slow.pause = 2ms; // slow enough to see the percent on its way
    m_source.serve("/1/a.flv", body, slow);
    const std::int32_t number = request("/1/a.flv");
    EXPECT_LT(m_engine.percentOf(number).value_or(100), 100);

    ASSERT_TRUE(waitComplete(number));
    EXPECT_EQ(readFile(finalFile(number)), body);
    EXPECT_FALSE(std::filesystem::exists(partFile(number)));
    ASSERT_TRUE(
        waitFor([&] { return !progressOf(number).empty() && progressOf(number).back() == 100; }));
    const auto percents = progressOf(number);
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
    EXPECT_GT(percents.size(), 10u); // whole-percent steps along the way
    EXPECT_EQ(std::count(percents.begin(), percents.end(), 100), 1);
}

TEST_F(Download, SameAddressSharesOneNumberOthersGetTheirOwn) {
    m_source.serve("/1/a.flv", "aaaa");
    m_source.serve("/1/b.flv", "bbbb");
    const auto first = m_engine.requestProgramme(m_source.url("/1/a.flv"));
    const auto again = m_engine.requestProgramme(m_source.url("/1/a.flv"));
    const auto other = m_engine.requestProgramme(m_source.url("/1/b.flv"));
    ASSERT_TRUE(first && again && other);
    EXPECT_EQ(*first, *again);
    EXPECT_NE(numberOf(*first), numberOf(*other));
    EXPECT_GE(numberOf(*first), 0);
    EXPECT_TRUE(waitComplete(numberOf(*first)));
    EXPECT_EQ(m_source.requestsFor("/1/a.flv"), 1);
}

TEST_F(Download, SurvivesTheConnectionCutManyTimes) {
    const std::string body = randomBytes(kFiveMegabytes, 2);
    Behaviour cut;
    cut.cutAfter = 300 * 1024;
    cut.cuts = 12;
    m_source.serve("/1/cut.flv", body, cut);
    const std::int32_t number = request("/1/cut.flv");
    ASSERT_TRUE(waitComplete(number));
    EXPECT_EQ(readFile(finalFile(number)), body);
    EXPECT_GE(m_source.requestsFor("/1/cut.flv"), 13);
    const auto ranges = m_source.rangesFor("/1/cut.flv");
    EXPECT_EQ(ranges.front(), "");
    EXPECT_EQ(ranges.at(1), "bytes=" + std::to_string(300 * 1024) + "-");
}

TEST_F(Download, SurvivesCutsAtRandomPoints) {
    for (const unsigned seed : {21u, 22u, 23u}) {
        SCOPED_TRACE(seed);
        const std::string body = randomBytes(2 * 1024 * 1024, seed);
        std::mt19937 generator(seed);
        Behaviour cut;
        // Anywhere from the first byte to past a whole chunk, as a flaky link drops.
        for (int i = 0; i < 12; ++i)
            cut.cutsAt.push_back(std::uniform_int_distribution<std::int64_t>(1, 200000)(generator));
        const std::string path = "/1/random" + std::to_string(seed) + ".flv";
        m_source.serve(path, body, cut);
        const std::int32_t number = request(path);
        ASSERT_TRUE(waitComplete(number));
        EXPECT_EQ(readFile(finalFile(number)), body);
        EXPECT_EQ(m_source.requestsFor(path), 13);
    }
}

TEST_F(Download, ASourceThatGoesSilentIsAskedAgainFromWhereItStopped) {
    m_engine.stop();
    m_stallTimeoutSeconds = 1;
    ASSERT_TRUE(startEngine());
    const std::string body = randomBytes(1024 * 1024, 5);
    Behaviour stall;
    stall.stallAt = 400 * 1024;
    stall.stallFor = std::chrono::seconds(3);
    m_source.serve("/1/stall.flv", body, stall);
    const std::int32_t number = request("/1/stall.flv");
    ASSERT_TRUE(waitComplete(number));
    EXPECT_EQ(readFile(finalFile(number)), body);
    const auto ranges = m_source.rangesFor("/1/stall.flv");
    ASSERT_EQ(ranges.size(), 2u);
    EXPECT_EQ(ranges[1], "bytes=" + std::to_string(400 * 1024) + "-");
}

TEST_F(Download, ResumesFromTheStartWhenTheSourceIgnoresRanges) {
    const std::string body = randomBytes(1024 * 1024, 3);
    Behaviour cut;
    cut.cutAfter = 200 * 1024;
    cut.cuts = 3;
    cut.ranges = false;
    m_source.serve("/1/noranges.mp3", body, cut);
    const std::int32_t number = request("/1/noranges.mp3");
    ASSERT_TRUE(waitComplete(number));
    EXPECT_EQ(readFile(finalFile(number)), body);
}

TEST_F(Download, CompletesASourceWithoutLength) {
    const std::string body = randomBytes(700 * 1024, 4);
    Behaviour chunked;
    chunked.chunked = true;
    m_source.serve("/1/chunked.swf", body, chunked);
    const std::int32_t number = request("/1/chunked.swf");
    ASSERT_TRUE(waitComplete(number));
    EXPECT_EQ(readFile(finalFile(number)), body);
}

class HttpError : public Download, public ::testing::WithParamInterface<int> {};

TEST_P(HttpError, LeavesThePartFileAndNeverReachesHundred) {
    Behaviour failing;
    failing.status = GetParam();
    m_source.serve("/1/missing.flv", "", failing);
    const std::int32_t number = request("/1/missing.flv");
    ASSERT_TRUE(waitFor([&] { return m_source.requestsFor("/1/missing.flv") == 1; }));
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(m_source.requestsFor("/1/missing.flv"), 1); // an error answer is not retried
    EXPECT_EQ(m_engine.percentOf(number), 0);
    EXPECT_TRUE(std::filesystem::exists(partFile(number)));
    EXPECT_FALSE(std::filesystem::exists(finalFile(number)));
    EXPECT_TRUE(progressOf(number).empty() || progressOf(number).back() < 100);
}

INSTANTIATE_TEST_SUITE_P(Statuses, HttpError, ::testing::Values(404, 500, 403));

TEST_F(Download, NeverCompletesWhenTheSourceSendsLessThanItAnnounced) {
    const std::string body = randomBytes(400 * 1024, 5);
    Behaviour shortBody;
    shortBody.announcedLength = static_cast<std::int64_t>(body.size()) + 1000;
    m_source.serve("/1/short.flv", body, shortBody);
    const std::int32_t number = request("/1/short.flv");
    ASSERT_TRUE(waitFor([&] { return m_source.requestsFor("/1/short.flv") >= 2; }));
    std::this_thread::sleep_for(300ms);
    EXPECT_LT(m_engine.percentOf(number).value_or(100), 100);
    EXPECT_FALSE(std::filesystem::exists(finalFile(number)));
}

TEST_F(Download, KeepsOnlyTheAnnouncedBytesWhenTheSourceSendsMore) {
    const std::string body = randomBytes(400 * 1024, 6);
    const std::size_t announced = body.size() - 1000;
    Behaviour longBody;
    longBody.announcedLength = static_cast<std::int64_t>(announced);
    m_source.serve("/1/long.flv", body, longBody);
    const std::int32_t number = request("/1/long.flv");
    ASSERT_TRUE(waitComplete(number));
    EXPECT_EQ(readFile(finalFile(number)), body.substr(0, announced));
}

TEST_F(Download, ReusesAnEarlierCompleteDownloadAtOnce) {
    const std::string body = randomBytes(100 * 1024, 7);
    m_source.serve("/1/again.mp3", body);
    ASSERT_TRUE(waitComplete(request("/1/again.mp3")));
    m_engine.stop();
    ASSERT_TRUE(startEngine());
    const std::int32_t number = request("/1/again.mp3");
    EXPECT_EQ(m_engine.percentOf(number), 100);
    EXPECT_EQ(m_source.requestsFor("/1/again.mp3"), 1);
}

TEST_F(Download, ResumesThePartFileOfAnEarlierRun) {
    const std::string body = randomBytes(kFiveMegabytes, 8);
    Behaviour slow;
    slow.pause = 20ms;
    m_source.serve("/1/later.flv", body, slow);
    std::int32_t number = request("/1/later.flv");
    ASSERT_TRUE(waitFor([&] { return m_engine.percentOf(number) >= 3; }));
    const auto part = partFile(number);
    m_engine.stop();
    const auto kept = std::filesystem::file_size(part);
    ASSERT_GT(kept, 0u);

    m_source.serve("/1/later.flv", body); // now fast
    ASSERT_TRUE(startEngine());
    number = request("/1/later.flv");
    ASSERT_TRUE(waitComplete(number));
    EXPECT_EQ(readFile(finalFile(number)), body);
    EXPECT_EQ(m_source.rangesFor("/1/later.flv").front(), "bytes=" + std::to_string(kept) + "-");
}

TEST_F(Download, StopDuringADownloadIsPromptAndLeavesNoThread) {
    m_engine.stop();
    const int before = threadCount();
    ASSERT_TRUE(startEngine());
    Behaviour slow;
    slow.pause = 50ms;
    m_source.serve("/1/slow.flv", randomBytes(kFiveMegabytes, 9), slow);
    const std::int32_t number = request("/1/slow.flv");
    ASSERT_TRUE(waitFor([&] { return m_engine.percentOf(number) >= 1; }));
    const auto started = std::chrono::steady_clock::now();
    m_engine.stop();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
    EXPECT_TRUE(waitFor([&] { return threadCount() == before; }, 2s)) << threadCount();
    EXPECT_FALSE(m_engine.percentOf(number));
    EXPECT_FALSE(m_engine.requestProgramme(m_source.url("/1/slow.flv")));
}

TEST_F(Download, AnAddressClimbingOutOfItsFolderStaysInTheStore) {
    m_source.serve("/etc/evil.flv", "evil");
    const std::int32_t number = request("/1/../../../etc/evil.flv");
    EXPECT_EQ(finalFile(number).parent_path(), store());
    waitFor([&] { return m_engine.percentOf(number) == 100; }, 2s);
    // Nothing beside the store in the temporary folder.
    std::vector<std::string> entries;
    for (const auto& entry : std::filesystem::directory_iterator(m_dir.path().toStdString()))
        entries.push_back(entry.path().filename().string());
    EXPECT_EQ(entries, std::vector<std::string>{"store"});
}

} // namespace
} // namespace lumora::test
