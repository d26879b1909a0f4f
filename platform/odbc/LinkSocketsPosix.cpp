#include "platform/odbc/LinkSockets.h"

#include "platform/odbc/AddressInfo.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

namespace flagwright::odbc {

namespace {
struct DirectoryCloser {
    void operator()(DIR* directory) const noexcept { closedir(directory); }
};
bool SamePeer(const sockaddr_storage& peer, const addrinfo* addresses)
{
    for (const addrinfo* a = addresses; a; a = a->ai_next) {
        if (a->ai_family != peer.ss_family)
            continue;
        if (peer.ss_family == AF_INET) {
            const auto& p = reinterpret_cast<const sockaddr_in&>(peer);
            const auto* q = reinterpret_cast<const sockaddr_in*>(a->ai_addr);
            if (p.sin_port == q->sin_port && p.sin_addr.s_addr == q->sin_addr.s_addr)
                return true;
        } else if (peer.ss_family == AF_INET6) {
            const auto& p = reinterpret_cast<const sockaddr_in6&>(peer);
            const auto* q = reinterpret_cast<const sockaddr_in6*>(a->ai_addr);
            if (p.sin6_port == q->sin6_port &&
                std::memcmp(&p.sin6_addr, &q->sin6_addr, sizeof p.sin6_addr) == 0)
                return true;
        }
    }
    return false;
}

std::optional<unsigned long long> Identity(int descriptor)
{
    struct stat status {};
    if (fstat(descriptor, &status) != 0 || !S_ISSOCK(status.st_mode))
        return std::nullopt;
    return static_cast<unsigned long long>(status.st_ino);
}
} // namespace

std::vector<LinkSocket> SocketsTo(const Endpoint& endpoint)
{
    std::vector<LinkSocket> sockets;
    const AddressInfo addresses = Addresses(endpoint.host, endpoint.port, AF_UNSPEC, SOCK_STREAM);
    const std::unique_ptr<DIR, DirectoryCloser> descriptors(opendir("/proc/self/fd"));
    if (!addresses || !descriptors)
        return sockets;
    while (const dirent* entry = readdir(descriptors.get())) {
        char* end = nullptr;
        const long descriptor = std::strtol(entry->d_name, &end, 10);
        if (end == entry->d_name || *end != '\0')
            continue;
        const auto identity = Identity(static_cast<int>(descriptor));
        sockaddr_storage peer{};
        socklen_t length = sizeof peer;
        if (identity &&
            getpeername(static_cast<int>(descriptor), reinterpret_cast<sockaddr*>(&peer),
                        &length) == 0 &&
            SamePeer(peer, addresses.get()))
            sockets.push_back({descriptor, *identity});
    }
    return sockets;
}

void BreakSocket(const LinkSocket& socket)
{
    const int descriptor = static_cast<int>(socket.descriptor);
    if (Identity(descriptor) == socket.identity)
        shutdown(descriptor, SHUT_RDWR);
}

} // namespace flagwright::odbc
