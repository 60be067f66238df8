#include "ui/framework_setup.h"

#include <QCoreApplication>

#include "connection/connection_watch.h"
#include "connection/message_log.h"
#include "connection/messaging.h"
#include "kernel/kernel.h"
#include "ui/display_callback.h"
#include "ui/header_strip.h"
#include "ui/message_boxes.h"
#include "ui/trace_panel.h"
#include "ui/zorva_form.h"

namespace zorva {
namespace {

bool WaitingForUser() {
    const TZorvaStatus& status = ZorvaStatus();
    return status.RunState == rsInterrupted || (status.RunState == rsStepping && !status.Proceed);
}

void ConnectTraceMemo(TZorvaForm& form) {
    TTracePanel* panel = form.TracePanel();
    TraceMemo().SetDisplayHook(
        [panel](const std::string& line, bool) { panel->AppendTraceLine(QString::fromStdString(line)); });
    SetTraceFallbackHook([&form] { form.ApplyOutput(std::string()); });
}

void ConnectMessages(TZorvaForm& form) {
    SetModelNameDisplay([&form](const std::string& name) { form.ShowModelName(name); });
    SetServerAddressDisplay([&form](const std::string& address) { form.ShowServerAddress(address); });
    SetStatusBarHook([&form](int panel, const std::string& text) { form.SetStatusText(panel, text); });
    SetFatalErrorHandler([](const std::string& text) { ShowBox(BoxKind::Error, text); });
    SetWarningHandler([](const std::string& text) { ShowBox(BoxKind::Warning, text); });
    SetConnectFailedHandler([&form](const TConnectionFailure& failure) { return form.GoConnectionFailed(failure); });
}

}  // namespace

void ProcessWindowEvents() {
    QEventLoop::ProcessEventsFlags flags = QEventLoop::AllEvents;
    if (WaitingForUser()) flags |= QEventLoop::WaitForMoreEvents;
    QCoreApplication::processEvents(flags);
}

std::unique_ptr<TZorvaForm> StartFramework() {
    auto form = std::make_unique<TZorvaForm>();
    SetDisplayCallback(&DisplayCallback);
    SetEventProcessor(&ProcessWindowEvents);
    ConnectTraceMemo(*form);
    ConnectMessages(*form);
    form->SetTrace(false);
    form->SetStepMode(false);
    SetModelName(std::string());
    InitKernel();
    form->KernelReady();
    form->LastStatusTime = 0.0;
    form->StatusInterval = 1.0;
    return form;
}

void StopFramework() {
    SetDisplayCallback(nullptr);
    SetEventProcessor(nullptr);
    SetFatalErrorHandler(nullptr);
    SetWarningHandler(nullptr);
    SetConnectFailedHandler(nullptr);
    SetPaceHook(nullptr);
    ResetKernel();
    ResetConnection();
    ResetMessageLog();
}

}  // namespace zorva
