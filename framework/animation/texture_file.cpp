#include "animation/texture_file.h"

#include <QImage>
#include <QImageReader>

namespace zorva {

std::optional<QString> LoadTextureFile(const QString& file_name, TTexture& texture) {
    QImageReader reader(file_name);
    const QImage picture = reader.read();
    if (picture.isNull()) {
        return QStringLiteral("Cannot load the texture from \"%1\": %2").arg(file_name, reader.errorString());
    }
    const QImage texels = picture.scaled(kTextureSize, kTextureSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                              .convertToFormat(QImage::Format_RGB555);
    for (int u = 0; u < kTextureSize; ++u) {
        const auto* line = reinterpret_cast<const std::uint16_t*>(texels.constScanLine(u));
        for (int v = 0; v < kTextureSize; ++v) texture[u * kTextureSize + v] = line[v];
    }
    return std::nullopt;
}

}  // namespace zorva
