// Takes the pictures of the windows for the documentation: run under a
// real X server (xvfb-run -a ui_screenshots DIR), it writes main_idle.png,
// main_running.png, settings_open.png, elements.png, queues.png,
// dashboard.png, summary.png and connection_failed.png to DIR, all from
// real runs: the demo model alone, then a run whose server is not there.
#include <QApplication>
#include <QDir>
#include <QTcpServer>
#include <QTimer>

#include "connection/messaging.h"
#include "connection/server_connection.h"
#include "demo_queue_model.h"
#include "kernel/kernel.h"
#include "ui/connection_dialog.h"
#include "ui/element_form.h"
#include "ui/framework_setup.h"
#include "ui/header_strip.h"
#include "ui/inspection_windows.h"
#include "ui/model_window.h"
#include "ui/queue_form.h"
#include "ui/run_summary_window.h"
#include "ui/settings_panel.h"
#include "ui/zorva_form.h"

namespace {

using namespace zorva;

QString outputDir;
std::unique_ptr<TZorvaForm> form;

void Save(QWidget* window, const char* name) {
    QApplication::processEvents();
    window->grab().save(QDir(outputDir).filePath(name));
}

void TakeRunningPictures(TZorvaForm& f) {
    // The run stands still while this handler runs.
    f.LookAtRun();
    Save(&f, "main_running.png");
    // The chart wants room: the same window, larger.
    const QRect design = f.geometry();
    f.resize(1100, 620);
    f.LookAtRun();
    Save(&f, "dashboard.png");
    f.setGeometry(design);
    f.GoEditTheSettings();
    Save(&f, "settings_open.png");
    f.GoHideSettings();
    ShowElements();
    Save(ElementForm(), "elements.png");
    ShowQueues();
    Save(QueueForm(), "queues.png");
    f.GoQuitSimulation();
    f.GoResumeSimulation();
}

std::uint16_t ClosedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// A second program start whose server is not there: the dialog, then Quit.
void TakeConnectionPicture() {
    StopFramework();
    uitest::FreeDemoQueueModel();
    form = StartFramework();
    form->SetClosedHook([] { QCoreApplication::exit(0); });
    form->show();
    uitest::BuildDemoQueueModel();
    SetTrace(true);
    SetServerPort(ClosedPort());
    SetServerAddress("127.0.0.1");
    auto* poll = new QTimer(form.get());
    QObject::connect(poll, &QTimer::timeout, [poll] {
        auto* dialog = qobject_cast<TConnectionFailedDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        poll->stop();
        Save(dialog, "connection_failed.png");
        dialog->QuitButton()->click();
    });
    poll->start(50);
    form->GoStartSimulation();
}

void RunTheDemo() {
    form->GoStartSimulation();
    Save(form->Summary(), "summary.png");
    QTimer::singleShot(0, qApp, &TakeConnectionPicture);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    outputDir = argc > 1 ? argv[1] : ".";
    form = StartFramework();
    form->show();
    uitest::BuildDemoQueueModel();
    uitest::AtSimTimeStandStill(40.0, [] { TakeRunningPictures(*form); });
    SetTrace(true);
    SetServerAddress("");
    Save(form.get(), "main_idle.png");
    QTimer::singleShot(100, form.get(), &RunTheDemo);
    const int code = app.exec();
    StopFramework();
    form.reset();
    uitest::FreeDemoQueueModel();
    return code;
}
