#include "dlengine.h"
#include "stubcontrol.h"
#include "support/tempdir.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <string>
#include <thread>

using namespace lumora;

namespace {

const QString kCompleteDir = QStringLiteral(STUB_COMPLETE_DIR);
const QString kIncompleteDir = QStringLiteral(STUB_INCOMPLETE_DIR);

// The stub library's control functions, from the copy the engine has loaded.
class Stub {
public:
    explicit Stub(const QString& dir) {
        const std::string path = (dir + QStringLiteral("/libLumora.so")).toStdString();
        m_handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
        if (!m_handle)
            throw std::runtime_error("stub not loaded: " + path);
        m_log = reinterpret_cast<StubLogFn>(dlsym(m_handle, "stubLog"));
        m_clear = reinterpret_cast<StubClearFn>(dlsym(m_handle, "stubClear"));
        m_script = reinterpret_cast<StubScriptFn>(dlsym(m_handle, "stubScript"));
        m_fire = reinterpret_cast<StubFireFn>(dlsym(m_handle, "stubFire"));
        m_clear();
        script(1, "");
    }
    ~Stub() { dlclose(m_handle); }
    std::string log() const { return m_log(); }
    void script(int result, const std::string& answer, int percent = 0) const {
        m_script(result, answer.data(), int32_t(answer.size()), percent);
    }
    void fire(int number, int percent, bool otherThread) const {
        m_fire(number, percent, otherThread ? 1 : 0);
    }

private:
    void* m_handle = nullptr;
    StubLogFn m_log = nullptr;
    StubClearFn m_clear = nullptr;
    StubScriptFn m_script = nullptr;
    StubFireFn m_fire = nullptr;
};

template <typename Pred> bool processEventsUntil(Pred done) {
    QDeadlineTimer deadline(5000);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

// "拼音" in GBK.
const char* const kPinyinGbk = "\xC6\xB4\xD2\xF4";
const char* const kPinyinGbkHex = "C6B4D2F4";

} // namespace

TEST(DlEngine, PassesProgrammeRequestsAsGbkWithAZeroedBuffer) {
    DlEngine engine(kCompleteDir);
    ASSERT_TRUE(engine.loaded());
    Stub stub(kCompleteDir);
    stub.script(1, std::string("http://127.0.0.1/") + kPinyinGbk + "/P2P/7.flv");

    QString answer;
    ASSERT_TRUE(engine.SetProgramInfo(QStringLiteral("u/拼音"), 129, 2, 2, answer));
    EXPECT_EQ(answer, QStringLiteral("http://127.0.0.1/拼音/P2P/7.flv"));
    EXPECT_EQ(stub.log(),
              std::string("SetProgramInfo(752F") + kPinyinGbkHex + ",129,2,2,zeroed)\n");
}

TEST(DlEngine, RefusedProgrammeLeavesTheAnswerAlone) {
    DlEngine engine(kCompleteDir);
    Stub stub(kCompleteDir);
    stub.script(0, "P2P/1.flv");
    QString answer = QStringLiteral("before");
    EXPECT_FALSE(engine.SetProgramInfo(QStringLiteral("u"), 1, 2, 2, answer));
    EXPECT_EQ(answer, QStringLiteral("before"));
}

TEST(DlEngine, AnswerFillingTheWholeBufferIsCutAtItsEnd) {
    DlEngine engine(kCompleteDir);
    Stub stub(kCompleteDir);
    stub.script(1, std::string(1024, 'a'));
    QString answer;
    ASSERT_TRUE(engine.SetProgramInfo(QStringLiteral("u"), 1, 2, 2, answer));
    EXPECT_EQ(answer, QString(1024, QLatin1Char('a')));
}

TEST(DlEngine, ReadsPercentFromThreeSeparateCells) {
    DlEngine engine(kCompleteDir);
    Stub stub(kCompleteDir);
    stub.script(1, "", 63);
    std::int32_t percent = -5;
    ASSERT_TRUE(engine.GetProgInfo(41, percent));
    EXPECT_EQ(percent, 63);
    stub.script(0, "", 99);
    EXPECT_FALSE(engine.GetProgInfo(41, percent));
    EXPECT_EQ(percent, 63);
    EXPECT_EQ(stub.log(), "GetProgInfo(41,cells)\nGetProgInfo(41,cells)\n");
}

TEST(DlEngine, LoginFromAnotherThreadRunsAlongsideOtherCalls) {
    DlEngine engine(kCompleteDir);
    Stub stub(kCompleteDir);
    constexpr int kRounds = 50;
    std::thread login([&] {
        for (int i = 0; i < kRounds; ++i)
            engine.ClientLoginIn(33554455, QStringLiteral("拼音"));
    });
    QString answer;
    for (int i = 0; i < kRounds; ++i)
        engine.SetProgramInfo(QStringLiteral("u"), i, 2, 2, answer);
    login.join();
    const std::string log = stub.log();
    const std::string loginLine = std::string("ClientLoginIn(33554455,") + kPinyinGbkHex + ")\n";
    std::size_t logins = 0;
    for (std::size_t at = log.find(loginLine); at != std::string::npos;
         at = log.find(loginLine, at + 1))
        ++logins;
    EXPECT_EQ(logins, std::size_t(kRounds));
}

TEST(DlEngine, ProgressArrivesQueuedOnTheMainThread) {
    DlEngine engine(kCompleteDir);
    Stub stub(kCompleteDir);
    QThread* handlerThread = nullptr;
    std::vector<std::pair<int, int>> reports;
    ASSERT_TRUE(engine.Initlumora(33554455, [&](std::int32_t number, std::int32_t percent) {
        handlerThread = QThread::currentThread();
        reports.emplace_back(number, percent);
    }));
    EXPECT_EQ(stub.log(), "Initlumora(33554455)\n");

    stub.fire(12, 100, true);
    stub.fire(13, 40, false);
    EXPECT_TRUE(reports.empty()); // nothing runs inside the engine's call
    ASSERT_TRUE(processEventsUntil([&] { return reports.size() == 2; }));
    EXPECT_EQ(handlerThread, QCoreApplication::instance()->thread());
    EXPECT_EQ(reports[0], std::make_pair(12, 100));
    EXPECT_EQ(reports[1], std::make_pair(13, 40));

    // Reports still queued when the engine stops are dropped.
    stub.fire(14, 100, true);
    engine.UnInitlumora();
    stub.fire(15, 100, true);
    QCoreApplication::processEvents();
    EXPECT_EQ(reports.size(), 2u);
    EXPECT_NE(stub.log().find("UnInitlumora()"), std::string::npos);
}

TEST(DlEngine, WithoutTheLibraryEveryCallAnswersFalse) {
    test::TempDir empty;
    DlEngine engine(empty.path());
    EXPECT_FALSE(engine.loaded());
    bool called = false;
    EXPECT_FALSE(engine.Initlumora(1, [&](std::int32_t, std::int32_t) { called = true; }));
    EXPECT_FALSE(engine.ClientLoginIn(1, QStringLiteral("x")));
    QString answer = QStringLiteral("before");
    EXPECT_FALSE(engine.SetProgramInfo(QStringLiteral("u"), 1, 2, 2, answer));
    EXPECT_EQ(answer, QStringLiteral("before"));
    std::int32_t percent = 7;
    EXPECT_FALSE(engine.GetProgInfo(1, percent));
    EXPECT_EQ(percent, 7);
    engine.UnInitlumora();
    EXPECT_FALSE(called);
}

TEST(DlEngine, LibraryLackingAFunctionIsNotUsedAtAll) {
    DlEngine engine(kIncompleteDir);
    EXPECT_FALSE(engine.loaded());
    Stub stub(kIncompleteDir);
    EXPECT_FALSE(engine.Initlumora(1, {}));
    EXPECT_FALSE(engine.ClientLoginIn(1, QStringLiteral("x")));
    QString answer;
    EXPECT_FALSE(engine.SetProgramInfo(QStringLiteral("u"), 1, 2, 2, answer));
    engine.UnInitlumora();
    EXPECT_EQ(stub.log(), "");
}
