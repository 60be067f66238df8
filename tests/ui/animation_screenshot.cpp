// Takes the picture of the animation window beside the main window for the
// documentation: run under a real X server (xvfb-run -a -s "-screen 0
// 1024x600x24" animation_screenshot DIR), it switches the Animation setting
// on, starts a run of a small model whose boxes stand in the scene, and
// writes the whole screen to DIR/animation_beside_main.png while the run is
// under way.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QScreen>
#include <QTimer>

#include "animation/mesh_builder.h"
#include "connection/messaging.h"
#include "demo_queue_model.h"
#include "kernel/kernel.h"
#include "ui/framework_setup.h"
#include "ui/model_window.h"
#include "ui/zorva_form.h"

namespace {

using namespace zorva;

QString outputDir;
int pictureResult = 1;

TMesh Box(TVector3 size) {
    TMesh mesh;
    AddBox(mesh, {0.0f, 0.0f, 0.0f}, size);
    return mesh;
}

// A quay with three sheds, and a boat that sails along it while the run goes.
TAnimationGroup* BuildScene() {
    TAnimationScene& scene = AnimationScene();
    const TRenderMode mode = TRenderMode::rmSolidShade;
    scene.AddGroup({0.0f, -1.2f, -1.0f}).AddShape(Box({9.0f, 0.2f, 6.0f}), RGBColor(60, 90, 60), mode);
    scene.AddGroup({-2.8f, -0.35f, -1.5f}).AddShape(Box({1.5f, 1.5f, 1.5f}), RGBColor(200, 40, 40), mode);
    scene.AddGroup({0.0f, 0.0f, -2.5f}).AddShape(Box({2.0f, 2.2f, 1.2f}), RGBColor(40, 170, 60), mode);
    scene.AddGroup({2.8f, -0.6f, -1.2f}).AddShape(Box({1.2f, 1.0f, 2.0f}), RGBColor(40, 60, 210), mode);
    TAnimationGroup& boat = scene.AddGroup({-4.0f, -0.85f, 1.2f});
    boat.AddShape(Box({1.8f, 0.5f, 0.7f}), RGBColor(220, 200, 40), mode);
    boat.AddMember({-0.4f, 0.45f, 0.0f}).AddShape(Box({0.6f, 0.4f, 0.5f}), RGBColor(230, 230, 230), mode);
    return &boat;
}

class TBoat : public ZorvaElement {
public:
    explicit TBoat(TAnimationGroup& boat) : ZorvaElement(this, "Boat"), boat_(boat) {}
    void Process() override {
        for (;;) {
            Hold(0.5);
            TVector3 position = boat_.Position();
            position.X += 0.25f;
            boat_.SetPosition(position);
        }
    }

private:
    TAnimationGroup& boat_;
};

// The run stands still meanwhile, and the last frame has time to reach the
// screen.
void TakePicture(TZorvaForm& form) {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 300) QApplication::processEvents(QEventLoop::AllEvents, 50);
    const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
    pictureResult = screen.save(QDir(outputDir).filePath("animation_beside_main.png")) ? 0 : 1;
    form.close();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    outputDir = argc > 1 ? argv[1] : ".";
    std::unique_ptr<TZorvaForm> form = StartFramework();
    form->SetClosedHook([] { QCoreApplication::exit(0); });
    form->show();
    uitest::BuildDemoQueueModel();
    TAnimationGroup* boat = BuildScene();
    (new TBoat(*boat))->Start(0.0);
    uitest::AtSimTimeStandStill(12.5, [f = form.get()] { TakePicture(*f); });
    SetTrace(true);
    SetServerAddress("");
    // As OK in the settings panel does it.
    form->ApplyAnimationSetting(true);
    TZorvaAnimationForm& animation = *form->AnimationWindows().Form();
    animation.SetCameraPosition(2.5f, 2.5f, 9.0f);
    animation.SetCameraAngles(-12.0f, 14.0f, 0.0f);
    QTimer::singleShot(300, form.get(), [f = form.get()] { f->GoStartSimulation(); });
    app.exec();
    StopFramework();
    uitest::FreeDemoQueueModel();
    return pictureResult;
}
