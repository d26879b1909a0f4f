#pragma once

// Host names resolved for the system's own sockets (POSIX or Winsock).
#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <netdb.h>
#include <sys/socket.h>
#endif

#include <memory>
#include <string>

namespace flagwright::odbc {

struct AddressInfoDeleter {
    void operator()(addrinfo* info) const noexcept { freeaddrinfo(info); }
};
using AddressInfo = std::unique_ptr<addrinfo, AddressInfoDeleter>;

// The addresses of host:port for sockets of the given family (AF_UNSPEC: any) and type;
// nothing when the host cannot be resolved.
inline AddressInfo Addresses(const std::string& host, int port, int family, int socketType)
{
    addrinfo hints{};
    hints.ai_family = family;
    hints.ai_socktype = socketType;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0)
        return nullptr;
    return AddressInfo(found);
}

} // namespace flagwright::odbc
