#pragma once

// The three-dimensional view as a widget: it owns a TGMPRenderer, keeps its
// surfaces at the widget's size (height at most 768), lets its owner draw 2D
// text onto each frame before the meshes, and shows every flipped frame.

#include <QImage>
#include <QPainter>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

#include "animation/gmp_renderer.h"

namespace zorva {

class TGMP : public QWidget {
    Q_OBJECT

public:
    explicit TGMP(QWidget* parent = nullptr);

    float LightStrength() const { return renderer_.LightStrength; }
    void SetLightStrength(float strength) { renderer_.LightStrength = strength; }
    TColor BackColor() const { return renderer_.BackColor(); }
    // Repaints with the new colour.
    void SetBackColor(TColor colour) { renderer_.SetBackColor(colour); }
    bool EnableBackgroundBitmap() const { return renderer_.EnableBackgroundBitmap(); }
    void SetEnableBackgroundBitmap(bool enable) { renderer_.SetEnableBackgroundBitmap(enable); }
    const QImage& BackgroundBitmap() const { return backgroundBitmap_; }
    // Takes a copy; it shows from the next repaint on.
    void SetBackgroundBitmap(const QImage& picture) { backgroundBitmap_ = picture; }
    TRenderMode RenderMode() const { return renderer_.RenderMode; }
    void SetRenderMode(TRenderMode mode) { renderer_.RenderMode = mode; }
    bool DirectDraw() const { return renderer_.DirectDraw; }
    void SetDirectDraw(bool direct) { renderer_.DirectDraw = direct; }

    // Called at every BeginFrame with a painter on the frame (y counting down
    // from the top); what it draws lies under the meshes.
    std::function<void(QPainter& canvas)> BeforeFlip;

    // Fills the texture from an image file, scaled to 128 x 128; on failure
    // the texture is left as it was and the reason is returned.
    std::optional<QString> LoadTexture(const QString& file_name);

    // Background colour and picture only, shown at once.
    void Paint() { renderer_.Paint(); }
    void Flip() { renderer_.Flip(); }

    TGMPRenderer& Renderer() { return renderer_; }
    // The frame shown by the last Flip, top line first.
    const QImage& ShownFrame() const { return shownFrame_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    TGMPRenderer renderer_;
    QImage backgroundBitmap_;
    QImage shownFrame_;
};

}  // namespace zorva
