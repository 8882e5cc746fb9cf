#include "support/swftestmovie.h"
#include "swffile.h"
#include "swfpatch.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace lumora {
namespace {

using test::swfMovie;
using test::swfSample;
using test::swfTag;

struct Sample {
    const char* file;
    int version;
    bool compressed;
    bool avm2;
    int frames;
    double fps;
};

// Figures from the sample set's own description of each file.
const Sample kSamples[] = {
    {"avm1_v6_fws_tell_target_5f.swf", 6, false, false, 5, 24},
    {"avm1_v6_cws_textfield_variable_8f.swf", 6, true, false, 8, 24},
    {"avm1_v7_fws_custom_clip_methods_3f.swf", 7, false, false, 3, 12},
    {"avm1_v8_cws_ten_frames_stop_10f.swf", 8, true, false, 10, 12},
    {"avm1_v9_cws_edge_header_2f_actual_1f.swf", 9, true, false, 2, 24},
    {"avm1_v10_fws_shared_stack_2f.swf", 10, false, false, 2, 24},
    {"avm1_v15_cws_goto_frame2_28f.swf", 15, true, false, 28, 24},
    {"avm1_v15_cws_hittest_shapes_13f.swf", 15, true, false, 13, 24},
    {"avm1_v17_cws_sound_start_stop_5f.swf", 17, true, false, 5, 1},
    {"avm2_v9_cws_frame_script_cleanup_goto_3f.swf", 9, true, true, 3, 24},
    {"avm2_v10_cws_queued_goto_construct_3f.swf", 10, true, true, 3, 2},
    {"avm2_v15_fws_symbol_class_conflict_2f.swf", 15, false, true, 2, 24},
    {"avm2_v43_cws_gotoandplay_scenes_18f.swf", 43, true, true, 18, 24},
};

TEST(SwfInfoTest, ReadsTheSampleMovies) {
    for (const Sample& sample : kSamples) {
        SCOPED_TRACE(sample.file);
        const QByteArray bytes = swfSample(sample.file);
        if (bytes.isEmpty())
            GTEST_SKIP() << "sample movies not found in " << test::swfSampleDir().toStdString();
        const auto info = readSwfInfo(bytes);
        ASSERT_TRUE(info.has_value());
        EXPECT_EQ(info->version, sample.version);
        EXPECT_EQ(info->compressed, sample.compressed);
        EXPECT_EQ(info->avm2, sample.avm2);
        EXPECT_EQ(info->frameCount, sample.frames);
        EXPECT_DOUBLE_EQ(info->frameRate, sample.fps);
        EXPECT_GT(info->width, 0);
        EXPECT_GT(info->height, 0);
    }
}

TEST(SwfInfoTest, LzmaMoviesReadLikeTheirZlibTwins) {
    const QByteArray sample = swfSample("avm2_v43_zws_enterframe_gotoandstop_3f.swf");
    if (!sample.isEmpty()) {
        const auto info = readSwfInfo(sample);
        ASSERT_TRUE(info.has_value());
        EXPECT_TRUE(info->lzma && info->avm2);
        EXPECT_EQ(info->frameCount, 3);
    }
    const QList<QByteArray> movies{swfSample("avm1_v6_cws_textfield_variable_8f.swf"),
                                   swfSample("avm1_v15_cws_hittest_shapes_13f.swf"),
                                   swfMovie(6, true, 2, {swfTag(12, "\x07"), swfTag(1)})};
    for (const QByteArray& zlib : movies) {
        if (zlib.isEmpty())
            continue;
        const QByteArray lzma = test::swfLzma(zlib);
        ASSERT_TRUE(lzma.startsWith("ZWS"));
        EXPECT_EQ(swf::decodeMovie(lzma).data, swf::decodeMovie(zlib).data);
        for (bool loop : {true, false}) {
            const SwfPatchOptions options{.loop = loop, .avm2Shell = {}};
            const PreparedMovie fromLzma = prepareMovie(lzma, options);
            const PreparedMovie fromZlib = prepareMovie(zlib, options);
            EXPECT_EQ(fromLzma.shell, fromZlib.shell);
            EXPECT_EQ(fromLzma.movie, fromZlib.movie);
            EXPECT_EQ(fromLzma.content, fromZlib.content);
        }
    }
}

TEST(SwfInfoTest, ReadsBuiltMovies) {
    for (bool compressed : {false, true}) {
        const QByteArray bytes =
            swfMovie(10, compressed, 3,
                     {swfTag(9, "\x01\x02\x03"), swfTag(1), swfTag(1, {}, true), swfTag(1)});
        const auto info = readSwfInfo(bytes);
        ASSERT_TRUE(info.has_value());
        EXPECT_EQ(info->version, 10);
        EXPECT_EQ(info->compressed, compressed);
        EXPECT_FALSE(info->avm2);
        EXPECT_EQ(info->frameCount, 3);
        EXPECT_DOUBLE_EQ(info->frameRate, 12.0);
        EXPECT_EQ(info->width, 160);
        EXPECT_EQ(info->height, 120);
    }
}

TEST(SwfInfoTest, TellsActionScript3ByFlagOrCode) {
    const QByteArray as3Flag =
        swfMovie(9, false, 1, {swfTag(69, QByteArray("\x08\0\0\0", 4)), swfTag(1)});
    const QByteArray otherFlags =
        swfMovie(9, false, 1, {swfTag(69, QByteArray("\x10\0\0\0", 4)), swfTag(1)});
    const QByteArray abcOnly = swfMovie(9, false, 1, {swfTag(82, "abc"), swfTag(1)});
    EXPECT_TRUE(readSwfInfo(as3Flag)->avm2);
    EXPECT_FALSE(readSwfInfo(otherFlags)->avm2);
    EXPECT_TRUE(readSwfInfo(abcOnly)->avm2);
}

QByteArray withDeclaredLength(QByteArray file, quint32 length) {
    for (int i = 0; i < 4; ++i)
        file[4 + i] = char((length >> (8 * i)) & 0xff);
    return file;
}

TEST(SwfInfoTest, RejectsDamagedInput) {
    const QByteArray plain = swfMovie(8, false, 1, {swfTag(1)});
    const QByteArray packed = swfMovie(8, true, 1, {swfTag(1)});
    QByteArray tagPastEnd = swfMovie(8, false, 1, {});
    tagPastEnd.chop(2); // drop End
    tagPastEnd += QByteArray("\xff\x00\xff\xff\xff\x7f", 6);
    tagPastEnd = withDeclaredLength(tagPastEnd, quint32(tagPastEnd.size()));
    QByteArray wideRect = QByteArray("FWS\x08", 4) + QByteArray(4, '\0') + QByteArray(1, '\xf8');
    wideRect = withDeclaredLength(wideRect, quint32(wideRect.size()));
    QByteArray badZlib = packed;
    badZlib[10] = char(badZlib[10] ^ 0x55);
    const QByteArray lzma = test::swfLzma(plain);
    QByteArray badLzma = lzma;
    badLzma[20] = char(badLzma[20] ^ 0x55);

    const struct {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"empty", {}},
        {"not a movie", "GIF89a\x01\x00\x01\x00"},
        {"signature only", "FWS"},
        {"lzma header on plain bytes", QByteArray("ZWS\x0d", 4) + plain.mid(4)},
        {"lzma declared too long", withDeclaredLength(lzma, quint32(plain.size() + 1))},
        {"lzma declared too short", withDeclaredLength(lzma, quint32(plain.size() - 1))},
        {"lzma declared over the cap", withDeclaredLength(lzma, 0xffffffff)},
        {"damaged lzma stream", badLzma},
        {"declared longer than file", withDeclaredLength(plain, quint32(plain.size() + 1))},
        {"declared shorter than header", withDeclaredLength(plain, 4)},
        {"declared over the size cap", withDeclaredLength(plain, 0x7fffffff)},
        {"compressed declared over the cap", withDeclaredLength(packed, 0xffffffff)},
        {"compressed declared too long", withDeclaredLength(packed, quint32(plain.size() + 1))},
        {"compressed declared too short", withDeclaredLength(packed, quint32(plain.size() - 1))},
        {"small file claiming a huge body", withDeclaredLength(packed, 200u << 20)},
        {"damaged zlib stream", badZlib},
        {"tag past the end", tagPastEnd},
        {"rectangle past the end", wideRect},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(readSwfInfo(c.bytes).has_value());
        EXPECT_THROW(instrumentMovie(c.bytes, {}), SwfError);
    }
    EXPECT_TRUE(readSwfInfo(plain).has_value()); // the unmodified movies are fine
    EXPECT_TRUE(readSwfInfo(packed).has_value());
}

