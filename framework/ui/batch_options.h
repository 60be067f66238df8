#pragma once
// The command line of a model program, for automated runs. Without options
// the program behaves as a desktop program always does.

#include <optional>
#include <string>
#include <vector>

#include "animation/snapshots.h"

namespace zorva {

struct BatchOptions {
    bool Headless = false;
    std::optional<std::string> Server;  // "none" (any case) runs unconnected
    bool Start = false;
    bool ExitAtEnd = false;
    std::optional<double> StopTime;
    std::optional<std::string> TraceFile;
    bool MessageLog = false;
    std::optional<std::string> Report;
    std::optional<double> Lookahead;  // 0: "off"
    bool Animation = false;
    std::optional<std::string> Camera;
    std::vector<TSnapshotRequest> Snapshots;
    bool Help = false;
    bool Version = false;
};

struct ParsedBatchOptions {
    std::optional<BatchOptions> Options;
    std::string Error;  // one line, set when options is empty
};

// The arguments after the program name; "--name VALUE" and "--name=VALUE".
ParsedBatchOptions ParseBatchOptions(const std::vector<std::string>& arguments);

std::string BatchUsage(const std::string& program);

}  // namespace zorva
