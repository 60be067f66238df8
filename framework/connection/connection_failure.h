#pragma once
/// \file
/// How the link to the message server failed.

#include <string>

namespace zorva {

/// How the link to the server failed, kept for the end of the program: a
/// connection that could not be made, or one lost while the run still went on.
struct TConnectionFailure {
    enum Kind { None, NotConnected, Lost };
    Kind What = None;
    std::string Address;  // as connected to, with the port: "127.0.0.1:52623"
    std::string Reason;   // the socket's own words: "Connection refused"
    double LostAt = 0.0;  // the clock when the connection was lost
};

}  // namespace zorva
