#include "kernel/trace_sink.h"

#include <cstdio>
#include <utility>

#include "engine/fatal_error.h"

namespace zorva {
namespace {

struct Sinks {
    TTraceMemo Memo;
    std::string FileName;
    std::function<void()> FallbackHook;
    bool FileFailed = false;
};

Sinks& TheSinks() {
    static Sinks* sinks = new Sinks;
    return *sinks;
}

bool AppendLine(const std::string& path, const std::string& line) {
    std::FILE* file = std::fopen(path.c_str(), "a");
    if (!file) return false;
    const bool written = std::fputs(line.c_str(), file) >= 0 && std::fputc('\n', file) != EOF;
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

}  // namespace

void TTraceMemo::Add(std::string line) {
    const bool drop = lines_.size() >= MaxTraceLines;
    while (lines_.size() >= MaxTraceLines) lines_.pop_front();
    lines_.push_back(std::move(line));
    if (hook_) hook_(lines_.back(), drop);
}

TTraceMemo& TraceMemo() {
    return TheSinks().Memo;
}

void SetTraceFile(std::string path) {
    TheSinks().FileName = std::move(path);
}
bool TraceToFile() {
    return !TheSinks().FileName.empty();
}
const std::string& TraceFileName() {
    return TheSinks().FileName;
}
void SetTraceFallbackHook(std::function<void()> hook) {
    TheSinks().FallbackHook = std::move(hook);
}

void EmitTrace(const std::string& fileLine, const std::string& memoLine) {
    Sinks& s = TheSinks();
    if (s.FileName.empty()) {
        s.Memo.Add(memoLine);
        return;
    }
    if (AppendLine(s.FileName, fileLine)) return;
    const std::string failed = std::exchange(s.FileName, std::string());
    s.FileFailed = true;
    ShowWarning("Error writing trace file " + failed + "; the trace goes to the screen");
    if (s.FallbackHook) s.FallbackHook();
    s.Memo.Add(memoLine);
}

bool TraceFileFailed() {
    return TheSinks().FileFailed;
}

void ResetTraceSinks() {
    Sinks& s = TheSinks();
    s.Memo.Clear();
    s.Memo.SetDisplayHook(nullptr);
    s.FileName.clear();
    s.FallbackHook = nullptr;
    s.FileFailed = false;
}

}  // namespace zorva
