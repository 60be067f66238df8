#include "connection/connection_watch.h"

#include "connection/server_connection.h"

namespace zorva {

TLinkPhase LinkPhase() {
    const TModelSocket* socket = TheServerConnection().Socket();
    if (!socket) return TLinkPhase::None;
    switch (socket->State()) {
        case TModelSocket::Link::Idle:
            return TLinkPhase::None;
        case TModelSocket::Link::Connecting:
            return TLinkPhase::Connecting;
        case TModelSocket::Link::Connected:
            return socket->Greeted() ? TLinkPhase::Connected : TLinkPhase::Connecting;
        case TModelSocket::Link::Closed:
            break;
    }
    return TLinkPhase::Closed;
}

bool WaitingForServer() {
    return TheServerConnection().Waiting();
}

void SetConnectFailedHandler(ConnectFailedHandler handler) {
    TheServerConnection().SetConnectFailedHandler(std::move(handler));
}

}  // namespace zorva
