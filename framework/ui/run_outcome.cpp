#include "ui/run_outcome.h"

#include <cstdio>
#include <set>

#include "connection/messaging.h"
#include "kernel/run_figures.h"
#include "kernel/trace_sink.h"
#include "ui/exit_codes.h"
#include "wire/number_text.h"

namespace zorva {
namespace {

// The connection's failure as a line, or an empty text when there was none.
std::string ConnectionLine(const TConnectionFailure& failure) {
    const std::string server = "the message server at " + failure.Address;
    switch (failure.What) {
        case TConnectionFailure::NotConnected:
            return "could not connect to " + server + ": " + failure.Reason;
        case TConnectionFailure::Lost:
            return "lost the connection to " + server + " at time " + FormatFixed(failure.LostAt) + ": " +
                   failure.Reason;
        case TConnectionFailure::None:
            break;
    }
    return {};
}

std::string ProblemsLine(std::int64_t problems) {
    return "the model reported " + std::to_string(problems) + (problems == 1 ? " problem" : " problems") +
           " of the run; the trace names each one";
}

}  // namespace

int ReportRunOutcome(const std::string& program, bool reportFailed) {
    std::set<ExitCode> failed;
    const auto say = [&program](const std::string& line) {
        std::fprintf(stderr, "%s: %s\n", program.c_str(), line.c_str());
    };
    const TConnectionFailure connection = ConnectionFailure();
    if (connection.What != TConnectionFailure::None) {
        say(ConnectionLine(connection));
        failed.insert(connection.What == TConnectionFailure::Lost ? kExitConnectionLost : kExitNoServer);
    }
    if (reportFailed || TraceFileFailed()) failed.insert(kExitOutputFailed);
    if (const std::int64_t problems = ProblemCount(); problems > 0) {
        say(ProblemsLine(problems));
        failed.insert(kExitModelProblems);
    }
    std::fflush(stderr);
    for (const ExitCode code : kRunEndPrecedence)
        if (failed.count(code)) return code;
    return kExitNormal;
}

}  // namespace zorva
