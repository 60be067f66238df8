#include "connection/messaging.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>
#include <utility>

#include "connection/message_log.h"
#include "connection/messaging_state.h"
#include "connection/server_connection.h"
#include "engine/engine.h"
#include "kernel/msg_string.h"
#include "wire/line_kinds.h"
#include "wire/protocol.h"

namespace zorva {
namespace {

// The program file's name in lower case without its extension ("obrimwest"
// for obrimwest, and for obrimwest.exe too).
std::string ProgramName() {
    if (!QCoreApplication::instance()) return "zorvamodel";
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toLower().toStdString();
}

bool Unconnected() {
    return ZorvaStatus().ServerAddress.empty();
}

}  // namespace

MessagingState& TheMessaging() {
    static MessagingState* state = new MessagingState;
    return *state;
}

void SetModelName(const std::string& Name) {
    MessagingState& m = TheMessaging();
    m.ModelName = Name.empty() ? ProgramName() : Name;
    SetMessageLogName(m.ModelName);
    if (m.ShowModelName) m.ShowModelName(m.ModelName);
}

const std::string& ModelName() {
    return TheMessaging().ModelName;
}

void SetServerAddress(const std::string& Address) {
    if (RunState() != rsIdle) return;
    AssignServerAddress(std::string(Trim(Address)));
    SetServerLink(&TheServerConnection());
    if (TheMessaging().ShowServerAddress) TheMessaging().ShowServerAddress(Address);
}

void SetModelNameDisplay(MessagingDisplayHook hook) {
    TheMessaging().ShowModelName = std::move(hook);
}
void SetServerAddressDisplay(MessagingDisplayHook hook) {
    TheMessaging().ShowServerAddress = std::move(hook);
}

void SetLookahead(double Lookahead) {
    if (RunState() != rsIdle) return;
    TheMessaging().Lookahead = Lookahead > 0 ? Lookahead : 0.0;
}

double Lookahead() {
    return TheMessaging().Lookahead;
}

bool RunsAhead() {
    return TheMessaging().RunsAhead;
}

void SendToModel(const std::string& Target, const std::string& Text) {
    if (Unconnected()) return;
    if (Target == "$$server")
        SendToServer(Line(LineKind::Command, Text));
    else if (TheMessaging().RunsAhead)
        // The server cannot know where a model running ahead is: the text
        // carries its time.
        SendToServer(Line(LineKind::Send, JoinFields({FormatTime(SimTime()), Target, Text})));
    else
        SendToServer(Line(LineKind::ToClient, Target + std::string(kFieldSeparator) + Text));
}

void SetMessageHandler(ModelMessageHandler Handler) {
    TheMessaging().MessageHandler = std::move(Handler);
}
void SetQuestionHandler(ModelQuestionHandler Handler) {
    TheMessaging().QuestionHandler = std::move(Handler);
}

void AskModel(const std::string& Target, std::string& Text) {
    // Alone, nobody could ever answer.
    if (Unconnected()) {
        Text.clear();
        return;
    }
    MessagingState& m = TheMessaging();
    const std::int32_t number = ++m.QuestionCounter;
    const std::string target = Target.empty() ? "server" : Target;
    m.QuestionList.push_back(TQuestion{number, Text, target});
    const std::string separator(kFieldSeparator);
    SendToServer(Line(LineKind::Question, std::to_string(number) + separator + target + separator + Text));

    ServerConnection& connection = TheServerConnection();
    const auto answered = [&] {
        return std::find_if(m.ReplyList.begin(), m.ReplyList.end(),
                            [number](const TReply& r) { return r.Number == number; });
    };
    auto reply = m.ReplyList.end();
    while (!connection.ConnectionClosed()) {
        if (!m.NoUnreadReply && (reply = answered()) != m.ReplyList.end()) break;
        connection.WaitForServer();
    }
    if (reply == m.ReplyList.end()) reply = answered();
    std::erase_if(m.QuestionList, [number](const TQuestion& q) { return q.Number == number; });
    if (reply == m.ReplyList.end()) {
        Text.clear();
    } else {
        Text = std::move(reply->Text);
        m.ReplyList.erase(reply);
    }
    // Replies to other questions (asked by a handler during this wait) may
    // still be unread.
    m.NoUnreadReply = m.ReplyList.empty();
}

void SendAnswer(const std::string& Name, const std::string& Text) {
    if (Unconnected()) return;
    const std::string separator(kFieldSeparator);
    SendToServer(
        Line(LineKind::Answer, std::to_string(TheMessaging().AnsweringNumber) + separator + Name + separator + Text));
}

std::optional<TIncomingText> IncomingText(const std::string& Message) {
    const std::string_view from = Keyword(LineKind::From);
    if (!Message.starts_with(from)) return std::nullopt;
    const auto [sender, text] = SplitField(std::string_view(Message).substr(from.size()));
    return TIncomingText{std::string(sender), std::string(text)};
}

std::optional<std::string> RefusalReason(const std::string& Message) {
    const std::string_view unknown = Keyword(LineKind::Unknown);
    if (!Message.starts_with(unknown)) return std::nullopt;
    return Message.substr(unknown.size());
}

std::string TakeIncomingMessage() {
    return std::exchange(TheMessaging().IncomingMessage, std::string());
}

std::optional<TQuestion> TakePendingQuestion() {
    std::optional<TQuestion> pending = std::exchange(TheMessaging().PendingQuestion, std::nullopt);
    if (pending) TheMessaging().AnsweringNumber = pending->Number;
    return pending;
}

void HandOverToModel() {
    MessagingState& m = TheMessaging();
    if (m.PendingQuestion && m.QuestionHandler) {
        const TQuestion question = *TakePendingQuestion();
        TMsgString message(question.Text);
        m.QuestionHandler(message, question.Name);
    }
    if (!m.IncomingMessage.empty() && m.MessageHandler) m.MessageHandler(TakeIncomingMessage());
}

void AbandonConnection() {
    TheServerConnection().Abandon();
}

TConnectionFailure ConnectionFailure() {
    return TheServerConnection().Failure();
}

void ResetConnection() {
    TheServerConnection().Close();
    TheServerConnection().SetPort(kDefaultPort);
    TheServerConnection().Readmit();
    TheMessaging() = MessagingState();
    SetMessageLogName(TheMessaging().ModelName);
}

}  // namespace zorva
