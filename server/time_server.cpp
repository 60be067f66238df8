#include "time_server.h"

#include "wire/line_kinds.h"
#include "wire/protocol.h"

#include <algorithm>
#include <limits>

namespace zorva::server {

namespace {

constexpr std::size_t kMaxNameLength = 200;

}  // namespace

TimeServer::TimeServer(TimeServerConfig config, ServerOutput& output) : config_(config), output_(output) {
    // Models learn the end time as a two-decimal text and send it back; the
    // end is recognised only if both sides hold the same number.
    if (config_.until) config_.until = ParseTime(FormatTime(*config_.until));
}

void TimeServer::connected(ClientId id, std::string_view peer) {
    clients_[id] = Client{std::string(peer), time_, {}, std::nullopt, false, false};
    output_.report("connection " + std::to_string(id) + " from " + std::string(peer));
    send(id, Line(LineKind::Hello, JoinFields({"zorva-server", FormatTime(time_)})));
}

void TimeServer::received(ClientId id, std::string_view line) {
    const auto it = clients_.find(id);
    if (it == clients_.end() || it->second.leaving) return;
    Client& client = it->second;
    const LineMatch match = MatchLineToServer(line);
    switch (match.Kind) {
        case LineKind::None:
            return;
        case LineKind::Name:
            onName(id, client, Trim(match.Fields));
            break;
        case LineKind::Command:
            onCommand(id, match.Fields);
            break;
        default:
            if (!client.account) {
                send(id, Line(LineKind::Unknown, "register with a name first"));
            } else if (match.Kind == LineKind::Continue) {
                onContinue(id, client, match.Fields);
            } else if (match.Kind == LineKind::NewEvent) {
                onNewEvent(id, client, match.Fields);
            } else if (match.Kind == LineKind::ToClient) {
                onToClient(id, client, match.Fields);
            } else if (match.Kind == LineKind::Question) {
                onQuestion(id, client, match.Fields);
            } else if (match.Kind == LineKind::Answer) {
                onAnswer(id, client, match.Fields);
            }
    }
    advance();
}

void TimeServer::lineDropped(ClientId id, std::size_t limit) {
    const auto it = clients_.find(id);
    if (it == clients_.end()) return;
    const std::string who = it->second.name.empty() ? "" : " (" + it->second.name + ")";
    output_.report("connection " + std::to_string(id) + who + ": dropped a line longer than " + std::to_string(limit) +
                   " bytes");
}

void TimeServer::disconnected(ClientId id, std::string_view reason) {
    const auto it = clients_.find(id);
    if (it == clients_.end()) return;
    const Client gone = std::move(it->second);
    clients_.erase(it);

    std::vector<Question> orphaned;
    std::erase_if(questions_, [&](const Question& q) {
        if (q.answerer == id && q.asker != id) orphaned.push_back(q);
        return q.asker == id || q.answerer == id;
    });
    // An asker must never wait for ever for a model that is gone.
    for (const Question& q : orphaned) answer(q.asker, q.number, q.askedInStep, gone.name, {});

    const std::string who = gone.name.empty() ? "" : " (" + gone.name + ")";
    output_.report("disconnect " + std::to_string(id) + who + ": " + std::string(reason));
    if (!gone.account || gone.leaving) return;
    if (!ended_) {
        leftEarly_ = true;
        output_.report("model " + gone.name + " left at " + FormatTime(gone.account->clock()));
    }
    if (registeredCount() == 0) {
        whenEmpty();
    } else {
        advance();
    }
}

bool TimeServer::hasRegistered(ClientId id) const {
    const auto it = clients_.find(id);
    return it != clients_.end() && it->second.account.has_value();
}

void TimeServer::onName(ClientId id, Client& client, std::string_view name) {
    const std::string shown = Sanitize(name.substr(0, kMaxNameLength));
    if (client.account) {
        deliver(id, client,
                {Line(LineKind::Unknown, "already registered as " + client.name), client.account->clock(),
                 Outgoing::Kind::HandedOver});
        return;
    }
    if (name.empty() || name.size() > kMaxNameLength || name == "server" || name.find("!!") != std::string_view::npos ||
        shown != name) {
        send(id, Line(LineKind::Unknown, "the name '" + shown + "' cannot be used"));
        return;
    }
    const bool taken = std::any_of(clients_.begin(), clients_.end(), [&](const auto& entry) {
        return entry.second.account && !entry.second.leaving && entry.second.name == name;
    });
    if (taken) {
        send(id, Line(LineKind::Unknown, "the name " + shown + " is already in use"));
        output_.report("connection " + std::to_string(id) + " refused: the name " + shown + " is already in use");
        client.leaving = true;
        output_.disconnect(id);
        return;
    }
    client.name = std::string(name);
    client.account.emplace(client.greetingTime);
    const int count = registeredCount();
    output_.report("model " + client.name + " registered (connection " + std::to_string(id) + "), " +
                   std::to_string(count) + " of " + std::to_string(config_.models) + " models");
    if (count >= config_.models) started_ = true;
}

void TimeServer::onContinue(ClientId id, Client& client, std::string_view argument) {
    const auto time = ParseTimeFromAnyLocale(argument);
    if (!time) {
        send(id, Line(LineKind::Unknown, "cannot read the time '" + Sanitize(Trim(argument)) + "'"));
        return;
    }
    client.account->ask(*time);
    // Now the model waits: what was kept for it reaches it in that wait and
    // is reported, before any answer to the request.
    releaseHeld(id, client);
    if (ended_) {
        answerAfterEnd(id, client);
    } else {
        stopIfBeyondEnd(id, client);
    }
}

void TimeServer::onNewEvent(ClientId id, Client& client, std::string_view argument) {
    const auto time = ParseTimeFromAnyLocale(argument);
    if (!time) {
        send(id, Line(LineKind::Unknown, "cannot read the time '" + Sanitize(Trim(argument)) + "'"));
        return;
    }
    if (!client.account->reportEvent(*time)) return;
    if (ended_) {
        answerAfterEnd(id, client);
    } else {
        stopIfBeyondEnd(id, client);
    }
}

void TimeServer::stopIfBeyondEnd(ClientId id, Client& client) {
    if (!client.account->waiting()) return;
    const double request = client.account->request();
    if (!config_.until || request < *config_.until) return;
    // A model that already knows the end asks for exactly it and waits there.
    if (client.stopTold && request == *config_.until) return;
    client.stopTold = true;
    client.account->stopped();
    send(id, Line(LineKind::Stop, FormatTime(*config_.until)));
}

void TimeServer::answerAfterEnd(ClientId id, Client& client) {
    if (!client.account->waiting()) return;
    // Nothing else happens after the end, so a model catching up to the end
    // time (its standing-by elements included) needs no one's consent.
    const double request = client.account->request();
    if (request <= time_) {
        client.account->grant(request);
        send(id, Line(LineKind::Continue, FormatTime(request)));
    } else {
        client.account->stopped();
        send(id, Line(LineKind::Stop, FormatTime(time_)));
    }
}

void TimeServer::advance() {
    if (!started_ || ended_) return;
    double earliest = std::numeric_limits<double>::infinity();
    bool allSettled = true;
    for (const auto& [id, client] : clients_) {
        if (!client.account || client.leaving) continue;
        earliest = std::min(earliest, client.account->effectiveTime());
        allSettled = allSettled && client.account->settled();
    }
    if (earliest == std::numeric_limits<double>::infinity()) return;

    if (config_.until && earliest >= *config_.until) {
        if (allSettled) finishAt(*config_.until);
        return;
    }
    if (IsNeverTime(earliest)) {
        if (allSettled && !config_.until) stopAll();
        return;
    }
    time_ = std::max(time_, earliest);
    if (const auto next = nextToRun(earliest)) {
        clients_.at(*next).account->grant(earliest);
        send(*next, Line(LineKind::Continue, FormatTime(earliest)));
    }
}

std::optional<ClientId> TimeServer::nextToRun(double earliest) const {
    // One step at a time: while a model runs a step, its texts and questions
    // may still change what the others do next. And only once every model
    // that may still act at this time has said what it wants, so the order
    // of steps at one time depends on the models, not on the network:
    // between equal requests, the model with the lowest name goes first.
    std::optional<ClientId> next;
    const std::string* nextName = nullptr;
    for (const auto& [id, client] : clients_) {
        if (!client.account || client.leaving) continue;
        const ModelAccount& account = *client.account;
        if (account.running()) return std::nullopt;
        if (account.effectiveTime() > earliest) continue;
        if (!account.settled()) return std::nullopt;
        if (!next || client.name < *nextName) {
            next = id;
            nextName = &client.name;
        }
    }
    return next;
}

void TimeServer::finishAt(double end) {
    ended_ = true;
    time_ = end;
    for (auto& [id, client] : clients_) {
        if (!client.account || client.leaving) continue;
        client.account->grant(end);
        send(id, Line(LineKind::Continue, FormatTime(end)));
    }
    output_.report("end of run at " + FormatTime(end));
}

void TimeServer::stopAll() {
    ended_ = true;
    for (auto& [id, client] : clients_) {
        if (!client.account || client.leaving) continue;
        client.stopTold = true;
        client.account->stopped();
        send(id, Line(LineKind::Stop, FormatTime(time_)));
    }
    output_.report("end of run at " + FormatTime(time_) + ": no model has events left");
}

void TimeServer::whenEmpty() {
    if (config_.until && (ended_ || leftEarly_)) {
        output_.report(ended_ ? "every model has left" : "every model has left before the end");
        output_.finished();
        return;
    }
    if (!started_ && time_ == 0) return;
    time_ = 0;
    started_ = false;
    ended_ = false;
    leftEarly_ = false;
    output_.report("every model has left; time is back at " + FormatTime(time_));
}

int TimeServer::registeredCount() const {
    return static_cast<int>(std::count_if(clients_.begin(), clients_.end(), [](const auto& entry) {
        return entry.second.account && !entry.second.leaving;
    }));
}

void TimeServer::deliver(ClientId id, Client& client, Outgoing line) {
    ModelAccount& account = *client.account;
    if (account.reading() == Reading::Held) {
        account.hold(std::move(line));
        return;
    }
    send(id, line.line);
    account.sent(line);
}

void TimeServer::releaseHeld(ClientId id, Client& client) {
    for (Outgoing& line : client.account->takeHeld()) deliver(id, client, std::move(line));
}

}  // namespace zorva::server
