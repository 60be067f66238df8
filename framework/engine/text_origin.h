#pragma once
/// \file
/// Where a text from another model came from, for ordering what it creates.

#include <cstdint>
#include <string>

namespace zorva {

/// Where a text came from, for the notices its handling creates: the time it
/// was sent at (two decimals, as it travels) and whether its sender's steps
/// at an equal time come before this model's (-1) or after (1): the order in
/// which the server takes the steps of different models at one time.
struct TextOrigin {
    double Stamp;
    std::int8_t Rank;
};

/// A text being handed to the model, with the names that an error about it
/// gives.
struct TextDelivery {
    TextOrigin Origin;
    std::string Sender;
    std::string Receiver;
};

}  // namespace zorva
