// A coupled run repeated gives the same run: the same trace line for line
// (apart from the time of day that begins each line), the same statistics
// to the last digit, the same hand-overs. So does a run with the animation
// on, drawn in its window and in snapshots.

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
    ASSERT_TRUE(plain.Start(until));
    std::map<std::string, QStringList> options;
    for (const std::string model : {"west", "east"}) {
        const QString name = QString::fromStdString(model);
        options[model] = {"--animation",
                          "--camera",
                          "Overview",
                          "--snapshot",
                          "137:" + name + "_137.png",
                          "--snapshot",
                          "800:" + name + "_end.png"};
    }
    ASSERT_TRUE(animated.Start(until, options));
    ASSERT_TRUE(plain.WaitForAll(240000));
    ASSERT_TRUE(animated.WaitForAll(240000));
    for (const std::string model : {"west", "east"}) {
        EXPECT_EQ(animated.Program(model).exitCode(), 0) << model << animated.Program(model).readAll().toStdString();
        const std::string trace = WithoutTimeOfDay(Contents(plain.File(model + ".trace")));
        EXPECT_GT(std::count(trace.begin(), trace.end(), '\n'), 1000) << model;
        EXPECT_TRUE(trace == WithoutTimeOfDay(Contents(animated.File(model + ".trace")))) << model;
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
