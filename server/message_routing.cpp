// The part of TimeServer that carries texts, questions and answers between
// models and answers what is addressed to the server itself.
#include "time_server.h"

#include "protocol.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace zorva::server {

namespace {

// Each model may keep this many questions open; beyond it a question is
// answered at once, so a flood cannot grow the server's memory.
constexpr std::size_t kMaxOpenQuestions = 1024;

// Splits "a!!b!!c" into at most `count` fields; the last one keeps any
// further "!!". Missing fields stay empty.
template <std::size_t count>
std::array<std::string_view, count> fields(std::string_view text) {
  std::array<std::string_view, count> result{};
  for (std::size_t i = 0; i + 1 < count; ++i) {
    const auto separator = text.find("!!");
    if (separator == std::string_view::npos) {
      result[i] = text;
      return result;
    }
    result[i] = text.substr(0, separator);
    text.remove_prefix(separator + 2);
  }
  result[count - 1] = text;
  return result;
}

std::string lowered(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return result;
}

}  // namespace

void TimeServer::onToClient(ClientId id, Client& client, std::string_view argument) {
  const auto [targetField, text] = fields<2>(argument);
  const std::string_view targetName = trim(targetField);
  if (targetName == "server") return;
  const Target target = findTarget(targetName);
  if (!target.id) {
    send(id, "$$unknown:" + target.problem);
    return;
  }
  Client* receiver = registered(*target.id);
  const double stamp = client.clock->clock();
  receiver->clock->textArrived(stamp);
  send(*target.id, "$$from:" + formatTime(stamp) + "!!" + client.name + "!!" + sanitize(text));
}

void TimeServer::onQuestion(ClientId id, Client& client, std::string_view argument) {
  const auto [numberField, targetField, text] = fields<3>(argument);
  const std::string number = sanitize(trim(numberField));
  std::string_view targetName = trim(targetField);
  if (targetName.empty()) targetName = "server";
  const std::string answerHead = "$$!" + number + "!!";
  if (targetName == "server") {
    send(id, answerHead + "server!!" + serverAnswer(text));
    return;
  }
  const Target target = findTarget(targetName);
  const auto open = std::count_if(questions_.begin(), questions_.end(),
                                  [id](const Question& q) { return q.asker == id; });
  if (!target.id || static_cast<std::size_t>(open) >= kMaxOpenQuestions) {
    send(id, answerHead + sanitize(targetName) + "!!");
    return;
  }
  questions_.push_back({id, number, *target.id});
  client.clock->questionOpened();
  send(*target.id, "$$?" + number + "!!" + client.name + "!!" + sanitize(text));
}

void TimeServer::onAnswer(ClientId id, Client& client, std::string_view argument) {
  const auto [numberField, askerField, text] = fields<3>(argument);
  const std::string_view number = trim(numberField);
  const std::string_view askerName = trim(askerField);
  const auto matches = [&](bool exact) {
    return [&, exact](const Question& q) {
      if (q.answerer != id || q.number != number) return false;
      const Client* asker = registered(q.asker);
      return asker && (exact ? asker->name == askerName
                             : !askerName.empty() && asker->name.ends_with(askerName));
    };
  };
  auto question = std::find_if(questions_.begin(), questions_.end(), matches(true));
  if (question == questions_.end())
    question = std::find_if(questions_.begin(), questions_.end(), matches(false));
  if (question == questions_.end()) return;
  const ClientId askerId = question->asker;
  questions_.erase(question);
  registered(askerId)->clock->questionClosed();
  send(askerId, "$$!" + std::string(number) + "!!" + client.name + "!!" + sanitize(text));
}

void TimeServer::onCommand(ClientId id, std::string_view command) {
  const std::string word = lowered(trim(command.substr(0, command.find(':'))));
  if (word == "time") send(id, "$$time:" + formatTime(time_));
  if (word == "clients") send(id, "$$clients:" + modelNames());
}

void TimeServer::answerEmpty(const Question& question, const std::string& answererName) {
  Client* asker = registered(question.asker);
  if (!asker) return;
  asker->clock->questionClosed();
  send(question.asker, "$$!" + question.number + "!!" + answererName + "!!");
}

TimeServer::Target TimeServer::findTarget(std::string_view name) const {
  if (name.empty()) return {std::nullopt, "no target given"};
  std::vector<ClientId> endings;
  for (const auto& [id, client] : clients_) {
    if (!client.clock || client.leaving) continue;
    if (client.name == name) return {id, {}};
    if (client.name.ends_with(name)) endings.push_back(id);
  }
  const std::string shown = sanitize(name.substr(0, 200));
  if (endings.size() == 1) return {endings.front(), {}};
  if (endings.empty()) return {std::nullopt, "no model named " + shown};
  return {std::nullopt, shown + " names more than one model"};
}

std::string TimeServer::serverAnswer(std::string_view question) const {
  const std::string asked = lowered(trim(question));
  if (asked == "time") return formatTime(time_);
  if (asked == "clients") return modelNames();
  return {};
}

std::string TimeServer::modelNames() const {
  std::string names;
  for (const auto& [id, client] : clients_) {
    if (!client.clock || client.leaving) continue;
    if (!names.empty()) names += ", ";
    names += client.name;
  }
  return names;
}

TimeServer::Client* TimeServer::registered(ClientId id) {
  const auto it = clients_.find(id);
  return it != clients_.end() && it->second.clock && !it->second.leaving ? &it->second : nullptr;
}

}  // namespace zorva::server
