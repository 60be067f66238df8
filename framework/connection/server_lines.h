#pragma once
// What the model does with the bytes and lines it receives from the message
// server. Nothing here touches the socket, so the handling can be driven by
// any source of bytes.

#include <cstddef>
#include <string>
#include <string_view>

#include "wire/line_splitter.h"

namespace zorva {

// The receiving side of one connection: reassembles lines that arrive over
// several reads and handles each complete one at once.
class ServerLineReader {
public:
    // Bytes as they were read; an unterminated tail waits for its rest.
    void Receive(std::string_view bytes);
    // The stream has ended: a last line without its line end is still the
    // server's last word. Held lines are handled first.
    void EndOfStream();
    // Handles the lines held back after a reply.
    void Release();
    // One line without its CR LF.
    void HandleLine(const std::string& line);

    // The greeting starts the clock, so only the first one of a connection counts.
    bool Greeted() const { return greeted_; }
    // Counts every line handled, so a wait can tell that something came.
    std::size_t LinesHandled() const { return linesHandled_; }

private:
    LineSplitter splitter_;
    bool greeted_ = false;
    // Set by a reply: the lines after it wait for the next Release. The
    // asking process goes on with its step once it has its answer, and a
    // text handled in that step would not be reported with "$$newevent:",
    // which the server waits for.
    bool held_ = false;
    std::size_t linesHandled_ = 0;
};

// A line that cannot be used: reported once, in the message log when it is
// on, else as a status text for the trace.
void ReportLineProblem(const std::string& text);

}  // namespace zorva
