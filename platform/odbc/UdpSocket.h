#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace flagwright::odbc {

// A UDP socket connected to one peer, on the system's own sockets (POSIX or Winsock).
// Connected, so that a port where nothing listens is reported at once instead of letting
// every wait run out.
class UdpSocket {
public:
    // Nothing when the host cannot be resolved (IPv4) or no socket can be made.
    static std::optional<UdpSocket> Connect(const std::string& host, int port);
    ~UdpSocket();
    UdpSocket(UdpSocket&& other) noexcept;
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;
    UdpSocket& operator=(UdpSocket&&) = delete;

    bool Send(std::span<const unsigned char> datagram);

    enum class Outcome { Datagram, Oversize, Silence, Refused };
    struct Received {
        Outcome outcome;
        std::size_t size = 0; // of the datagram in the buffer
    };
    // Waits up to `wait` for one datagram that fits the buffer.
    Received Receive(std::span<unsigned char> buffer, std::chrono::milliseconds wait);

private:
    using Handle = std::uintptr_t; // a descriptor, or a Winsock SOCKET
    explicit UdpSocket(Handle handle) : handle_(handle) {}
    static constexpr Handle Closed = ~Handle{0};
    Handle handle_;
};

} // namespace flagwright::odbc
