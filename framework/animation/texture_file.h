#pragma once

// Loading the renderer's texture from a picture file.

#include <QString>
#include <optional>

#include "animation/rasterizer.h"

namespace zorva {

// Reads any image format Qt knows, scales it to 128 x 128 (the top line of
// the picture becomes texture row 0) and stores it as 5-5-5 texels. On failure
// the texture is untouched and the message says which file and why.
std::optional<QString> LoadTextureFile(const QString& file_name, TTexture& texture);

}  // namespace zorva
