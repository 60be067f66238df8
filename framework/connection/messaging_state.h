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
    ModelMessageHandler MessageHandler;
    ModelQuestionHandler QuestionHandler;
    MessagingDisplayHook ShowModelName;
    MessagingDisplayHook ShowServerAddress;
};

MessagingState& TheMessaging();

}  // namespace zorva
