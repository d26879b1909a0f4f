#pragma once

#include "platform/odbc/InstanceResolver.h"

#include <vector>

namespace flagwright::odbc {

// One TCP socket of this process, known by its descriptor and by what the descriptor
// pointed at when it was found, so a reused number is never taken for it.
struct LinkSocket {
    long long descriptor = -1;
    unsigned long long identity = 0;
    friend bool operator==(const LinkSocket&, const LinkSocket&) = default;
};

// This process's TCP sockets connected to the endpoint. Where the system does not let a
// process list its own sockets, none.
std::vector<LinkSocket> SocketsTo(const Endpoint& endpoint);

// Shuts the socket down both ways if the descriptor is still that socket: every wait on it
// ends at once, while the descriptor stays its owner's to close.
void BreakSocket(const LinkSocket& socket);

} // namespace flagwright::odbc
