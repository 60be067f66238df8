// Takes the pictures of the windows for the documentation: run under a
// real X server (xvfb-run -a ui_screenshots DIR), it writes main_idle.png,
// main_running.png, settings_open.png, elements.png and queues.png to DIR.
#include <QApplication>
#include <QDir>
#include <QTimer>

#include "connection/messaging.h"
#include "demo_queue_model.h"
#include "kernel/kernel.h"
#include "ui/element_form.h"
#include "ui/framework_setup.h"
#include "ui/header_strip.h"
#include "ui/inspection_windows.h"
#include "ui/model_window.h"
#include "ui/queue_form.h"
#include "ui/settings_panel.h"
#include "ui/zorva_form.h"

namespace {

using namespace zorva;

QString outputDir;

void Save(QWidget* window, const char* name) {
    QApplication::processEvents();
    window->grab().save(QDir(outputDir).filePath(name));
}

void TakeRunningPictures(TZorvaForm& form) {
    Save(&form, "main_running.png");
    form.GoEditTheSettings();
    Save(&form, "settings_open.png");
    form.GoHideSettings();
    ShowElements();
    Save(ElementForm(), "elements.png");
    ShowQueues();
    Save(QueueForm(), "queues.png");
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
    uitest::AtSimTimeStandStill(12.0, [f = form.get()] { TakeRunningPictures(*f); });
    SetTrace(true);
    SetServerAddress("");
    Save(form.get(), "main_idle.png");
    QTimer::singleShot(100, form.get(), [f = form.get()] { f->GoStartSimulation(); });
    const int code = app.exec();
    StopFramework();
    uitest::FreeDemoQueueModel();
    return code;
}
