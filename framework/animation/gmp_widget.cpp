#include "animation/gmp_widget.h"

#include <QPaintEvent>
#include <QResizeEvent>

#include "animation/dib16_draw.h"
#include "animation/texture_file.h"

namespace zorva {

namespace {

QColor ToQColor(TColor colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>(colour >> 8 & 0xFF),
                  static_cast<int>(colour >> 16 & 0xFF));
}

}  // namespace

TGMP::TGMP(QWidget* parent) : QWidget(parent) {
    // The row tables and the depth buffer end at row 767.
    setMaximumHeight(TGMPRenderer::kMaxViewHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    renderer_.BeforeFlip = [this](TDIB16bit& surface) {
        if (!BeforeFlip) return;
        TSurfaceCanvas canvas(surface);
        if (canvas.Painter().isActive()) BeforeFlip(canvas.Painter());
    };
    renderer_.OnFlip = [this](const TDIB16bit& surface) {
        // A copy, so that a repaint between two frames shows the last whole
        // frame and never one being drawn. Shown at once, as a flip is: the
        // frame's cost then includes showing it.
        shownFrame_ = FrameImage(surface);
        if (isVisible()) {
            repaint();
        } else {
            update();
        }
    };
    renderer_.DrawBackgroundPicture = [this](TDIB16bit& background) {
        // Cleared first: a picture taken away leaves no trace of the old one.
        background.ClearPixels(0);
        if (backgroundBitmap_.isNull()) return;
        TSurfaceCanvas canvas(background);
        if (!canvas.Painter().isActive()) return;
        canvas.Painter().drawImage(QRect(0, 0, background.Width(), background.Height()), backgroundBitmap_);
    };
    renderer_.DrawCanvasLine = [](TDIB16bit& surface, const TCanvasLine& line) {
        TSurfaceCanvas canvas(surface);
        if (!canvas.Painter().isActive()) return;
        canvas.Painter().setPen(ToQColor(line.Color));
        canvas.Painter().drawLine(line.X1, line.Y1, line.X2, line.Y2);
    };
    resize(TGMPRenderer::kInitialSize, TGMPRenderer::kInitialSize);
    renderer_.Paint();
}

std::optional<QString> TGMP::LoadTexture(const QString& file_name) {
    return LoadTextureFile(file_name, renderer_.Texture);
}

void TGMP::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), ToQColor(renderer_.BackColor()));
    painter.drawImage(0, 0, shownFrame_);
}

void TGMP::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const std::int32_t used = renderer_.Resize(width(), height());
    if (used != height()) resize(width(), used);
}

}  // namespace zorva
