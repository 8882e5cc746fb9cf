#include "support/swftestmovie.h"
#include "swfavm1.h"
#include "swfpatch.h"

#include <QtEndian>

#include <gtest/gtest.h>

namespace lumora {
namespace {

using swf::Avm1Writer;
using swf::disassemble;
using test::swfMovie;
using test::swfTag;
using test::swfTags;

QStringList setPlaying(const char* value) {
    return {"Push \"_root\"", "GetVariable", "Push \"lumoraPlaying\"", QString("Push ") + value,
            "SetMember"};
}

QStringList rootMember(const char* name) {
    return {"Push \"_root\"", "GetVariable", QString("Push \"%1\"").arg(name), "GetMember"};
}

QStringList callRoot(const char* method, int args) {
    return {QString("Push %1").arg(args),       "Push \"_root\"", "GetVariable",
            QString("Push \"%1\"").arg(method), "CallMethod",     "Pop"};
}

QStringList registration(const char* name) {
    return {"Push null",   QString("Push \"%1\"").arg(name),
            "Push 3",      "Push \"flash\"",
            "GetVariable", "Push \"external\"",
            "GetMember",   "Push \"ExternalInterface\"",
            "GetMember",   "Push \"addCallback\"",
            "CallMethod",  "Pop"};
}

// Function sizes and branch offsets are counted by hand from the encodings: a one-value string
// push is 3 + 1 + length + 1 bytes, an int push 8, a boolean push 5.
QStringList expectedCallbacks() {
    QStringList lines = setPlaying("true");
    lines << "DefineFunction \"\" () 31" << rootMember("_currentframe") << "Return"
          << registration("lumoraFrame");
    lines << "DefineFunction \"\" () 30" << rootMember("_totalframes") << "Return"
          << registration("lumoraTotal");
    lines << "DefineFunction \"\" (n,p) 178"
          << "Push \"p\""
          << "GetVariable"
          << "Not"
          << "If 85" << setPlaying("true") << "Push \"n\""
          << "GetVariable"
          << "ToNumber" << callRoot("gotoAndPlay", 1) << "Jump 80" << setPlaying("false")
          << "Push \"n\""
          << "GetVariable"
          << "ToNumber" << callRoot("gotoAndStop", 1) << registration("lumoraGoto");
    lines << "DefineFunction \"\" () 65" << setPlaying("true") << callRoot("play", 0)
          << registration("lumoraPlay");
    lines << "DefineFunction \"\" () 65" << setPlaying("false") << callRoot("stop", 0)
          << registration("lumoraStop");
    // Playing unless a stop set the flag to false.
    lines << "DefineFunction \"\" () 38" << rootMember("lumoraPlaying") << "Push false"
          << "Equals2"
          << "Not"
          << "Return" << registration("lumoraIsPlaying");
    return lines;
}

QByteArray setUpScript(int version) {
    const auto tags = swfTags(instrumentMovie(swfMovie(version, false, 1, {swfTag(1)}), {}));
    return tags.front().second;
}

TEST(SetUpScriptTest, DisassemblesToTheCallbacks) {
    const QByteArray script = setUpScript(8);
    QStringList expected = rootMember("lumoraPlaying");
    expected << "Push undefined"
             << "Equals2"
             << "Not";
    const QStringList callbacks = expectedCallbacks();
    const QStringList actual = disassemble(script);
    ASSERT_GT(actual.size(), expected.size());
    EXPECT_EQ(actual.mid(0, expected.size()), expected);
    EXPECT_TRUE(actual[expected.size()].startsWith("If "));
    EXPECT_EQ(actual.mid(expected.size() + 1), callbacks);
}

TEST(SetUpScriptTest, GuardSkipsToTheEndOnLaterRuns) {
    const QByteArray script = setUpScript(8);
    const auto actions = swf::decodeActions(script);
    const auto guard = std::find_if(actions.begin(), actions.end(),
                                    [](const auto& a) { return a.code == swf::kActionIf; });
    ASSERT_NE(guard, actions.end());
    const qint16 offset = qFromLittleEndian<qint16>(guard->payload.constData());
    EXPECT_EQ(guard->end() + offset, script.size() - 1); // lands on End
    EXPECT_EQ(script.back(), '\0');
}

TEST(Avm1WriterTest, EncodesPushesAndBranches) {
    const struct {
        Avm1Writer writer;
        QByteArray bytes;
    } cases[] = {
        {Avm1Writer().pushString("ab"), QByteArray("\x96\x04\x00\x00"
                                                   "ab\x00",
                                                   7)},
        {Avm1Writer().pushInt(-2), QByteArray("\x96\x05\x00\x07\xfe\xff\xff\xff", 8)},
        {Avm1Writer().pushBool(true), QByteArray("\x96\x02\x00\x05\x01", 5)},
        {Avm1Writer().pushNull().pushUndefined(),
         QByteArray("\x96\x01\x00\x02\x96\x01\x00\x03", 8)},
        {Avm1Writer().pushRegister(3), QByteArray("\x96\x02\x00\x04\x03", 5)},
        {Avm1Writer().ifTrue(-5).jump(300),
         QByteArray("\x9d\x02\x00\xfb\xff\x99\x02\x00\x2c\x01", 10)},
        {Avm1Writer().defineFunction("f", {"a"}, Avm1Writer().play()),
         QByteArray("\x9b\x08\x00"
                    "f\x00\x01\x00"
                    "a\x00\x01\x00\x06",
                    12)},
        {Avm1Writer().stop().pop().getMember(), QByteArray("\x07\x17\x4e", 3)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.writer.bytes().toHex(' ').toStdString(), c.bytes.toHex(' ').toStdString());
    EXPECT_EQ(Avm1Writer().play().program(), QByteArray("\x06\x00", 2));
    EXPECT_EQ(disassemble(QByteArray("\x96\x09\x00\x04\x01\x05\x00\x07\x02\x00\x00\x00", 12)),
              QStringList{"Push r:1, false, 2"});
}

TEST(Avm1WriterTest, DecodingStopsAtDamage) {
    EXPECT_THROW(swf::decodeActions(QByteArray("\x96\x05\x00\x00", 4)), SwfError);
    EXPECT_THROW(swf::decodeActions(QByteArray("\x96\x05", 2)), SwfError);
    EXPECT_EQ(swf::decodeActions(QByteArray("\x06\x00\x07", 3)).size(), 1u);
}

// Frame scripts that plainly stop or start the timeline get the playing flag set after them.
TEST(PlayStateTrackingTest, FollowsPlainStopsAndPlays) {
    const QByteArray defineWithStop =
        Avm1Writer().defineFunction("f", {}, Avm1Writer().stop()).program();
    const struct {
        const char* what;
        QByteArray script;
        const char* flag; // nullptr: no follow-up
    } cases[] = {
        {"stop", Avm1Writer().stop().program(), "false"},
        {"play", Avm1Writer().play().program(), "true"},
        {"stop then play", Avm1Writer().stop().play().program(), "true"},
        {"gotoAndPlay", QByteArray("\x9f\x01\x00\x01\x00", 5), "true"},
        {"gotoAndStop", QByteArray("\x9f\x01\x00\x00\x00", 5), "false"},
        {"conditional stop", Avm1Writer().pushBool(true).ifTrue(1).stop().program(), nullptr},
        {"stop inside a function", defineWithStop, nullptr},
        {"no play state", Avm1Writer().pushInt(1).pop().program(), nullptr},
        {"damaged", QByteArray("\x07\x96\x09\x00", 4), nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray movie =
            swfMovie(8, false, 2, {swfTag(1), swfTag(12, c.script), swfTag(1)});
        const auto tags = swfTags(instrumentMovie(movie, {}));
        ASSERT_GE(tags.size(), 5u);
        EXPECT_EQ(tags[2].second, c.script);
        if (c.flag) {
            EXPECT_EQ(disassemble(tags[3].second), setPlaying(c.flag));
        } else {
            EXPECT_EQ(tags[3].first, 1);
        }
    }
}

} // namespace
} // namespace lumora
