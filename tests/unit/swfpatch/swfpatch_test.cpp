#include "swfavm1.h"
#include "swffile.h"
#include "swfpatch.h"
#include "swftestmovie.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include "support/tempdir.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

using test::swfMovie;
using test::swfSample;
using test::swfTag;
using test::swfTags;
using Tags = std::vector<std::pair<int, QByteArray>>;

constexpr int kShowFrame = 1;
constexpr int kDoAction = 12;

const QStringList kHoldListing{"Push \"_root\"", "GetVariable", "Push \"lumoraPlaying\"",
                               "Push false",     "SetMember",   "Stop"};

bool isHold(const std::pair<int, QByteArray>& tag) {
    return tag.first == kDoAction && swf::disassemble(tag.second) == kHoldListing;
}

bool isSetUp(const std::pair<int, QByteArray>& tag) {
    return tag.first == kDoAction &&
           swf::disassemble(tag.second).join('\n').contains("Push \"lumoraIsPlaying\"");
}

// The tags of `out` that are not the original ones, found by walking both in order; fails
// when an original tag is missing or moved.
Tags addedTags(const Tags& original, const Tags& out) {
    Tags added;
    size_t next = 0;
    for (const auto& tag : out) {
        if (next < original.size() && tag == original[next])
            ++next;
        else
            added.push_back(tag);
    }
    EXPECT_EQ(next, original.size()) << "original tags lost or reordered";
    return added;
}

quint32 declaredLength(const QByteArray& file) {
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | quint8(file[4 + i]);
    return value;
}

const char* const kAvm1Samples[] = {
    "avm1_v6_fws_tell_target_5f.swf",           "avm1_v6_cws_textfield_variable_8f.swf",
    "avm1_v7_fws_custom_clip_methods_3f.swf",   "avm1_v7_cws_xml_handler_child_2f.swf",
    "avm1_v8_cws_ten_frames_stop_10f.swf",      "avm1_v8_fws_greaterthan_1f.swf",
    "avm1_v9_cws_edge_header_2f_actual_1f.swf", "avm1_v9_cws_looping_children_10f.swf",
    "avm1_v10_fws_shared_stack_2f.swf",         "avm1_v15_cws_goto_frame2_28f.swf",
    "avm1_v15_cws_hittest_shapes_13f.swf",      "avm1_v17_cws_sound_start_stop_5f.swf",
};

TEST(InstrumentMovieTest, SampleMoviesKeepTheirTagsAndHeader) {
    for (const char* name : kAvm1Samples) {
        for (bool loop : {true, false}) {
            SCOPED_TRACE(std::string(name) + (loop ? " loop" : " once"));
            const QByteArray original = swfSample(name);
            if (original.isEmpty())
                GTEST_SKIP() << "sample movies not found";
            const QByteArray out = instrumentMovie(original, SwfPatchOptions{loop});
            EXPECT_EQ(out.left(3), original.left(3)); // CWS stays CWS, FWS stays FWS
            const auto before = readSwfInfo(original);
            const auto after = readSwfInfo(out);
            ASSERT_TRUE(after.has_value());
            EXPECT_EQ(after->version, before->version);
            EXPECT_EQ(after->frameCount, before->frameCount);
            EXPECT_EQ(qsizetype(declaredLength(out)), swf::decodeMovie(out).data.size());
            if (!after->compressed) {
                EXPECT_EQ(qsizetype(declaredLength(out)), out.size());
            }

            const Tags outTags = swfTags(out);
            const Tags added = addedTags(swfTags(original), outTags);
            ASSERT_FALSE(added.empty());
            EXPECT_TRUE(isSetUp(added.front()));
            const auto showFrames = [](const Tags& tags) {
                return int(std::count_if(tags.begin(), tags.end(),
                                         [](const auto& tag) { return tag.first == kShowFrame; }));
            };
            const int addedFrames = showFrames(added);
            for (const auto& tag : added)
                EXPECT_TRUE(tag.first == kDoAction || tag.first == kShowFrame);
            // Only a header promising more frames than there are gets frames, and only to hold.
            EXPECT_EQ(addedFrames,
                      loop ? 0 : std::max(0, before->frameCount - showFrames(swfTags(original))));
            const auto holds = std::count_if(added.begin(), added.end(), isHold);
            EXPECT_EQ(holds, loop ? 0 : 1);
        }
    }
}

