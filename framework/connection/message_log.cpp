#include "connection/message_log.h"

#include <filesystem>
#include <fstream>

#include "engine/engine.h"
#include "engine/fatal_error.h"
#include "wire/number_text.h"

namespace zorva {
namespace {

constexpr int kShortenAt = 1000;
constexpr int kKeep = 500;

struct MessageLog {
    std::string Name = "ZorvaModel";
    bool On = false;
    bool FileOpened = false;  // created once in this program run
    int LineCount = 0;
};

MessageLog& TheLog() {
    static MessageLog log;
    return log;
}

std::string LogPath() {
    return TheLog().Name + ".log";
}
std::string TemporaryPath() {
    return TheLog().Name + ".lg2";
}
std::string Clock() {
    return FormatFixed(SimTime(), 2);
}

// A log that can no longer be written must not stop the run, nor complain at
// every line: it says so once and switches itself off.
void GiveUp(const std::string& what) {
    TheLog().On = false;
    ShowWarning("Error: the message log " + LogPath() + " " + what + "; logging is switched off");
}

bool Append(const std::string& entry, std::ios::openmode mode = std::ios::app) {
    std::ofstream out(LogPath(), std::ios::out | mode | std::ios::binary);
    if (!out) return false;
    out << entry << '\n';
    out.close();
    return !out.fail();
}

// Drops the oldest lines until the count is back at kKeep, through the
// temporary file.
bool Shorten() {
    MessageLog& log = TheLog();
    std::ifstream in(LogPath(), std::ios::binary);
    if (!in) return false;
    std::string line;
    while (log.LineCount > kKeep) {
        --log.LineCount;
        if (!std::getline(in, line)) break;
    }
    {
        std::ofstream out(TemporaryPath(), std::ios::out | std::ios::trunc | std::ios::binary);
        if (!out) return false;
        while (std::getline(in, line)) out << line << '\n';
        out.close();
        if (out.fail()) return false;
    }
    in.close();
    std::error_code error;
    std::filesystem::rename(TemporaryPath(), LogPath(), error);
    return !error;
}

}  // namespace

void SetMessageLogName(const std::string& name) {
    TheLog().Name = name;
}

void StartMessageLog() {
    MessageLog& log = TheLog();
    if (log.FileOpened) {
        if (!std::filesystem::exists(LogPath())) log.LineCount = 0;
        if (!Append("***" + Clock() + " resumes logging")) return GiveUp("cannot be opened");
    } else {
        if (!Append("***" + Clock() + " start logging", std::ios::trunc)) return GiveUp("cannot be created");
        log.LineCount = 0;
        log.FileOpened = true;
    }
    log.On = true;
    ++log.LineCount;
}

void StopMessageLog() {
    MessageLog& log = TheLog();
    if (!log.On) return;
    log.On = false;
    if (!Append("***" + Clock() + " stop logging")) return GiveUp("cannot be written");
    ++log.LineCount;
}

bool MessageLogOn() {
    return TheLog().On;
}

void LogMessage(const std::string& text, const std::string& suffix) {
    MessageLog& log = TheLog();
    if (!log.On) return;
    ++log.LineCount;
    if (log.LineCount >= kShortenAt && !Shorten()) return GiveUp("cannot be shortened");
    if (!Append(Clock() + suffix + text)) GiveUp("cannot be written");
}

void ResetMessageLog() {
    TheLog() = MessageLog();
}

}  // namespace zorva
