// The figures a model counts during a run and the problems it reports.

#include <map>

#include "kernel_test_support.h"

namespace zorva::testing {
namespace {

using Counts = std::map<std::string, std::int64_t>;

class Figures : public KernelTest {};

TEST_F(Figures, ProblemsAreTracedAndCountedUnderTheirFigureUntilTheReset) {
    SetTraceOn(false);
    SetClock(12.5);
    DeclareFigure("ships kept");
    DeclareFigure("ships lost");
    CountFigure("ships sent");
    CountFigure("ships sent");
    ReportProblem("ships lost", "Ship3", "not handed over: no answer");
    EXPECT_EQ(RunFigures(), (Counts{{"ships kept", 0}, {"ships lost", 1}, {"ships sent", 2}}));
    EXPECT_EQ(ProblemCount(), 1);
    EXPECT_EQ(Memo(), std::vector<std::string>{"       12.50 Ship3 not handed over: no answer"});
    ResetKernel();
    EXPECT_TRUE(RunFigures().empty());
    EXPECT_EQ(ProblemCount(), 0);
}

}  // namespace
}  // namespace zorva::testing
