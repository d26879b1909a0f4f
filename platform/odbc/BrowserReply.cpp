#include "platform/odbc/BrowserReply.h"

#include "platform/Text.h"

#include <algorithm>
#include <charconv>

namespace flagwright::odbc {

namespace {
constexpr unsigned char InstanceRequest = 0x04;
constexpr unsigned char Response = 0x05;
constexpr std::size_t HeaderSize = 3;

std::optional<int> Port(std::string_view text)
{
    int port = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (error != std::errc() || end != text.data() + text.size() || port < 1 || port > 65535)
        return std::nullopt;
    return port;
}

// The next ';'-terminated field; nothing when the terminator is missing.
std::optional<std::string_view> NextField(std::string_view& text)
{
    const std::size_t end = text.find(';');
    if (end == std::string_view::npos)
        return std::nullopt;
    const std::string_view field = text.substr(0, end);
    text.remove_prefix(end + 1);
    return field;
}
} // namespace

std::vector<unsigned char> BrowserRequest(std::string_view instance)
{
    std::vector<unsigned char> request(instance.size() + 2, 0);
    request[0] = InstanceRequest;
    std::copy(instance.begin(), instance.end(), request.begin() + 1);
    return request;
}

std::optional<int> PortFromBrowserReply(std::span<const unsigned char> reply,
                                        std::string_view instance)
{
    if (reply.size() <= HeaderSize || reply[0] != Response)
        return std::nullopt;
    std::string_view text(reinterpret_cast<const char*>(reply.data()) + HeaderSize,
                          reply.size() - HeaderSize);
    bool inNamedInstance = false;
    while (!text.empty()) {
        const auto name = NextField(text);
        if (!name)
            return std::nullopt;
        if (name->empty()) {
            inNamedInstance = false; // ";;" ends one instance's record
            continue;
        }
        const auto value = NextField(text);
        if (!value)
            return std::nullopt;
        if (SameName(*name, "InstanceName"))
            inNamedInstance = SameName(*value, instance);
        else if (inNamedInstance && SameName(*name, "tcp"))
            return Port(*value);
    }
    return std::nullopt;
}

} // namespace flagwright::odbc
