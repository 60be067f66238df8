// Both lock programs through the real zorva-server: a whole run, and a run
// that loses one of its parts.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <sstream>

#include "reference_waterway.h"
#include "ui/exit_codes.h"
#include "waterway_programs.h"

namespace zorva::testing {
namespace {

using Texts = std::vector<std::string>;

// The arrival time a hand-over text carries.
double Arrival(const std::string& text) {
    return std::stod(text.substr(text.rfind("!!") + 2));
}

// Ship name -> the time its start was traced for.
std::map<std::string, std::string> Starts(const std::vector<TraceEntry>& trace) {
    static const std::regex starts(R"(^starts at +(\d+\.\d\d)$)");
    std::map<std::string, std::string> found;
    for (const TraceEntry& e : trace) {
        std::smatch m;
        if (std::regex_match(e.Event, m, starts)) found[e.Name] = m[1];
    }
    return found;
}

void ExpectEveryShipStartedAtItsTime(const Texts& handOvers, const std::vector<TraceEntry>& receiverTrace) {
    const auto starts = Starts(receiverTrace);
    for (const std::string& text : handOvers) {
        const std::string name = text.substr(0, text.find("!!"));
        const std::string arrival = text.substr(text.rfind("!!") + 2);
        const auto start = starts.find(name);
        ASSERT_NE(start, starts.end()) << name << " never started";
        EXPECT_EQ(start->second, arrival) << name;
    }
}

void ExpectClockNeverDecreases(const std::vector<TraceEntry>& trace) {
    for (std::size_t i = 1; i < trace.size(); ++i)
        ASSERT_GE(trace[i].Time, trace[i - 1].Time) << "after " << trace[i - 1].Name << " " << trace[i - 1].Event;
}

void ExpectEndedWith(QProcess& p, int code, const char* what) {
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << what;
    EXPECT_EQ(p.exitCode(), code) << what << ": " << p.readAll().toStdString();
}

void ExpectEndedNormally(QProcess& p, const char* what) {
    ExpectEndedWith(p, kExitNormal, what);
}

TEST(WaterwayEndToEnd, BothLocksExchangeTheirShipsAsTheReferenceDoes) {
    constexpr double until = 800.0;
    Waterway waterway;
    ASSERT_TRUE(waterway.Start(until));
    ASSERT_TRUE(waterway.WaitForAll(90000));
    ExpectEndedNormally(waterway.Server(), "server");
    ExpectEndedNormally(waterway.Program("west"), "obrimwest");
    ExpectEndedNormally(waterway.Program("east"), "obrimeast");

    const auto west = waterway.Trace("west");
    const auto east = waterway.Trace("east");
    ExpectClockNeverDecreases(west);
    ExpectClockNeverDecreases(east);
    EXPECT_EQ(waterway.Reported("west", "clock"), until);
    EXPECT_EQ(waterway.Reported("east", "clock"), until);

    const Texts westToEast = HandOvers(waterway.ServerOutput(), "brimeast");
    const Texts eastToWest = HandOvers(waterway.ServerOutput(), "brimwest");
    ExpectEveryShipStartedAtItsTime(westToEast, east);
    ExpectEveryShipStartedAtItsTime(eastToWest, west);

    const ReferenceHandOvers reference = SimulateWaterway(until);
    ASSERT_GE(reference.WestToEast.size(), 10u);
    EXPECT_EQ(reference.WestToEast.front(), "ShipL!!26.68!!34.00");
    EXPECT_EQ(reference.EastToWest.front(), "ShipR!!26.68!!44.00");
    EXPECT_EQ(westToEast, reference.WestToEast);
    EXPECT_EQ(eastToWest, reference.EastToWest);
    EXPECT_EQ(waterway.Reported("west", "hand-overs sent", true), static_cast<double>(westToEast.size()));
    EXPECT_EQ(waterway.Reported("east", "hand-overs received", true), static_cast<double>(westToEast.size()));
    EXPECT_EQ(waterway.Reported("west", "hand-overs undelivered", true), 0.0);
}

TEST(WaterwayEndToEnd, TheWestLockAndTheServerEndCleanlyWhenTheEastLockDies) {
    constexpr double until = 2000.0;
    Waterway waterway;
    ASSERT_TRUE(waterway.Start(until));
    ASSERT_TRUE(waterway.WaitUntilTraced("east", 200.0, 30000));
    waterway.Program("east").kill();
    ASSERT_TRUE(waterway.WaitForAll(90000));
    EXPECT_EQ(waterway.Server().exitCode(), 1) << "the server did not say that a model left early";
    ExpectEndedWith(waterway.Program("west"), kExitModelProblems, "obrimwest");
    EXPECT_EQ(waterway.Reported("west", "clock"), until);
    // West ships go on passing the lock, but with nobody to accept them
    // they are no longer handed over: each one is a problem of the run.
    const Texts handOvers = HandOvers(waterway.ServerOutput(), "brimeast");
    ASSERT_FALSE(handOvers.empty());
    double lastPassage = -1.0;
    int undelivered = 0;
    for (const TraceEntry& e : waterway.Trace("west")) {
        if (e.Name.rfind("ShipL", 0) == 0 && e.Event == "out of Lock") lastPassage = e.Time;
        if (e.Event == "not handed over to brimeast: no answer") ++undelivered;
    }
    EXPECT_LT(Arrival(handOvers.back()) + 500.0, lastPassage);
    EXPECT_GT(undelivered, 0);
    EXPECT_EQ(waterway.Reported("west", "hand-overs undelivered", true), undelivered);
}

TEST(WaterwayEndToEnd, BothLocksReportTheLostServerAndEnd) {
    Waterway waterway;
    ASSERT_TRUE(waterway.Start(1000000.0));
    ASSERT_TRUE(waterway.WaitUntilTraced("west", 200.0, 30000));
    ASSERT_TRUE(waterway.WaitUntilTraced("east", 200.0, 30000));
    waterway.Server().kill();
    ASSERT_TRUE(waterway.WaitForAll(30000));
    for (const char* model : {"west", "east"}) {
        QProcess& program = waterway.Program(model);
        const std::string output = program.readAll().toStdString();
        EXPECT_EQ(program.exitCode(), kExitConnectionLost) << model << ": " << output;
        const std::regex lost("(^|\n)obrim" + std::string(model) + ": lost the connection to the message server at " +
                              waterway.ServerAddress() + R"(:\d+ at time \d+\.\d\d: .+\n)");
        EXPECT_TRUE(std::regex_search(output, lost)) << output;
        std::ifstream trace(waterway.File(std::string(model) + ".trace"));
        const std::string text((std::istreambuf_iterator<char>(trace)), std::istreambuf_iterator<char>());
        EXPECT_NE(text.find("Connection lost"), std::string::npos) << model;
    }
}

}  // namespace
}  // namespace zorva::testing
