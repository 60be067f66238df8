#include "engine/connection/messaging.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>
#include <utility>

#include "engine/connection/messaging_state.h"
#include "engine/connection/server_connection.h"
#include "engine/engine.h"
#include "engine/message_log.h"
#include "kernel/msg_string.h"

namespace zorva {
namespace {

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

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
    if (m.showModelName) m.showModelName(m.ModelName);
}

const std::string& ModelName() {
    return TheMessaging().ModelName;
}

void SetServerAddress(const std::string& Address) {
    if (RunState() != rsIdle) return;
    ZorvaStatus().ServerAddress = Trimmed(Address);
    SetServerLink(&TheServerConnection());
    if (TheMessaging().showServerAddress) TheMessaging().showServerAddress(Address);
}

void SetModelNameDisplay(MessagingDisplayHook hook) {
    TheMessaging().showModelName = std::move(hook);
}
void SetServerAddressDisplay(MessagingDisplayHook hook) {
    TheMessaging().showServerAddress = std::move(hook);
}

void SendToModel(const std::string& Target, const std::string& Text) {
    if (Unconnected()) return;
    if (Target == "$$server")
        SendToServer("$$" + Text);
    else
        SendToServer("$$toclient: " + Target + "!!" + Text);
}

void SetMessageHandler(ModelMessageHandler Handler) {
    TheMessaging().messageHandler = std::move(Handler);
}
void SetQuestionHandler(ModelQuestionHandler Handler) {
    TheMessaging().questionHandler = std::move(Handler);
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
    SendToServer("$$?" + std::to_string(number) + "!!" + target + "!!" + Text);

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
    SendToServer("$$!" + std::to_string(TheMessaging().AnsweringNumber) + "!!" + Name + "!!" + Text);
}

std::string TakeIncomingMessage() {
    return std::exchange(ZorvaStatus().IncomingMessage, std::string());
}

std::optional<TQuestion> TakePendingQuestion() {
    std::unique_ptr<TQuestion> pending = std::move(ZorvaStatus().PendingQuestion);
    if (!pending) return std::nullopt;
    TheMessaging().AnsweringNumber = pending->Number;
    return std::move(*pending);
}

void HandOverToModel() {
    MessagingState& m = TheMessaging();
    if (ZorvaStatus().PendingQuestion && m.questionHandler) {
        const TQuestion question = *TakePendingQuestion();
        TMsgString message(question.Text);
        m.questionHandler(message, question.Name);
    }
    if (!ZorvaStatus().IncomingMessage.empty() && m.messageHandler) m.messageHandler(TakeIncomingMessage());
}

void ResetConnection() {
    TheServerConnection().Close();
    TheServerConnection().SetPort(kServerPort);
    TheServerConnection().Readmit();
    TheMessaging() = MessagingState();
    SetMessageLogName(TheMessaging().ModelName);
}

}  // namespace zorva
