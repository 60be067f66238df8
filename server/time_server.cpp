#include "time_server.h"

#include "protocol.h"

#include <algorithm>
#include <limits>

namespace zorva::server {

namespace {

constexpr std::size_t kMaxNameLength = 200;

bool takePrefix(std::string_view& text, std::string_view prefix) {
  if (!text.starts_with(prefix)) return false;
  text.remove_prefix(prefix.size());
  return true;
}

}  // namespace

TimeServer::TimeServer(TimeServerConfig config, ServerOutput& output)
    : config_(config), output_(output) {
  // Models learn the end time as a two-decimal text and send it back; the
  // end is recognised only if both sides hold the same number.
  if (config_.until) config_.until = parseTime(formatTime(*config_.until));
}

void TimeServer::connected(ClientId id, std::string_view peer) {
  clients_[id] = Client{std::string(peer), time_, {}, std::nullopt, false, false};
  output_.report("connection " + std::to_string(id) + " from " + std::string(peer));
  send(id, "$$hello:zorva-server!!" + formatTime(time_));
}

void TimeServer::received(ClientId id, std::string_view line) {
  const auto it = clients_.find(id);
  if (it == clients_.end() || it->second.leaving) return;
  Client& client = it->second;
  std::string_view text = trim(line);
  if (!text.starts_with("$$")) return;

  if (takePrefix(text, "$$name:")) {
    onName(id, client, trim(text));
  } else if (text.starts_with("$$continue:") || text.starts_with("$$newevent:") ||
             text.starts_with("$$toclient:") || text.starts_with("$$?") ||
             text.starts_with("$$!")) {
    if (!client.clock) {
      send(id, "$$unknown:register with a name first");
    } else if (takePrefix(text, "$$continue:")) {
      onContinue(id, client, text);
    } else if (takePrefix(text, "$$newevent:")) {
      onNewEvent(id, client, text);
    } else if (takePrefix(text, "$$toclient:")) {
      onToClient(id, client, text);
    } else if (takePrefix(text, "$$?")) {
      onQuestion(id, client, text);
    } else if (takePrefix(text, "$$!")) {
      onAnswer(id, client, text);
    }
  } else {
    onCommand(id, text.substr(2));
  }
  advance();
}

void TimeServer::lineDropped(ClientId id, std::size_t limit) {
  const auto it = clients_.find(id);
  if (it == clients_.end()) return;
  const std::string who = it->second.name.empty() ? "" : " (" + it->second.name + ")";
  output_.report("connection " + std::to_string(id) + who + ": dropped a line longer than " +
                 std::to_string(limit) + " bytes");
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
  for (const Question& q : orphaned) answerEmpty(q, gone.name);

  const std::string who = gone.name.empty() ? "" : " (" + gone.name + ")";
  output_.report("disconnect " + std::to_string(id) + who + ": " + std::string(reason));
  if (!gone.clock || gone.leaving) return;
  if (registeredCount() == 0) {
    whenEmpty();
  } else {
    advance();
  }
}

void TimeServer::onName(ClientId id, Client& client, std::string_view name) {
  const std::string shown = sanitize(name.substr(0, kMaxNameLength));
  if (client.clock) {
    send(id, "$$unknown:already registered as " + client.name);
    return;
  }
  if (name.empty() || name.size() > kMaxNameLength || name == "server" ||
      name.find("!!") != std::string_view::npos || shown != name) {
    send(id, "$$unknown:the name '" + shown + "' cannot be used");
    return;
  }
  const bool taken = std::any_of(clients_.begin(), clients_.end(), [&](const auto& entry) {
    return entry.second.clock && !entry.second.leaving && entry.second.name == name;
  });
  if (taken) {
    send(id, "$$unknown:the name " + shown + " is already in use");
    output_.report("connection " + std::to_string(id) + " refused: the name " + shown +
                   " is already in use");
    client.leaving = true;
    output_.disconnect(id);
    return;
  }
  client.name = std::string(name);
  client.clock.emplace(client.greetingTime);
  const int count = registeredCount();
  output_.report("model " + client.name + " registered (connection " + std::to_string(id) +
                 "), " + std::to_string(count) + " of " + std::to_string(config_.models) +
                 " models");
  if (count >= config_.models) started_ = true;
}

void TimeServer::onContinue(ClientId id, Client& client, std::string_view argument) {
  const auto time = parseTime(argument);
  if (!time) {
    send(id, "$$unknown:cannot read the time '" + sanitize(trim(argument)) + "'");
    return;
  }
  client.clock->ask(*time);
  if (ended_) {
    answerAfterEnd(id, client);
  } else {
    stopIfBeyondEnd(id, client);
  }
}

void TimeServer::onNewEvent(ClientId id, Client& client, std::string_view argument) {
  const auto time = parseTime(argument);
  if (!time) {
    send(id, "$$unknown:cannot read the time '" + sanitize(trim(argument)) + "'");
    return;
  }
  if (!client.clock->reportEvent(*time)) return;
  if (ended_) {
    answerAfterEnd(id, client);
  } else {
    stopIfBeyondEnd(id, client);
  }
}

void TimeServer::stopIfBeyondEnd(ClientId id, Client& client) {
  const double request = client.clock->request();
  if (!config_.until || request < *config_.until) return;
  // A model that already knows the end asks for exactly it and waits there.
  if (client.stopTold && request == *config_.until) return;
  client.stopTold = true;
  client.clock->stopped();
  send(id, "$$stop:" + formatTime(*config_.until));
}

void TimeServer::answerAfterEnd(ClientId id, Client& client) {
  // Nothing else happens after the end, so a model catching up to the end
  // time (its standing-by elements included) needs no one's consent.
  const double request = client.clock->request();
  if (request <= time_) {
    client.clock->grant(request);
    send(id, "$$continue:" + formatTime(request));
  } else {
    client.clock->stopped();
    send(id, "$$stop:" + formatTime(time_));
  }
}

void TimeServer::advance() {
  if (!started_ || ended_) return;
  double earliest = std::numeric_limits<double>::infinity();
  bool allSettled = true;
  for (const auto& [id, client] : clients_) {
    if (!client.clock || client.leaving) continue;
    earliest = std::min(earliest, client.clock->effectiveTime());
    allSettled = allSettled && client.clock->settled();
  }
  if (earliest == std::numeric_limits<double>::infinity()) return;

  if (config_.until && earliest >= *config_.until) {
    if (allSettled) finishAt(*config_.until);
    return;
  }
  if (isNeverTime(earliest)) {
    if (allSettled && !config_.until) stopAll();
    return;
  }
  time_ = std::max(time_, earliest);
  for (auto& [id, client] : clients_) {
    if (!client.clock || client.leaving || !client.clock->readyFor(earliest)) continue;
    client.clock->grant(earliest);
    send(id, "$$continue:" + formatTime(earliest));
  }
}

void TimeServer::finishAt(double end) {
  ended_ = true;
  time_ = end;
  for (auto& [id, client] : clients_) {
    if (!client.clock || client.leaving) continue;
    client.clock->grant(end);
    send(id, "$$continue:" + formatTime(end));
  }
  output_.report("end of run at " + formatTime(end));
}

void TimeServer::stopAll() {
  ended_ = true;
  for (auto& [id, client] : clients_) {
    if (!client.clock || client.leaving) continue;
    client.stopTold = true;
    client.clock->stopped();
    send(id, "$$stop:" + formatTime(time_));
  }
  output_.report("end of run at " + formatTime(time_) + ": no model has events left");
}

void TimeServer::whenEmpty() {
  if (ended_ && config_.until) {
    output_.report("every model has left");
    output_.finished();
    return;
  }
  if (!started_ && time_ == 0) return;
  time_ = 0;
  started_ = false;
  ended_ = false;
  output_.report("every model has left; time is back at " + formatTime(time_));
}

int TimeServer::registeredCount() const {
  return static_cast<int>(std::count_if(clients_.begin(), clients_.end(), [](const auto& entry) {
    return entry.second.clock && !entry.second.leaving;
  }));
}

}  // namespace zorva::server
