// The trace gate, the memo's 500 lines, and the file destination with its
// time-of-day prefix and its fall-back to the screen.

#include <cstdio>
#include <fstream>
#include <regex>

#include "kernel_test_support.h"

namespace zorva::testing {
namespace {

using Lines = std::vector<std::string>;

class Trace : public KernelTest {
protected:
    void SetUp() override {
        KernelTest::SetUp();
        path_ = ::testing::TempDir() + "kernel_trace_test_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
        std::remove(path_.c_str());
    }
    void TearDown() override {
        std::remove(path_.c_str());
        KernelTest::TearDown();
    }
    Lines FileLines() const {
        Lines lines;
        std::ifstream in(path_);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    std::string path_;
};

TEST_F(Trace, TheGateStopsTraceLinesButNotModelOrTextLines) {
    SetTraceOn(false);
    auto* ship = Make("Ship");
    ship->Start(2.0);
    ship->WriteTrace("says hello");
    TraceText("        0.00 *** Interrupt ***");
    EXPECT_EQ(Memo(), (Lines{"        0.00 Ship says hello", "        0.00 *** Interrupt ***"}));
    SetTraceOn(true);
    SetTraceAllowed(false);
    TraceLine(TimeString(), "Ship", "suspends");
    SetTraceAllowed(true);
    TraceLine(TimeString(), "Ship", "suspends");
    EXPECT_EQ(Memo().back(), "        0.00 Ship suspends");
    EXPECT_EQ(Memo().size(), 3u);
}

TEST_F(Trace, ValuesAreRightAlignedInTenAndNeverCut) {
    SetClock(123456789.126);
    TraceLine(TimeString(), "Ship", "holds until", 7.5);
    TraceLine(TimeString(), "Ship", "holds until", 12345678.0);
    TraceLine(TimeString(), "Ship", "holds until", -1.0);
    TraceLine(TimeString(), "Ship", "holds until", -1.5);
    EXPECT_EQ(Memo(), (Lines{"123456789.13 Ship holds until       7.50", "123456789.13 Ship holds until 12345678.00",
                             "123456789.13 Ship holds until", "123456789.13 Ship holds until      -1.50"}));
}

TEST_F(Trace, TheMemoKeepsTheLast500Lines) {
    std::vector<bool> drops;
    TraceMemo().SetDisplayHook([&](const std::string&, bool dropped) { drops.push_back(dropped); });
    for (int i = 1; i <= 501; ++i) TraceText("line " + std::to_string(i));
    const Lines memo = Memo();
    ASSERT_EQ(memo.size(), 500u);
    EXPECT_EQ(memo.front(), "line 2");
    EXPECT_EQ(memo.back(), "line 501");
    EXPECT_FALSE(drops[499]);
    EXPECT_TRUE(drops[500]);
}

TEST_F(Trace, FileLinesCarryTheTimeOfDayExceptModelAndTextLines) {
    SetTraceFile(path_);
    SetClock(4.5);
    auto* ship = Make("Ship");
    ship->WriteTrace("waits");
    TraceText("Connection called");
    const Lines lines = FileLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(std::regex_match(lines[0], std::regex(R"(\d\d:\d\d:\d\d/        4\.50 Ship created)"))) << lines[0];
    EXPECT_EQ(lines[1], "        4.50 Ship waits");
    EXPECT_EQ(lines[2], "Connection called");
    EXPECT_TRUE(Memo().empty());
}

TEST_F(Trace, FileLinesAreAppendedToWhatTheFileHeld) {
    {
        std::ofstream out(path_);
        out << "earlier run\n";
    }
    SetTraceFile(path_);
    TraceText("this run");
    EXPECT_EQ(FileLines(), (Lines{"earlier run", "this run"}));
}

TEST_F(Trace, AnUnwritableFileIsReportedOnceAndTheTraceReturnsToTheScreen) {
    Lines warnings;
    int fallbacks = 0;
    SetWarningHandler([&](const std::string& text) { warnings.push_back(text); });
    SetTraceFallbackHook([&] { ++fallbacks; });
    const std::string bad = ::testing::TempDir() + "no-such-folder/trace.txt";
    SetTraceFile(bad);
    Make("Ship");
    TraceText("next line");
    EXPECT_EQ(warnings, (Lines{"Error writing trace file " + bad + "; the trace goes to the screen"}));
    EXPECT_EQ(fallbacks, 1);
    EXPECT_FALSE(TraceToFile());
    EXPECT_TRUE(TraceFileFailed());
    EXPECT_EQ(Memo(), (Lines{"        0.00 Ship created", "next line"}));
}

}  // namespace
}  // namespace zorva::testing
