#include "animation/dib16_draw.h"

namespace zorva {

QImage SurfaceImage(TDIB16bit& surface) {
    if (surface.Pixels() == nullptr) return {};
    return QImage(reinterpret_cast<uchar*>(surface.Pixels()), surface.Width(), surface.Height(), surface.Stride(),
                  QImage::Format_RGB555);
}

QImage FrameImage(const TDIB16bit& surface) {
    if (surface.Pixels() == nullptr) return {};
    const QImage shared(reinterpret_cast<const uchar*>(surface.Pixels()), surface.Width(), surface.Height(),
                        surface.Stride(), QImage::Format_RGB555);
    // The memory holds the bottom line first.
    return shared.mirrored(false, true);
}

void Draw(const TDIB16bit& surface, QPainter& painter) {
    if (surface.Pixels() == nullptr) return;
    painter.drawImage(0, 0, FrameImage(surface));
}

TSurfaceCanvas::TSurfaceCanvas(TDIB16bit& surface) : image_(SurfaceImage(surface)) {
    if (image_.isNull()) return;
    painter_.begin(&image_);
    // Mirrored vertically: canvas row 0 is the top of the displayed image,
    // which is the last row of the memory.
    painter_.translate(0.0, image_.height());
    painter_.scale(1.0, -1.0);
}

}  // namespace zorva
