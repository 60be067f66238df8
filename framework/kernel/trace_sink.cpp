#include "kernel/trace_sink.h"

#include <cstdio>
#include <utility>

#include "engine/fatal_error.h"

namespace zorva {
namespace {

struct Sinks {
    TTraceMemo memo;
    std::string fileName;
    std::function<void()> fallbackHook;
    bool fileFailed = false;
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
    return TheSinks().memo;
}

void SetTraceFile(std::string path) {
    TheSinks().fileName = std::move(path);
}
bool TraceToFile() {
    return !TheSinks().fileName.empty();
}
const std::string& TraceFileName() {
    return TheSinks().fileName;
}
void SetTraceFallbackHook(std::function<void()> hook) {
    TheSinks().fallbackHook = std::move(hook);
}

void EmitTrace(const std::string& fileLine, const std::string& memoLine) {
    Sinks& s = TheSinks();
    if (s.fileName.empty()) {
        s.memo.Add(memoLine);
        return;
    }
    if (AppendLine(s.fileName, fileLine)) return;
    const std::string failed = std::exchange(s.fileName, std::string());
    s.fileFailed = true;
    ShowWarning("Error writing trace file " + failed + "; the trace goes to the screen");
    if (s.fallbackHook) s.fallbackHook();
    s.memo.Add(memoLine);
}

bool TraceFileFailed() {
    return TheSinks().fileFailed;
}

void ResetTraceSinks() {
    Sinks& s = TheSinks();
    s.memo.Clear();
    s.memo.SetDisplayHook(nullptr);
    s.fileName.clear();
    s.fallbackHook = nullptr;
    s.fileFailed = false;
}

}  // namespace zorva
