#pragma once
/// \file
/// Figures that a model counts during a run ("hand-overs sent"), kept by
/// name and listed in the run's report, and the problems of a run: things a
/// model could not mend, such as a ship that never reached the other model.
/// A problem is written to the trace, counted under its figure, and makes a
/// program run in batch mode end with a code of its own.

#include <cstdint>
#include <map>
#include <string>

namespace zorva {

/// Lists the figure with 0, so that a report shows that nothing was counted
/// rather than leaving the figure out.
void DeclareFigure(const std::string& Name);
void CountFigure(const std::string& Name);
/// 0 for a figure never declared or counted.
std::int64_t Figure(const std::string& Name);
const std::map<std::string, std::int64_t>& RunFigures();

/// Writes TimeString, Element and Text as one trace line, whatever the trace
/// switches say, and counts the problem under Figure.
void ReportProblem(const std::string& Figure, const std::string& Element, const std::string& Text);
/// Every problem reported since the last reset, whatever its figure.
std::int64_t ProblemCount();
/// The last problem as its trace line wrote it ("  204.00 ShipL3 not handed
/// over ..."), for a window that shows what went wrong; empty before the first.
const std::string& LastProblem();

/// No figures and no problems.
void ResetRunFigures();

}  // namespace zorva
