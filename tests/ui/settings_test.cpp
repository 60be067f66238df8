// The settings panel: what it shows when opened, and what OK applies, in
// which order, and what a bad value stops.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QTest>

#include "kernel/trace_sink.h"
#include "test_clock.h"
#include "ui_test_support.h"

namespace zorva::uitest {
namespace {

class SettingsTest : public UiTest {
protected:
    TSettingsPanel* Panel() const { return form_->Settings(); }
    void ClickHeaderSection(int section) {
        THeaderStrip* header = form_->Header();
        const int x = header->sectionViewportPosition(section) + 5;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    }
    void Accept(const QString& address, const QString& breakAt, const QString& output) {
        Panel()->ServerAddressCombo()->setEditText(address);
        Panel()->BreakEdit()->setText(breakAt);
        Panel()->OutputCombo()->setEditText(output);
        Panel()->OKButton()->click();
    }
};

TEST_F(SettingsTest, EveryHeaderSectionOpensThePanelWithTheCurrentValues) {
    SetServerAddress("LocalHost");
    SetBreakTime(12.5);
    for (int section = 0; section < 5; ++section) {
        Panel()->hide();
        ClickHeaderSection(section);
        EXPECT_TRUE(Panel()->isVisible()) << "section " << section;
    }
    EXPECT_EQ(Panel()->ServerAddressCombo()->currentText(), "LocalHost");
    EXPECT_TRUE(Panel()->ServerAddressCombo()->isEnabled());
    EXPECT_EQ(Panel()->BreakEdit()->text(), "12.50");
    // The first time the output box is empty, though the header says Screen.
    EXPECT_EQ(Panel()->OutputCombo()->currentText(), "");
    EXPECT_EQ(HeaderText(hsOutput), "Output: Screen");
    EXPECT_TRUE(Panel()->MessageCheckBox()->isEnabled());
    EXPECT_FALSE(Panel()->MessageCheckBox()->isChecked());
}

TEST_F(SettingsTest, NoneInAnyCaseClearsTheAddress) {
    for (const char* none : {"none", "None", "NONE", "  nOnE ", ""}) {
        SetServerAddress("LocalHost");
        form_->GoEditTheSettings();
        Accept(none, "", "");
        EXPECT_EQ(ZorvaStatus().ServerAddress, "") << none;
        EXPECT_EQ(HeaderText(hsServerAddress), "ServerAddress: ") << none;
        EXPECT_FALSE(Panel()->isVisible());
    }
    form_->GoEditTheSettings();
    EXPECT_EQ(Panel()->ServerAddressCombo()->currentText(), "None");
    Accept("  server.example ", "", "");
    EXPECT_EQ(ZorvaStatus().ServerAddress, "server.example");
    EXPECT_EQ(HeaderText(hsServerAddress), "ServerAddress: server.example");
}

TEST_F(SettingsTest, BadBreakTimeAppliesTheAddressAndNothingAfterIt) {
    form_->GoEditTheSettings();
    Panel()->AnimationCheckBox()->setChecked(true);
    Panel()->MessageCheckBox()->setChecked(true);
    Accept("myhost", " 12x ", "trace-bad-break.txt");
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].Kind, BoxKind::Error);
    EXPECT_EQ(boxes_[0].Text, "'12x' is not a valid floating point value");
    EXPECT_EQ(ZorvaStatus().ServerAddress, "myhost");
    EXPECT_EQ(BreakTime(), -1.0);
    EXPECT_EQ(HeaderText(hsBreak), "Break:");
    EXPECT_FALSE(TraceToFile());
    EXPECT_EQ(HeaderText(hsOutput), "Output: Screen");
    EXPECT_FALSE(form_->AnimationOn());
    EXPECT_FALSE(MessageLogOn());
    EXPECT_TRUE(Panel()->isVisible());
}

