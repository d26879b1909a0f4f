#include "UdpSocket.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>
#include <utility>

namespace flagwright::odbc {

namespace {
struct AddressInfoDeleter {
    void operator()(addrinfo* info) const noexcept { freeaddrinfo(info); }
};

int Descriptor(std::uintptr_t handle) { return static_cast<int>(handle); }
} // namespace

std::optional<UdpSocket> UdpSocket::Connect(const std::string& host, int port)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0)
        return std::nullopt;
    const std::unique_ptr<addrinfo, AddressInfoDeleter> info(found);
    const int fd = ::socket(info->ai_family, info->ai_socktype | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return std::nullopt;
    UdpSocket socket(static_cast<Handle>(fd));
    if (::connect(fd, info->ai_addr, info->ai_addrlen) != 0)
        return std::nullopt;
    return socket;
}

UdpSocket::~UdpSocket()
{
    if (handle_ != Closed)
        ::close(Descriptor(handle_));
}

UdpSocket::UdpSocket(UdpSocket&& other) noexcept : handle_(std::exchange(other.handle_, Closed)) {}

bool UdpSocket::Send(std::span<const unsigned char> datagram)
{
    return ::send(Descriptor(handle_), datagram.data(), datagram.size(), MSG_NOSIGNAL) ==
           static_cast<ssize_t>(datagram.size());
}

UdpSocket::Received UdpSocket::Receive(std::span<unsigned char> buffer,
                                       std::chrono::milliseconds wait)
{
    pollfd ready{Descriptor(handle_), POLLIN, 0};
    if (::poll(&ready, 1, static_cast<int>(wait.count())) <= 0)
        return {Outcome::Silence};
    const ssize_t received = ::recv(Descriptor(handle_), buffer.data(), buffer.size(), MSG_TRUNC);
    if (received < 0)
        return {Outcome::Refused}; // port unreachable: nothing listens
    if (static_cast<std::size_t>(received) > buffer.size())
        return {Outcome::Oversize};
    return {Outcome::Datagram, static_cast<std::size_t>(received)};
}

} // namespace flagwright::odbc
