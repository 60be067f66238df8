#pragma once
/// \file
/// Lines out of a byte stream, for the server and the model's connection alike.

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace zorva {

/// Cuts a byte stream into lines ending in CR LF (a bare LF is accepted too)
/// and reassembles lines that arrive over several reads. A line longer than
/// the cap is dropped whole, so one bad sender costs bounded memory and the
/// stream stays in step at the next line end.
class LineSplitter {
public:
    static constexpr std::size_t kDefaultMaxLine = 64 * 1024;

    explicit LineSplitter(std::size_t maxLine = kDefaultMaxLine);

    void Feed(std::string_view bytes);

    /// The next complete line without its terminator, oldest first.
    std::optional<std::string> TakeLine();

    /// How many lines were dropped for their length since the last call.
    std::size_t TakeDroppedCount();

    /// The unterminated tail, for a stream that has ended; empties it.
    std::optional<std::string> TakeRest();

    std::size_t MaxLine() const { return maxLine_; }

private:
    void EndLine();

    std::size_t maxLine_;
    std::string partial_;
    bool discarding_ = false;
    std::size_t dropped_ = 0;
    std::deque<std::string> lines_;
};

}  // namespace zorva
