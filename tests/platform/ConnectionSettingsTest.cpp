#include "ConnectionSettings.h"
#include "Failure.h"
#include "InstanceConnectionString.h"

#include <gtest/gtest.h>

using namespace flagwright;
using namespace flagwright::odbc;

namespace {
struct Parsed {
    const char* text;
    const char* user;
    const char* password;
    const char* database;
    const char* dataSource;
    int timeout;
};

class ParseConnectionStringTest : public ::testing::TestWithParam<Parsed> {};

TEST_P(ParseConnectionStringTest, ReadsEveryForm)
{
    const Parsed& expected = GetParam();
    const ConnectionSettings settings = ParseConnectionString(expected.text);
    EXPECT_EQ(settings.userId, expected.user);
    EXPECT_EQ(settings.password, expected.password);
    EXPECT_EQ(settings.database, expected.database);
    EXPECT_EQ(settings.dataSource, expected.dataSource);
    EXPECT_EQ(settings.connectTimeoutSeconds, expected.timeout);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ParseConnectionStringTest,
    ::testing::Values(
        Parsed{"provider=SQLOLEDB;Persist security info=False;user id=DBOPS;pwd=58GrUw3Hyb!!;"
               "initial catalog=Emberline;data source=(local)\\emberline2;connect timeout = 15",
               "DBOPS", "58GrUw3Hyb!!", "Emberline", "(local)\\emberline2", 15},
        Parsed{"UID=u;Password=p;Database=d;Server=s;Connection Timeout=7", "u", "p", "d", "s", 7},
        Parsed{"  USER ID = u ; address = h,1 ;; ;", "u", "", "", "h,1", 15},
        Parsed{"database=\"a;b\"", "", "", "a;b", "", 15},
        Parsed{"database='say \"hi\"'", "", "", "say \"hi\"", "", 15},
        Parsed{"database=\"it's \"\"x\"\"\"", "", "", "it's \"x\"", "", 15},
        Parsed{"database='it''s'", "", "", "it's", "", 15},
        Parsed{"database=\"  padded  \"  ;uid=u", "u", "", "  padded  ", "", 15},
        Parsed{"database=\"\"", "", "", "", "", 15},
        Parsed{"data==base=x;database=y", "", "", "y", "", 15},
        Parsed{"database={a}[b],c", "", "", "{a}[b],c", "", 15},
        Parsed{"database=a=b", "", "", "a=b", "", 15},
        Parsed{"database=first;database=last", "", "", "last", "", 15}));

TEST(ParseConnectionString, MalformedTextFailsWith3001)
{
    for (const char* text :
         {"database=\"open", "database='open", "uid", "uid=u;database", "=x", " = x",
          "database=\"a\"b", "connect timeout=soon", "connect timeout=-1"}) {
        try {
            ParseConnectionString(text);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.Number(), 3001) << text;
        }
    }
}

// Whatever the operator types reaches the login exactly as typed.
TEST(ParseConnectionString, ReadsBackEveryNameTheUpdateRunWrites)
{
    for (const char* name : {"Emberline",  "Ember line",
                             " lead",      "trail ",
                             "O'Brien",    "a;data source=evil",
                             "a=b",        "say \"hi\"",
                             "it's \"x\"", "x};y",
                             "{braced}",   "[sq]",
                             "a,b",        "Zürich 北京 😀",
                             "tab\there",  "new\nline",
                             "'",          "\"",
                             "''",         ";",
                             "=",          "==",
                             "   "}) {
        EXPECT_EQ(ParseConnectionString(MSDEConnectionString(name)).database, name) << name;
    }
}
} // namespace
