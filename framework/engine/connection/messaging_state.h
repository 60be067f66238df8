#pragma once
// The messaging state shared by the model-facing operations and the handling
// of the server's lines.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/connection/messaging.h"

namespace zorva {

struct MessagingState {
    std::string ModelName = "ZorvaModel";
    std::vector<TQuestion> QuestionList;
    std::vector<TReply> ReplyList;
    std::int32_t QuestionCounter = 0;
    bool NoUnreadReply = true;
    std::int32_t AnsweringNumber = 0;
    ModelMessageHandler messageHandler;
    ModelQuestionHandler questionHandler;
    MessagingDisplayHook showModelName;
    MessagingDisplayHook showServerAddress;
};

MessagingState& TheMessaging();

}  // namespace zorva
