// The window's pictures are rendered at build time: each one is there, at its size.
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QSize>
#include <QString>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Picture {
    std::string name;
    QSize size;
};

std::vector<Picture> expectedPictures() {
    std::vector<Picture> list = {
        {"caption_tl", {5, 20}},           {"caption_tc", {10, 20}},
        {"caption_tr", {5, 20}},           {"logo", {20, 20}},
        {"search_bg", {211, 25}},          {"search_button", {21, 20}},
        {"scroll_track_top", {13, 9}},     {"scroll_track_middle", {13, 20}},
        {"scroll_track_bottom", {13, 9}},  {"scroll_thumb_top", {13, 3}},
        {"scroll_thumb_middle", {13, 20}}, {"scroll_thumb_bottom", {13, 3}},
        {"systemmsg_close", {41, 15}},     {"status_bg", {10, 27}},
        {"imagelist2_8", {24, 24}},        {"imagelist2_9", {24, 24}},
        {"imagelist2_14", {24, 24}},       {"imagelist2_15", {24, 24}},
    };
    for (const std::string button : {"close", "max", "restore", "min"})
        for (const std::string state : {"normal", "hover", "pressed"})
            list.push_back(
                {button + "_" + state, button == "close" ? QSize(43, 19) : QSize(33, 19)});
    for (int i = 0; i < 8; ++i)
        list.push_back({"imagelist1_" + std::to_string(i), {16, 16}});
    for (int i = 0; i < 4; ++i)
        list.push_back({"playmode_" + std::to_string(i), {16, 16}});
    return list;
}

bool isDrawn(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).alpha() > 0)
                return true;
    return false;
}

TEST(SkinPictures, EveryPictureIsBuiltAtItsSize) {
    const char* buildDir = std::getenv("LUMORA_BUILD_DIR");
    ASSERT_NE(buildDir, nullptr);
    const QString folder = QString::fromLocal8Bit(buildDir) + "/Client/Resource/skin/";
    EXPECT_TRUE(QFileInfo::exists(folder + "skin.qss"));
    const std::vector<Picture> pictures = expectedPictures();
    EXPECT_EQ(pictures.size(), 42u);
    for (const Picture& p : pictures) {
        SCOPED_TRACE(p.name);
        const QImage image(folder + QString::fromStdString(p.name) + ".png");
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), p.size);
        EXPECT_TRUE(isDrawn(image));
    }
}

TEST(SkinPictures, EverySourceIsAlsoBuiltTwiceAsDense) {
    const char* buildDir = std::getenv("LUMORA_BUILD_DIR");
    const char* sourceDir = std::getenv("LUMORA_SOURCE_DIR");
    ASSERT_NE(buildDir, nullptr);
    ASSERT_NE(sourceDir, nullptr);
    const QDir built(QString::fromLocal8Bit(buildDir) + "/Client/Resource/skin");
    const QStringList sources =
        QDir(QString::fromLocal8Bit(sourceDir) + "/src/skin/pictures").entryList({"*.svg"});
    ASSERT_FALSE(sources.isEmpty());
    for (const QString& svg : sources) {
        const QString name = QFileInfo(svg).completeBaseName();
        SCOPED_TRACE(name.toStdString());
        const QImage plain(built.filePath(name + ".png"));
        const QImage sharp(built.filePath(name + "@2x.png"));
        ASSERT_FALSE(plain.isNull());
        ASSERT_FALSE(sharp.isNull());
        EXPECT_EQ(sharp.size(), plain.size() * 2);
        EXPECT_TRUE(isDrawn(sharp));
    }
}

} // namespace
