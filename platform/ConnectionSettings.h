#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace flagwright {

// Where and as whom a connection logs in. The data layer turns these into the one connection
// string its driver reads, quoted by that driver's rules, so no value can be read as another.
struct ConnectionSettings {
    std::string server;      // a host name; "(local)" is this machine
    std::string instance;    // a named instance, found through the SQL Server Browser
    std::optional<int> port; // a TCP port given outright: no browser lookup
    std::string database;    // the initial catalog exactly as given; empty: the login's own
    std::string login;       // SQL Server authentication
    std::string password;
    std::chrono::seconds connectTimeout{15};
};

} // namespace flagwright
