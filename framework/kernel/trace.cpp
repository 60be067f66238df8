#include "kernel/trace.h"

#include <ctime>

#include "engine/engine.h"
#include "kernel/trace_sink.h"
#include "wire/number_text.h"

namespace zorva {
namespace {

struct Switches {
    bool TraceOn = false;
    bool TraceAllowed = true;
};

Switches& TheSwitches() {
    static Switches switches;
    return switches;
}

}  // namespace

std::string TimeString() {
    return FormatFixedRight(SimTime(), 12);
}

std::string TraceValueText(double value) {
    return FormatFixedRight(value, 10);
}

std::string WallClockText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%H:%M:%S", &local);
    return text;
}

void SetTraceOn(bool on) {
    TheSwitches().TraceOn = on;
}
bool TraceOn() {
    return TheSwitches().TraceOn;
}
void SetTraceAllowed(bool allowed) {
    TheSwitches().TraceAllowed = allowed;
}
bool TraceAllowed() {
    return TheSwitches().TraceAllowed;
}

void TraceLine(const std::string& timeText, const std::string& name, const std::string& event, double value) {
    if (!TraceOn() || !TraceAllowed()) return;
    std::string line = timeText + " " + name + " " + event;
    if (value != -1.0) line += " " + TraceValueText(value);
    EmitTrace(TraceToFile() ? WallClockText() + "/" + line : std::string(), line);
}

void TraceText(const std::string& line) {
    EmitTrace(line, line);
}

std::string WriteElementTrace(const std::string& name, const std::string& text) {
    std::string line = TimeString() + " " + name + " " + text;
    EmitTrace(line, line);
    return line;
}

void ResetTraceSwitches() {
    TheSwitches() = Switches();
}

}  // namespace zorva
