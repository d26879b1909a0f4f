#include "platform/odbc/UdpSocket.h"

#include "platform/odbc/AddressInfo.h"

#include <utility>

namespace flagwright::odbc {

namespace {
// Winsock is started once for the process and left running until it ends.
bool WinsockStarted()
{
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

SOCKET Socket(std::uintptr_t handle) { return static_cast<SOCKET>(handle); }
} // namespace

std::optional<UdpSocket> UdpSocket::Connect(const std::string& host, int port)
{
    if (!WinsockStarted())
        return std::nullopt;
    const AddressInfo info = Addresses(host, port, AF_INET, SOCK_DGRAM);
    if (!info)
        return std::nullopt;
    const SOCKET s = ::socket(info->ai_family, info->ai_socktype, 0);
    if (s == INVALID_SOCKET)
        return std::nullopt;
    UdpSocket socket(static_cast<Handle>(s));
    if (::connect(s, info->ai_addr, static_cast<int>(info->ai_addrlen)) != 0)
        return std::nullopt;
    return socket;
}

UdpSocket::~UdpSocket()
{
    if (handle_ != Closed)
        ::closesocket(Socket(handle_));
}

UdpSocket::UdpSocket(UdpSocket&& other) noexcept : handle_(std::exchange(other.handle_, Closed)) {}

bool UdpSocket::Send(std::span<const unsigned char> datagram)
{
    return ::send(Socket(handle_), reinterpret_cast<const char*>(datagram.data()),
                  static_cast<int>(datagram.size()), 0) == static_cast<int>(datagram.size());
}

UdpSocket::Received UdpSocket::Receive(std::span<unsigned char> buffer,
                                       std::chrono::milliseconds wait)
{
    WSAPOLLFD ready{Socket(handle_), POLLRDNORM, 0};
    if (WSAPoll(&ready, 1, static_cast<INT>(wait.count())) <= 0)
        return {Outcome::Silence};
    // A refusal (ICMP port unreachable) may come as an error event alone: under Wine, recv
    // would then wait for a datagram that never comes.
    if (!(ready.revents & POLLRDNORM))
        return {Outcome::Refused};
    const int received = ::recv(Socket(handle_), reinterpret_cast<char*>(buffer.data()),
                                static_cast<int>(buffer.size()), 0);
    if (received == SOCKET_ERROR)
        return {WSAGetLastError() == WSAEMSGSIZE ? Outcome::Oversize : Outcome::Refused};
    return {Outcome::Datagram, static_cast<std::size_t>(received)};
}

} // namespace flagwright::odbc
