#include "platform/odbc/UdpSocket.h"

#include "platform/odbc/AddressInfo.h"

#include <poll.h>
#include <unistd.h>

#include <utility>

namespace flagwright::odbc {

namespace {
int Descriptor(std::uintptr_t handle) { return static_cast<int>(handle); }
} // namespace

std::optional<UdpSocket> UdpSocket::Connect(const std::string& host, int port)
{
    const AddressInfo info = Addresses(host, port, AF_INET, SOCK_DGRAM);
    if (!info)
        return std::nullopt;
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
