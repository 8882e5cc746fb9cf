#include "support/swftestmovie.h"
#include "swfavm1.h"
#include "swffile.h"
#include "swfpatch.h"

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
            const QByteArray out =
                instrumentMovie(original, SwfPatchOptions{.loop = loop, .avm2Shell = {}});
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
        const Tags once =
            swfTags(instrumentMovie(movie, SwfPatchOptions{.loop = false, .avm2Shell = {}}));

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
    const Tags tags = swfTags(instrumentMovie(swfMovie(8, false, 1, {swfTag(1)}),
                                              SwfPatchOptions{.loop = false, .avm2Shell = {}}));
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
    const Tags once =
        swfTags(instrumentMovie(movie, SwfPatchOptions{.loop = false, .avm2Shell = {}}));
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
    EXPECT_EQ(instrumentMovie(built, SwfPatchOptions{.loop = false, .avm2Shell = {}}), built);
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
    const Tags out =
        swfTags(instrumentMovie(movie, SwfPatchOptions{.loop = false, .avm2Shell = {}}));
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

// A stand-in for the ActionScript 3 shell: FileAttributes first, its own background, one frame.
QByteArray fakeAvm2Shell() {
    return swfMovie(11, true, 1,
                    {swfTag(69, QByteArray("\x08\0\0\0", 4)), swfTag(9, "\x01\x02\x03"),
                     swfTag(82, "abc"), swfTag(1)});
}

MovieShell expectedShell(const SwfInfo& info) {
    if (info.avm2)
        return MovieShell::Avm2;
    return info.version < 8 ? MovieShell::Avm1 : MovieShell::None;
}

// Whatever kind a movie is, the bytes it plays from keep its version and header, and a shell
// takes its stage, rate and background.
void expectPrepared(const QByteArray& original, bool loop) {
    const SwfInfo before = *readSwfInfo(original);
    const PreparedMovie prepared =
        prepareMovie(original, SwfPatchOptions{.loop = loop, .avm2Shell = fakeAvm2Shell()});
    ASSERT_EQ(prepared.shell, expectedShell(before));
    const QByteArray& content =
        prepared.shell == MovieShell::None ? prepared.movie : prepared.content;
    const SwfInfo kept = *readSwfInfo(content);
    EXPECT_EQ(kept.version, before.version);
    EXPECT_EQ(kept.frameCount, before.frameCount);
    EXPECT_EQ(kept.avm2, before.avm2);
    if (prepared.shell == MovieShell::Avm2) {
        EXPECT_EQ(content, original); // nothing of ours inside an ActionScript 3 movie
    }
    if (prepared.shell == MovieShell::None)
        return;
    const SwfInfo shell = *readSwfInfo(prepared.movie);
    EXPECT_EQ(shell.avm2, before.avm2);
    EXPECT_GE(shell.version, 8);
    EXPECT_EQ(shell.width, before.width);
    EXPECT_EQ(shell.height, before.height);
    EXPECT_DOUBLE_EQ(shell.frameRate, before.frameRate);
    const Tags shellTags = swfTags(prepared.movie);
    const Tags contentTags = swfTags(original);
    const auto background = [](const Tags& tags) {
        const auto it =
            std::find_if(tags.begin(), tags.end(), [](const auto& tag) { return tag.first == 9; });
        return it == tags.end() ? QByteArray() : it->second;
    };
    if (!background(contentTags).isEmpty()) {
        EXPECT_EQ(background(shellTags), background(contentTags));
    }
    EXPECT_EQ(shell.frameCount, before.frameCount); // reported until the content is in
    if (prepared.shell == MovieShell::Avm2) {
        EXPECT_EQ(shellTags.front().first, 69);
        return;
    }
    // The callbacks live in the shell, which never plays a second frame; the content only
    // tracks its play state and, without loop, holds on its last frame.
    const QString shellScript =
        swf::disassemble(shellTags.at(shellTags.size() - 3).second).join('\n');
    for (const char* needed :
         {"\"_lockroot\"", "\"loadClip\"", "\"lumoraMovie\"", "\"lumoraIsPlaying\"", "Stop"})
        EXPECT_TRUE(shellScript.contains(needed)) << needed;
    const Tags added = addedTags(contentTags, swfTags(content));
    EXPECT_FALSE(std::any_of(added.begin(), added.end(), isSetUp));
    EXPECT_EQ(std::count_if(added.begin(), added.end(), isHold), loop ? 0 : 1);
}

TEST(PrepareMovieTest, EachKindKeepsItsOwnVersion) {
    const QByteArray as3 =
        swfMovie(10, true, 3,
                 {swfTag(69, QByteArray("\x08\0\0\0", 4)), swfTag(9, "\x20\x40\x60"),
                  swfTag(82, "abc"), swfTag(1), swfTag(1), swfTag(1)});
    const QByteArray stopOnFirst = swfTag(12, swf::Avm1Writer().stop().program());
    QList<QByteArray> movies{
        swfMovie(4, false, 2, {swfTag(1), swfTag(1)}),
        swfMovie(6, true, 3, {swfTag(9, "\x10\x20\x30"), stopOnFirst, swfTag(1), swfTag(1)}),
        test::swfLzma(swfMovie(7, false, 2, {swfTag(1), swfTag(1)})),
        swfMovie(8, false, 1, {swfTag(1)}),
        swfMovie(10, true, 2, {swfTag(1), swfTag(1)}),
        as3,
        test::swfLzma(as3),
    };
    for (const char* name : kAvm1Samples)
        movies << swfSample(name);
    for (const char* name : {"avm2_v43_zws_enterframe_gotoandstop_3f.swf",
                             "avm2_v15_fws_symbol_class_conflict_2f.swf"})
        movies << swfSample(name);
    for (const QByteArray& movie : movies) {
        if (movie.isEmpty())
            continue; // a sample not found
        for (bool loop : {true, false}) {
            SCOPED_TRACE(movie.left(4).toStdString() + (loop ? " loop" : " once"));
            expectPrepared(movie, loop);
        }
    }
}

TEST(PrepareMovieTest, WhatNothingCanInstrumentIsRefused) {
    const QByteArray as3 =
        swfMovie(10, false, 1, {swfTag(69, QByteArray("\x08\0\0\0", 4)), swfTag(1)});
    const SwfPatchOptions noShell{.loop = true, .avm2Shell = {}};
    EXPECT_THROW(prepareMovie(as3, noShell), SwfError);
    const QByteArray avm1 = swfMovie(6, false, 1, {swfTag(1)});
    EXPECT_THROW(prepareMovie(avm1.left(avm1.size() - 1), noShell), SwfError);
    EXPECT_THROW(prepareMovie(as3, SwfPatchOptions{.loop = true, .avm2Shell = "FWS"}), SwfError);
}

} // namespace
} // namespace lumora
