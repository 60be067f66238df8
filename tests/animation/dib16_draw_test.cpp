#include "animation/dib16_draw.h"

#include <gtest/gtest.h>

namespace zorva {
namespace {

constexpr std::uint16_t kRed16 = 31744;

TEST(FrameImage, RowZeroOfTheSurfaceIsTheBottomLine) {
    TDIB16bit surface(2, 3);
    surface.ClearPixels(0);
    surface.SetPixel(0, 0, kRed16);
    surface.SetPixel(2, 1, 31);
    const QImage frame = FrameImage(surface);
    ASSERT_EQ(frame.size(), QSize(3, 2));
    EXPECT_EQ(frame.pixelColor(0, 1), QColor(255, 0, 0));
    EXPECT_EQ(frame.pixelColor(0, 0), QColor(0, 0, 0));
    EXPECT_EQ(frame.pixelColor(2, 0), QColor(0, 0, 255));
}

TEST(Draw, CopiesTheSurfaceUprightOntoAPainter) {
    TDIB16bit surface(4, 5);
    surface.ClearPixels(0);
    surface.SetPixel(1, 3, kRed16);  // second column, top line
    QImage target(5, 4, QImage::Format_RGB32);
    target.fill(Qt::white);
    QPainter painter(&target);
    Draw(surface, painter);
    painter.end();
    EXPECT_EQ(target.pixelColor(1, 0), QColor(255, 0, 0));
    EXPECT_EQ(target.pixelColor(1, 3), QColor(0, 0, 0));
}

TEST(Draw, ASurfaceWithoutPixelsDrawsNothing) {
    TDIB16bit surface(0, 5);
    EXPECT_TRUE(FrameImage(surface).isNull());
    QImage target(2, 2, QImage::Format_RGB32);
    target.fill(Qt::white);
    QPainter painter(&target);
    Draw(surface, painter);
    painter.end();
    EXPECT_EQ(target.pixelColor(0, 0), QColor(Qt::white));
}

TEST(SurfaceCanvas, DrawsOnTheSurfacesOwnPixelsCountingFromTheTop) {
    TDIB16bit surface(10, 8);
    surface.ClearPixels(0);
    {
        TSurfaceCanvas canvas(surface);
        ASSERT_TRUE(canvas.Painter().isActive());
        canvas.Painter().fillRect(QRect(2, 1, 1, 1), QColor(255, 255, 255));
    }
    // Canvas row 1 from the top is surface row 10 - 1 - 1.
    EXPECT_EQ(surface.GetPixel(2, 8), 32767);
    EXPECT_EQ(surface.GetPixel(2, 1), 0);
}

TEST(SurfaceCanvas, InactiveOnASurfaceWithoutPixels) {
    TDIB16bit surface(0, 0);
    TSurfaceCanvas canvas(surface);
    EXPECT_FALSE(canvas.Painter().isActive());
}

}  // namespace
}  // namespace zorva
