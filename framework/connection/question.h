#pragma once
/// \file
/// The questions and answers that models exchange through the server.

#include <cstdint>
#include <string>

namespace zorva {

/// A question: one this model asked (Name is the model asked) or one it
/// received (Name is the asking model).
class TQuestion {
public:
    std::int32_t Number = 0;
    std::string Text;
    std::string Name;
};

/// An answer to a question this model asked.
class TReply {
public:
    std::int32_t Number = 0;  // of the question it answers
    std::string Name;
    std::string Text;
};

}  // namespace zorva
