#pragma once
// The command line of a model program, for automated runs. Without options
// the program behaves as a desktop program always does.

#include <optional>
#include <string>
#include <vector>

namespace zorva {

struct BatchOptions {
    bool headless = false;
    std::optional<std::string> server;  // "none" (any case) runs unconnected
    bool start = false;
    bool exitAtEnd = false;
    std::optional<double> stopTime;
    std::optional<std::string> traceFile;
    bool messageLog = false;
    std::optional<std::string> report;
    bool help = false;
};

struct ParsedBatchOptions {
    std::optional<BatchOptions> options;
    std::string error;  // one line, set when options is empty
};

// The arguments after the program name; "--name VALUE" and "--name=VALUE".
ParsedBatchOptions ParseBatchOptions(const std::vector<std::string>& arguments);

std::string BatchUsage(const std::string& program);

}  // namespace zorva
