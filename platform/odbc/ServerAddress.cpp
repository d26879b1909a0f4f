#include "ServerAddress.h"

#include "Failure.h"
#include "UnreachableServer.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

namespace flagwright::odbc {

namespace {
std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

bool SameName(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

bool IsThisMachine(std::string_view host, std::string_view localHostName)
{
    constexpr std::array<std::string_view, 5> localNames = {"", "(local)", ".", "localhost",
                                                            "127.0.0.1"};
    return std::any_of(localNames.begin(), localNames.end(),
                       [&](std::string_view name) { return SameName(host, name); }) ||
           (!localHostName.empty() && SameName(host, localHostName));
}

int Port(std::string_view text)
{
    int port = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (error != std::errc() || end != text.data() + text.size() || port < 1 || port > 65535)
        throw UnreachableServer();
    return port;
}
} // namespace

ServerAddress ParseDataSource(std::string_view dataSource, std::string_view localHostName)
{
    std::string_view text = Trimmed(dataSource);
    if (text.size() >= 4 && SameName(text.substr(0, 4), "tcp:"))
        text.remove_prefix(4);

    ServerAddress address;
    const std::size_t comma = text.find(',');
    if (comma != std::string_view::npos) {
        address.port = Port(Trimmed(text.substr(comma + 1)));
        text = text.substr(0, comma);
    }
    const std::size_t backslash = text.find('\\');
    std::string_view host = Trimmed(text.substr(0, backslash));
    if (backslash != std::string_view::npos && !address.port)
        address.instance = std::string(Trimmed(text.substr(backslash + 1)));
    address.host = IsThisMachine(host, localHostName) ? "127.0.0.1" : std::string(host);
    return address;
}

} // namespace flagwright::odbc
