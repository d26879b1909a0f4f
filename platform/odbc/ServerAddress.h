#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace flagwright::odbc {

inline constexpr int DefaultServerPort = 1433;

// Where a data source such as "(local)\NAME", "host,port" or "host" points.
struct ServerAddress {
    std::string host;     // names of this machine are given as 127.0.0.1
    std::string instance; // empty for the default instance or when a port is given
    std::optional<int> port;
};

// localHostName is this machine's name, which means this machine like "(local)" does.
// A port that is not a number in 1..65535 fails with 0x80004005.
ServerAddress ParseDataSource(std::string_view dataSource, std::string_view localHostName);

} // namespace flagwright::odbc
