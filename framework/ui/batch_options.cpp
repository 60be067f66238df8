#include "ui/batch_options.h"

#include <cstdio>

#include "ui/exit_codes.h"
#include "ui/snapshot_option.h"
#include "wire/number_text.h"

namespace zorva {
namespace {

enum class Argument { Nothing, Value };

struct OptionRule {
    const char* Name;
    Argument Takes;
};

constexpr OptionRule kOptions[] = {
    {"--headless", Argument::Nothing},    {"--server", Argument::Value},    {"--start", Argument::Nothing},
    {"--exit-at-end", Argument::Nothing}, {"--stop-time", Argument::Value}, {"--trace-file", Argument::Value},
    {"--message-log", Argument::Nothing}, {"--report", Argument::Value},    {"--animation", Argument::Nothing},
    {"--camera", Argument::Value},        {"--snapshot", Argument::Value},  {"--lookahead", Argument::Value},
    {"--help", Argument::Nothing},        {"--version", Argument::Nothing},
};

const OptionRule* FindOption(const std::string& name) {
    for (const OptionRule& rule : kOptions)
        if (name == rule.Name) return &rule;
    return nullptr;
}

// An empty text for a valid value, else why it is not one.
std::string Apply(BatchOptions& o, const std::string& name, const std::string& value) {
    if (name == "--headless")
        o.Headless = true;
    else if (name == "--start")
        o.Start = true;
    else if (name == "--exit-at-end")
        o.ExitAtEnd = true;
    else if (name == "--message-log")
        o.MessageLog = true;
    else if (name == "--animation")
        o.Animation = true;
    else if (name == "--help")
        o.Help = true;
    else if (name == "--version")
        o.Version = true;
    else if (value.empty())
        return name + " needs a value";
    else if (name == "--server")
        o.Server = value;
    else if (name == "--trace-file")
        o.TraceFile = value;
    else if (name == "--report")
        o.Report = value;
    else if (name == "--camera")
        o.Camera = value;
    else if (name == "--snapshot") {
        ParsedSnapshot snapshot = ParseSnapshotOption(value);
        if (!snapshot.Request) return snapshot.Error;
        o.Snapshots.push_back(*snapshot.Request);
    } else if (name == "--lookahead") {
        const auto l = value == "off" ? std::optional<double>(0.0) : ParseNumber(value);
        if (!l || *l < 0.0) return "--lookahead needs a time of 0 or more such as 20.00, or off, not '" + value + "'";
        o.Lookahead = *l;
    } else if (name == "--stop-time") {
        const auto t = ParseNumber(value);
        if (!t || *t < 0.0) return "--stop-time needs a time of 0 or more such as 100.00, not '" + value + "'";
        o.StopTime = *t;
    }
    return {};
}

}  // namespace

ParsedBatchOptions ParseBatchOptions(const std::vector<std::string>& arguments) {
    BatchOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const auto equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const OptionRule* rule = FindOption(name);
        if (!rule) return {std::nullopt, "unknown option '" + argument + "'"};
        std::string value;
        if (rule->Takes == Argument::Nothing) {
            if (equals != std::string::npos) return {std::nullopt, name + " takes no value"};
        } else if (equals != std::string::npos) {
            value = argument.substr(equals + 1);
        } else if (i + 1 < arguments.size() && arguments[i + 1].rfind("--", 0) != 0) {
            value = arguments[++i];
        }
        if (std::string error = Apply(options, name, value); !error.empty()) return {std::nullopt, error};
    }
    return {options, {}};
}

namespace {

std::string ExitCodeTable() {
    std::string table = "Exit codes:\n";
    for (const ExitCodeMeaning& exit : kExitCodeMeanings) {
        char code[8];
        std::snprintf(code, sizeof code, "%5d", static_cast<int>(exit.Code));
        table += code + std::string("  ") + exit.Meaning + "\n";
    }
    table += "A run that fails in more than one way ends with the first of";
    const char* separator = " ";
    for (const ExitCode code : kRunEndPrecedence) {
        table += separator + std::to_string(static_cast<int>(code));
        separator = ", ";
    }
    return table + ".\n";
}

}  // namespace

std::string BatchUsage(const std::string& program) {
    return "Usage: " + program +
           " [options]\n"
           "Without options the program opens its window and waits for Start.\n"
           "\n"
           "  --headless          no window on screen; every message box goes to standard\n"
           "                      error and is answered OK at once\n"
           "  --server ADDRESS    the message server's address instead of the model's;\n"
           "                      \"none\" runs the model unconnected\n"
           "  --start             choose Start once the window is up\n"
           "  --exit-at-end       end the program when the run has ended\n"
           "  --stop-time T       end the run at simulation time T (such as 100.00)\n"
           "  --trace-file FILE   append the trace to FILE instead of the window\n"
           "  --message-log       keep the message log (<model name>.log)\n"
           "  --report FILE       at the end of the run, write the clock, every queue's\n"
           "                      statistics and the model's figures to FILE as JSON\n"
           "  --lookahead L       promise that what the model sends at time t creates no\n"
           "                      event elsewhere before t + L, so that it may run ahead\n"
           "                      of the others (\"off\" or 0: one granted event at a time);\n"
           "                      replaces the model's own\n"
           "  --animation         switch the animation on: its window opens beside the\n"
           "                      main window\n"
           "  --camera NAME       the camera position NAME of the program's .cam file in\n"
           "                      the working folder, for the window and the snapshots\n"
           "  --snapshot T:F.png  write the animation's frame at simulation time T to\n"
           "                      F.png (803 x 480, no screen needed); repeatable. The\n"
           "                      frame shows every event before T done, none at or\n"
           "                      after T\n"
           "  --version           show the program's name and Zorva's version and end\n"
           "  --help              show this text and end\n"
           "\n" +
           ExitCodeTable();
}

}  // namespace zorva
