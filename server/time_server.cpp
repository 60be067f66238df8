#include "time_server.h"

#include "wire/line_kinds.h"
#include "wire/number_text.h"
#include "wire/protocol.h"

#include <algorithm>
#include <cassert>
#include <limits>
#include <tuple>
#include <utility>

namespace zorva::server {

namespace {

constexpr std::size_t kMaxNameLength = 200;

}  // namespace

TimeServer::TimeServer(TimeServerConfig config, ServerOutput& output) : config_(config), output_(output) {
    // Models learn the end time as a two-decimal text and send it back; the
    // end is recognised only if both sides hold the same number.
    if (config_.Until) config_.Until = ParseTime(FormatTime(*config_.Until));
}

void TimeServer::Connected(ClientId id, std::string_view peer) {
    clients_[id] = Client{std::string(peer), time_, {}, std::nullopt, false, false};
    output_.Report("connection " + std::to_string(id) + " from " + std::string(peer));
    Send(id, Line(LineKind::Hello, JoinFields({"zorva-server", FormatTime(time_)})));
}

void TimeServer::Received(ClientId id, std::string_view line) {
    const auto it = clients_.find(id);
    if (it == clients_.end() || it->second.Leaving) return;
    Client& client = it->second;
    Touch(id);
    const LineMatch match = MatchLineToServer(line);
    switch (match.Kind) {
        case LineKind::None:
            return;
        case LineKind::Name:
            OnName(id, client, Trim(match.Fields));
            break;
        case LineKind::Command:
            OnCommand(id, match.Fields);
            break;
        default:
            if (!client.Account) {
                Send(id, Line(LineKind::Unknown, "register with a name first"));
                break;
            }
            if (match.Kind == LineKind::Continue || match.Kind == LineKind::Ahead || match.Kind == LineKind::Question)
                ++requests_;
            if (match.Kind == LineKind::Continue) {
                OnContinue(id, client, match.Fields);
            } else if (match.Kind == LineKind::NewEvent) {
                OnNewEvent(id, client, match.Fields);
            } else if (match.Kind == LineKind::ToClient) {
                OnToClient(id, client, match.Fields);
            } else if (match.Kind == LineKind::Question) {
                OnQuestion(id, client, match.Fields);
            } else if (match.Kind == LineKind::Answer) {
                OnAnswer(id, client, match.Fields);
            } else if (match.Kind == LineKind::Ahead) {
                OnAhead(id, client, match.Fields);
            } else if (match.Kind == LineKind::Send) {
                OnSend(id, client, match.Fields);
            }
    }
    Advance();
}

void TimeServer::LineDropped(ClientId id, std::size_t limit) {
    const auto it = clients_.find(id);
    if (it == clients_.end()) return;
    const std::string who = it->second.Name.empty() ? "" : " (" + it->second.Name + ")";
    output_.Report("connection " + std::to_string(id) + who + ": dropped a line longer than " + std::to_string(limit) +
                   " bytes");
}

void TimeServer::Disconnected(ClientId id, std::string_view reason) {
    const auto it = clients_.find(id);
    if (it == clients_.end()) return;
    const Client gone = std::move(it->second);
    clients_.erase(it);
    index_.Remove(id);
    if (gone.Account && !gone.Leaving) byName_.erase(gone.Name);

    std::vector<Question> orphaned;
    std::erase_if(questions_, [&](const Question& q) {
        if (q.Answerer == id && q.Asker != id) orphaned.push_back(q);
        return q.Asker == id || q.Answerer == id;
    });
    // An asker must never wait for ever for a model that is gone.
    for (const Question& q : orphaned) Answer(q.Asker, q.Number, q.AskedInStep, gone.Name, {});

    const std::string who = gone.Name.empty() ? "" : " (" + gone.Name + ")";
    output_.Report("disconnect " + std::to_string(id) + who + ": " + std::string(reason));
    if (!gone.Account || gone.Leaving) return;
    if (!ended_) {
        leftEarly_ = true;
        output_.Report("model " + gone.Name + " left at " + FormatTime(gone.Account->Clock()));
    }
    if (RegisteredCount() == 0) {
        WhenEmpty();
    } else {
        Advance();
    }
}

bool TimeServer::HasRegistered(ClientId id) const {
    const auto it = clients_.find(id);
    return it != clients_.end() && it->second.Account.has_value();
}

void TimeServer::OnName(ClientId id, Client& client, std::string_view name) {
    const std::string shown = Sanitize(name.substr(0, kMaxNameLength));
    if (client.Account) {
        Deliver(id, client,
                {Line(LineKind::Unknown, "already registered as " + client.Name), client.Account->Clock(),
                 Outgoing::Kind::HandedOver});
        return;
    }
    if (name.empty() || name.size() > kMaxNameLength || name == "server" ||
        name.find(kFieldSeparator) != std::string_view::npos || shown != name) {
        Send(id, Line(LineKind::Unknown, "the name '" + shown + "' cannot be used"));
        return;
    }
    if (byName_.contains(name)) {
        Send(id, Line(LineKind::Unknown, "the name " + shown + " is already in use"));
        output_.Report("connection " + std::to_string(id) + " refused: the name " + shown + " is already in use");
        client.Leaving = true;
        output_.Disconnect(id);
        return;
    }
    client.Name = std::string(name);
    client.Account.emplace(client.GreetingTime);
    byName_.emplace(client.Name, id);
    const int count = RegisteredCount();
    output_.Report("model " + client.Name + " registered (connection " + std::to_string(id) + "), " +
                   std::to_string(count) + " of " + std::to_string(config_.Models) + " models");
    if (count >= config_.Models) started_ = true;
}

void TimeServer::OnContinue(ClientId id, Client& client, std::string_view argument) {
    const auto time = ParseTimeFromAnyLocale(argument);
    if (!time) {
        Refuse(id, client, "cannot read the time '" + Sanitize(Trim(argument)) + "'");
        return;
    }
    if (client.Account->Ahead()) {
        Refuse(id, client, "a model with lookahead asks with " + std::string(Keyword(LineKind::Ahead)));
        return;
    }
    client.Account->Ask(*time);
    // Now the model waits: what was kept for it reaches it in that wait and
    // is reported, before any answer to the request.
    ReleaseHeld(id, client);
    if (ended_) {
        AnswerAfterEnd(id, client);
    } else {
        StopIfBeyondEnd(id, client);
    }
}

void TimeServer::OnNewEvent(ClientId id, Client& client, std::string_view argument) {
    const auto time = ParseTimeFromAnyLocale(argument);
    if (!time) {
        Refuse(id, client, "cannot read the time '" + Sanitize(Trim(argument)) + "'");
        return;
    }
    if (client.Account->Ahead() || !client.Account->ReportEvent(*time)) return;
    if (ended_) {
        AnswerAfterEnd(id, client);
    } else {
        StopIfBeyondEnd(id, client);
    }
}

std::string TimeServer::AgreeLookahead(Client& client, std::string_view question) {
    ModelAccount& account = *client.Account;
    const auto lookahead = ParseTimeFromAnyLocale(question.substr(kLookaheadQuestion.size()));
    // Only once, before the model's first request: its accounting changes
    // with it.
    if (!lookahead || !(*lookahead > 0) || IsNeverTime(*lookahead) || account.Ahead() || account.Waiting() ||
        account.Running())
        return {};
    account.DeclareLookahead(*lookahead);
    output_.Report("model " + client.Name + " runs ahead with a lookahead of " + FormatTime(*lookahead));
    return std::string(kLookaheadQuestion) + " " + FormatTime(*lookahead);
}

void TimeServer::OnAhead(ClientId id, Client& client, std::string_view argument) {
    const auto [timeField, countField] = SplitFields<2>(argument);
    const auto time = ParseTimeFromAnyLocale(timeField);
    const auto handled = ParseInteger(Trim(countField));
    if (!client.Account->Ahead() || !time || !handled || *handled < 0) {
        Refuse(id, client, "cannot read the request '" + Sanitize(Trim(argument)) + "'");
        return;
    }
    client.Account->AskAhead(*time, static_cast<std::uint64_t>(*handled));
    if (ended_) {
        AnswerAfterEnd(id, client);
    } else {
        StopIfBeyondEnd(id, client);
    }
}

void TimeServer::StopIfBeyondEnd(ClientId id, Client& client) {
    if (!client.Account->Waiting()) return;
    const double request = client.Account->Request();
    if (!config_.Until || request < *config_.Until) return;
    // A model that already knows the end asks for exactly it and waits there.
    if (client.StopTold && request == *config_.Until) return;
    client.StopTold = true;
    client.Account->Stopped();
    Send(id, Line(LineKind::Stop, FormatTime(*config_.Until)));
}

void TimeServer::AnswerAfterEnd(ClientId id, Client& client) {
    if (!client.Account->Waiting()) return;
    // Nothing else happens after the end, so a model catching up to the end
    // time (its standing-by elements included) needs no one's consent.
    const double request = client.Account->Request();
    if (request <= time_) {
        client.Account->Grant(request);
        Send(id, Line(LineKind::Continue, FormatTime(request)));
    } else {
        client.Account->Stopped();
        Send(id, Line(LineKind::Stop, FormatTime(time_)));
    }
}

void TimeServer::Advance() {
    Reindex();
    if (!started_ || ended_) return;
    // The least output time over all models, its own included: what a model
    // sends may come back to it through another, or from itself, no earlier
    // than that. And the least of the lookahead models', which bounds what a
    // model without lookahead may be granted.
    const double earliest = index_.Earliest();
    if (earliest == std::numeric_limits<double>::infinity()) return;

    if (config_.Until && earliest >= *config_.Until) {
        if (index_.AllSettled()) FinishAt(*config_.Until);
        return;
    }
    if (IsNeverTime(earliest)) {
        if (index_.AllSettled() && !config_.Until) StopAll();
        return;
    }
    time_ = std::max(time_, earliest);
    GrantHorizons(index_.LeastOutput());
    if (const auto next = NextToRun(index_.LeastAheadOutput())) {
        ModelAccount& account = *clients_.at(*next).Account;
        const double request = account.Request();
        account.Grant(request);
        Reindex(*next);
        Send(*next, Line(LineKind::Continue, FormatTime(request)));
    }
}

void TimeServer::GrantHorizons(double output) {
    // Past the end nothing may run before the model has learnt of it.
    const double bound = config_.Until ? std::min(output, *config_.Until) : output;
    for (const ClientId id : index_.WaitingAheadBefore(bound)) {
        ModelAccount& account = *clients_.at(id).Account;
        // Nor before an event that a line it has not yet handled may create.
        const double horizon = std::min(bound, account.OwnBound());
        if (!(horizon > account.Request())) continue;
        account.GrantHorizon();
        Reindex(id);
        Send(id, Line(LineKind::Horizon, FormatTime(horizon)));
    }
}

std::optional<ClientId> TimeServer::NextToRun(double aheadOutput) const {
    // One step at a time among the models without lookahead: while one runs
    // a step, its texts and questions may still change what the others do
    // next. And only once every such model that may still act at the least
    // time has said what it wants, so the order of steps at one time depends
    // on the models, not on the network: between equal requests, the model
    // with the lowest name goes first. A lookahead model lets it run up to
    // its output time.
    const auto first = index_.FirstExact();
    if (!first || index_.ExactRunning()) return std::nullopt;
    // The end time is granted to all at once (FinishAt), never to one.
    if (first->Effective > aheadOutput || (config_.Until && first->Effective >= *config_.Until)) return std::nullopt;
    // Unsettled models come first among those at the least time.
    if (!first->Settled) return std::nullopt;
    return first->Id;
}

void TimeServer::Reindex() {
    for (const ClientId id : std::exchange(changed_, {})) Reindex(id);
    CheckIndex();
}

void TimeServer::Reindex(ClientId id) {
    const Client* client = Registered(id);
    if (!client) {
        index_.Remove(id);
        return;
    }
    const ModelAccount& account = *client->Account;
    index_.Put(id, {client->Name, account.EffectiveTime(), account.OutputTime(), account.Request(), account.Ahead(),
                    account.Settled(), account.Running(), account.Waiting()});
}

void TimeServer::CheckIndex() const {
#ifndef NDEBUG
    // Every change of an account must have been touched: a stale entry
    // would be a wrong grant, so test builds compare with a full walk.
    double earliest = std::numeric_limits<double>::infinity();
    double output = earliest;
    double aheadOutput = earliest;
    bool allSettled = true;
    bool exactRunning = false;
    std::optional<std::tuple<double, bool, std::string_view, ClientId>> firstExact;
    for (const auto& [id, client] : clients_) {
        if (!client.Account || client.Leaving) continue;
        const ModelAccount& account = *client.Account;
        earliest = std::min(earliest, account.EffectiveTime());
        output = std::min(output, account.OutputTime());
        if (account.Ahead()) aheadOutput = std::min(aheadOutput, account.OutputTime());
        allSettled = allSettled && account.Settled();
        exactRunning = exactRunning || (!account.Ahead() && account.Running());
        const auto key = std::make_tuple(account.EffectiveTime(), account.Settled(), std::string_view(client.Name), id);
        if (!account.Ahead() && (!firstExact || key < *firstExact)) firstExact = key;
    }
    const auto indexed = index_.FirstExact();
    assert(firstExact.has_value() == indexed.has_value() &&
           (!indexed || std::get<ClientId>(*firstExact) == indexed->Id));
    assert(earliest == index_.Earliest() && output == index_.LeastOutput() &&
           aheadOutput == index_.LeastAheadOutput() && allSettled == index_.AllSettled() &&
           exactRunning == index_.ExactRunning());
#endif
}

void TimeServer::FinishAt(double end) {
    ended_ = true;
    time_ = end;
    for (auto& [id, client] : clients_) {
        if (!client.Account || client.Leaving) continue;
        client.Account->Grant(end);
        Touch(id);
        Send(id, Line(LineKind::Continue, FormatTime(end)));
    }
    output_.Report("end of run at " + FormatTime(end));
}

void TimeServer::StopAll() {
    ended_ = true;
    for (auto& [id, client] : clients_) {
        if (!client.Account || client.Leaving) continue;
        client.StopTold = true;
        client.Account->Stopped();
        Touch(id);
        Send(id, Line(LineKind::Stop, FormatTime(time_)));
    }
    output_.Report("end of run at " + FormatTime(time_) + ": no model has events left");
}

void TimeServer::WhenEmpty() {
    if (config_.Until && (ended_ || leftEarly_)) {
        output_.Report(ended_ ? "every model has left" : "every model has left before the end");
        output_.Report(std::to_string(requests_) + " requests waited for an answer");
        output_.Finished();
        return;
    }
    if (!started_ && time_ == 0) return;
    time_ = 0;
    started_ = false;
    ended_ = false;
    leftEarly_ = false;
    output_.Report("every model has left; time is back at " + FormatTime(time_));
}

int TimeServer::RegisteredCount() const {
    return static_cast<int>(std::count_if(clients_.begin(), clients_.end(), [](const auto& entry) {
        return entry.second.Account && !entry.second.Leaving;
    }));
}

void TimeServer::Deliver(ClientId id, Client& client, Outgoing line) {
    Touch(id);
    ModelAccount& account = *client.Account;
    if (account.HowItReads() == Reading::Held) {
        account.Hold(std::move(line));
        return;
    }
    Send(id, line.Line);
    account.Sent(line);
}

void TimeServer::ReleaseHeld(ClientId id, Client& client) {
    for (Outgoing& line : client.Account->TakeHeld()) Deliver(id, client, std::move(line));
}

}  // namespace zorva::server
