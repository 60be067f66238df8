// The part of TimeServer that carries texts, questions and answers between
// models and answers what is addressed to the server itself.
#include "time_server.h"

#include "wire/line_kinds.h"
#include "wire/protocol.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace zorva::server {

namespace {

// Each model may keep this many questions open; beyond it a question is
// answered at once, so a flood cannot grow the server's memory.
constexpr std::size_t kMaxOpenQuestions = 1024;

std::string Lowered(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

}  // namespace

void TimeServer::OnToClient(ClientId id, Client& client, std::string_view argument) {
    const auto [targetField, text] = SplitFields<2>(argument);
    Relay(id, client, Trim(targetField), text, client.Account->SendingTime());
}

void TimeServer::OnSend(ClientId id, Client& client, std::string_view argument) {
    const auto [timeField, targetField, text] = SplitFields<3>(argument);
    const auto stamp = ParseTimeFromAnyLocale(timeField);
    if (!client.Account->Ahead() || !stamp) {
        Refuse(id, client, "cannot send a text stamped '" + Sanitize(Trim(timeField)) + "' from " + client.Name);
        return;
    }
    // The text leaves no earlier than the time the model may act at, which
    // is what the grants to the others counted on. A handler that sends
    // while the model waits stamps it with the model's clock, behind its
    // request; the line it handles acts no earlier than that line's pin.
    Relay(id, client, Trim(targetField), text, std::max(*stamp, client.Account->SendingTime()));
}

void TimeServer::Relay(ClientId id, Client& client, std::string_view targetName, std::string_view text, double stamp) {
    if (targetName == "server") return;
    const Target target = FindTarget(targetName);
    if (!target.Id) {
        Refuse(id, client, target.Problem);
        return;
    }
    const std::string line = Line(LineKind::From, JoinFields({FormatTime(stamp), client.Name, Sanitize(text)}));
    if (!FitsLine(line, id, client)) return;
    Client& receiver = *Registered(*target.Id);
    Deliver(*target.Id, receiver, {line, stamp, Outgoing::Kind::Text, client.Account->Lookahead()});
}

void TimeServer::OnQuestion(ClientId id, Client& client, std::string_view argument) {
    const auto [numberField, targetField, text] = SplitFields<3>(argument);
    const std::string number = Sanitize(Trim(numberField));
    std::string_view targetName = Trim(targetField);
    if (targetName.empty()) targetName = "server";
    // The model now waits inside its question, where it reads what was kept
    // for it without reporting it.
    const bool askedInStep = client.Account->QuestionAsked();
    ReleaseHeld(id, client);
    if (targetName == "server") {
        const std::string_view question = Trim(text);
        Answer(id, number, askedInStep, "server",
               question.starts_with(kLookaheadQuestion) ? AgreeLookahead(client, question) : ServerAnswer(text));
        return;
    }
    const Target target = FindTarget(targetName);
    const auto open =
        std::count_if(questions_.begin(), questions_.end(), [id](const Question& q) { return q.Asker == id; });
    const std::string relayed = Line(LineKind::Question, JoinFields({number, client.Name, Sanitize(text)}));
    if (!target.Id || static_cast<std::size_t>(open) >= kMaxOpenQuestions || !FitsLine(relayed, id, client)) {
        Answer(id, number, askedInStep, Sanitize(targetName), {});
        return;
    }
    questions_.push_back({id, number, *target.Id, askedInStep});
    Deliver(*target.Id, *Registered(*target.Id),
            {relayed, client.Account->SendingTime(), Outgoing::Kind::HandedOver, client.Account->Lookahead()});
}

void TimeServer::OnAnswer(ClientId id, Client& client, std::string_view argument) {
    const auto [numberField, askerField, text] = SplitFields<3>(argument);
    const std::string_view number = Trim(numberField);
    const std::string_view askerName = Trim(askerField);
    const auto matches = [&](bool exact) {
        return [&, exact](const Question& q) {
            if (q.Answerer != id || q.Number != number) return false;
            const Client* asker = Registered(q.Asker);
            return asker && (exact ? asker->Name == askerName : !askerName.empty() && asker->Name.ends_with(askerName));
        };
    };
    auto question = std::find_if(questions_.begin(), questions_.end(), matches(true));
    if (question == questions_.end()) question = std::find_if(questions_.begin(), questions_.end(), matches(false));
    if (question == questions_.end()) return;
    const Question answered = *question;
    questions_.erase(question);
    const std::string relayed = Line(LineKind::Answer, JoinFields({number, client.Name, Sanitize(text)}));
    // The asker waits for an answer whatever happens: one too long to relay
    // becomes an empty one.
    Answer(answered.Asker, answered.Number, answered.AskedInStep, client.Name,
           FitsLine(relayed, id, client) ? Sanitize(text) : std::string());
}

void TimeServer::OnCommand(ClientId id, std::string_view command) {
    Client* client = Registered(id);
    const std::string word = Lowered(Trim(command.substr(0, command.find(':'))));
    std::string line;
    if (word == "time") line = Line(LineKind::Time, FormatTime(time_));
    if (word == "clients") line = Line(LineKind::Clients, ModelNames());
    if (line.empty()) return;
    if (client) {
        Deliver(id, *client, {line, client->Account->Clock(), Outgoing::Kind::HandedOver});
    } else {
        Send(id, line);
    }
}

void TimeServer::Answer(ClientId asker, const std::string& number, bool askedInStep, const std::string& answerer,
                        std::string_view text) {
    Client* client = Registered(asker);
    if (!client) return;
    // Sent while the question still counts as open: a model waiting inside
    // its question reads the answer there, so it is never held.
    Deliver(asker, *client,
            {Line(LineKind::Answer, JoinFields({number, answerer, text})), client->Account->Clock(),
             Outgoing::Kind::Answer});
    client->Account->QuestionAnswered(askedInStep);
}

void TimeServer::Refuse(ClientId id, Client& client, const std::string& reason) {
    output_.Report("refused a line from " + client.Name + ": " + reason);
    Deliver(id, client, {Line(LineKind::Unknown, reason), client.Account->Clock(), Outgoing::Kind::HandedOver});
}

bool TimeServer::FitsLine(const std::string& line, ClientId sender, Client& client) {
    if (line.size() <= kMaxLine) return true;
    Refuse(sender, client,
           "the line to relay would be " + std::to_string(line.size()) + " bytes, more than the " +
               std::to_string(kMaxLine) + " a model reads");
    return false;
}

TimeServer::Target TimeServer::FindTarget(std::string_view name) const {
    if (name.empty()) return {std::nullopt, "no target given"};
    if (const auto it = byName_.find(name); it != byName_.end()) return {it->second, {}};
    std::vector<ClientId> endings;
    for (const auto& [registered, id] : byName_)
        if (registered.ends_with(name)) endings.push_back(id);
    const std::string shown = Sanitize(name.substr(0, 200));
    if (endings.size() == 1) return {endings.front(), {}};
    if (endings.empty()) return {std::nullopt, "no model named " + shown};
    return {std::nullopt, shown + " names more than one model"};
}

std::string TimeServer::ServerAnswer(std::string_view question) const {
    const std::string asked = Lowered(Trim(question));
    if (asked == "time") return FormatTime(time_);
    if (asked == "clients") return ModelNames();
    return {};
}

std::string TimeServer::ModelNames() const {
    std::string names;
    for (const auto& [id, client] : clients_) {
        if (!client.Account || client.Leaving) continue;
        if (!names.empty()) names += ", ";
        names += client.Name;
    }
    return names;
}

TimeServer::Client* TimeServer::Registered(ClientId id) {
    const auto it = clients_.find(id);
    return it != clients_.end() && it->second.Account && !it->second.Leaving ? &it->second : nullptr;
}

}  // namespace zorva::server
