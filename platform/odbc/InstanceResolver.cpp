#include "InstanceResolver.h"

#include "BrowserReply.h"
#include "DiagnosticFailure.h"
#include "Text.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <memory>
#include <utility>

namespace flagwright::odbc {

namespace {
// A reply longer than the protocol allows (1024 bytes of text) is rejected, not cut short.
constexpr std::size_t MaxReply = 3 + 1024;

class Socket {
public:
    explicit Socket(int fd) : fd_(fd) {}
    ~Socket()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Socket(Socket&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    Socket& operator=(Socket&&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

struct AddressInfoDeleter {
    void operator()(addrinfo* info) const noexcept { freeaddrinfo(info); }
};

// A UDP socket connected to the browser, so the kernel reports an unreachable port at once
// instead of letting every wait run out.
std::optional<Socket> ConnectedSocket(const std::string& host, int port)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0)
        return std::nullopt;
    const std::unique_ptr<addrinfo, AddressInfoDeleter> info(found);
    Socket socket(::socket(info->ai_family, info->ai_socktype | SOCK_CLOEXEC, 0));
    if (socket.get() < 0 || ::connect(socket.get(), info->ai_addr, info->ai_addrlen) != 0)
        return std::nullopt;
    return socket;
}

// Waits up to `wait` for datagrams, returning the port from the first reply that names it.
std::optional<int> AwaitPort(int fd, const std::string& instance, std::chrono::milliseconds wait)
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    std::array<unsigned char, MaxReply + 1> buffer{};
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return std::nullopt;
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, static_cast<int>(left.count())) <= 0)
            return std::nullopt;
        const ssize_t received = ::recv(fd, buffer.data(), buffer.size(), MSG_TRUNC);
        if (received < 0)
            return std::nullopt; // port unreachable: nothing listens
        if (static_cast<std::size_t>(received) > MaxReply)
            continue;
        const auto port = PortFromBrowserReply(
            std::span(buffer.data(), static_cast<std::size_t>(received)), instance);
        if (port)
            return port;
    }
}
} // namespace

std::optional<int> ResolveInstancePort(const std::string& host, const std::string& instance,
                                       const BrowserQuery& query)
{
    const auto socket = ConnectedSocket(host, query.port);
    if (!socket)
        return std::nullopt;
    const std::vector<unsigned char> request = BrowserRequest(instance);
    for (int attempt = 0; attempt < query.tries; ++attempt) {
        if (::send(socket->get(), request.data(), request.size(), MSG_NOSIGNAL) < 0)
            return std::nullopt;
        if (const auto port = AwaitPort(socket->get(), instance, query.waitPerTry))
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
