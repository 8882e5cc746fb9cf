#include "controlfixture.h"
#include "support/swftestmovie.h"
#include "support/tempdir.h"
#include "swfavm1.h"
#include "swfpatch.h"

#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

namespace lumora::test {
namespace {

constexpr int kShowFrame = 1;
constexpr int kDoAction = 12;
constexpr char kSetVariable = 0x1d;

// Frame 1 sets "Flag" and reads "flag": only with case-insensitive names (versions up to 6)
// does it read 1 and let the movie play on; otherwise it stops there.
QByteArray caseInsensitiveMovie(int version) {
    using swf::Avm1Writer;
    const QByteArray script = Avm1Writer().pushString("Flag").pushInt(1).bytes() + kSetVariable +
                              Avm1Writer()
                                  .pushString("flag")
                                  .getVariable()
                                  .pushInt(1)
                                  .equals()
                                  .ifTrue(1)
                                  .stop()
                                  .program();
    QList<QByteArray> tags{swfTag(kDoAction, script)};
    for (int i = 0; i < 24; ++i)
        tags << swfTag(kShowFrame);
    return swfMovie(version, true, 24, tags);
}

QByteArray builtAs3Movie() {
    QFile file(QStringLiteral(LUMORA_AS3_TEST_MOVIE));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class MovieTimelineTest : public FlashControlFixture {
protected:
    // Waits until the movie has held one frame for 1.5 s (its own scripts may stop it
    // unseen by the play state); answers that frame, or -1.
    int heldFrame(int timeoutMs) {
        int last = -1;
        QElapsedTimer since;
        since.start();
        const bool held = waitUntil(
            [&] {
                const int now = m_control->currentFrame();
                if (now != last)
                    since.restart();
                last = now;
                return since.elapsed() >= 1500;
            },
            timeoutMs);
        return held ? last : -1;
    }

    TempDir m_dir;
};

TEST_F(MovieTimelineTest, EachKindPlaysByItsOwnRulesAndReportsItsRealFrame) {
    const QByteArray as3 = builtAs3Movie();
    ASSERT_FALSE(as3.isEmpty());
    const struct {
        const char* what;
        QByteArray bytes;
        QString query; // the movie's parameters
        int total;
        int held; // where the movie comes to rest, without loop
    } cases[] = {
        {"version 6, case-insensitive script", caseInsensitiveMovie(6), {}, 24, 23},
        {"the same script at version 8 stops", caseInsensitiveMovie(8), {}, 24, 0},
        {"LZMA twin of version 6", swfLzma(caseInsensitiveMovie(6)), {}, 24, 23},
        {"ActionScript 3 plays through", as3, {}, 24, 23},
        {"ActionScript 3 stopping itself on 5", as3, "stopAt=5", 24, 4},
        {"one frame", swfMovie(6, false, 1, {swfTag(kShowFrame)}), {}, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        m_dir.write("movie.swf", c.bytes);
        playMovie(m_dir.file("movie.swf") + (c.query.isEmpty() ? "" : "?" + c.query));
        ASSERT_TRUE(waitLoaded());
        ASSERT_TRUE(waitUntil([&] { return m_control->framesExact(); }, 5000));
        EXPECT_EQ(heldFrame(8000), c.held);
        EXPECT_EQ(m_control->totalFrames(), c.total);
    }
}

TEST_F(MovieTimelineTest, GotoMovesAnActionScript3Timeline) {
    m_dir.write("movie.swf", builtAs3Movie());
    playMovie(m_dir.file("movie.swf") + "?stopAt=5");
    ASSERT_TRUE(waitLoaded());
    ASSERT_EQ(heldFrame(8000), 4);
    const QImage before = m_control->widget()->grab().toImage();
    m_control->gotoFrame(11);
    EXPECT_EQ(heldFrame(5000), 11);
    settle(300);
    EXPECT_NE(m_control->widget()->grab().toImage(), before) << "the picture did not change";
    m_control->play();
    EXPECT_EQ(heldFrame(8000), 23); // plays on to its end and holds
}

// Damaged or hostile input ends in a state the playlist can judge, never a crash or a hang; the
// page plays the next good movie.
TEST_F(MovieTimelineTest, BadInputNeitherCrashesNorHangs) {
    const QByteArray good = caseInsensitiveMovie(6);
    const QByteArray lzma = swfLzma(good);
    // A version 6 movie that loads the movie "other.swf" in place of level 0, the shell's.
    const QByteArray loadsLevel0 =
        QByteArray::fromHex("831200") + "other.swf" + '\0' + "_level0" + '\0' + '\0';
    QList<QByteArray> lying{swfTag(kShowFrame), swfTag(kShowFrame)};
    const QByteArray as3 = builtAs3Movie();
    const struct {
        const char* what;
        QByteArray bytes;
        QByteArray content; // not empty: the shell of bytes is handed this instead
        int total;          // 0: never loaded
        int held;
    } cases[] = {
        {"truncated LZMA", lzma.left(lzma.size() / 2), {}, 0, 0},
        {"header claiming 30 frames over 2", swfMovie(6, false, 30, lying), {}, 30, 29},
        {"stop() on frame 1",
         swfMovie(6, true, 3, {swfTag(kDoAction, "\x07"), swfTag(1), swfTag(1), swfTag(1)}),
         {},
         3,
         0},
        {"loads a movie over its shell",
         swfMovie(6, false, 2, {swfTag(kDoAction, loadsLevel0), swfTag(1), swfTag(1)}),
         {},
         2,
         0},
        {"ActionScript 1/2 shell whose content is garbage", good, "garbage", 24, 0},
        {"ActionScript 3 shell whose content is garbage", as3, "garbage", 24, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        m_control->setMoviePatcher([&](const QByteArray& swf, bool loop) {
            PreparedMovie prepared = RuffleFlashControl::prepare(swf, loop);
            if (!c.content.isEmpty())
                prepared.content = c.content;
            return prepared;
        });
        m_dir.write("movie.swf", c.bytes);
        m_dir.write("other.swf", "not a movie");
        playMovie(m_dir.file("movie.swf"));
        if (c.total == 0) {
            settle(2500);
            EXPECT_NE(m_control->readyState(), FlashReadyState::Complete);
            continue;
        }
        ASSERT_TRUE(waitLoaded());
        EXPECT_EQ(heldFrame(8000), c.held);
        EXPECT_EQ(m_control->totalFrames(), c.total);
    }
    m_control->setMoviePatcher(&RuffleFlashControl::prepare);
    m_dir.write("movie.swf", good);
    playMovie(m_dir.file("movie.swf"));
    ASSERT_TRUE(waitLoaded());
    EXPECT_EQ(heldFrame(8000), 23);
}

// Where each sample comes to rest without loop, from what its scripts do (see the samples'
// description): a stop() on a frame, a goto that stops, or the last frame.
TEST_F(MovieTimelineTest, EverySampleReportsItsHeaderAndMovesAsItsScriptsSay) {
    const struct {
        const char* file;
        int held;
    } cases[] = {
        // Under its own version 6 rules tellTarget(undefined) sends gotoAndStop(5) to the root.
        {"avm1_v6_fws_tell_target_5f.swf", 4},
        {"avm1_v6_cws_textfield_variable_8f.swf", 7}, // stop() on frame 8
        // Frame 1 stops the root through a method; the reference run never traces frame 2.
        {"avm1_v7_fws_custom_clip_methods_3f.swf", 0},
        {"avm1_v7_cws_xml_handler_child_2f.swf", 1}, // the XML handler goes to frame 2
        {"avm1_v8_cws_clip_in_removed_button_3f.swf", 2},
        {"avm1_v8_cws_ten_frames_stop_10f.swf", 9},
        {"avm1_v8_fws_greaterthan_1f.swf", 0},
        {"avm1_v8_cws_external_interface_toas_1f.swf", 0},
        {"avm1_v9_fws_setpropflags_1f.swf", 0},
        {"avm1_v9_cws_looping_children_10f.swf", 9},
        {"avm1_v9_cws_edge_header_2f_actual_1f.swf", 1}, // the header's last frame
        {"avm1_v10_fws_shared_stack_2f.swf", 1},
        {"avm1_v10_cws_movieclip_default_state_1f.swf", 0},
        {"avm1_v15_cws_goto_label_7f.swf", 2},    // ends on gotoAndStop('SomeFrame')
        {"avm1_v15_cws_goto_frame2_28f.swf", 27}, // ends on gotoAndStop(9999)
        {"avm1_v15_cws_hittest_shapes_13f.swf", 12},
        {"avm1_v15_cws_external_interface_1f.swf", 0},
        {"avm1_v17_cws_sound_start_stop_5f.swf", 4}, // 1 frame a second
        {"avm2_v9_cws_frame_script_cleanup_goto_3f.swf", 2},
        {"avm2_v10_cws_queued_goto_construct_3f.swf", 2}, // gotoAndStop(3)
        {"avm2_v15_fws_symbol_class_conflict_2f.swf", 1},
        {"avm2_v43_cws_gotoandplay_scenes_18f.swf", 17},   // Scene 5, frame 5: the last
        {"avm2_v43_zws_enterframe_gotoandstop_3f.swf", 1}, // gotoAndStop(2)
        {"avm2_v38_cws_external_interface_1f.swf", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const QByteArray bytes = swfSample(c.file);
        if (bytes.isEmpty())
            GTEST_SKIP() << "sample movies not found in " << swfSampleDir().toStdString();
        m_dir.write("sample.swf", bytes);
        playMovie(m_dir.file("sample.swf"));
        ASSERT_TRUE(waitLoaded());
        EXPECT_TRUE(waitUntil([&] { return m_control->framesExact(); }, 5000));
        EXPECT_EQ(heldFrame(10000), c.held);
        EXPECT_EQ(m_control->totalFrames(), readSwfInfo(bytes)->frameCount);
    }
}

} // namespace
} // namespace lumora::test
