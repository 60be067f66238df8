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

std::string lowered(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

}  // namespace

void TimeServer::onToClient(ClientId id, Client& client, std::string_view argument) {
    const auto [targetField, text] = SplitFields<2>(argument);
    const std::string_view targetName = Trim(targetField);
    if (targetName == "server") return;
    const Target target = findTarget(targetName);
    if (!target.id) {
        refuse(id, client, target.problem);
        return;
    }
    const double stamp = client.account->clock();
    const std::string line = Line(LineKind::From, JoinFields({FormatTime(stamp), client.name, Sanitize(text)}));
    if (!fitsLine(line, id, client)) return;
    Client& receiver = *registered(*target.id);
    deliver(*target.id, receiver, {line, stamp, Outgoing::Kind::Text});
}

void TimeServer::onQuestion(ClientId id, Client& client, std::string_view argument) {
    const auto [numberField, targetField, text] = SplitFields<3>(argument);
    const std::string number = Sanitize(Trim(numberField));
    std::string_view targetName = Trim(targetField);
    if (targetName.empty()) targetName = "server";
    // The model now waits inside its question, where it reads what was kept
    // for it without reporting it.
    const bool askedInStep = client.account->questionAsked();
    releaseHeld(id, client);
    if (targetName == "server") {
        answer(id, number, askedInStep, "server", serverAnswer(text));
        return;
    }
    const Target target = findTarget(targetName);
    const auto open =
        std::count_if(questions_.begin(), questions_.end(), [id](const Question& q) { return q.asker == id; });
    const std::string relayed = Line(LineKind::Question, JoinFields({number, client.name, Sanitize(text)}));
    if (!target.id || static_cast<std::size_t>(open) >= kMaxOpenQuestions || !fitsLine(relayed, id, client)) {
        answer(id, number, askedInStep, Sanitize(targetName), {});
        return;
    }
    questions_.push_back({id, number, *target.id, askedInStep});
    deliver(*target.id, *registered(*target.id), {relayed, client.account->clock(), Outgoing::Kind::HandedOver});
}

void TimeServer::onAnswer(ClientId id, Client& client, std::string_view argument) {
    const auto [numberField, askerField, text] = SplitFields<3>(argument);
    const std::string_view number = Trim(numberField);
    const std::string_view askerName = Trim(askerField);
    const auto matches = [&](bool exact) {
        return [&, exact](const Question& q) {
            if (q.answerer != id || q.number != number) return false;
            const Client* asker = registered(q.asker);
            return asker && (exact ? asker->name == askerName : !askerName.empty() && asker->name.ends_with(askerName));
        };
    };
    auto question = std::find_if(questions_.begin(), questions_.end(), matches(true));
    if (question == questions_.end()) question = std::find_if(questions_.begin(), questions_.end(), matches(false));
    if (question == questions_.end()) return;
    const Question answered = *question;
    questions_.erase(question);
    const std::string relayed = Line(LineKind::Answer, JoinFields({number, client.name, Sanitize(text)}));
    // The asker waits for an answer whatever happens: one too long to relay
    // becomes an empty one.
    answer(answered.asker, answered.number, answered.askedInStep, client.name,
           fitsLine(relayed, id, client) ? Sanitize(text) : std::string());
}

void TimeServer::onCommand(ClientId id, std::string_view command) {
    Client* client = registered(id);
    const std::string word = lowered(Trim(command.substr(0, command.find(':'))));
    std::string line;
    if (word == "time") line = Line(LineKind::Time, FormatTime(time_));
    if (word == "clients") line = Line(LineKind::Clients, modelNames());
    if (line.empty()) return;
    if (client) {
        deliver(id, *client, {line, client->account->clock(), Outgoing::Kind::HandedOver});
    } else {
        send(id, line);
    }
}

void TimeServer::answer(ClientId asker, const std::string& number, bool askedInStep, const std::string& answerer,
                        std::string_view text) {
    Client* client = registered(asker);
    if (!client) return;
    // Sent while the question still counts as open: a model waiting inside
    // its question reads the answer there, so it is never held.
    deliver(asker, *client,
            {Line(LineKind::Answer, JoinFields({number, answerer, text})), client->account->clock(),
             Outgoing::Kind::Answer});
    client->account->questionAnswered(askedInStep);
}

void TimeServer::refuse(ClientId id, Client& client, const std::string& reason) {
    output_.report("refused a line from " + client.name + ": " + reason);
    deliver(id, client, {Line(LineKind::Unknown, reason), client.account->clock(), Outgoing::Kind::HandedOver});
}

bool TimeServer::fitsLine(const std::string& line, ClientId sender, Client& client) {
    if (line.size() <= kMaxLine) return true;
    refuse(sender, client,
           "the line to relay would be " + std::to_string(line.size()) + " bytes, more than the " +
               std::to_string(kMaxLine) + " a model reads");
    return false;
}

TimeServer::Target TimeServer::findTarget(std::string_view name) const {
    if (name.empty()) return {std::nullopt, "no target given"};
    std::vector<ClientId> endings;
    for (const auto& [id, client] : clients_) {
        if (!client.account || client.leaving) continue;
        if (client.name == name) return {id, {}};
        if (client.name.ends_with(name)) endings.push_back(id);
    }
    const std::string shown = Sanitize(name.substr(0, 200));
    if (endings.size() == 1) return {endings.front(), {}};
    if (endings.empty()) return {std::nullopt, "no model named " + shown};
    return {std::nullopt, shown + " names more than one model"};
}

std::string TimeServer::serverAnswer(std::string_view question) const {
    const std::string asked = lowered(Trim(question));
    if (asked == "time") return FormatTime(time_);
    if (asked == "clients") return modelNames();
    return {};
}

std::string TimeServer::modelNames() const {
    std::string names;
    for (const auto& [id, client] : clients_) {
        if (!client.account || client.leaving) continue;
        if (!names.empty()) names += ", ";
        names += client.name;
    }
    return names;
}

TimeServer::Client* TimeServer::registered(ClientId id) {
    const auto it = clients_.find(id);
    return it != clients_.end() && it->second.account && !it->second.leaving ? &it->second : nullptr;
}

}  // namespace zorva::server
