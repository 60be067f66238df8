// Watching the run from the main window: the run state in the status bar,
// the dashboard while the run goes on, and what the window shows when the
// run has ended or the connection has failed.
#include <QAction>
#include <QTimer>

#include "connection/messaging.h"
#include "engine/engine.h"
#include "kernel/trace_sink.h"
#include "ui/connection_dialog.h"
#include "ui/message_boxes.h"
#include "ui/run_dashboard.h"
#include "ui/run_state_panel.h"
#include "ui/run_summary_window.h"
#include "ui/trace_panel.h"
#include "ui/zorva_form.h"

namespace zorva {

void TZorvaForm::LookAtRun() {
    dashboard_->Refresh();
    statusBar_->SetPanelText(3, RunStateText(CurrentRunPhase(dashboard_->Stalled())));
}

void TZorvaForm::RunBegins() {
    runBegan_ = std::chrono::steady_clock::now();
    SetPaceHook([this](double t) { dashboard_->Pace().WaitBefore(t); });
    lookTimer_->start();
    LookAtRun();
}

// An ended run can be neither interrupted nor resumed. The summary and the
// note of a lost connection are for a user who stays: not after the window
// was closed, and the note only on screen, since a headless program says
// it on standard error.
void TZorvaForm::RunHasEnded() {
    lookTimer_->stop();
    SetPaceHook(nullptr);
    interruptItem_->setEnabled(false);
    resumeItem_->setEnabled(false);
    LookAtRun();
    if (closeRequested_) return;
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - runBegan_;
    if (!summary_) summary_ = new TRunSummaryWindow(this, TracePanel()->TraceMemo(), dashboard_->Chart());
    summary_->ShowRun(wall.count(), dashboard_->Events(), TraceToFile() ? TraceFileName() : std::string());
    const TConnectionFailure failure = ConnectionFailure();
    if (failure.What == TConnectionFailure::Lost && BoxesOnScreen()) ShowConnectionLost(failure, this);
}

TConnectChoice TZorvaForm::GoConnectionFailed(const TConnectionFailure& failure) {
    if (!BoxesOnScreen() || closeRequested_) return TConnectChoice::GiveUp;
    LookAtRun();
    switch (AskAfterFailedConnection(failure, this)) {
        case TFailedConnectionAnswer::Retry:
            return TConnectChoice::Retry;
        case TFailedConnectionAnswer::RunUnconnected:
            ShowServerAddress(std::string());
            return TConnectChoice::RunUnconnected;
        case TFailedConnectionAnswer::Quit:
            close();
            break;
    }
    return TConnectChoice::GiveUp;
}

}  // namespace zorva
