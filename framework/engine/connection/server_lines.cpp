#include "engine/connection/server_lines.h"

#include <optional>
#include <string_view>

#include "engine/connection/keyword_table.h"
#include "engine/connection/messaging_state.h"
#include "engine/connection/server_connection.h"
#include "engine/engine.h"
#include "engine/message_log.h"
#include "engine/number_text.h"

namespace zorva {
namespace {

// Times travel with two decimals: a stamp below the clock by no more than
// that rounding is no news.
constexpr double kTimeRounding = 0.005;

std::optional<double> ReadTime(std::string_view field, const std::string& line) {
    const auto t = ParseNumber(TrimLine(field));
    if (!t) ReportLineProblem("cannot read the time in the line " + line + "; the line is ignored");
    return t;
}

std::optional<std::int32_t> ReadNumber(std::string_view field, const std::string& line) {
    const auto n = ParseInteger(TrimLine(field));
    if (!n) ReportLineProblem("cannot read the question number in the line " + line + "; the line is ignored");
    return n;
}

void LogReceived(const std::string& line) {
    LogMessage(line, kReceivedSuffix);
}

void TakeServerTime(double t, const std::string& line) {
    if (t < SimTime() - kTimeRounding)
        ReportLineProblem("the time in the line " + line + " lies before the clock " + FormatFixed(SimTime()) +
                          "; the clock stays");
    ClockFromServer(t);
}

void HandOverMessage(const std::string& text) {
    ZorvaStatus().IncomingMessage = text;
    DeliverIncoming();
}

void HandleFrom(std::string_view fields, const std::string& line) {
    const auto [timeField, text] = SplitField(fields);
    const auto t = ReadTime(timeField, line);
    if (!t) return;
    TakeServerTime(*t, line);
    const std::string shortened = "$$from:" + std::string(text);
    LogReceived(shortened);
    HandOverMessage(shortened);
}

void HandleSimTime(std::string_view fields, const std::string& line) {
    const auto t = ReadTime(fields, line);
    if (!t) return;
    TakeServerTime(*t, line);
    LogReceived(line);
    HandOverMessage(line);
}

void HandleHello(std::string_view fields, const std::string& line, bool& greeted) {
    LogReceived(line);
    // Only the greeting starts the clock; a second one would move every
    // pending event again.
    if (greeted) {
        ReportLineProblem("a second greeting " + line + " is ignored");
        return;
    }
    const auto t = ReadTime(SplitField(fields).second, line);
    if (t && *t >= SimTime())
        StartClockAt(*t);
    else if (t)
        ReportLineProblem("the time in the greeting " + line + " lies before the clock; the clock stays");
    greeted = true;
    SendToServer("$$name:" + ModelName());
}

void HandleQuestion(std::string_view fields, const std::string& line) {
    const auto [numberField, rest] = SplitField(fields);
    const auto number = ReadNumber(numberField, line);
    if (!number) return;
    const auto [name, text] = SplitField(rest);
    LogReceived(line);
    auto question = std::make_unique<TQuestion>();
    question->Number = *number;
    question->Name = std::string(name);
    question->Text = std::string(text);
    ZorvaStatus().PendingQuestion = std::move(question);
    DeliverIncoming();
}

void HandleReply(std::string_view fields, const std::string& line) {
    const auto [numberField, rest] = SplitField(fields);
    const auto number = ReadNumber(numberField, line);
    if (!number) return;
    const auto [name, text] = SplitField(rest);
    LogReceived(line);
    MessagingState& m = TheMessaging();
    m.ReplyList.push_back(TReply{*number, std::string(name), std::string(text)});
    m.NoUnreadReply = false;
}

}  // namespace

void ServerLineReader::Receive(std::string_view bytes) {
    splitter_.feed(bytes);
    for (auto dropped = splitter_.takeDroppedCount(); dropped > 0; --dropped)
        ReportLineProblem("a line longer than " + std::to_string(splitter_.maxLine()) +
                          " bytes from the server was dropped");
    // A handler may wait inside (AskModel) and read on from here; the lines
    // stay in order because both take them from the same splitter.
    while (!held_) {
        auto line = splitter_.takeLine();
        if (!line) break;
        HandleLine(*line);
    }
}

void ServerLineReader::Release() {
    held_ = false;
    Receive({});
}

void ServerLineReader::EndOfStream() {
    // Nobody will take a reply any more: every line still held is handled,
    // including those behind a later reply.
    do Release();
    while (held_);
    if (auto rest = splitter_.takeRest()) HandleLine(*rest);
}

void ServerLineReader::HandleLine(const std::string& rawLine) {
    ++linesHandled_;
    const std::string line(TrimLine(rawLine));
    if (line.empty()) return;
    const KeywordMatch match = MatchKeyword(line);
    switch (match.keyword) {
        case kwFrom:
            HandleFrom(match.fields, line);
            break;
        case kwSimTime:
            HandleSimTime(match.fields, line);
            break;
        case kwStop:
            if (const auto t = ReadTime(match.fields, line)) {
                LogReceived(line);
                ServerStoppedAt(*t);
            }
            break;
        case kwContinue:
            if (const auto t = ReadTime(match.fields, line)) {
                LogReceived(line);
                ServerGrantedTime(*t);
            }
            break;
        case kwHello:
            HandleHello(match.fields, line, greeted_);
            break;
        case kwQuestion:
            HandleQuestion(match.fields, line);
            break;
        case kwReply:
            HandleReply(match.fields, line);
            held_ = true;
            break;
        case kwUnknown:
        case kwClients:
        case kwTime:
        case kwNone:
            LogReceived(line);
            HandOverMessage(line);
            break;
    }
}

void ReportLineProblem(const std::string& text) {
    if (MessageLogOn()) {
        LogMessage(text, kErrorSuffix);
        return;
    }
    ZorvaStatus().StatusText = FormatFixed(SimTime()) + " Error: " + text;
    NotifyDisplay();
}

}  // namespace zorva
