#pragma once
// Both ends of a model's connection notice a peer that vanished without
// closing (a machine switched off, a cable pulled) within about half a
// minute, instead of waiting for it for ever.

namespace zorva {

inline constexpr int kKeepAliveIdleSeconds = 15;
inline constexpr int kKeepAliveIntervalSeconds = 5;
inline constexpr int kKeepAliveProbes = 3;

// Switches TCP keepalive on for the socket with these timings; false when
// the system refused.
bool EnableTcpKeepAlive(int socketDescriptor);

}  // namespace zorva
