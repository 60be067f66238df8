#pragma once
// The messaging state shared by the model-facing operations and the handling
// of the server's lines.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "connection/messaging.h"

namespace zorva {

struct MessagingState {
    std::string ModelName = "ZorvaModel";
    std::vector<TQuestion> QuestionList;
    std::vector<TReply> ReplyList;
    std::int32_t QuestionCounter = 0;
    bool NoUnreadReply = true;
    std::int32_t AnsweringNumber = 0;
    // The last incoming text and question, waiting for the model's handlers.
    std::string IncomingMessage;
    std::optional<TQuestion> PendingQuestion;
    // Lines handed to the handlers since the connection was made; a model
    // running ahead counts them in its requests.
    std::uint64_t HandedOver = 0;
    // The lookahead the model promises (0: none), whether the server agreed,
    // and the horizon it granted last.
    double Lookahead = 0.0;
    bool RunsAhead = false;
    double Horizon = -1.0;
    ModelMessageHandler MessageHandler;
    ModelQuestionHandler QuestionHandler;
    MessagingDisplayHook ShowModelName;
    MessagingDisplayHook ShowServerAddress;
};

MessagingState& TheMessaging();

}  // namespace zorva
