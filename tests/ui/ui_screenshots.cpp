// Takes the pictures of the windows for the documentation: run under a
// real X server (xvfb-run -a ui_screenshots DIR), it writes main_idle.png,
// main_running.png, settings_open.png, elements.png and queues.png to DIR.
#include <QApplication>
#include <QDir>
#include <QTimer>

#include "connection/messaging.h"
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

ZorvaQueue* waiting = nullptr;
ZorvaQueue* counter = nullptr;

void Save(QWidget* window, const char* name) {
    QApplication::processEvents();
    window->grab().save(QDir(outputDir).filePath(name));
}

class TCustomer : public ZorvaElement {
public:
    TCustomer() : ZorvaElement(this, "Customer") {}
    void Process() override {
        EnterQueue(*waiting);
        EnterQueue(*counter);
        Hold(2.5);
        LeaveQueue(*counter);
        Hold(1.5);
        LeaveQueue(*waiting);
        FinishAndDestroy();
    }
};

class TGenerator : public ZorvaElement {
public:
    TGenerator() : ZorvaElement(this, "Generator") {}
    void Process() override {
        for (;;) {
            (new TCustomer)->Start(SimTime());
            Hold(1.25);
        }
    }
};

class TSnapshot : public ZorvaElement {
public:
    explicit TSnapshot(TZorvaForm& form) : ZorvaElement(this, "Snapshot"), form_(form) {}
    void Process() override {
        Hold(12.0);
        QMetaObject::invokeMethod(
            qApp, [this] { TakeRunningPictures(); }, Qt::QueuedConnection);
        Passivate();
    }

private:
    void TakeRunningPictures() {
        TZorvaForm& form = form_;
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
    TZorvaForm& form_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    outputDir = argc > 1 ? argv[1] : ".";
    std::unique_ptr<TZorvaForm> form = StartFramework();
    form->SetClosedHook([] { QCoreApplication::exit(0); });
    form->show();
    waiting = new ZorvaQueue("Waiting");
    counter = new ZorvaQueue("Counter");
    (new TGenerator)->Start(0.0);
    (new TSnapshot(*form))->Start(0.0);
    SetTrace(true);
    SetServerAddress("");
    Save(form.get(), "main_idle.png");
    QTimer::singleShot(100, form.get(), [f = form.get()] { f->GoStartSimulation(); });
    const int code = app.exec();
    StopFramework();
    delete waiting;
    delete counter;
    return code;
}
