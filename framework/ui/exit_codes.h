#pragma once
/// \file
/// The exit codes of a model program. The program, its --help text, the
/// scripts that read that text and the tests all take them from here.

#include "engine/fatal_error.h"

namespace zorva {

enum ExitCode : int {
    kExitNormal = 0,
    kExitOutputFailed = 1,
    kExitBadCommandLine = 2,
    kExitNoServer = 3,
    kExitConnectionLost = 4,
    kExitModelProblems = 5,
    kExitFatal = kFatalExitCode,
};

struct ExitCodeMeaning {
    ExitCode Code;
    const char* Meaning;
};

inline constexpr ExitCodeMeaning kExitCodeMeanings[] = {
    {kExitNormal, "normal end"},
    {kExitOutputFailed, "an output file (report, trace file or snapshot) could not be written"},
    {kExitBadCommandLine, "bad command line, or a trace file that cannot be opened"},
    {kExitNoServer, "could not connect to the message server"},
    {kExitConnectionLost, "connection lost before the end"},
    {kExitModelProblems, "the model reported problems (such as undelivered hand-overs)"},
    {kExitFatal, "fatal error in the model"},
};

/// A run that ends with more than one of these failures ends with the code
/// that comes first here.
inline constexpr ExitCode kRunEndPrecedence[] = {kExitNoServer, kExitConnectionLost, kExitOutputFailed,
                                                 kExitModelProblems};

}  // namespace zorva
