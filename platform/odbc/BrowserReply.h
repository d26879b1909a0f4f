#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace flagwright::odbc {

// The SQL Server Browser request for one instance's details: 04, the name, 00.
std::vector<unsigned char> BrowserRequest(std::string_view instance);

// The TCP port of the named instance (compared case-insensitively) in a browser reply:
// 05, a 2-byte size, then "name;value;" pairs, ";;" between instances. Anything malformed,
// truncated or about another instance yields nothing.
std::optional<int> PortFromBrowserReply(std::span<const unsigned char> reply,
                                        std::string_view instance);

} // namespace flagwright::odbc
