#pragma once
/// \file
/// Where trace lines end up: the memo (the main window's trace box, which keeps
/// only the most recent lines) or a text file that is opened, appended to and
/// closed for every line, so each line is on disk before the next step.

#include <cstddef>
#include <deque>
#include <functional>
#include <string>

namespace zorva {

inline constexpr std::size_t MaxTraceLines = 500;

class TTraceMemo {
public:
    /// Told of every addition; droppedFirst says the oldest line went first,
    /// so a window can repaint once for both changes.
    using DisplayHook = std::function<void(const std::string& added, bool droppedFirst)>;

    void Add(std::string line);
    void Clear() { lines_.clear(); }
    const std::deque<std::string>& Lines() const { return lines_; }
    void SetDisplayHook(DisplayHook hook) { hook_ = std::move(hook); }

private:
    std::deque<std::string> lines_;
    DisplayHook hook_;
};

TTraceMemo& TraceMemo();

/// An empty path sends the trace to the memo ("Screen").
void SetTraceFile(std::string path);
bool TraceToFile();
const std::string& TraceFileName();

/// Told when a failing trace file sends the trace back to the screen, so the
/// window can show the new destination.
void SetTraceFallbackHook(std::function<void()> hook);

/// Writes fileLine to the trace file when there is one, memoLine to the memo
/// otherwise. A file that cannot be written is reported once; the trace then
/// goes back to the memo, which also receives the line that failed.
void EmitTrace(const std::string& fileLine, const std::string& memoLine);
/// A trace file failed since the last reset: the trace it should hold is
/// incomplete, which a batch run must not pass over.
bool TraceFileFailed();

/// Back to the memo, memo emptied, hooks removed, no failure.
void ResetTraceSinks();

}  // namespace zorva