TEST(SwfInfoTest, LargeCompressedBodyIsReadWhole) {
    // Bigger than the first inflate buffer several times over, so it has to grow.
    const QByteArray padding(700 * 1024, 'x');
    const QByteArray packed = swfMovie(8, true, 3, {swfTag(77, padding, true), swfTag(1)});
    const auto info = readSwfInfo(packed);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->frameCount, 3);
    const auto tags = test::swfTags(instrumentMovie(packed, {}));
    EXPECT_TRUE(std::any_of(tags.begin(), tags.end(), [&](const auto& tag) {
        return tag.first == 77 && tag.second == padding;
    }));
}

TEST(SwfInfoTest, EveryTruncationIsRejected) {
    const QList<QByteArray> movies{
        swfSample("avm1_v8_cws_ten_frames_stop_10f.swf"),
        swfSample("avm1_v10_fws_shared_stack_2f.swf"),
        swfMovie(8, false, 2, {swfTag(12, "\x07"), swfTag(1), swfTag(1)}),
        test::swfLzma(swfMovie(6, false, 2, {swfTag(12, "\x07"), swfTag(1), swfTag(1)}))};
    for (const QByteArray& movie : movies) {
        if (movie.isEmpty())
            continue;
        // An LZMA stream may end in a marker after the last byte the header counts; losing
        // only that loses nothing.
        const qsizetype whole = movie.startsWith("ZWS") ? movie.size() - 5 : movie.size();
        EXPECT_EQ(swf::decodeMovie(movie.left(whole)).data, swf::decodeMovie(movie).data);
        for (qsizetype size = 0; size < whole; ++size) {
            SCOPED_TRACE(size);
            const QByteArray cut = movie.left(size);
            EXPECT_FALSE(readSwfInfo(cut).has_value());
            EXPECT_THROW(instrumentMovie(cut, {}), SwfError);
        }
    }
}

TEST(SwfInfoTest, BytesPastTheDeclaredLengthAreDropped) {
    const QByteArray movie = swfMovie(8, false, 1, {swfTag(1)});
    const QByteArray out = instrumentMovie(movie + "junk", {});
    EXPECT_FALSE(out.endsWith("junk"));
    EXPECT_EQ(readSwfInfo(out)->frameCount, 1);
}

} // namespace
} // namespace lumora
