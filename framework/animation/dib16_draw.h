#pragma once

// The surface seen through Qt: an RGB555 image over the surface's own memory
// for 2D drawing, and the upright copy that is shown in a window.

#include <QImage>
#include <QPainter>

#include "animation/dib16.h"

namespace zorva {

// Shares the surface's memory, bottom line first; empty for a surface without
// pixels. Valid as long as the surface is neither recreated nor destroyed.
QImage SurfaceImage(TDIB16bit& surface);

// The surface as it looks on screen (top line first), as a copy.
QImage FrameImage(const TDIB16bit& surface);

// Copies the whole surface 1:1 to the painter's device at (0, 0).
void Draw(const TDIB16bit& surface, QPainter& painter);

// A painter whose y counts down from the top of the displayed image while it
// writes straight into the surface's memory, so that text and lines land on
// the pixels the renderer draws on.
class TSurfaceCanvas {
public:
    explicit TSurfaceCanvas(TDIB16bit& surface);
    TSurfaceCanvas(const TSurfaceCanvas&) = delete;
    TSurfaceCanvas& operator=(const TSurfaceCanvas&) = delete;

    // Inactive (drawing does nothing) on a surface without pixels.
    QPainter& Painter() { return painter_; }

private:
    QImage image_;
    QPainter painter_;
};

}  // namespace zorva
