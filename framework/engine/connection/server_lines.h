#pragma once
// What the model does with each line from the message server.

#include <string>

namespace zorva {

// One line without its CR LF.
void HandleServerLine(const std::string& line);

// A line that cannot be used: reported once, in the message log when it is
// on, else as a status text for the trace.
void ReportLineProblem(const std::string& text);

}  // namespace zorva
