#include "ui/zorva_form.h"
#include "ui/status_bar.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

#include "engine/engine.h"
#include "kernel/kernel.h"
#include "ui/header_strip.h"
#include "ui/inspection_windows.h"
#include "ui/run_dashboard.h"
#include "ui/run_state_panel.h"
#include "ui/settings_panel.h"
#include "ui/trace_panel.h"

namespace zorva {
namespace {

TZorvaForm* theForm = nullptr;

constexpr int kDesignWidth = 696;
constexpr int kDesignHeight = 413;
constexpr int kDesignLeft = 328;
constexpr int kDesignTop = 183;
constexpr int kSplitterWidth = 3;
// While a run waits, the event processing sleeps until something happens;
// this tick makes sure it never sleeps for long.
constexpr int kRunTickMs = 50;

QAction* MenuCommand(QMenuBar* menu, const char* name, const char* caption, const char* hint) {
    auto* action = new QAction(caption, menu->parent());
    action->setObjectName(name);
    if (*hint) {
        action->setStatusTip(hint);
        action->setToolTip(hint);
    }
    menu->addAction(action);
    return action;
}

}  // namespace

TZorvaForm* TheZorvaForm() {
    return theForm;
}

TZorvaForm::TZorvaForm() {
    theForm = this;
    setObjectName("ZorvaForm");
    setWindowTitle("Zorva");
    QFont font = QApplication::font();
    font.setPointSize(8);
    setFont(font);
    setGeometry(kDesignLeft, kDesignTop, kDesignWidth, kDesignHeight);
    setFocusPolicy(Qt::StrongFocus);

    BuildMenu();
    BuildBody();
    ConnectHandlers();
    animation_ = std::make_unique<TAnimationWindows>(AnimationHost{
        [this] { GoInterruptSimulation(); },
        // Only a waiting run is resumed: from Idle the Resume command would
        // set the run going before Start (Interrupt enabled, the server
        // address fixed), and after the end a later close of this window
        // would be taken for a close during the run and ignored once.
        [this] {
            if (RunState() == rsInterrupted) GoResumeSimulation();
        },
        // The camera moves between two calls: they must never sleep.
        [] { QCoreApplication::processEvents(); },
        [this]() -> QWidget* { return this; },
        [](const QString& message) { ShowWarning(message.toStdString()); },
    });
    GoCreateZorvaForm();
}

TZorvaForm::~TZorvaForm() {
    if (theForm == this) theForm = nullptr;
}

void TZorvaForm::BuildMenu() {
    menu_ = new QMenuBar(this);
    menu_->setObjectName("ZorvaMainMenu");
    startItem_ = MenuCommand(menu_, "StartItem", "&Start", "Start Simulation");
    interruptItem_ = MenuCommand(menu_, "InterruptItem", "&Interrupt", "Interrupt Simulation");
    resumeItem_ = MenuCommand(menu_, "ResumeItem", "&Resume", "Resume Simulation");
    quitItem_ = MenuCommand(menu_, "QuitItem", "&Quit", "");
    setMenuBar(menu_);
}

void TZorvaForm::BuildBody() {
    auto* body = new QWidget(this);
    body->setObjectName("ClientArea");
    auto* column = new QVBoxLayout(body);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    header_ = new THeaderStrip(body);
    splitter_ = new QSplitter(Qt::Horizontal, body);
    splitter_->setObjectName("Splitter1");
    splitter_->setHandleWidth(kSplitterWidth);
    splitter_->setChildrenCollapsible(false);
    traceArea_ = new TTraceArea(splitter_);
    dashboard_ = new TRunDashboard(splitter_);
    statusBar_ = new TZorvaStatusBar(body);

    column->addWidget(header_);
    column->addWidget(splitter_, 1);
    column->addWidget(statusBar_);
    settings_ = new TSettingsPanel(body);
    setCentralWidget(body);

    runTicker_ = new QTimer(this);
    runTicker_->setInterval(kRunTickMs);
    lookTimer_ = new QTimer(this);
    lookTimer_->setInterval(TRunDashboard::kRefreshMs);
    connect(lookTimer_, &QTimer::timeout, this, &TZorvaForm::LookAtRun);
}

void TZorvaForm::ConnectHandlers() {
    connect(startItem_, &QAction::triggered, this, &TZorvaForm::GoStartSimulation);
    connect(interruptItem_, &QAction::triggered, this, &TZorvaForm::GoInterruptSimulation);
    connect(resumeItem_, &QAction::triggered, this, &TZorvaForm::GoResumeSimulation);
    connect(quitItem_, &QAction::triggered, this, &TZorvaForm::GoQuitSimulation);
    TTracePanel* panel = traceArea_->Panel();
    connect(panel->TraceCheckBox(), &QCheckBox::clicked, this, &TZorvaForm::TraceCheckClick);
    connect(panel->StepModeCheckBox(), &QCheckBox::clicked, this, &TZorvaForm::StepModeCheckClick);
    connect(panel->StepButton(), &QToolButton::clicked, this, &TZorvaForm::ExecuteNextStep);
    connect(header_, &QHeaderView::sectionClicked, this, &TZorvaForm::GoEditTheSettings);
    connect(settings_->OKButton(), &QPushButton::clicked, this, &TZorvaForm::GoAcceptSettings);
    connect(settings_->CancelButton(), &QPushButton::clicked, this, &TZorvaForm::GoHideSettings);
    connect(statusBar_, &TZorvaStatusBar::PanelClicked, this, &TZorvaForm::CheckStatusBarMouseUp);
}

void TZorvaForm::GoCreateZorvaForm() {
    startItem_->setEnabled(true);
    quitItem_->setEnabled(true);
    interruptItem_->setEnabled(false);
    resumeItem_->setEnabled(false);
    animationOn_ = false;
    header_->SetSectionText(hsServerAddress, "Server Address:");
    header_->SetSectionText(hsBreak, "Break:");
    header_->SetSectionText(hsOutput, "Output: Screen");
    header_->SetSectionText(hsAnimation, "Animation: Off");
    header_->SetSectionText(hsMessageLog, "Message Log: Off");
    statusBar_->SetPanelText(3, RunStateText(TRunPhase::Idle));
    traceArea_->LayOutTracePanel(false);
    TTracePanel* panel = traceArea_->Panel();
    panel->TraceCheckBox()->setChecked(false);
    panel->StepModeCheckBox()->setChecked(false);
    closeRequested_ = false;
    animation_->State().LastAnimationTime = -1.0;
}

TTracePanel* TZorvaForm::TracePanel() const {
    return traceArea_->Panel();
}

void TZorvaForm::SetTrace(bool on) {
    traceOn_ = on;
    SetTraceOn(on);
    traceArea_->Panel()->TraceCheckBox()->setChecked(on);
    traceArea_->LayOutTracePanel(on);
}

void TZorvaForm::SetStepMode(bool on) {
    stepModeOn_ = on;
    traceArea_->Panel()->StepModeCheckBox()->setChecked(on);
    traceArea_->Panel()->StepButton()->setVisible(on);
    if (on)
        EnterStepMode();
    else
        LeaveStepMode();
}

void TZorvaForm::ShowModelName(const std::string& name) {
    setWindowTitle(QString::fromStdString(std::string(kVersion) + " Zorva: " + name));
}

void TZorvaForm::ShowServerAddress(const std::string& address) {
    header_->SetSectionText(hsServerAddress, "ServerAddress: " + address);
}

void TZorvaForm::SetStatusText(int panel, const std::string& text) {
    statusBar_->SetPanelText(panel, text);
}

void TZorvaForm::KernelReady() {
    kernelReady_ = true;
    WriteStatusTexts();
}

void TZorvaForm::TraceCheckClick(bool checked) {
    SetTrace(checked);
}

void TZorvaForm::StepModeCheckClick(bool checked) {
    SetStepMode(checked);
}

void TZorvaForm::WriteStatusTexts() {
    if (!kernelReady_) return;
    statusBar_->SetPanelText(1, "Elements: " + std::to_string(Elements().Length));
    statusBar_->SetPanelText(2, "Queues: " + std::to_string(QueueCount()));
    statusBar_->SetPanelText(0, ClockPanelText());
}

void TZorvaForm::GoShowZorvaForm() {
    WriteStatusTexts();
}

void TZorvaForm::CheckFormResize() {
    const int width = centralWidget()->width();
    splitter_->setSizes({width / 2, width - width / 2 - kSplitterWidth});
    settings_->PlaceWithin(width);
    WriteStatusTexts();
}

void TZorvaForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    GoShowZorvaForm();
}

void TZorvaForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    CheckFormResize();
}

void TZorvaForm::keyPressEvent(QKeyEvent* event) {
    CheckSpaceKey(event);
    QMainWindow::keyPressEvent(event);
}

// Only a space typed to the window itself breaks: a check box or a text box
// that holds the focus keeps its own keystrokes.
void TZorvaForm::CheckSpaceKey(QKeyEvent* event) {
    if (event->text() != " ") return;
    const QWidget* focus = focusWidget();
    if (focus != nullptr && focus != this) return;
    RequestKeyBreak(' ');
}

void TZorvaForm::closeEvent(QCloseEvent* event) {
    if (!CheckClosing()) {
        event->ignore();
        return;
    }
    event->accept();
    for (QWidget* window : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (window->isWindow()) window->hide();
    if (animation_->Form()) animation_->Form()->hide();
    if (closed_) closed_();
}

void TZorvaForm::CheckStatusBarMouseUp(StatusPanel panel) {
    if (panel == StatusPanel::Elements)
        ShowElements();
    else if (panel == StatusPanel::Queues)
        ShowQueues();
}

}  // namespace zorva
