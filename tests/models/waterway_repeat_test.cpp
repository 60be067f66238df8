// A coupled run repeated gives the same run: the same trace line for line
// (apart from the time of day that begins each line), the same statistics
// to the last digit, the same hand-overs.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>

#include "waterway_programs.h"

namespace zorva::testing {
namespace {

std::string Contents(const std::string& path) {
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string WithoutTimeOfDay(const std::string& trace) {
    static const std::regex timeOfDay(R"((^|\n)\d\d:\d\d:\d\d/)");
    return std::regex_replace(trace, timeOfDay, "$1");
}

TEST(WaterwayRepeat, TwoRunsToTwentyThousandAreTheSame) {
    constexpr double until = 20000.0;
    Waterway first;
    Waterway second;
    ASSERT_TRUE(first.Start(until));
    ASSERT_TRUE(second.Start(until));
    ASSERT_TRUE(first.WaitForAll(240000));
    ASSERT_TRUE(second.WaitForAll(240000));
    for (const std::string model : {"west", "east"}) {
        ASSERT_EQ(first.Reported(model, "clock"), until) << model;
        const std::string trace = WithoutTimeOfDay(Contents(first.File(model + ".trace")));
        EXPECT_GT(std::count(trace.begin(), trace.end(), '\n'), 30000) << model;
        EXPECT_TRUE(trace == WithoutTimeOfDay(Contents(second.File(model + ".trace")))) << model;
        EXPECT_EQ(Contents(first.File(model + ".json")), Contents(second.File(model + ".json"))) << model;
    }
    for (const std::string peer : {"brimeast", "brimwest"}) {
        const auto texts = HandOvers(first.ServerOutput(), peer);
        EXPECT_GT(texts.size(), 400u) << peer;
        EXPECT_EQ(texts, HandOvers(second.ServerOutput(), peer)) << peer;
    }
}

}  // namespace
}  // namespace zorva::testing
