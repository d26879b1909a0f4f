// Any datagram as a browser reply: any local process can answer on UDP 1434 first, so the
// reader must take no port from a reply that does not name one for our instance, and never
// read past the datagram.
#include "platform/odbc/BrowserReply.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const unsigned char> reply(data, size);
    const auto port = flagwright::odbc::PortFromBrowserReply(reply, "emberline2");
    if (!port)
        return 0;
    if (*port < 1 || *port > 65535)
        std::abort();
    // A port is only ever read from the text after the 3-byte header.
    const std::string text(reinterpret_cast<const char*>(data) + 3, size - 3);
    if (text.find(std::to_string(*port)) == std::string::npos)
        std::abort();
    if (flagwright::odbc::PortFromBrowserReply(reply, "EMBERLINE2") != port)
        std::abort();
    return 0;
}
