#include "requests.h"

#include "des.h"
#include "fakes/fakeengine.h"
#include "numbertext.h"

#include <gtest/gtest.h>

using namespace lumora;
using lumora::test::FakeEngine;

namespace {

const QString kBase = QStringLiteral("http://dl.example.test/prog/");

QString cipherOf(const char* decimal) {
    return QString::fromLatin1(EncryptHex(decimal, ProgrammeKey));
}

TLumoraPlay record(const QString& id, const QString& type, const QString& name = {}) {
    TLumoraPlay r;
    r.id = id;
    r.type = type;
    r.name = name;
    r.engineNo = 77;
    r.playUrl = QStringLiteral("old-play-url");
    return r;
}

} // namespace

TEST(TypeExtension, MapsTheTypeCodes) {
    const struct {
        const char* type;
        const char* extension;
    } cases[] = {
        {"1", ".swf"},  {"2", ".mp3"},  {"3", ".txt"}, {"4", ".flv"}, {"10", ".rar"},
        {"11", ".zip"}, {"01", ".swf"}, {"0", ""},     {"5", ""},     {"12", ""},
        {"-1", ""},     {"abc", ""},    {"", ""},      {"1.0", ""},   {" 1", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(typeExtension(QString::fromLatin1(c.type)), QLatin1String(c.extension)) << c.type;
}

TEST(ProgrammeFolder, IsTheCeilingOfIdOver128) {
    const struct {
        std::int32_t id;
        const char* folder;
    } cases[] = {
        {0, "0"},
        {1, "1"},
        {127, "1"},
        {128, "1"},
        {129, "2"},
        {256, "2"},
        {257, "3"},
        {-5, "0"},
        {-128, "-1"},
        {-129, "-1"},
        {2147483647, "16777216"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(programmeFolder(c.id), QLatin1String(c.folder)) << c.id;
}

TEST(DownloadAddress, JoinsBaseFolderCipherAndExtension) {
    // Enciphered with the openssl command line under the derived key 7CCEA39F717D517C.
    EXPECT_EQ(downloadAddress(kBase, 42, QStringLiteral("4")), kBase + "1/21BE11F7D4E2051A.flv");
    EXPECT_EQ(downloadAddress(kBase, 0, QStringLiteral("9")), kBase + "0/" + cipherOf("0"));
    EXPECT_EQ(downloadAddress(kBase, 129, QStringLiteral("x")), kBase + "2/" + cipherOf("129"));
}

TEST(EngineNumberFromAnswer, ReadsTheNumberBetweenMarkerAndExtension) {
    const struct {
        const char* answer;
        std::optional<std::int32_t> number;
    } cases[] = {
        {"http://127.0.0.1:8000/P2P/12345.flv", 12345},
        {"P2P/0.mp3", 0},
        {"P2P/4294967297.flv", 1},  // low 32 bits of a 64-bit number
        {"P2P/4294967295.flv", -1}, // wraps like the 32-bit field it lands in
        {"P2P/-3.swf", -3},
        {"P2P/1234567", 123}, // the last four characters are taken as the extension
        {"http://h/P2P/7/P2P/9.flv", std::nullopt}, // the first marker counts
        {"http://127.0.0.1/12345.flv", std::nullopt},
        {"P2P/.flv", std::nullopt},
        {"P2P/abc.flv", std::nullopt},
        {"P2P/9223372036854775808.flv", std::nullopt},
        {"P2P/", std::nullopt},
        {"xP2P/", std::nullopt},
        {"P2P", std::nullopt},
        {"abc", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(engineNumberFromAnswer(QString::fromLatin1(c.answer)), c.number) << c.answer;
}

TEST(RequestProgramme, FillsTheRecordFromTheEngineAnswer) {
    FakeEngine engine;
    engine.programAnswer = QStringLiteral("http://127.0.0.1:9000/P2P/4294967396.flv");
    TLumoraPlay r =
        record(QStringLiteral("129"), QStringLiteral("4"), QStringLiteral("拼音%20第一课%20上"));

    ASSERT_TRUE(requestProgramme(r, engine, kBase));

    EXPECT_EQ(r.name, QStringLiteral("拼音 第一课 上"));
    EXPECT_EQ(r.downUrl, kBase + "2/" + cipherOf("129") + ".flv");
    ASSERT_EQ(engine.programCalls.size(), 1u);
    EXPECT_EQ(engine.programCalls[0].downUrl, r.downUrl);
    EXPECT_EQ(engine.programCalls[0].id, 129);
    EXPECT_EQ(engine.programCalls[0].a, 2);
    EXPECT_EQ(engine.programCalls[0].b, 2);
    EXPECT_EQ(r.engineNo, 100);
    EXPECT_EQ(r.playUrl, engine.programAnswer);
    EXPECT_EQ(r.id, QStringLiteral("129"));
}

TEST(RequestProgramme, EnciphersTheIdWithoutLeadingZeros) {
    FakeEngine engine;
    engine.programAnswer = QStringLiteral("P2P/5.swf");
    TLumoraPlay r = record(QStringLiteral("0042"), QStringLiteral("1"));
    ASSERT_TRUE(requestProgramme(r, engine, kBase));
    EXPECT_EQ(r.downUrl, kBase + "1/" + cipherOf("42") + ".swf");
    EXPECT_EQ(engine.programCalls.at(0).id, 42);
}

TEST(RequestProgramme, RefusalUpdatesNameAndAddressOnly) {
    FakeEngine engine;
    engine.programResult = false;
    TLumoraPlay r = record(QStringLiteral("128"), QStringLiteral("7"), QStringLiteral("a%20b"));
    ASSERT_TRUE(requestProgramme(r, engine, kBase));
    EXPECT_EQ(r.name, QStringLiteral("a b"));
    EXPECT_EQ(r.downUrl, kBase + "1/" + cipherOf("128"));
    EXPECT_EQ(r.engineNo, 77);
    EXPECT_EQ(r.playUrl, QStringLiteral("old-play-url"));
}

TEST(RequestProgramme, NonNumericIdFailsBeforeTheEngineIsCalled) {
    for (const char* id : {"abc", "", "12a", "2147483648"}) {
        FakeEngine engine;
        TLumoraPlay r = record(QString::fromLatin1(id), QStringLiteral("1"));
        r.downUrl = QStringLiteral("old-down-url");
        const Done requested = requestProgramme(r, engine, kBase);
        ASSERT_FALSE(requested) << id;
        EXPECT_EQ(requested.failure().message,
                  "'" + QString::fromLatin1(id) + "' is not a valid integer value");
        EXPECT_TRUE(engine.programCalls.empty()) << id;
        EXPECT_EQ(r.downUrl, QStringLiteral("old-down-url")) << id;
    }
}

TEST(RequestProgramme, AnswerWithoutNumberFailsAndKeepsPlayFields) {
    for (const char* answer : {"http://127.0.0.1/file.flv", "P2P/x.flv", "P2P", ""}) {
        FakeEngine engine;
        engine.programAnswer = QString::fromLatin1(answer);
        TLumoraPlay r = record(QStringLiteral("1"), QStringLiteral("4"));
        EXPECT_FALSE(requestProgramme(r, engine, kBase)) << answer;
        EXPECT_EQ(r.engineNo, 77) << answer;
        EXPECT_EQ(r.playUrl, QStringLiteral("old-play-url")) << answer;
        EXPECT_EQ(engine.programCalls.size(), 1u);
    }
}
