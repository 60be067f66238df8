#pragma once
/// \file
/// The trace: one line per process-control step and queue change, stamped with
/// the clock, behind a gate of two switches.

#include <string>

namespace zorva {

/// The clock with 2 decimals right-aligned in 12 characters ("        7.50").
std::string TimeString();
/// A value with 2 decimals right-aligned in 10 characters, never cut.
std::string TraceValueText(double value);
/// The time of day, hh:mm:ss.
std::string WallClockText();

/// The window's trace switch; off until a model switches it on.
void SetTraceOn(bool on);
bool TraceOn();
/// Off only while the kernel builds its own queues and while a new element
/// enters Elements, whose lines would only be noise.
void SetTraceAllowed(bool allowed);
bool TraceAllowed();

/// A process-control or queue line, written only while both switches are on.
/// value -1.0 means none. The file line starts with the time of day.
void TraceLine(const std::string& timeText, const std::string& name, const std::string& event, double value = -1.0);
/// A line written as given, whatever the switches say.
void TraceText(const std::string& line);
/// A model's own line for an element, whatever the switches say; no time of
/// day, not even in the file.
/// Returns the line as written.
std::string WriteElementTrace(const std::string& name, const std::string& text);

/// Both switches back to their start-up values.
void ResetTraceSwitches();

}  // namespace zorva
