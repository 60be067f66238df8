#pragma once
// The main window of every model program: the run commands, step mode, the
// trace, the header strip with the run settings, the settings panel and the
// status bar whose panels open the element and queue tables.
//
// The run happens inside GoStartSimulation: the run loop processes window
// events between two process steps, so every other handler runs nested in
// it and only sets values that the run loop reads at its next check.

#include <QMainWindow>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "animation/animation_windows.h"
#include "connection/connection_watch.h"
#include "ui/status_bar.h"

class QAction;
class QMenuBar;
class QSplitter;
class QTimer;

namespace zorva {

class THeaderStrip;
class TRunDashboard;
class TRunSummaryWindow;
class TSettingsPanel;
class TTraceArea;
class TTracePanel;

class TZorvaForm : public QMainWindow {
    Q_OBJECT
public:
    static constexpr const char* kVersion = "V1.00.5";

    TZorvaForm();
    ~TZorvaForm() override;

    // --- offered to the model and the framework -----------------------------
    void SetTrace(bool on);
    void SetStepMode(bool on);
    // Runs, with the server address that SetServerAddress gave the engine
    // (and the header shows), until the run has ended.
    void StartSimulation();
    void ShowModelName(const std::string& name);
    void ShowServerAddress(const std::string& address);
    void SetStatusText(int panel, const std::string& text);
    // The kernel's queues exist: the status bar may count them.
    void KernelReady();

    // --- handlers -----------------------------------------------------------
    void GoStartSimulation();
    void GoInterruptSimulation();
    void GoResumeSimulation();
    void GoQuitSimulation();
    void ExecuteNextStep();
    void GoEditTheSettings();
    void GoAcceptSettings();
    void GoHideSettings();

    // --- the settings, one at a time, in the order OK applies them ----------
    // The panel and the command-line options both go through these.
    void ApplyServerAddress(const std::string& text);
    // False, after an error box, when the text is not a number.
    bool ApplyBreakTime(const std::string& text);
    void ApplyOutput(const std::string& text);
    void ApplyAnimationSetting(bool on);
    void ApplyMessageLog(bool on);

    // Empty: no stop time (the run goes on until nothing is left to do).
    bool ApplyEndTime(const std::string& text);

    // --- watching the run (run_watch.cpp) -------------------------------------
    // The dashboard and the run state in the status bar, brought up to date;
    // a timer calls it a few times a second while the run goes on.
    void LookAtRun();
    // The way forward after a connection that could not be made, asked
    // before the run begins; a headless program gives up at once.
    TConnectChoice GoConnectionFailed(const TConnectionFailure& failure);

    // --- state ----------------------------------------------------------------
    bool TraceOn() const { return traceOn_; }
    bool StepModeOn() const { return stepModeOn_; }
    bool CloseRequested() const { return closeRequested_; }
    bool AnimationOn() const { return animationOn_; }
    const std::string& OutputName() const { return outputName_; }
    double StatusInterval = 1.0;
    double LastStatusTime = 0.0;

    TAnimationWindows& AnimationWindows() { return *animation_; }
    THeaderStrip* Header() const { return header_; }
    TZorvaStatusBar* StatusBar() const { return statusBar_; }
    TTracePanel* TracePanel() const;
    TSettingsPanel* Settings() const { return settings_; }
    TRunDashboard* Dashboard() const { return dashboard_; }
    // Null until a run has ended.
    TRunSummaryWindow* Summary() const { return summary_; }
    QAction* StartItem() const { return startItem_; }
    QAction* InterruptItem() const { return interruptItem_; }
    QAction* ResumeItem() const { return resumeItem_; }
    QAction* QuitItem() const { return quitItem_; }

    // Called when the run has ended, before a deferred close.
    void SetRunEndedHook(std::function<void()> hook) { runEnded_ = std::move(hook); }
    // Called when the window has closed: the program is to end.
    void SetClosedHook(std::function<void()> hook) { closed_ = std::move(hook); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildMenu();
    void BuildBody();
    void GoCreateZorvaForm();
    void ConnectHandlers();

    void GoShowZorvaForm();
    void CheckFormResize();
    void WriteStatusTexts();
    void TraceCheckClick(bool checked);
    void StepModeCheckClick(bool checked);
    void CheckSpaceKey(QKeyEvent* event);
    bool CheckClosing();
    void CheckStatusBarMouseUp(StatusPanel panel);
    void ShowInterrupted();
    void RunBegins();
    void RunHasEnded();

    QMenuBar* menu_ = nullptr;
    QAction* startItem_ = nullptr;
    QAction* interruptItem_ = nullptr;
    QAction* resumeItem_ = nullptr;
    QAction* quitItem_ = nullptr;
    THeaderStrip* header_ = nullptr;
    QSplitter* splitter_ = nullptr;
    TTraceArea* traceArea_ = nullptr;
    TSettingsPanel* settings_ = nullptr;
    TZorvaStatusBar* statusBar_ = nullptr;
    TRunDashboard* dashboard_ = nullptr;
    TRunSummaryWindow* summary_ = nullptr;
    QTimer* runTicker_ = nullptr;
    QTimer* lookTimer_ = nullptr;
    std::chrono::steady_clock::time_point runBegan_;
    std::unique_ptr<TAnimationWindows> animation_;

    bool traceOn_ = false;
    bool stepModeOn_ = false;
    bool closeRequested_ = false;
    bool animationOn_ = false;
    bool kernelReady_ = false;
    std::string outputName_;
    std::function<void()> runEnded_;
    std::function<void()> closed_;

    friend void DisplayCallback();
};

// The program's one main window; null before start-up and after it closed.
TZorvaForm* TheZorvaForm();

}  // namespace zorva
