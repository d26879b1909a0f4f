#include "platform/odbc/LinkSockets.h"

namespace flagwright::odbc {

// Windows gives a process no way to list its own sockets, so a stuck call's link cannot be
// found here: the watchdog can only cancel, and the driver's own time-outs end the rest.
std::vector<LinkSocket> SocketsTo(const Endpoint&) { return {}; }

void BreakSocket(const LinkSocket&) {}

} // namespace flagwright::odbc