TEST_F(SettingsTest, EndTimeSetsTheStopTimeAndABadOneAppliesNothingAfterIt) {
    form_->GoEditTheSettings();
    EXPECT_EQ(Panel()->EndEdit()->text(), "");
    Panel()->EndEdit()->setText(" 300 ");
    Accept("None", "", "");
    EXPECT_EQ(StopTime(), 300.0);
    form_->GoEditTheSettings();
    EXPECT_EQ(Panel()->EndEdit()->text(), "300.00");
    Panel()->EndEdit()->setText("soon");
    Accept("None", "", "trace-bad-end.txt");
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].Text, "'soon' is not a valid floating point value");
    EXPECT_EQ(StopTime(), 300.0);
    EXPECT_FALSE(TraceToFile());
    EXPECT_TRUE(Panel()->isVisible());
    Panel()->EndEdit()->setText("");
    Accept("None", "", "");
    EXPECT_EQ(StopTime(), NeverTime);
}

TEST_F(SettingsTest, BreakTimeHeaderShowsTheTextOnlyWhenItLiesAhead) {
    form_->GoEditTheSettings();
    Accept("None", " 7.5 ", "");
    EXPECT_EQ(BreakTime(), 7.5);
    EXPECT_EQ(HeaderText(hsBreak), "Break: 7.5");
    form_->GoEditTheSettings();
    Accept("None", "", "");
    EXPECT_EQ(BreakTime(), -1.0);
    EXPECT_EQ(HeaderText(hsBreak), "Break: ");
    zorva::testing::SetClock(10.0);
    form_->GoEditTheSettings();
    Accept("None", "3", "");
    EXPECT_EQ(BreakTime(), 3.0);
    EXPECT_EQ(HeaderText(hsBreak), "Break: ");
}

TEST_F(SettingsTest, BreakTimeIsTypedAndShownInTheUsersLocale) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    form_->GoEditTheSettings();
    Accept("None", "2,5", "");
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(BreakTime(), 2.5);
    EXPECT_TRUE(boxes_.empty());
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    form_->GoEditTheSettings();
    const QString shown = Panel()->BreakEdit()->text();
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(shown, "2,50");
}

TEST_F(SettingsTest, OutputGoesToAFileOrBackToTheScreen) {
    QFile existing("trace-existing.txt");
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("kept\n");
    existing.close();
    form_->GoEditTheSettings();
    Accept("None", "", " trace-existing.txt ");
    EXPECT_TRUE(TraceToFile());
    EXPECT_EQ(TraceFileName(), "trace-existing.txt");
    EXPECT_EQ(HeaderText(hsOutput), "Output: trace-existing.txt");
    TraceText("a line");
    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    EXPECT_EQ(existing.readAll().toStdString(), "kept\na line\n");

    for (const char* screen : {"screen", "SCREEN", ""}) {
        form_->GoEditTheSettings();
        Accept("None", "", screen);
        EXPECT_FALSE(TraceToFile()) << screen;
        EXPECT_EQ(HeaderText(hsOutput), "Output: Screen") << screen;
    }
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(SettingsTest, UnopenableTraceFileWarnsAndKeepsTheScreen) {
    form_->GoEditTheSettings();
    Accept("None", "", "no-such-directory/trace.txt");
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].Kind, BoxKind::Warning);
    EXPECT_EQ(boxes_[0].Text, "Error opening file no-such-directory/trace.txt");
    EXPECT_FALSE(TraceToFile());
    EXPECT_EQ(form_->OutputName(), "Screen");
    EXPECT_EQ(HeaderText(hsOutput), "Output: Screen");
    EXPECT_FALSE(Panel()->isVisible());
}

