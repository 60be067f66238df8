#include "wire/tcp_keepalive.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

namespace zorva {

bool EnableTcpKeepAlive(int socketDescriptor) {
    const auto set = [socketDescriptor](int level, int option, int value) {
        return ::setsockopt(socketDescriptor, level, option, &value, sizeof value) == 0;
    };
    return set(SOL_SOCKET, SO_KEEPALIVE, 1) && set(IPPROTO_TCP, TCP_KEEPIDLE, kKeepAliveIdleSeconds) &&
           set(IPPROTO_TCP, TCP_KEEPINTVL, kKeepAliveIntervalSeconds) &&
           set(IPPROTO_TCP, TCP_KEEPCNT, kKeepAliveProbes);
}

}  // namespace zorva
