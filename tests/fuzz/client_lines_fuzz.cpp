// Feeds arbitrary bytes to a model as if the message server had sent them:
// once line by line, checking what each line did, and once in reads of
// varying size, which must end in the same state. The model must never
// crash, never set its clock backwards and never take a time or a question
// number that is not a well-formed number.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "connection/messaging.h"
#include "connection/messaging_state.h"
#include "connection/server_lines.h"
#include "engine/engine.h"
#include "engine/engine_state.h"
#include "engine/fatal_error.h"
#include "wire/line_kinds.h"
#include "wire/protocol.h"

namespace {

using namespace zorva;

void Require(bool condition) {
    if (!condition) __builtin_trap();
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t SkipDigits(std::string_view text, std::size_t at) {
    while (at < text.size() && IsDigit(text[at])) ++at;
    return at;
}

std::size_t SkipSign(std::string_view text, std::size_t at) {
    return at < text.size() && (text[at] == '+' || text[at] == '-') ? at + 1 : at;
}

// sign? (digits ('.' digits?)? | '.' digits) (('e' | 'E') sign? digits)?
bool WellFormedTime(std::string_view text) {
    std::size_t at = SkipSign(text, 0);
    const std::size_t integerEnd = SkipDigits(text, at);
    bool digits = integerEnd > at;
    at = integerEnd;
    if (at < text.size() && text[at] == '.') {
        const std::size_t fractionEnd = SkipDigits(text, at + 1);
        digits = digits || fractionEnd > at + 1;
        at = fractionEnd;
    }
    if (!digits) return false;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        const std::size_t exponent = SkipSign(text, at + 1);
        at = SkipDigits(text, exponent);
        if (at == exponent) return false;
    }
    return at == text.size();
}

bool WellFormedInteger(std::string_view text) {
    const std::size_t start = SkipSign(text, 0);
    const std::size_t end = SkipDigits(text, start);
    if (end == start || end != text.size()) return false;
    // strtoll saturates, so a long run of digits still lands outside the range.
    const long long value = std::strtoll(std::string(text).c_str(), nullptr, 10);
    return value >= INT32_MIN && value <= INT32_MAX;
}

// The process runs in the "C" locale, so strtod reads '.' as the point.
double ValueOf(std::string_view text) {
    return std::strtod(std::string(text).c_str(), nullptr);
}

struct Snapshot {
    double clock = 0.0;
    double stop = 0.0;
    std::size_t replies = 0;
    std::vector<std::int32_t> questions;
    std::size_t texts = 0;
    bool granted = false;

    bool operator==(const Snapshot&) const = default;
};

Snapshot current;
double highestClock = 0.0;

void CheckClock() {
    Require(std::isfinite(SimTime()));
    Require(SimTime() >= highestClock);
    highestClock = SimTime();
}

Snapshot Observe() {
    CheckClock();
    current.clock = SimTime();
    current.stop = StopTime();
    current.replies = TheMessaging().ReplyList.size();
    current.granted = TheEngine().ServerAnswered;
    return current;
}

void ResetModel() {
    ResetEngine();
    ResetConnection();
    SetWarningHandler([](const std::string&) {});
    SetDisplayCallback([] {
        CheckClock();
        if (const auto question = TakePendingQuestion()) current.questions.push_back(question->Number);
        if (!TakeIncomingMessage().empty()) ++current.texts;
        TakeStatusText();
    });
    current = Snapshot();
    highestClock = SimTime();
}

std::string_view TimeField(const LineMatch& match) {
    switch (match.Kind) {
        case LineKind::From:
            return Trim(SplitField(match.Fields).first);
        case LineKind::Hello:
            return Trim(SplitField(match.Fields).second);
        default:
            return Trim(match.Fields);
    }
}

// Whatever a line changed, it changed from a well-formed number in the
// field its keyword reads it from.
void CheckLineEffect(const std::string& line, const Snapshot& before, const Snapshot& after) {
    const LineMatch match = MatchLineToModel(Trim(line));
    if (after.clock != before.clock) {
        Require(match.Kind == LineKind::From || match.Kind == LineKind::SimTime || match.Kind == LineKind::Hello);
        Require(WellFormedTime(TimeField(match)));
        Require(after.clock == ValueOf(TimeField(match)));
    }
    if (after.stop != before.stop) {
        Require(match.Kind == LineKind::Stop && WellFormedTime(TimeField(match)));
        Require(after.stop == ValueOf(TimeField(match)));
    }
    if (after.granted && !before.granted) {
        Require(match.Kind == LineKind::Continue || match.Kind == LineKind::Stop);
        Require(WellFormedTime(TimeField(match)));
    }
    const std::string_view numberField = Trim(SplitField(match.Fields).first);
    if (after.replies != before.replies) {
        Require(match.Kind == LineKind::Answer && after.replies == before.replies + 1);
        Require(WellFormedInteger(numberField));
        Require(TheMessaging().ReplyList.back().Number == std::strtol(std::string(numberField).c_str(), nullptr, 10));
    }
    if (after.questions.size() != before.questions.size()) {
        Require(match.Kind == LineKind::Question && after.questions.size() == before.questions.size() + 1);
        Require(WellFormedInteger(numberField));
        Require(after.questions.back() == std::strtol(std::string(numberField).c_str(), nullptr, 10));
    }
}

Snapshot LineByLine(std::string_view input) {
    ResetModel();
    ServerLineReader reader;
    while (!input.empty()) {
        const auto end = input.find('\n');
        const std::string line(input.substr(0, end));
        input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
        const Snapshot before = Observe();
        reader.HandleLine(line);
        CheckLineEffect(line, before, Observe());
    }
    return Observe();
}

// Read sizes from 1 to 16 bytes, picked by the input itself, so a line
// arrives split at every kind of place, its CR LF included.
Snapshot InPieces(std::string_view input, const std::uint8_t* data) {
    ResetModel();
    ServerLineReader reader;
    for (std::size_t at = 0; at < input.size();) {
        const std::size_t piece = 1 + data[at] % 16;
        reader.Receive(input.substr(at, piece));
        at += piece;
        Observe();
    }
    reader.EndOfStream();
    return Observe();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const Snapshot lines = LineByLine(input);
    Require(InPieces(input, data) == lines);
    return 0;
}
