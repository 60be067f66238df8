// The main window as start-up leaves it, what the model's calls write into
// it, its layout with and without the trace, and the break time's interrupt.
#include <QSplitter>

#include "ui/model_window.h"
#include "ui_test_support.h"

namespace zorva::uitest {
namespace {

class WindowTest : public UiTest {};

TEST_F(WindowTest, StartUpNamesTheModelAfterTheProgramAndCountsTheKernel) {
    EXPECT_EQ(form_->windowTitle(), "V1.00.5 Zorva: ui_tests");
    EXPECT_EQ(ModelName(), "ui_tests");
    EXPECT_EQ(HeaderText(hsServerAddress), "Server Address:");
    EXPECT_EQ(HeaderText(hsBreak), "Break:");
    EXPECT_EQ(HeaderText(hsOutput), "Output: Screen");
    EXPECT_EQ(HeaderText(hsAnimation), "Animation: Off");
    EXPECT_EQ(HeaderText(hsMessageLog), "Message Log: Off");
    EXPECT_EQ(form_->StatusBar()->PanelText(0), "Time: 0.00");
    EXPECT_EQ(form_->StatusBar()->PanelText(1), "Elements: 0");
    EXPECT_EQ(form_->StatusBar()->PanelText(2), "Queues: 0");
    EXPECT_FALSE(form_->TraceOn());
    EXPECT_FALSE(form_->TracePanel()->TraceMemo()->isVisible());
    EXPECT_FALSE(form_->TracePanel()->StepButton()->isVisible());
    EXPECT_FALSE(form_->Settings()->isVisible());
    EXPECT_EQ(RunState(), rsIdle);
}

TEST_F(WindowTest, ModelCallsWriteIntoTheWindow) {
    InitTestModel();
    EXPECT_EQ(HeaderText(hsServerAddress), "ServerAddress: LocalHost");
    EXPECT_EQ(form_->StatusBar()->PanelText(1), "Elements: 1");
    EXPECT_EQ(form_->StatusBar()->PanelText(2), "Queues: 2");
    // The header shows the address as passed, the connection keeps it trimmed.
    SetServerAddress(" far.example ");
    EXPECT_EQ(HeaderText(hsServerAddress), "ServerAddress:  far.example ");
    EXPECT_EQ(ZorvaStatus().ServerAddress, "far.example");
    SetModelName("brimtest");
    EXPECT_EQ(form_->windowTitle(), "V1.00.5 Zorva: brimtest");
}

TEST_F(WindowTest, TracePanelFillsTheLeftHalfOnlyWithTheTrace) {
    form_->resize(800, 500);
    QApplication::processEvents();
    TTracePanel* panel = form_->TracePanel();
    auto* splitter = form_->findChild<QSplitter*>("Splitter1");
    ASSERT_NE(splitter, nullptr);
    EXPECT_EQ(splitter->sizes().front(), 400);
    EXPECT_EQ(panel->width(), 400);
    EXPECT_EQ(panel->height(), panel->CollapsedHeight());

    SetTrace(true);
    EXPECT_TRUE(form_->TracePanel()->TraceCheckBox()->isChecked());
    EXPECT_TRUE(panel->TraceMemo()->isVisible());
    EXPECT_EQ(panel->height(), splitter->height());
    EXPECT_EQ(panel->TraceMemo()->geometry(), QRect(5, 46, 390, panel->height() - 46 - 5));

    form_->TracePanel()->TraceCheckBox()->click();
    EXPECT_FALSE(form_->TraceOn());
    EXPECT_FALSE(TraceOn());
    EXPECT_FALSE(panel->TraceMemo()->isVisible());
    EXPECT_EQ(panel->height(), panel->CollapsedHeight());
}

TEST_F(WindowTest, BreakTimeInterruptsAndTheHeaderForgetsIt) {
    InitTestModel();
    SetServerAddress("");
    SetTrace(false);
    SetStopTime(500.0);
    form_->GoEditTheSettings();
    form_->Settings()->BreakEdit()->setText("5");
    form_->Settings()->OKButton()->click();
    EXPECT_EQ(HeaderText(hsBreak), "Break: 5");
    std::string breakHeader;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (RunState() != rsInterrupted) return;
        poll.stop();
        breakHeader = HeaderText(hsBreak);
        EXPECT_TRUE(form_->ResumeItem()->isEnabled());
        form_->close();
    });
    poll.start(10);
    RunThroughStart();
    EXPECT_EQ(SimTime(), 5.0);
    EXPECT_EQ(breakHeader, "Break: ");
    // Written whatever the trace switch says, into the hidden memo.
    EXPECT_EQ(MemoLinesContaining("        5.00 *** Interrupt ***"), 1);
    EXPECT_EQ(MemoLinesContaining("is current now"), 0);
}

}  // namespace
}  // namespace zorva::uitest
