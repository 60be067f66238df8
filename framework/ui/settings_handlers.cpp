// Opening the settings panel and applying what the user chose there, one
// setting at a time and always in the same order.
#include <QFile>

#include "connection/message_log.h"
#include "connection/messaging.h"
#include "engine/engine.h"
#include "kernel/trace_sink.h"
#include "ui/header_strip.h"
#include "ui/locale_numbers.h"
#include "ui/message_boxes.h"
#include "ui/settings_panel.h"
#include "ui/window_caption.h"
#include "ui/zorva_form.h"
#include "wire/never_time.h"

namespace zorva {
namespace {

std::string Trimmed(const QString& text) {
    return text.trimmed().toStdString();
}

std::string Upper(std::string text) {
    return QString::fromStdString(text).toUpper().toStdString();
}

// Creates the file when it is missing and keeps its contents when it is
// there. Opened for appending, so a file the trace could never be written to
// is refused now rather than at its first line.
bool CanAppendTo(const std::string& name) {
    QFile file(QString::fromStdString(name));
    return file.open(QIODevice::Append | QIODevice::Text);
}

// A time typed in the user's locale: empty gives none. False, after an error
// box, when the text is not a number.
bool ReadTime(const std::string& text, double none, double& time) {
    time = none;
    if (text.empty()) return true;
    const auto value = ParseLocal(text);
    if (!value) {
        ShowBox(BoxKind::Error, "'" + text + "' is not a valid floating point value");
        return false;
    }
    time = *value;
    return true;
}

}  // namespace

void TZorvaForm::GoEditTheSettings() {
    const std::string& address = ZorvaStatus().ServerAddress;
    settings_->ServerAddressCombo()->setEditText(address.empty() ? "None" : QString::fromStdString(address));
    settings_->ServerAddressCombo()->setEnabled(RunState() == rsIdle);
    settings_->BreakEdit()->setText(BreakTime() == -1.0 ? QString() : QString::fromStdString(FormatLocal(BreakTime())));
    settings_->AnimationCheckBox()->setChecked(animationOn_);
    settings_->MessageCheckBox()->setChecked(MessageLogOn());
    settings_->MessageCheckBox()->setEnabled(!address.empty());
    settings_->OutputCombo()->setEditText(QString::fromStdString(outputName_));
    settings_->EndEdit()->setText(StopTime() >= NeverTime ? QString()
                                                          : QString::fromStdString(FormatLocal(StopTime())));
    settings_->show();
    settings_->raise();
    GoInterruptSimulation();
}

void TZorvaForm::GoAcceptSettings() {
    if (settings_->ServerAddressCombo()->isEnabled())
        ApplyServerAddress(Trimmed(settings_->ServerAddressCombo()->currentText()));
    if (!ApplyBreakTime(Trimmed(settings_->BreakEdit()->text()))) return;
    if (!ApplyEndTime(Trimmed(settings_->EndEdit()->text()))) return;
    ApplyOutput(Trimmed(settings_->OutputCombo()->currentText()));
    ApplyAnimationSetting(settings_->AnimationCheckBox()->isChecked());
    ApplyMessageLog(settings_->MessageCheckBox()->isChecked());
    settings_->hide();
}

void TZorvaForm::GoHideSettings() {
    settings_->hide();
}

void TZorvaForm::ApplyServerAddress(const std::string& text) {
    const bool none = text.empty() || Upper(text) == "NONE";
    // Shown in the header by the messaging's display hook.
    SetServerAddress(none ? std::string() : text);
}

bool TZorvaForm::ApplyBreakTime(const std::string& text) {
    double breakTime = -1.0;
    if (!ReadTime(text, -1.0, breakTime)) return false;
    SetBreakTime(breakTime);
    header_->SetSectionText(hsBreak, SimTime() > breakTime ? "Break: " : "Break: " + text);
    return true;
}

bool TZorvaForm::ApplyEndTime(const std::string& text) {
    double endTime = NeverTime;
    if (!ReadTime(text, NeverTime, endTime)) return false;
    SetStopTime(endTime);
    return true;
}

void TZorvaForm::ApplyOutput(const std::string& text) {
    SetTraceFile(std::string());
    outputName_ = "Screen";
    if (!text.empty() && Upper(text) != "SCREEN") {
        if (CanAppendTo(text)) {
            SetTraceFile(text);
            outputName_ = text;
        } else {
            ShowBox(BoxKind::Warning, "Error opening file " + text);
        }
    }
    header_->SetSectionText(hsOutput, "Output: " + outputName_);
}

void TZorvaForm::ApplyAnimationSetting(bool on) {
    animationOn_ = on;
    header_->SetSectionText(hsAnimation, on ? "Animation: On" : "Animation: Off");
    animation_->ApplyAnimationSetting(on);
    if (animation_->Form()) AddProgramName(*animation_->Form());
}

void TZorvaForm::ApplyMessageLog(bool on) {
    if (on)
        StartMessageLog();
    else
        StopMessageLog();
    header_->SetSectionText(hsMessageLog, on ? "Message Log: On" : "Message Log: Off");
}

}  // namespace zorva
