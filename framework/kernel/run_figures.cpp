#include "kernel/run_figures.h"

#include "kernel/trace.h"

namespace zorva {
namespace {

struct Figures {
    std::map<std::string, std::int64_t> Counts;
    std::int64_t Problems = 0;
    std::string LastProblem;
};

Figures& TheFigures() {
    static auto* figures = new Figures;
    return *figures;
}

}  // namespace

void DeclareFigure(const std::string& Name) {
    TheFigures().Counts.try_emplace(Name, 0);
}

void CountFigure(const std::string& Name) {
    ++TheFigures().Counts[Name];
}

std::int64_t Figure(const std::string& Name) {
    const auto& counts = TheFigures().Counts;
    const auto found = counts.find(Name);
    return found == counts.end() ? 0 : found->second;
}

const std::map<std::string, std::int64_t>& RunFigures() {
    return TheFigures().Counts;
}

void ReportProblem(const std::string& Figure, const std::string& Element, const std::string& Text) {
    TheFigures().LastProblem = WriteElementTrace(Element, Text);
    CountFigure(Figure);
    ++TheFigures().Problems;
}

std::int64_t ProblemCount() {
    return TheFigures().Problems;
}

const std::string& LastProblem() {
    return TheFigures().LastProblem;
}

void ResetRunFigures() {
    TheFigures() = Figures();
}

}  // namespace zorva
