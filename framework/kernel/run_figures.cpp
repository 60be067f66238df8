#include "kernel/run_figures.h"

#include "kernel/trace.h"

namespace zorva {
namespace {

struct Figures {
    std::map<std::string, std::int64_t> counts;
    std::int64_t problems = 0;
};

Figures& TheFigures() {
    static auto* figures = new Figures;
    return *figures;
}

}  // namespace

void DeclareFigure(const std::string& Name) {
    TheFigures().counts.try_emplace(Name, 0);
}

void CountFigure(const std::string& Name) {
    ++TheFigures().counts[Name];
}

std::int64_t Figure(const std::string& Name) {
    const auto& counts = TheFigures().counts;
    const auto found = counts.find(Name);
    return found == counts.end() ? 0 : found->second;
}

const std::map<std::string, std::int64_t>& RunFigures() {
    return TheFigures().counts;
}

void ReportProblem(const std::string& Figure, const std::string& Element, const std::string& Text) {
    WriteElementTrace(Element, Text);
    CountFigure(Figure);
    ++TheFigures().problems;
}

std::int64_t ProblemCount() {
    return TheFigures().problems;
}

void ResetRunFigures() {
    TheFigures() = Figures();
}

}  // namespace zorva
