#pragma once
// What the end of a run means for the program: one line on standard error
// for each failure the user would otherwise not see, and the exit code.

#include <string>

namespace zorva {

// Looks at the connection to the server, the trace file and the problems
// the model reported; reportFailed says that the report was asked for and
// could not be written (its own warning has told the user). The lines begin
// with the program's name. Returns kExitNormal when nothing failed.
int ReportRunOutcome(const std::string& program, bool reportFailed);

}  // namespace zorva
