#include "skin.h"

#include <QApplication>
#include <QImage>
#include <QPushButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace lumora {
namespace {

QString builtSkin() {
    return QString::fromLocal8Bit(std::getenv("LUMORA_BUILD_DIR")) + "/Client/Resource/skin";
}

std::unique_ptr<QPushButton> button(const QVariant& tag = {}) {
    auto b = std::make_unique<QPushButton>(QStringLiteral("确定"));
    if (tag.isValid())
        b->setProperty(kTagProperty, tag);
    b->setFixedSize(80, 24);
    // Never shown: every button renders as an inactive window alike.
    return b;
}

QImage picture(QWidget& widget) {
    return widget.grab().toImage();
}

// The largest difference of any colour channel between two pictures of one size.
int largestDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return 255;
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y);
            const QColor q = b.pixelColor(x, y);
            largest = std::max({largest, std::abs(p.red() - q.red()),
                                std::abs(p.green() - q.green()), std::abs(p.blue() - q.blue())});
        }
    return largest;
}

class SkinTest : public ::testing::Test {
protected:
    void TearDown() override { qApp->setStyleSheet(QString()); }
};

TEST_F(SkinTest, PaintsControlsButLeavesTagNinetyNineAlone) {
    ASSERT_NE(std::getenv("LUMORA_BUILD_DIR"), nullptr);
    const QImage plain = picture(*button());

    ASSERT_TRUE(loadSkin(*qApp, builtSkin()));
    EXPECT_GT(largestDifference(picture(*button()), plain), 40);
    EXPECT_GT(largestDifference(picture(*button(5)), plain), 40);
    EXPECT_EQ(picture(*button(99)), plain);

    // A tag that changes to or from 99 later is followed.
    auto changing = button(98);
    EXPECT_NE(picture(*changing), plain);
    changing->setProperty(kTagProperty, 99);
    EXPECT_EQ(picture(*changing), plain);
    changing->setProperty(kTagProperty, 100);
    EXPECT_GT(largestDifference(picture(*changing), plain), 40);
}

TEST_F(SkinTest, WidgetsMadeBeforeTheSkinAreMarkedToo) {
    auto early = button(99);
    auto other = button();
    const QImage plain = picture(*other);
    ASSERT_TRUE(loadSkin(*qApp, builtSkin()));
    EXPECT_EQ(picture(*early), plain);
    EXPECT_NE(picture(*other), plain);
}

TEST_F(SkinTest, PicturesComeFromTheSkinFolder) {
    ASSERT_TRUE(loadSkin(*qApp, builtSkin()));
    EXPECT_EQ(skinPicture(QStringLiteral("systemmsg_close")).size(), QSize(41, 15));
    EXPECT_TRUE(skinPicture(QStringLiteral("no_such_picture")).isNull());
    const QPixmap sharp = skinPicture(QStringLiteral("systemmsg_close"), 2.0);
    EXPECT_EQ(sharp.size(), QSize(82, 30));
    EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(41, 15)) << "the same size on screen";
    EXPECT_FALSE(loadSkin(*qApp, builtSkin() + "/missing"));
    EXPECT_TRUE(skinPicture(QStringLiteral("systemmsg_close")).isNull());
}

} // namespace
} // namespace lumora
