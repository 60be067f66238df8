// Renders a small scene of coloured boxes through the animation window in
// each of the five render modes and writes one PNG per mode, for looking at
// the renderer's output by eye. With --screenshot it instead shows the window
// and saves a picture of the whole screen.
//
//   zorva-render-scene OUTPUT_FOLDER [--screenshot]

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <array>
#include <cstdio>
#include <utility>

#include "animation/animation_windows.h"
#include "animation/mesh_builder.h"

namespace {

using zorva::TRenderMode;

constexpr std::array<std::pair<TRenderMode, const char*>, 5> kModes{{
    {TRenderMode::rmWireframe, "wireframe"},
    {TRenderMode::rmSolid, "solid"},
    {TRenderMode::rmSolidShade, "solid_shade"},
    {TRenderMode::rmSolidTexture, "solid_texture"},
    {TRenderMode::rmShadedTexture, "shaded_texture"},
}};

zorva::TMesh Box(zorva::TVector3 size) {
    zorva::TMesh mesh;
    zorva::AddBox(mesh, {0.0f, 0.0f, 0.0f}, size);
    return mesh;
}

// Three boxes standing on a slab, and a small "ship": a hull with a cabin as
// a member of its group.
void BuildScene(zorva::TAnimationScene& scene, TRenderMode mode) {
    scene.Clear();
    scene.AddGroup({0.0f, -1.2f, -1.0f}).AddShape(Box({9.0f, 0.2f, 6.0f}), zorva::RGBColor(60, 90, 60), mode);
    scene.AddGroup({-2.8f, -0.35f, 0.0f}).AddShape(Box({1.5f, 1.5f, 1.5f}), zorva::RGBColor(200, 40, 40), mode);
    scene.AddGroup({0.0f, 0.0f, -2.5f}).AddShape(Box({2.0f, 2.2f, 1.2f}), zorva::RGBColor(40, 170, 60), mode);
    scene.AddGroup({2.8f, -0.6f, 0.3f}).AddShape(Box({1.2f, 1.0f, 2.0f}), zorva::RGBColor(40, 60, 210), mode);
    zorva::TAnimationGroup& ship = scene.AddGroup({0.4f, -0.85f, 1.8f});
    ship.AddShape(Box({1.8f, 0.5f, 0.7f}), zorva::RGBColor(220, 200, 40), mode);
    ship.AddMember({-0.4f, 0.45f, 0.0f}).AddShape(Box({0.6f, 0.4f, 0.5f}), zorva::RGBColor(230, 230, 230), mode);
}

QString WriteTexture(const QDir& folder) {
    QImage texture(128, 128, QImage::Format_RGB32);
    QPainter painter(&texture);
    for (int row = 0; row < 8; ++row) {
        for (int column = 0; column < 8; ++column) {
            const bool light = (row + column) % 2 == 0;
            painter.fillRect(column * 16, row * 16, 16, 16, light ? QColor(240, 220, 160) : QColor(150, 80, 40));
        }
    }
    painter.setPen(QPen(Qt::black, 4));
    painter.drawRect(2, 2, 124, 124);
    painter.end();
    const QString file_name = folder.filePath(QStringLiteral("texture.png"));
    texture.save(file_name);
    return file_name;
}

void PlaceCamera(zorva::TZorvaAnimationForm& form) {
    form.SetCameraPosition(2.5f, 2.5f, 9.0f);
    form.SetCameraAngles(-12.0f, 14.0f, 0.0f);
}

int RenderModes(zorva::TAnimationWindows& windows, const QDir& folder) {
    zorva::TZorvaAnimationForm& form = *windows.Form();
    if (auto message = form.GMPArea->LoadTexture(WriteTexture(folder))) {
        std::fprintf(stderr, "%s\n", qPrintable(*message));
        return 1;
    }
    PlaceCamera(form);
    for (const auto& [mode, name] : kModes) {
        BuildScene(windows.Scene(), mode);
        windows.State().AnimationCaption = name;
        form.Refresh();
        const QString file_name = folder.filePath(QStringLiteral("scene_%1.png").arg(name));
        if (!form.GMPArea->ShownFrame().save(file_name)) {
            std::fprintf(stderr, "Cannot write %s\n", qPrintable(file_name));
            return 1;
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: zorva-render-scene OUTPUT_FOLDER [--screenshot]\n");
        return 2;
    }
    const QDir folder(arguments[1]);
    if (!folder.exists()) {
        std::fprintf(stderr, "No such folder: %s\n", qPrintable(arguments[1]));
        return 2;
    }
    zorva::TAnimationWindows windows{zorva::AnimationHost{}};
    windows.ApplyAnimationSetting(true);
    if (!arguments.contains(QStringLiteral("--screenshot"))) return RenderModes(windows, folder);

    zorva::TZorvaAnimationForm& form = *windows.Form();
    if (auto message = form.GMPArea->LoadTexture(WriteTexture(folder))) {
        std::fprintf(stderr, "%s\n", qPrintable(*message));
        return 1;
    }
    form.move(0, 0);
    PlaceCamera(form);
    BuildScene(windows.Scene(), TRenderMode::rmSolidShade);
    windows.RedrawWhenDue(12.5, "       12.50");
    int result = 1;
    QTimer::singleShot(800, &app, [&] {
        const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
        result = screen.save(folder.filePath(QStringLiteral("animation_window.png"))) ? 0 : 1;
        app.quit();
    });
    app.exec();
    return result;
}