TEST(InstrumentMovieTest, SetUpComesFirstAndTheHoldBeforeTheLastFrameOnly) {
    const QByteArray background = swfTag(9, "\x00\x00\x00");
    const QByteArray attributes = swfTag(69, QByteArray(4, '\0'));
    const QByteArray shape = swfTag(2, "shape");
    for (bool compressed : {false, true}) {
        const QByteArray movie = swfMovie(
            8, compressed, 3, {attributes, background, shape, swfTag(1), swfTag(1), swfTag(1)});
        const Tags looping = swfTags(instrumentMovie(movie, {}));
        const Tags once = swfTags(instrumentMovie(movie, SwfPatchOptions{false}));

        auto codes = [](const Tags& tags) {
            std::vector<int> out;
            for (const auto& tag : tags)
                out.push_back(tag.first);
            return out;
        };
        EXPECT_EQ(codes(looping), (std::vector<int>{69, 9, 12, 2, 1, 1, 1, 0}));
        EXPECT_EQ(codes(once), (std::vector<int>{69, 9, 12, 2, 1, 1, 12, 1, 0}));
        EXPECT_TRUE(isSetUp(once[2]));
        EXPECT_TRUE(isHold(once[6]));
    }
}

TEST(InstrumentMovieTest, SingleFrameMovieSetsUpBeforeHolding) {
    const Tags tags =
        swfTags(instrumentMovie(swfMovie(8, false, 1, {swfTag(1)}), SwfPatchOptions{false}));
    ASSERT_EQ(tags.size(), 4u);
    EXPECT_TRUE(isSetUp(tags[0]));
    EXPECT_TRUE(isHold(tags[1]));
    EXPECT_EQ(tags[2].first, kShowFrame);
}

TEST(InstrumentMovieTest, MissingFramesAreSuppliedToHoldOnTheLastOne) {
    const QByteArray movie = swfMovie(8, true, 3, {swfTag(2, "shape"), swfTag(1)});
    auto codes = [](const Tags& tags) {
        std::vector<int> out;
        for (const auto& tag : tags)
            out.push_back(tag.first);
        return out;
    };
    EXPECT_EQ(codes(swfTags(instrumentMovie(movie, {}))), (std::vector<int>{12, 2, 1, 0}));
    const Tags once = swfTags(instrumentMovie(movie, SwfPatchOptions{false}));
    EXPECT_EQ(codes(once), (std::vector<int>{12, 2, 1, 1, 12, 1, 0}));
    EXPECT_TRUE(isHold(once[4]));
}

TEST(InstrumentMovieTest, LongTagHeadersAreKeptAsWritten) {
    const QByteArray longShowFrame = swfTag(1, {}, true);
    const QByteArray movie = swfMovie(8, false, 1, {longShowFrame});
    const QByteArray out = instrumentMovie(movie, {});
    EXPECT_TRUE(out.contains(longShowFrame));
}

TEST(InstrumentMovieTest, ActionScript3MoviesComeBackUnchanged) {
    const QByteArray built = swfMovie(
        10, true, 2,
        {swfTag(69, QByteArray("\x08\0\0\0", 4)), swfTag(82, "abc"), swfTag(1), swfTag(1)});
    EXPECT_EQ(instrumentMovie(built, SwfPatchOptions{false}), built);
    const QByteArray sample = swfSample("avm2_v38_cws_external_interface_1f.swf");
    if (!sample.isEmpty()) {
        EXPECT_EQ(instrumentMovie(sample, {}), sample);
    }
}

TEST(InstrumentMovieTest, FfmpegMovie) {
    const QString ffmpeg = QStandardPaths::findExecutable("ffmpeg");
    if (ffmpeg.isEmpty())
        GTEST_SKIP() << "ffmpeg not installed";
    test::TempDir dir;
    QProcess process;
    process.start(ffmpeg, {"-v", "error", "-f", "lavfi", "-i", "testsrc=size=160x120:rate=12",
                           "-frames:v", "30", "-c:v", "flv1", "-f", "swf", dir.file("out.swf")});
    ASSERT_TRUE(process.waitForFinished(60000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();

    const QByteArray movie = dir.read("out.swf");
    const auto info = readSwfInfo(movie);
    ASSERT_TRUE(info.has_value());
    EXPECT_FALSE(info->avm2);
    EXPECT_EQ(info->frameCount, 30);
    EXPECT_DOUBLE_EQ(info->frameRate, 12.0);
    EXPECT_EQ(info->width, 160);
    EXPECT_EQ(info->height, 120);

    const Tags original = swfTags(movie);
    const Tags out = swfTags(instrumentMovie(movie, SwfPatchOptions{false}));
    const Tags added = addedTags(original, out);
    ASSERT_EQ(added.size(), 2u);
    EXPECT_TRUE(isSetUp(added[0]));
    EXPECT_TRUE(isHold(added[1]));
    const auto lastShow = std::find_if(out.rbegin(), out.rend(),
                                       [](const auto& tag) { return tag.first == kShowFrame; });
    ASSERT_NE(lastShow, out.rend());
    EXPECT_TRUE(isHold(*std::next(lastShow)));
    EXPECT_EQ(std::count_if(out.begin(), out.end(),
                            [](const auto& tag) { return tag.first == kShowFrame; }),
              30);
}

} // namespace
} // namespace lumora
