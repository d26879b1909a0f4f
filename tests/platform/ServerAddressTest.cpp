#include "ServerAddress.h"

#include "Failure.h"

#include <gtest/gtest.h>

using namespace flagwright;
using namespace flagwright::odbc;

namespace {
struct Address {
    const char* dataSource;
    const char* host;
    const char* instance;
    std::optional<int> port;
};

class ParseDataSourceTest : public ::testing::TestWithParam<Address> {};

TEST_P(ParseDataSourceTest, FindsHostInstanceAndPort)
{
    const Address& expected = GetParam();
    const ServerAddress address = ParseDataSource(expected.dataSource, "buildbox");
    EXPECT_EQ(address.host, expected.host);
    EXPECT_EQ(address.instance, expected.instance);
    EXPECT_EQ(address.port, expected.port);
}

INSTANTIATE_TEST_SUITE_P(Forms, ParseDataSourceTest,
                         ::testing::Values(Address{"(local)\\emberline2", "127.0.0.1", "emberline2",
                                                   std::nullopt},
                                           Address{"(LOCAL)\\X", "127.0.0.1", "X", std::nullopt},
                                           Address{".\\x", "127.0.0.1", "x", std::nullopt},
                                           Address{"localhost\\x", "127.0.0.1", "x", std::nullopt},
                                           Address{"BuildBox\\x", "127.0.0.1", "x", std::nullopt},
                                           Address{"127.0.0.1", "127.0.0.1", "", std::nullopt},
                                           Address{"", "127.0.0.1", "", std::nullopt},
                                           Address{"db.example,1500", "db.example", "", 1500},
                                           Address{"tcp:db.example , 1500", "db.example", "", 1500},
                                           Address{"(local)\\x,1600", "127.0.0.1", "", 1600},
                                           Address{"other\\inst", "other", "inst", std::nullopt}));

TEST(ParseDataSource, BadPortMeansNoServer)
{
    for (const char* text : {"h,", "h,0", "h,65536", "h,12a", "h,-1"})
        EXPECT_THROW(ParseDataSource(text, "buildbox"), Failure) << text;
}
} // namespace
