#pragma once
// The report of a run for automated use: the model, the framework's version,
// the clock, every user queue's statistics (the queue window's columns) and
// the figures the model counted (an object of name and count) as JSON.

#include <string>

namespace zorva {

// The report as text.
std::string RunReportJson();

// Writes the report to path; false if the file cannot be written.
bool WriteRunReport(const std::string& path);

}  // namespace zorva
