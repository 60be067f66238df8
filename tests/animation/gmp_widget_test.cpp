#include "animation/gmp_widget.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace zorva {
namespace {

TEST(GMPWidget, StartsAt200By200WithTheDefaults) {
    TGMP gmp;
    EXPECT_EQ(gmp.size(), QSize(200, 200));
    EXPECT_FLOAT_EQ(gmp.LightStrength(), 0.75f);
    EXPECT_EQ(gmp.BackColor(), 0u);
    EXPECT_FALSE(gmp.EnableBackgroundBitmap());
    EXPECT_EQ(gmp.RenderMode(), TRenderMode::rmWireframe);
    EXPECT_FALSE(gmp.DirectDraw());
}

TEST(GMPWidget, HeightIsHeldAt768AndWidthIsNotLimited) {
    TGMP gmp;
    gmp.show();
    gmp.resize(1300, 1000);
    EXPECT_EQ(gmp.height(), 768);
    EXPECT_EQ(gmp.Renderer().ViewHeight(), 768);
    EXPECT_EQ(gmp.Renderer().ViewWidth(), 1300);
    EXPECT_EQ(gmp.Renderer().Surface().Width(), 1300);
}

TEST(GMPWidget, SettingTheBackColourShowsItAtOnce) {
    TGMP gmp;
    gmp.show();
    gmp.resize(30, 20);
    gmp.SetBackColor(RGBColor(255, 0, 0));
    ASSERT_EQ(gmp.ShownFrame().size(), QSize(30, 20));
    EXPECT_EQ(gmp.ShownFrame().pixelColor(29, 19), QColor(255, 0, 0));
}

TEST(GMPWidget, BlackAreasOfTheBackgroundPictureLetTheBackColourThrough) {
    TGMP gmp;
    gmp.show();
    gmp.resize(20, 10);
    QImage picture(2, 1, QImage::Format_RGB32);
    picture.setPixelColor(0, 0, Qt::black);
    picture.setPixelColor(1, 0, QColor(0, 255, 0));
    gmp.SetBackgroundBitmap(picture);
    gmp.SetBackColor(RGBColor(0, 0, 255));  // repaints: the picture goes onto the background
    gmp.SetEnableBackgroundBitmap(true);
    gmp.Renderer().BeginFrame();
    gmp.Flip();
    EXPECT_EQ(gmp.ShownFrame().pixelColor(2, 5), QColor(0, 0, 255));
    EXPECT_EQ(gmp.ShownFrame().pixelColor(17, 5), QColor(0, 255, 0));
}

TEST(GMPWidget, BeforeFlipDrawsUnderTheMeshesCountingFromTheTop) {
    TGMP gmp;
    gmp.show();
    gmp.resize(40, 40);
    gmp.BeforeFlip = [](QPainter& canvas) { canvas.fillRect(QRect(0, 0, 40, 5), Qt::white); };
    gmp.Renderer().BeginFrame();
    gmp.Flip();
    EXPECT_EQ(gmp.ShownFrame().pixelColor(20, 2), QColor(Qt::white));
    EXPECT_EQ(gmp.ShownFrame().pixelColor(20, 30), QColor(Qt::black));
}

TEST(GMPWidget, UnreadableTextureFileIsReportedAndLeavesTheTexture) {
    TGMP gmp;
    gmp.Renderer().Texture.fill(7);
    QTemporaryDir folder;
    const QString not_a_picture = folder.filePath(QStringLiteral("texture.png"));
    QFile file(not_a_picture);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is no picture");
    file.close();

    for (const QString& name : {not_a_picture, folder.filePath(QStringLiteral("missing.png"))}) {
        const std::optional<QString> message = gmp.LoadTexture(name);
        ASSERT_TRUE(message.has_value());
        EXPECT_TRUE(message->contains(name)) << message->toStdString();
        EXPECT_EQ(gmp.Renderer().Texture[0], 7);
        EXPECT_EQ(gmp.Renderer().Texture[kTextureSize * kTextureSize - 1], 7);
    }
}

TEST(GMPWidget, TextureTopLineBecomesRowZero) {
    TGMP gmp;
    QTemporaryDir folder;
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(Qt::black);
    picture.setPixelColor(0, 0, QColor(255, 0, 0));  // top left
    const QString name = folder.filePath(QStringLiteral("t.png"));
    ASSERT_TRUE(picture.save(name));
    ASSERT_FALSE(gmp.LoadTexture(name).has_value());
    const TTexture& texture = gmp.Renderer().Texture;
    // Scaled up smoothly, the corners keep their colours.
    EXPECT_EQ(texture[0], 31744);
    EXPECT_EQ(texture[127], 0);
    EXPECT_EQ(texture[127 * kTextureSize], 0);
}

}  // namespace
}  // namespace zorva
