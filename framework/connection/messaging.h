#pragma once
/// \file
/// What a model calls to talk to other models through the message server, and
/// what the framework calls to hand incoming texts and questions to the model.
/// Everything runs on the program's one thread.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "connection/connection_failure.h"
#include "connection/question.h"

namespace zorva {

class TMsgString;

using ModelMessageHandler = std::function<void(const std::string& Message)>;
using ModelQuestionHandler = std::function<void(TMsgString& Question, const std::string& Asker)>;

/// An empty name takes the program file's name, in lower case and without its
/// extension. The message log is named after the model.
void SetModelName(const std::string& Name);
const std::string& ModelName();

/// The one setter of the server address, for the model and the window alike
/// (the window's header shows what it was given); only while the run is
/// idle. Surrounding blanks are dropped. An empty address makes the model run
/// alone.
void SetServerAddress(const std::string& Address);

/// How the main window shows what was set: the model's name (in its caption)
/// and the server address as the model passed it (in its header). Without a
/// hook nothing is shown.
using MessagingDisplayHook = std::function<void(const std::string& text)>;
void SetModelNameDisplay(MessagingDisplayHook hook);
void SetServerAddressDisplay(MessagingDisplayHook hook);

/// The model promises that nothing it sends at time t creates an event in
/// another model before t + Lookahead (a lock model: a ship arrives 20 time
/// units after its hand-over). Set before the run; when the server agrees,
/// the model runs every event before the horizon the server grants without
/// asking, and a promise broken is a fatal error in the receiving model.
/// 0 (the default) runs one granted event at a time.
void SetLookahead(double Lookahead);
double Lookahead();
/// Whether the server agreed: the model runs ahead.
bool RunsAhead();

/// "$$toclient: " Target "!!" Text, or "$$" Text to the target "$$server".
/// Sends nothing when the model runs alone.
void SendToModel(const std::string& Target, const std::string& Text);
void SetMessageHandler(ModelMessageHandler Handler);
void SetQuestionHandler(ModelQuestionHandler Handler);

/// Asks Target ("server" when empty) and waits, handling window events and
/// incoming lines, until the answer comes; Text then holds it. Returns at once
/// with an empty answer when the model runs alone, and with an empty answer
/// when the connection fails or closes during the wait.
void AskModel(const std::string& Target, std::string& Text);
/// Answers the question last handed to the question handler.
void SendAnswer(const std::string& Name, const std::string& Text);

/// A text from another model as the message handler receives it
/// ("$$from:SENDER!!TEXT"): the sender's name and the text it sent. Nothing
/// for any other message.
struct TIncomingText {
    std::string Sender;
    std::string Text;
};
std::optional<TIncomingText> IncomingText(const std::string& Message);
/// The reason in a message of the server's that refuses a line of this
/// model's ("$$unknown:REASON"), such as a text to a model it does not know.
std::optional<std::string> RefusalReason(const std::string& Message);

std::string TakeIncomingMessage();
/// The pending question, which becomes the one SendAnswer answers.
std::optional<TQuestion> TakePendingQuestion();
/// A pending question goes to the question handler, then a pending text to
/// the message handler. An item without a handler stays until the next of
/// its kind. The engine calls it before the display callback.
void HandOverToModel();

/// The window is closing: every wait for the server ends at its next round,
/// and nothing more is sent.
void AbandonConnection();
/// What went wrong with the connection, if anything did.
TConnectionFailure ConnectionFailure();

/// Program end followed by a fresh start-up: closes the connection and empties
/// the messaging state, the handlers included.
void ResetConnection();

}  // namespace zorva
