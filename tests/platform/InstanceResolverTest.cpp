#include "platform/odbc/InstanceResolver.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <atomic>
#include <string>
#include <thread>

using namespace flagwright::odbc;
using Clock = std::chrono::steady_clock;

namespace {
#ifdef _WIN32
using Descriptor = SOCKET;
using pollfd = WSAPOLLFD;
int poll(pollfd* fds, ULONG count, INT timeout) { return WSAPoll(fds, count, timeout); }
int close(SOCKET s) { return closesocket(s); }

// The test's own browser socket needs Winsock before the code under test starts it.
const bool WinsockStarted = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
}();
#else
using Descriptor = int;
#endif

// A browser on a free loopback port that answers each request with `reply` (or stays
// silent when it is empty) until destroyed.
class LoopbackBrowser {
public:
    explicit LoopbackBrowser(std::string reply) : reply_(std::move(reply))
    {
        fd_ = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        socklen_t length = sizeof address;
        getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~LoopbackBrowser()
    {
        stop_ = true;
        thread_.join();
        close(fd_);
    }
    int port() const { return port_; }
    int requests() const { return requests_; }

private:
    void Serve()
    {
        while (!stop_) {
            pollfd ready{fd_, POLLIN, 0};
            if (poll(&ready, 1, 20) <= 0)
                continue;
            char request[64];
            sockaddr_in from{};
            socklen_t length = sizeof from;
            const auto got = recvfrom(fd_, request, sizeof request, 0,
                                      reinterpret_cast<sockaddr*>(&from), &length);
            if (got <= 0)
                continue;
            ++requests_;
            if (!reply_.empty())
                sendto(fd_, reply_.data(), reply_.size(), 0, reinterpret_cast<sockaddr*>(&from),
                       length);
        }
    }

    std::string reply_;
    Descriptor fd_;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> requests_{0};
    std::thread thread_;
};

std::string Reply(const std::string& text)
{
    return std::string("\x05") + static_cast<char>(text.size()) + '\0' + text;
}

TEST(ResolveInstancePort, GetsThePortFromTheBrowser)
{
    LoopbackBrowser browser(Reply("ServerName;VM;InstanceName;EMBERLINE2;tcp;50123;;"));
    EXPECT_EQ(ResolveInstancePort("127.0.0.1", "emberline2", {browser.port()}), 50123);
}

TEST(ResolveInstancePort, SilentBrowserFailsWithinASecondAfterRetrying)
{
    LoopbackBrowser browser("");
    const auto start = Clock::now();
    EXPECT_EQ(ResolveInstancePort("127.0.0.1", "emberline2", {browser.port()}), std::nullopt);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(browser.requests(), 3);
}

TEST(ResolveInstancePort, ReplyForAnotherInstanceIsNoAnswer)
{
    LoopbackBrowser browser(Reply("InstanceName;OTHER;tcp;1111;;"));
    EXPECT_EQ(ResolveInstancePort("127.0.0.1", "emberline2", {browser.port()}), std::nullopt);
}

TEST(ResolveInstancePort, OversizeReplyIsRejected)
{
    LoopbackBrowser browser(Reply("InstanceName;EMBERLINE2;tcp;50123;;" + std::string(1100, 'x')));
    EXPECT_EQ(ResolveInstancePort("127.0.0.1", "emberline2", {browser.port()}), std::nullopt);
}

TEST(ResolveInstancePort, NothingListeningFailsAtOnce)
{
    int port = 0;
    {
        LoopbackBrowser closed("");
        port = closed.port();
    }
    const auto start = Clock::now();
    EXPECT_EQ(ResolveInstancePort("127.0.0.1", "emberline2", {port}), std::nullopt);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
}
} // namespace
