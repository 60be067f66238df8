#include "connection/server_lines.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "connection/message_log.h"
#include "connection/messaging_state.h"
#include "connection/server_connection.h"
#include "engine/engine.h"
#include "wire/line_kinds.h"
#include "wire/number_text.h"
#include "wire/protocol.h"

namespace zorva {
namespace {

// Times travel with two decimals: a stamp below the clock by no more than
// that rounding is no news.
constexpr double kTimeRounding = 0.005;

std::optional<double> ReadTime(std::string_view field, const std::string& line) {
    const auto t = ParseTime(field);
    if (!t) ReportLineProblem("cannot read the time in the line " + line + "; the line is ignored");
    return t;
}

std::optional<std::int32_t> ReadNumber(std::string_view field, const std::string& line) {
    const auto n = ParseInteger(Trim(field));
    if (!n) ReportLineProblem("cannot read the question number in the line " + line + "; the line is ignored");
    return n;
}

void LogReceived(const std::string& line) {
    LogMessage(line, kReceivedSuffix);
}

void TakeServerTime(double t, const std::string& line) {
    // A model running ahead meets texts from its past as a matter of course.
    if (t < SimTime() - kTimeRounding && !TheMessaging().RunsAhead)
        ReportLineProblem("the time in the line " + line + " lies before the clock " + FormatFixed(SimTime()) +
                          "; the clock stays");
    ClockFromServer(t);
}

void HandOverMessage(const std::string& text, const TextDelivery* delivery = nullptr) {
    MessagingState& m = TheMessaging();
    m.IncomingMessage = text;
    ++m.HandedOver;
    DeliverIncoming(delivery);
}

void HandleFrom(std::string_view fields, const std::string& line) {
    const auto [timeField, text] = SplitField(fields);
    const auto t = ReadTime(timeField, line);
    if (!t) return;
    TakeServerTime(*t, line);
    const std::string shortened = Line(LineKind::From, text);
    LogReceived(shortened);
    // At one time the server takes the steps of models in the order of
    // their names.
    const std::string sender(SplitField(text).first);
    const TextDelivery delivery{{*t, static_cast<std::int8_t>(sender < ModelName() ? -1 : 1)}, sender, ModelName()};
    HandOverMessage(shortened, &delivery);
}

void HandleHorizon(std::string_view fields, const std::string& line) {
    const auto h = ReadTime(fields, line);
    if (!h) return;
    LogReceived(line);
    MessagingState& m = TheMessaging();
    // A request asked again may cross the horizon that its first one got.
    m.Horizon = std::max(m.Horizon, *h);
    ServerGrantedHorizon();
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
    SendToServer(Line(LineKind::Name, ModelName()));
}

// "N!!NAME!!TEXT", the fields of a question and of an answer; logged once
// the number could be read.
struct Numbered {
    int Number;
    std::string Name;
    std::string Text;
};

std::optional<Numbered> ReadNumbered(std::string_view fields, const std::string& line) {
    const auto [numberField, rest] = SplitField(fields);
    const auto number = ReadNumber(numberField, line);
    if (!number) return std::nullopt;
    const auto [name, text] = SplitField(rest);
    LogReceived(line);
    return Numbered{*number, std::string(name), std::string(text)};
}

void HandleQuestion(std::string_view fields, const std::string& line) {
    auto question = ReadNumbered(fields, line);
    if (!question) return;
    MessagingState& m = TheMessaging();
    m.PendingQuestion = TQuestion{question->Number, std::move(question->Text), std::move(question->Name)};
    ++m.HandedOver;
    DeliverIncoming();
}

void HandleReply(std::string_view fields, const std::string& line) {
    auto reply = ReadNumbered(fields, line);
    if (!reply) return;
    MessagingState& m = TheMessaging();
    m.ReplyList.push_back(TReply{reply->Number, std::move(reply->Name), std::move(reply->Text)});
    m.NoUnreadReply = false;
}

}  // namespace

void ServerLineReader::Receive(std::string_view bytes) {
    splitter_.Feed(bytes);
    for (auto dropped = splitter_.TakeDroppedCount(); dropped > 0; --dropped)
        ReportLineProblem("a line longer than " + std::to_string(splitter_.MaxLine()) +
                          " bytes from the server was dropped");
    // A handler may wait inside (AskModel) and read on from here; the lines
    // stay in order because both take them from the same splitter.
    while (!held_) {
        auto line = splitter_.TakeLine();
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
    if (auto rest = splitter_.TakeRest()) HandleLine(*rest);
}

void ServerLineReader::HandleLine(const std::string& rawLine) {
    ++linesHandled_;
    const std::string line(Trim(rawLine));
    if (line.empty()) return;
    const LineMatch match = MatchLineToModel(line);
    switch (match.Kind) {
        case LineKind::From:
            HandleFrom(match.Fields, line);
            break;
        case LineKind::SimTime:
            HandleSimTime(match.Fields, line);
            break;
        case LineKind::Stop:
            if (const auto t = ReadTime(match.Fields, line)) {
                LogReceived(line);
                ServerStoppedAt(*t);
            }
            break;
        case LineKind::Continue:
            if (const auto t = ReadTime(match.Fields, line)) {
                LogReceived(line);
                ServerGrantedTime(*t);
            }
            break;
        case LineKind::Hello:
            HandleHello(match.Fields, line, greeted_);
            break;
        case LineKind::Question:
            HandleQuestion(match.Fields, line);
            break;
        case LineKind::Answer:
            HandleReply(match.Fields, line);
            held_ = true;
            break;
        case LineKind::Horizon:
            // Only a model that agreed on lookahead gets horizons; to any
            // other it is a line like any it does not know.
            if (TheMessaging().RunsAhead) {
                HandleHorizon(match.Fields, line);
                break;
            }
            [[fallthrough]];
        default:  // "$$unknown:", "$$clients:", "$$time:" and unrecognised lines
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
    ShowConnectionStatus(FormatFixed(SimTime()) + " Error: " + text);
}

}  // namespace zorva
