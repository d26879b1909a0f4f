#include "platform/odbc/BrowserReply.h"

#include <gtest/gtest.h>

using namespace flagwright::odbc;

namespace {
std::vector<unsigned char> Reply(const std::string& text, unsigned char kind = 0x05)
{
    std::vector<unsigned char> reply(text.size() + 3);
    reply[0] = kind;
    reply[1] = static_cast<unsigned char>(text.size() & 0xFF);
    reply[2] = static_cast<unsigned char>(text.size() >> 8);
    std::copy(text.begin(), text.end(), reply.begin() + 3);
    return reply;
}

std::vector<unsigned char> Truncated(std::vector<unsigned char> reply, std::size_t size)
{
    reply.resize(size);
    return reply;
}

struct ReplyCase {
    const char* name;
    std::vector<unsigned char> reply;
    std::optional<int> port;
};

TEST(PortFromBrowserReply, ReadsOnlyAWellFormedRecordOfTheNamedInstance)
{
    const std::string full = "ServerName;VM;InstanceName;EMBERLINE2;IsClustered;No;"
                             "Version;8.00.2039;tcp;50123;;";
    const ReplyCase cases[] = {
        {"full reply", Reply(full), 50123},
        {"minimal", Reply("InstanceName;emberline2;tcp;1;"), 1},
        {"second record", Reply("InstanceName;OTHER;tcp;1111;;InstanceName;Emberline2;tcp;2222;;"),
         2222},
        {"tcp of another record", Reply("InstanceName;OTHER;tcp;1111;;tcp;3333;;"), std::nullopt},
        {"tcp after the named record", Reply("InstanceName;EMBERLINE2;np;x;;tcp;3333;;"),
         std::nullopt},
        {"other instance", Reply("InstanceName;SQLEXPRESS;tcp;1433;;"), std::nullopt},
        {"no trailing ;", Reply("InstanceName;EMBERLINE2;tcp;50123"), std::nullopt},
        {"truncated", Truncated(Reply(full), 20), std::nullopt},
        {"header only", {0x05, 0x00, 0x00}, std::nullopt},
        {"empty", {}, std::nullopt},
        {"wrong kind", Reply(full, 0x04), std::nullopt},
        {"port zero", Reply("InstanceName;EMBERLINE2;tcp;0;;"), std::nullopt},
        {"port too big", Reply("InstanceName;EMBERLINE2;tcp;65536;;"), std::nullopt},
        {"port with junk", Reply("InstanceName;EMBERLINE2;tcp;123x;;"), std::nullopt},
        {"no tcp", Reply("InstanceName;EMBERLINE2;np;\\\\.\\pipe;;"), std::nullopt},
        {"prefix of the name", Reply("InstanceName;EMBERLINE;tcp;1;;"), std::nullopt},
        {"garbage", {0x05, 0xFF, 0xFF, 0x00, 0x3B, 0xFE, 0x3B}, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PortFromBrowserReply(c.reply, "emberline2"), c.port) << c.name;
}

TEST(BrowserRequest, IsTheInstanceQuery)
{
    EXPECT_EQ(
        BrowserRequest("emberline2"),
        (std::vector<unsigned char>{0x04, 'e', 'm', 'b', 'e', 'r', 'l', 'i', 'n', 'e', '2', 0x00}));
}
} // namespace
