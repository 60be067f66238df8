// A coupled run repeated gives the same run: the same trace line for line
// (apart from the time of day that begins each line), the same statistics
// to the last digit, the same hand-overs. Running ahead with the lock
// models' lookahead changes none of that either, but for the lines that
// record a received ship's creation: a model running ahead reads a text
// when it comes to it, not at the text's time.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>

#include "waterway_programs.h"

namespace zorva::testing {
namespace {

// Long enough for a few thousand hand-overs where the build is fast.
#ifdef NDEBUG
constexpr double kLongRun = 100000.0;
#else
constexpr double kLongRun = 20000.0;
#endif

// The trace's lines without the time of day that begins each; without the
// lines that record a text's handling too, unless kept: a ship from the
// other lock (ShipR… in the west, ShipL… in the east) "created" and
// "starts at".
std::vector<std::string> TraceLines(const std::string& path, const std::string& receivedShips, bool keepHandling) {
    static const std::regex timeOfDay(R"(^\d\d:\d\d:\d\d/)");
    static const std::regex handling(R"(^ *[0-9.]+ Ship[LR]\d* (created|starts at .*)$)");
    std::vector<std::string> lines;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) {
        line = std::regex_replace(line, timeOfDay, "");
        if (!keepHandling && std::regex_match(line, handling) && line.find(" " + receivedShips) != std::string::npos)
            continue;
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string Contents(const std::string& path) {
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void ExpectSameRuns(Waterway& first, Waterway& second, bool linesOfHandling) {
    for (const std::string model : {"west", "east"}) {
        const std::string received = model == "west" ? "ShipR" : "ShipL";
        const auto trace = TraceLines(first.File(model + ".trace"), received, linesOfHandling);
        EXPECT_GT(trace.size(), 25000u) << model;
        EXPECT_TRUE(trace == TraceLines(second.File(model + ".trace"), received, linesOfHandling)) << model;
        EXPECT_EQ(Contents(first.File(model + ".json")), Contents(second.File(model + ".json"))) << model;
    }
    for (const std::string peer : {"brimeast", "brimwest"}) {
        const auto texts = HandOvers(first.ServerOutput(), peer);
        EXPECT_GT(texts.size(), 400u) << peer;
        EXPECT_EQ(texts, HandOvers(second.ServerOutput(), peer)) << peer;
    }
}

TEST(WaterwayRepeat, TwoRunsToTwentyThousandAreTheSame) {
    constexpr double until = 20000.0;
    Waterway first;
    Waterway second;
    ASSERT_TRUE(first.Start(until, {"--lookahead", "off"}));
    ASSERT_TRUE(second.Start(until, {"--lookahead", "off"}));
    ASSERT_TRUE(first.WaitForAll(240000));
    ASSERT_TRUE(second.WaitForAll(240000));
    ASSERT_EQ(first.Reported("west", "clock"), until);
    ExpectSameRuns(first, second, true);
}

TEST(WaterwayRepeat, RunningAheadChangesOnlyWhereTextsAreHandled) {
    Waterway exact;
    Waterway ahead;
    ASSERT_TRUE(exact.Start(kLongRun, {"--lookahead", "off"}));
    ASSERT_TRUE(ahead.Start(kLongRun));
    ASSERT_TRUE(exact.WaitForAll(280000));
    ASSERT_TRUE(ahead.WaitForAll(60000));
    ASSERT_EQ(ahead.Reported("east", "clock"), kLongRun);
    EXPECT_NE(ahead.ServerOutput().find("$$horizon:"), std::string::npos) << "the models did not run ahead";
    ExpectSameRuns(exact, ahead, false);
}

}  // namespace
}  // namespace zorva::testing
