#pragma once

#include "platform/ConnectionSettings.h"

#include <chrono>
#include <optional>
#include <string>

namespace flagwright::odbc {

inline constexpr int BrowserPort = 1434;
inline constexpr int DefaultServerPort = 1433;

struct BrowserQuery {
    int port = BrowserPort;
    int tries = 3;
    std::chrono::milliseconds waitPerTry{250};
};

// Asks the SQL Server Browser on host (an IPv4 address or name) for the TCP port of a named
// instance. A browser that stays silent, refuses, or knows no such instance yields nothing
// once the tries are used up, so a stopped instance is reported within a second.
std::optional<int> ResolveInstancePort(const std::string& host, const std::string& instance,
                                       const BrowserQuery& query = {});

// Where the server of the settings listens for TCP.
struct Endpoint {
    std::string host; // "(local)" becomes 127.0.0.1
    int port = DefaultServerPort;
};

// The port given outright, else the named instance's port from its browser, else the
// default instance's. An instance the browser does not name fails as an unreachable server.
Endpoint ServerEndpoint(const ConnectionSettings& settings);

} // namespace flagwright::odbc
