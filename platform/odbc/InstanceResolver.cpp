#include "platform/odbc/InstanceResolver.h"

#include "platform/Text.h"
#include "platform/odbc/BrowserReply.h"
#include "platform/odbc/DiagnosticFailure.h"
#include "platform/odbc/UdpSocket.h"

#include <array>

namespace flagwright::odbc {

namespace {
// A reply longer than the protocol allows (1024 bytes of text) is rejected, not cut short.
constexpr std::size_t MaxReply = 3 + 1024;

// Waits up to `wait` for datagrams, returning the port from the first reply that names it.
std::optional<int> AwaitPort(UdpSocket& socket, const std::string& instance,
                             std::chrono::milliseconds wait)
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    std::array<unsigned char, MaxReply> buffer{};
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return std::nullopt;
        const UdpSocket::Received received = socket.Receive(buffer, left);
        switch (received.outcome) {
        case UdpSocket::Outcome::Silence:
        case UdpSocket::Outcome::Refused: // nothing listens
            return std::nullopt;
        case UdpSocket::Outcome::Oversize:
            continue;
        case UdpSocket::Outcome::Datagram:
            if (const auto port =
                    PortFromBrowserReply(std::span(buffer.data(), received.size), instance))
                return port;
        }
    }
}
} // namespace

std::optional<int> ResolveInstancePort(const std::string& host, const std::string& instance,
                                       const BrowserQuery& query)
{
    auto socket = UdpSocket::Connect(host, query.port);
    if (!socket)
        return std::nullopt;
    const std::vector<unsigned char> request = BrowserRequest(instance);
    for (int attempt = 0; attempt < query.tries; ++attempt) {
        if (!socket->Send(request))
            return std::nullopt;
        if (const auto port = AwaitPort(*socket, instance, query.waitPerTry))
            return port;
    }
    return std::nullopt;
}

Endpoint ServerEndpoint(const ConnectionSettings& settings)
{
    // SQL Server's names for this machine; the browser and the server listen on loopback too.
    const bool local = SameName(settings.server, "(local)") || settings.server == ".";
    Endpoint endpoint{local ? "127.0.0.1" : settings.server, DefaultServerPort};
    if (settings.port) {
        endpoint.port = *settings.port;
    } else if (!settings.instance.empty()) {
        const auto port = ResolveInstancePort(endpoint.host, settings.instance);
        if (!port)
            throw UnreachableServer();
        endpoint.port = *port;
    }
    return endpoint;
}

} // namespace flagwright::odbc
