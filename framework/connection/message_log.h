#pragma once
// The message log: every protocol line sent to or received from the message
// server, stamped with the clock, in the file <model name>.log in the current
// directory. The file is opened and closed for every entry, so it is complete
// on disk after each one, and it is kept short: at the 1000th counted entry
// the oldest lines are dropped so that 500 remain.

#include <string>

namespace zorva {

// Entry suffixes used by the connection.
inline constexpr const char* kSentSuffix = " sent: ";
inline constexpr const char* kReceivedSuffix = " received: ";
inline constexpr const char* kErrorSuffix = " Error: ";

// The log's file name without extension: the model's name.
void SetMessageLogName(const std::string& name);

// Switches logging on. The first start in a program run replaces any old log
// file; later starts continue it with a resumption entry.
void StartMessageLog();
// Switches logging off with a stop entry; does nothing when it is off.
void StopMessageLog();
bool MessageLogOn();
// Appends clock + suffix + text when logging is on.
void LogMessage(const std::string& text, const std::string& suffix);

// Program end followed by a fresh start-up (for tests): logging off, the
// file counts as never opened, the name back to "ZorvaModel".
void ResetMessageLog();

}  // namespace zorva
