#pragma once
// The report of a run for automated use: the clock and every user queue's
// statistics (the queue window's columns) as JSON.

#include <string>

namespace zorva {

// The report as text.
std::string RunReportJson();

// Writes the report to path; false if the file cannot be written.
bool WriteRunReport(const std::string& path);

}  // namespace zorva
