#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace flagwright::odbc {

inline constexpr int BrowserPort = 1434;

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

} // namespace flagwright::odbc
