#include "edition.h"
#include "fileversion.h"

#include <gtest/gtest.h>

using namespace lumora;

TEST(Edition, TableRows) {
    struct Row {
        int code;
        const char* title;
        const char* mutex;
        const char* caption;
        const char* header;
    };
    const Row rows[] = {
        {21, "Lumora学拼音", "pinyin", "学拼音", "快乐学拼音"},
        {22, "Lumora儿歌", "erge", "儿歌精选", "Lumora儿歌精选"},
        {23, "Lumora学汉字", "hanzi", "宝宝学识字", "宝宝学识字"},
        {24, "Lumora学数学", "shuxue", "学数学", "Lumora学数学"},
        {25, "幼儿英语2013", "yinyu", "Lumora幼儿英语(2013版)", "幼儿英语2013版"},
        {7, "Lumora精品版", "jingpin", "精品版", "Lumora精品版"},
        {0, "Lumora精品版", "jingpin", "精品版", "Lumora精品版"},
        {-1, "Lumora精品版", "jingpin", "精品版", "Lumora精品版"},
        {26, "Lumora精品版", "jingpin", "精品版", "Lumora精品版"},
    };
    for (const Row& r : rows) {
        const Edition& e = editionFor(r.code);
        EXPECT_STREQ(e.appTitle, r.title) << r.code;
        EXPECT_STREQ(e.mutexName, r.mutex) << r.code;
        EXPECT_STREQ(e.caption, r.caption) << r.code;
        EXPECT_STREQ(e.header, r.header) << r.code;
        EXPECT_EQ(isChannelEdition(r.code), r.code >= 21 && r.code <= 25);
    }
    // No edition takes the full product's caption.
    for (int code : {0, 21, 22, 23, 24, 25})
        EXPECT_STRNE(editionFor(code).caption, "Lumora");
}

TEST(Edition, CodeAndTextComeFromTheFileVersion) {
    EXPECT_EQ(getEditionCode(FileVersion{{2, 0, 0, 23}}), 23);
    EXPECT_EQ(getEditionCode(FileVersion{{2, 0, 0, 7}}), 7);
    EXPECT_EQ(getEditionCode(std::nullopt), 0);
    EXPECT_EQ(getVersionString(FileVersion{{2, 0, 0, 23}}), "2.0.0.23");
    EXPECT_EQ(getVersionString(FileVersion{{65535, 1, 300, 4}}), "65535.1.300.4");
    EXPECT_EQ(getVersionString(std::nullopt), "0.0.0.0");
}

TEST(FileVersion, SectionBytesRoundTripAndNeedTheSignature) {
    const FileVersion v{{2, 0, 0, 23}};
    auto bytes = encodeFileVersion(v);
    const std::array<std::uint8_t, 12> expected{0xBD, 0x04, 0xEF, 0xFE, 0, 0, 2, 0, 23, 0, 0, 0};
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(decodeFileVersion(bytes.data(), bytes.size()), v);
    EXPECT_EQ(decodeFileVersion(bytes.data(), 11), std::nullopt);
    bytes[0] ^= 1;
    EXPECT_EQ(decodeFileVersion(bytes.data(), bytes.size()), std::nullopt);
}

TEST(FileVersion, ParseText) {
    EXPECT_EQ(parseFileVersion("2.0.0.21"), (FileVersion{{2, 0, 0, 21}}));
    for (const char* bad :
         {"", "2.0.0", "2.0.0.21.1", "2.0.0.65536", "a.b.c.d", "2..0.1", "2.0.0.1 "})
        EXPECT_EQ(parseFileVersion(bad), std::nullopt) << bad;
}

TEST(FileVersion, ReadingAFileThatIsNoElfGivesNothing) {
    EXPECT_EQ(readFileVersion("/nonexistent/file"), std::nullopt);
    EXPECT_EQ(readFileVersion("/proc/self/status"), std::nullopt);
    // The test program itself carries no version section.
    EXPECT_EQ(readFileVersion(programFilePath()), std::nullopt);
}
