// A coupled run repeated gives the same run: the same trace line for line
// (apart from the time of day that begins each line), the same statistics
// to the last digit, the same hand-overs. Running ahead with the lock
// models' lookahead changes none of that either, but for the lines that
// record a received ship's creation (a model running ahead reads a text
// when it comes to it, not at the text's time) and for how often the
// keeper, standing by, is examined again at one time without anything
// happening in between (without lookahead every answer of the server that
// the model waits for there starts a new pass). So does a run with the
// animation on, drawn in its window and in snapshots.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <fstream>
#include <iterator>
#include <map>
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

// An element on the state list made current and standing by again, the
// same two lines as just before: an examination that changed nothing.
bool RepeatsAnExamination(const std::vector<std::string>& lines) {
    const std::size_t n = lines.size();
    return n >= 4 && lines[n - 2].ends_with(" is current now") && lines[n - 1].ends_with(" goes into StandBy") &&
           lines[n - 4] == lines[n - 2] && lines[n - 3] == lines[n - 1];
}

// The trace's lines without the time of day that begins each; unless
// exact, without the lines that record a text's handling too (a ship from
// the other lock, ShipR… in the west, ShipL… in the east, "created" and
// "starts at") and without repeated examinations.
std::vector<std::string> TraceLines(const std::string& path, const std::string& receivedShips, bool exact) {
    static const std::regex timeOfDay(R"(^\d\d:\d\d:\d\d/)");
    static const std::regex handling(R"(^ *[0-9.]+ Ship[LR]\d* (created|starts at .*)$)");
    std::vector<std::string> lines;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) {
        line = std::regex_replace(line, timeOfDay, "");
        if (!exact && std::regex_match(line, handling) && line.find(" " + receivedShips) != std::string::npos) continue;
        lines.push_back(std::move(line));
        if (!exact && RepeatsAnExamination(lines)) lines.resize(lines.size() - 2);
    }
    return lines;
}

std::string Contents(const std::string& path) {
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Options for both programs: one granted event at a time, the runs to
// compare line for line.
std::map<std::string, QStringList> Exact(const QStringList& more = {}) {
    const QStringList exact = QStringList{"--lookahead", "off"} + more;
    return {{"west", exact}, {"east", exact}};
}

void ExpectSameRuns(Waterway& first, Waterway& second, bool exact) {
    for (const std::string model : {"west", "east"}) {
        const std::string received = model == "west" ? "ShipR" : "ShipL";
        const auto trace = TraceLines(first.File(model + ".trace"), received, exact);
        EXPECT_GT(trace.size(), 25000u) << model;
        EXPECT_TRUE(trace == TraceLines(second.File(model + ".trace"), received, exact)) << model;
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
    ASSERT_TRUE(first.Start(until, Exact()));
    ASSERT_TRUE(second.Start(until, Exact()));
    ASSERT_TRUE(first.WaitForAll(240000));
    ASSERT_TRUE(second.WaitForAll(240000));
    ASSERT_EQ(first.Reported("west", "clock"), until);
    ExpectSameRuns(first, second, true);
}

TEST(WaterwayRepeat, RunningAheadChangesOnlyWhereTextsAreHandled) {
    Waterway exact;
    Waterway ahead;
    ASSERT_TRUE(exact.Start(kLongRun, Exact()));
    ASSERT_TRUE(ahead.Start(kLongRun));
    ASSERT_TRUE(exact.WaitForAll(280000));
    ASSERT_TRUE(ahead.WaitForAll(60000));
    ASSERT_EQ(ahead.Reported("east", "clock"), kLongRun);
    EXPECT_NE(ahead.ServerOutput().find("$$horizon:"), std::string::npos) << "the models did not run ahead";
    ExpectSameRuns(exact, ahead, false);
}

TEST(WaterwayRepeat, TheAnimationSwitchedOnChangesNothingInTheRun) {
    constexpr double until = 800.0;
    Waterway plain;
    Waterway animated;
    // Each program's camera positions, shipped beside it, in its working folder.
    for (const char* executable : {OBRIMWEST_EXECUTABLE, OBRIMEAST_EXECUTABLE}) {
        const QFileInfo program(executable);
        const QString cam = program.completeBaseName() + ".cam";
        ASSERT_TRUE(QFile::copy(program.dir().filePath(cam), QString::fromStdString(animated.File(cam.toStdString()))));
    }
    ASSERT_TRUE(plain.Start(until, Exact()));
    auto options = Exact({"--animation", "--camera", "Overview"});
    for (auto& [model, list] : options) {
        const QString name = QString::fromStdString(model);
        list << "--snapshot"
             << "137:" + name + "_137.png"
             << "--snapshot"
             << "800:" + name + "_end.png";
    }
    ASSERT_TRUE(animated.Start(until, options));
    ASSERT_TRUE(plain.WaitForAll(240000));
    ASSERT_TRUE(animated.WaitForAll(240000));
    for (const std::string model : {"west", "east"}) {
        EXPECT_EQ(animated.Program(model).exitCode(), 0) << model << animated.Program(model).readAll().toStdString();
        const auto trace = TraceLines(plain.File(model + ".trace"), "", true);
        EXPECT_GT(trace.size(), 1000u) << model;
        EXPECT_TRUE(trace == TraceLines(animated.File(model + ".trace"), "", true)) << model;
        EXPECT_EQ(Contents(plain.File(model + ".json")), Contents(animated.File(model + ".json"))) << model;
        // The frame at the stop time is taken as the run ends.
        EXPECT_EQ(QImage(QString::fromStdString(animated.File(model + "_end.png"))).size(), QSize(803, 480));
    }
    for (const std::string peer : {"brimeast", "brimwest"}) {
        EXPECT_FALSE(HandOvers(plain.ServerOutput(), peer).empty()) << peer;
        EXPECT_EQ(HandOvers(plain.ServerOutput(), peer), HandOvers(animated.ServerOutput(), peer)) << peer;
    }
}

}  // namespace
}  // namespace zorva::testing
