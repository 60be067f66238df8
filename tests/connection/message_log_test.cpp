// The message log in a scratch directory of its own.

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "comma_locale.h"
#include "connection/message_log.h"
#include "engine/engine.h"
#include "engine/fatal_error.h"
#include "test_clock.h"

namespace zorva {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class MessageLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = fs::current_path();
        dir_ = fs::temp_directory_path() / ("zorva_log_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        fs::current_path(dir_);
        ResetEngine();
        ResetMessageLog();
        SetMessageLogName("west");
        SetWarningHandler([this](const std::string& text) { warnings_.push_back(text); });
    }
    void TearDown() override {
        SetWarningHandler(nullptr);
        ResetMessageLog();
        ResetEngine();
        fs::current_path(previous_);
        fs::remove_all(dir_);
    }
    std::vector<std::string> warnings_;

private:
    fs::path previous_;
    fs::path dir_;
};

TEST_F(MessageLogTest, FirstStartReplacesLaterStartsResume) {
    std::ofstream("west.log") << "old run\n";
    zorva::testing::SetClock(2.5);
    StartMessageLog();
    EXPECT_TRUE(MessageLogOn());
    LogMessage("$$continue:3.00\r\n", kSentSuffix);
    LogMessage("$$continue:3.00", kReceivedSuffix);
    StopMessageLog();
    StopMessageLog();
    EXPECT_FALSE(MessageLogOn());
    LogMessage("not logged", kReceivedSuffix);
    zorva::testing::SetClock(1234.567);
    StartMessageLog();
    EXPECT_EQ(ReadLines("west.log"), (std::vector<std::string>{"***2.50 start logging", "2.50 sent: $$continue:3.00\r",
                                                               "", "2.50 received: $$continue:3.00",
                                                               "***2.50 stop logging", "***1234.57 resumes logging"}));
}

TEST_F(MessageLogTest, StartAfterTheFileWasDeletedBeginsWithTheResumption) {
    StartMessageLog();
    StopMessageLog();
    fs::remove("west.log");
    StartMessageLog();
    EXPECT_EQ(ReadLines("west.log"), (std::vector<std::string>{"***0.00 resumes logging"}));
}

TEST_F(MessageLogTest, ThousandthEntryDropsTheOldestFiveHundredLines) {
    StartMessageLog();  // entry 1
    for (int i = 2; i <= 999; ++i) LogMessage("line " + std::to_string(i), kReceivedSuffix);
    ASSERT_EQ(ReadLines("west.log").size(), 999u);
    LogMessage("line 1000", kReceivedSuffix);
    const auto lines = ReadLines("west.log");
    ASSERT_EQ(lines.size(), 500u);
    EXPECT_EQ(lines.front(), "0.00 received: line 501");
    EXPECT_EQ(lines.back(), "0.00 received: line 1000");
    EXPECT_FALSE(fs::exists("west.lg2"));
    // Counting starts again from 500: the next shortening is 500 entries away.
    for (int i = 1001; i <= 1499; ++i) LogMessage("line " + std::to_string(i), kReceivedSuffix);
    EXPECT_EQ(ReadLines("west.log").size(), 999u);
}

TEST_F(MessageLogTest, UnwritableLogIsReportedOnceAndSwitchedOff) {
    StartMessageLog();
    fs::remove("west.log");
    fs::create_directory("west.log");  // no file can be appended there now
    LogMessage("first", kReceivedSuffix);
    LogMessage("second", kReceivedSuffix);
    EXPECT_FALSE(MessageLogOn());
    ASSERT_EQ(warnings_.size(), 1u);
    EXPECT_NE(warnings_[0].find("west.log"), std::string::npos);
}

class MessageLogCommaTest : public testutil::CommaProcessLocale {};

TEST_F(MessageLogCommaTest, ClockIsWrittenWithAPoint) {
    const auto dir = fs::temp_directory_path() / ("zorva_logc_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const auto previous = fs::current_path();
    fs::current_path(dir);
    ResetMessageLog();
    SetMessageLogName("east");
    zorva::testing::SetClock(17.5);
    StartMessageLog();
    StopMessageLog();
    const auto lines = ReadLines("east.log");
    fs::current_path(previous);
    fs::remove_all(dir);
    ResetMessageLog();
    zorva::testing::SetClock(0);
    EXPECT_EQ(lines, (std::vector<std::string>{"***17.50 start logging", "***17.50 stop logging"}));
}

}  // namespace
}  // namespace zorva
