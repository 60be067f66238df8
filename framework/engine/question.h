#pragma once
#include <cstdint>
#include <string>

namespace zorva {

// A question: one this model asked (Name is the model asked) or one it
// received (Name is the asking model).
class TQuestion {
public:
    std::int32_t Number = 0;
    std::string Text;
    std::string Name;
};

}  // namespace zorva