TEST_F(SettingsTest, MessageLogBoxIsOfferedOnlyWithAnAddress) {
    SetServerAddress("LocalHost");
    form_->GoEditTheSettings();
    QCheckBox* log = Panel()->MessageCheckBox();
    for (const auto& [text, enabled] : std::vector<std::pair<QString, bool>>{
             {"None", false}, {"LocalHost", true}, {" none ", false}, {"   ", false}, {"x", true}}) {
        Panel()->ServerAddressCombo()->setEditText(text);
        EXPECT_EQ(log->isEnabled(), enabled) << text.toStdString();
    }
    Panel()->ServerAddressCombo()->setEditText("LocalHost");
    log->setChecked(true);
    Panel()->OKButton()->click();
    EXPECT_TRUE(MessageLogOn());
    EXPECT_EQ(HeaderText(hsMessageLog), "Message Log: On");

    // With the address removed the box is disabled but still checked, and
    // OK keeps the log on.
    form_->GoEditTheSettings();
    Panel()->ServerAddressCombo()->setEditText("None");
    EXPECT_FALSE(log->isEnabled());
    EXPECT_TRUE(log->isChecked());
    Panel()->OKButton()->click();
    EXPECT_TRUE(MessageLogOn());
    EXPECT_EQ(HeaderText(hsMessageLog), "Message Log: On");

    form_->GoEditTheSettings();
    EXPECT_FALSE(log->isEnabled());
    log->setChecked(false);
    Panel()->OKButton()->click();
    EXPECT_FALSE(MessageLogOn());
    EXPECT_EQ(HeaderText(hsMessageLog), "Message Log: Off");
}

TEST_F(SettingsTest, AnimationSettingShowsAndHidesTheAnimationWindow) {
    form_->GoEditTheSettings();
    Panel()->AnimationCheckBox()->setChecked(true);
    Panel()->OKButton()->click();
    EXPECT_TRUE(form_->AnimationOn());
    EXPECT_EQ(HeaderText(hsAnimation), "Animation: On");
    ASSERT_NE(form_->AnimationWindows().Form(), nullptr);
    EXPECT_TRUE(form_->AnimationWindows().Form()->isVisible());
    form_->GoEditTheSettings();
    EXPECT_TRUE(Panel()->AnimationCheckBox()->isChecked());
    Panel()->AnimationCheckBox()->setChecked(false);
    Panel()->OKButton()->click();
    EXPECT_EQ(HeaderText(hsAnimation), "Animation: Off");
    EXPECT_FALSE(form_->AnimationWindows().Form()->isVisible());
}

TEST_F(SettingsTest, CancelAppliesNothing) {
    form_->GoEditTheSettings();
    Panel()->ServerAddressCombo()->setEditText("elsewhere");
    Panel()->BreakEdit()->setText("4");
    Panel()->OutputCombo()->setEditText("cancelled.txt");
    Panel()->CancelButton()->click();
    EXPECT_FALSE(Panel()->isVisible());
    EXPECT_EQ(ZorvaStatus().ServerAddress, "");
    EXPECT_EQ(BreakTime(), -1.0);
    EXPECT_FALSE(TraceToFile());
    EXPECT_FALSE(QFile::exists("cancelled.txt"));
}

TEST_F(SettingsTest, OpeningDuringARunInterruptsItAndNeitherButtonResumes) {
    InitTestModel();
    SetStopTime(500.0);
    AtSimTime(3.0, [&] {
        ClickHeaderSection(hsBreak);
        EXPECT_EQ(RunState(), rsInterrupted);
        EXPECT_FALSE(Panel()->ServerAddressCombo()->isEnabled());
        Post([&] {
            Accept("otherhost", "", "");
            EXPECT_EQ(RunState(), rsInterrupted);
            // Not idle any more: the address stays.
            EXPECT_EQ(ZorvaStatus().ServerAddress, "");
            EXPECT_EQ(HeaderText(hsServerAddress), "ServerAddress: ");
            form_->GoEditTheSettings();
            Panel()->CancelButton()->click();
            EXPECT_EQ(RunState(), rsInterrupted);
            EXPECT_TRUE(form_->ResumeItem()->isEnabled());
            form_->close();
        });
    });
    SetServerAddress("");
    RunThroughStart();
    EXPECT_EQ(closings_, 1);
}

}  // namespace
}  // namespace zorva::uitest
